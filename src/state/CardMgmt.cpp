#include "state/CardMgmt.h"

#include "common/Helpers.h"
#include "common/Numbers.h"
#include "state/DecksMgmt.h"
#include "state/GameMgmt.h"
#include "state/PropertyMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"

#include "platform/Files.h"

#include <algorithm>
#include <vector>

void DealCard(std::int16_t deck, std::int16_t player, std::int16_t slot, std::int16_t card, bool advance) {
    const bool tableHands = Game.external_hand == kFalse;
    // Hands on the table take the next card control even when nothing is dealt, so that the
    // controls the table window loads stay in step with the count.
    if (tableHands) LoadedCardControls = ClampToInt16(LoadedCardControls + 1);
    if (deck < 0 || deck >= kMaxDecks || player < 1 || player > kMaxSeats) return;
    if (card == -1) card = FindCard(deck, Game.nextDrawPositions[deck], false);
    if (!CardTable::Contains(card)) return;
    const std::int16_t deckOwner = Game.decks[deck].owner;
    if (deckOwner != 0 && deckOwner != player) return;

    CardRecord& record = Cards[card];
    record.owner = player;
    record.pilePosition = kPileInPlay;
    record.inHand = kTrue;
    if (advance) Game.nextDrawPositions[deck] = ClampToInt16(Game.nextDrawPositions[deck] + 1);

    if (tableHands) {
        record.controlIndex = static_cast<std::int16_t>(LoadedCardControls - 1);
        record.faceShown = ToFlag(player == Game.CurrentPlayer || AllCardsVisible != kFalse);
        record.keptFaceDown = kFalse;
        // The control shows a card again, so markers may lie on it; the card is put on top.
        if (ControlFlags::Contains(record.controlIndex)) CardControlFree[record.controlIndex] = kFalse;
        BringToFrontZOrder(kZCard, card, 0);
    } else {
        // A diagonal cascade in the hand window.
        record.handLeft = ClampToInt16(slot * 100 + 250);
        record.handTop = record.handLeft;
        record.faceShown = kTrue;
    }
}

std::int16_t NextRotationAngle(std::int16_t card) {
    if (!CardTable::Contains(card)) return 0;
    const CardRecord& c = Cards[card];
    if (c.deck < 0 || c.deck >= kMaxDecks) return 0;
    const std::string& list = Game.decks[c.deck].rotate;
    const int n = CountFields(list, ",");
    const std::vector<std::string> angles = GetFields(list, n, ",");
    std::int16_t next = 0;
    for (int k = 1; k <= n - 1; ++k)
        if (LeadingNumber(angles[static_cast<std::size_t>(k - 1)]) == c.rotation)
            next = RoundToInt16(LeadingNumber(angles[static_cast<std::size_t>(k)]));
    return next;
}

std::string CardBackImagePath(std::int16_t card) {
    if (!CardTable::Contains(card)) return "";
    const std::string own = GetCardProperty(card, "$BACK");
    if (!own.empty()) return GameImagePath(own);
    const std::int16_t deck = Cards[card].deck;
    return deck >= 0 && deck < kMaxDecks ? Game.backImages[deck] : std::string();
}

bool HasCardBackProperty(std::int16_t card) {
    return !GetCardProperty(card, "$BACK").empty();
}

void RebaseImagePaths() {
    const auto baseName = [](const std::string& path) {
        const auto at = path.find_last_of("\\/");
        std::string name = at == std::string::npos ? path : path.substr(at + 1);
        return name == "." || name == ".." ? std::string() : name;
    };
    const std::string folder = platform::ProgramFolder() + "\\" + Game.directory + "\\";
    for (int d = 0; d < std::clamp<int>(Game.deckCount, 0, kMaxDecks); ++d) {
        Game.backImages[d] = folder + baseName(Game.backImages[d]);
        Game.discardImages[d] = folder + baseName(Game.discardImages[d]);
    }
}
