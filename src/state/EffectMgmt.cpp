#include "state/EffectMgmt.h"

#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "state/CardMgmt.h"
#include "state/DecksMgmt.h"
#include "state/Helpers.h"
#include "state/PropertyMgmt.h"

#include <algorithm>
#include <array>

namespace {

// Effect names are compared up to the first "=": a card line may write "peek=3".
std::string EffectKey(const std::string& name) {
    return name.substr(0, name.find('='));
}

// The cards in each seat's hand before the ON_HAND cards are dealt. In a hand-window game the
// ON_HAND cards are already flagged in hand at load; they are left out so that each is given
// its own place when it is dealt.
std::array<int, kMaxSeats + 1> HandCardsBeforeOnHandDeal(int total) {
    std::array<int, kMaxSeats + 1> counts{};
    for (int card = 1; card <= total; ++card) {
        const CardRecord& record = Cards[card];
        if (record.inHand != kFalse && record.owner >= 1 && record.owner <= kMaxSeats &&
            CardHasEffect(static_cast<std::int16_t>(card), kOnHand) == kFalse)
            ++counts[static_cast<std::size_t>(record.owner)];
    }
    return counts;
}

} // namespace

void LoadEffects() {
    LoadEffects(CurrentGameFile);
}

void LoadEffects(const std::string& file) {
    EffectDef.Fill(EffectSlot{});
    const int declared = LeadingInt16(GetIni("EFFECTS", "num_effects", file));
    if (declared > kMaxDefinedEffects)
        ShowMsg("The game defines " + std::to_string(declared) + " effects: only the first " +
                std::to_string(kMaxDefinedEffects) + " are used");
    const int count = std::clamp(declared, 0, kMaxDefinedEffects);

    for (int k = 1; k <= count; ++k) {
        EffectSlot& slot = EffectDef[k];
        slot.name = GetIni("EFFECTS", "effect" + std::to_string(k), file);
        slot.routine = GetIni(slot.name, "routine", file);
        slot.params = GetIni(slot.name, "params", file);
        slot.label = GetIni(slot.name, "label", file);
        slot.discard = ToFlag(platform::AnsiLower(GetIni(slot.name, "discard", file)) == "true");
    }
    EffectDef[count + 1] = EffectSlot{kOnHand, kOnHand, "", "", kFalse};
    EffectDef[count + 2] = EffectSlot{kOnPlay, kOnPlay, "", "", kFalse};
    Game.effectCount = static_cast<std::int16_t>(count + 2);
}

std::string AssignCardEffects(std::int16_t card, const std::string& effects) {
    CardRecord& record = Cards[card];
    record.effects.fill(kFalse);
    std::string unknown;
    for (int i = 1;; ++i) {
        const std::string name = GetField(effects, i, "+");
        if (name.empty()) break;
        const std::int16_t slot = FindEffect(name);
        if (slot == -1) {
            if (unknown.empty()) unknown = name;
            continue;
        }
        record.effects[static_cast<std::size_t>(slot - 1)] = kTrue;
    }
    return unknown;
}

std::int16_t FindEffect(const std::string& name) {
    const std::string key = EffectKey(name);
    if (key.empty()) return -1;
    for (int slot = 1; slot <= kEffectSlots; ++slot) {
        if (platform::AnsiEqualNoCase(EffectDef[slot].name, key)) return static_cast<std::int16_t>(slot);
    }
    return -1;
}

Flag CardHasEffect(std::int16_t card, const std::string& name) {
    if (!CardTable::Contains(card)) return kFalse;
    const CardRecord& record = Cards[card];
    // Most cards carry no effect at all; a shuffle asks this of every card of the deck.
    if (std::all_of(record.effects.begin(), record.effects.end(), [](Flag f) { return f == kFalse; }))
        return kFalse;
    const std::string key = EffectKey(name);
    if (key.empty()) return kFalse;
    for (int slot = 1; slot <= kEffectSlots; ++slot) {
        if (record.effects[static_cast<std::size_t>(slot - 1)] != kFalse &&
            platform::AnsiEqualNoCase(EffectDef[slot].name, key))
            return kTrue;
    }
    return kFalse;
}

void ProcessOnHandCards() {
    std::array<bool, kMaxDecks> dealtFrom{};
    const int players = std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
    const int total = std::clamp<int>(Game.totalCards, 0, kMaxCards);
    int nextSeat = 1;
    std::array<int, kMaxSeats + 1> handCards = HandCardsBeforeOnHandDeal(total);

    for (int card = 1; card <= total; ++card) {
        if (CardHasEffect(static_cast<std::int16_t>(card), kOnHand) == kFalse) continue;
        CardRecord& record = Cards[card];
        if (record.deck < 0 || record.deck >= kMaxDecks) continue;
        int receiver = record.owner;
        if (receiver == 0) {
            // A common card goes to the seat its $OWNER names; without one, or when it names no
            // seat of this game, round the seats. Also a card of a deck split among the players:
            // it stayed common, as it waited for this deal, and would otherwise go to nobody.
            receiver = LeadingInt16(GetCardProperty(static_cast<std::int16_t>(card), "$OWNER"));
            if (receiver < 1 || receiver > players) {
                receiver = 0;
                if (players > 0) {
                    receiver = nextSeat;
                    nextSeat = nextSeat % players + 1;
                }
            }
        }
        const std::int16_t deckOwner = Game.decks[record.deck].owner;
        dealtFrom[static_cast<std::size_t>(record.deck)] = true;
        if (receiver < 1 || receiver > kMaxSeats || (deckOwner != 0 && deckOwner != receiver)) {
            // Nobody can take it: rather than stay in nobody's hand it joins its draw pile, which
            // is shuffled below.
            record.inHand = kFalse;
            record.pilePosition = 0;
            continue;
        }
        const auto slot = static_cast<std::int16_t>(++handCards[static_cast<std::size_t>(receiver)]);
        DealCard(record.deck, static_cast<std::int16_t>(receiver), slot, static_cast<std::int16_t>(card),
                 false);
    }

    for (int deck = 0; deck < kMaxDecks; ++deck) {
        if (!dealtFrom[static_cast<std::size_t>(deck)]) continue;
        ShuffleDeck(static_cast<std::int16_t>(deck), false, true);
        // The shuffle numbers the cards left in the pile from 1, whatever the opening deal drew.
        Game.nextDrawPositions[deck] = 1;
    }
}
