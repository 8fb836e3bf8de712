#include "table/CardEffects.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "services/Evaluator.h"
#include "state/DecksMgmt.h"
#include "state/EffectMgmt.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/PlayerSelectForm.h"
#include "table/ShowCardsForm.h"

#include <algorithm>
#include <vector>

namespace {

bool g_cancelled = false;

bool BuiltIn(const EffectSlot& slot) {
    return slot.name == kOnPlay || slot.name == kOnHand;
}

std::string Yourself(int seat) {
    return seat == Game.CurrentPlayer ? " [Yourself]" : "";
}

bool HasOption(const std::string& params, const std::string& word) {
    const int n = CountFields(params, ",");
    const std::string wanted = platform::AnsiUpper(word);
    for (int k = 1; k <= n; ++k)
        if (platform::AnsiUpper(StripBlanks(GetField(params, k, ","))) == wanted) return true;
    return false;
}

} // namespace

bool EffectCancelled() {
    return g_cancelled;
}

void BuildEffectMenu(std::int16_t card) {
    CardActions* actions = Actions();
    if (!actions || !CardTable::Contains(card)) return;
    const CardRecord& c = Cards[card];
    int offered = 0;
    for (int k = 1; k <= kEffectSlots; ++k)
        if (c.effects[static_cast<std::size_t>(k - 1)] != kFalse && !BuiltIn(EffectDef[k])) ++offered;
    if (c.owner != Game.CurrentPlayer || offered == 0) {
        actions->EffectMenu.SetVisible(false);
        return;
    }
    actions->EffectMenu.SetVisible(true);
    for (int k = 1; k <= kEffectSlots; ++k) {
        platform::Menu& item = *actions->effect[static_cast<std::size_t>(k - 1)];
        if (c.effects[static_cast<std::size_t>(k - 1)] != kFalse && !BuiltIn(EffectDef[k])) {
            item.SetVisible(true);
            item.SetTag(std::to_string(k));
            item.SetCaption(EffectDef[k].label);
        } else {
            item.SetVisible(false);
        }
    }
}

void RunEffect(std::int16_t element, std::int16_t slot) {
    g_cancelled = false;
    CardActions* actions = Actions();
    if (!actions || slot < 1 || slot > kEffectSlots) return;
    const std::int16_t card = actions->CardOfElement(element);
    if (card == 0) return;
    const EffectSlot effect = EffectDef[slot];
    if (effect.routine == "show_deck")
        ShowDeckEffect(effect.params);
    else if (effect.routine == "show_hand")
        ShowHandEffect(effect.params);
    else
        return;
    // The routine's window let events run: the card is discarded only where it still lies.
    actions = Actions();
    if (g_cancelled || effect.discard == kFalse || !actions || actions->CardOfElement(element) != card)
        return;
    actions->MenuCard = element;
    actions->DiscardCardProcedure();
}

void ShowDeckEffect(const std::string& params) {
    double value = 0;
    try {
        ev.SetFormula(GetField(params, 1, ","));
        value = ev.Evaluate();
    } catch (const EvaluatorError& error) {
        ShowMsg("Error " + std::to_string(error.Number()) + ": " + error.Description());
        g_cancelled = true;
        return;
    }
    const int count = std::clamp<int>(RoundToInt32(value), 0, kMaxCards);
    std::int16_t deck = 0;
    if (Game.deckCount > 1) {
        std::vector<std::string> lines;
        std::vector<std::int16_t> decks;
        for (int d = 0; d < std::min<int>(Game.deckCount, kMaxDecks); ++d) {
            if (Game.deckSizes[d] <= 0) continue;
            const DeckRecord& record = Game.decks[d];
            if (record.owner == 0) {
                lines.push_back("COMMON " + std::to_string(d));
            } else {
                const std::string section = record.section.empty()
                                                ? std::string()
                                                : record.section.substr(0, record.section.size() - 1);
                const std::string owner =
                    record.owner >= 1 && record.owner <= kMaxSeats ? Game.players[record.owner].name : "";
                lines.push_back(owner + ": " + platform::AnsiLower(section) + Yourself(record.owner));
            }
            decks.push_back(static_cast<std::int16_t>(d));
        }
        const int chosen = PlayerSelectForm::Choose("Select deck", lines);
        if (chosen < 1 || chosen > static_cast<int>(decks.size())) {
            g_cancelled = true;
            return;
        }
        deck = decks[static_cast<std::size_t>(chosen - 1)];
    }
    const std::vector<std::int16_t> cards =
        count > 0 ? ListDrawPileCards(deck, static_cast<std::int16_t>(count)) : std::vector<std::int16_t>{};
    if (cards.empty()) {
        ShowMsg("DECK is empty");
        g_cancelled = true;
        return;
    }
    ShowCardsForm::Open(cards, deck, "Next cards on the " + Game.decks[deck].name + " deck", true);
}

void ShowHandEffect(const std::string& params) {
    std::vector<std::string> lines;
    const int players = std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
    for (int seat = 1; seat <= players; ++seat)
        lines.push_back(Game.players[seat].name + Yourself(seat));
    const int chosen = PlayerSelectForm::Choose("Select player", lines);
    if (chosen < 1 || chosen > players) {
        g_cancelled = true;
        return;
    }
    const std::vector<std::int16_t> hand = ListHandCards(static_cast<std::int16_t>(chosen));
    if (hand.empty()) {
        ShowMsg("Hand is empty");
        g_cancelled = true;
        return;
    }
    if (CardActions* actions = Actions()) {
        actions->ShowHidden = ToFlag(HasOption(params, "ShowHidden"));
        actions->TakeCard = ToFlag(HasOption(params, "TakeCard"));
    }
    ShowCardsForm::Open(hand, -1, "Hand of " + Game.players[chosen].name, true);
}
