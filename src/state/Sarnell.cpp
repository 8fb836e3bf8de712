#include "state/Sarnell.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Ini.h"
#include "state/TableState.h"
#include "state/ZOrder.h"

namespace {

const std::string kRefused = "You cannot add a new card to this game: ";

// The section of a common deck's card lines: the deck's own, which a deck variant may name.
std::string CardSection(std::int16_t deck) {
    const std::string& section = Game.decks[deck].section;
    return section.empty() ? "COMMON " + std::to_string(deck + 1) : section;
}

} // namespace

bool SaveNewCardToGameFile(std::int16_t deck, const std::string& line) {
    const std::string section = CardSection(deck);
    // The key counts the definition's card lines, not the cards they make: a line "(x3) ..."
    // makes three cards from one line, so the deck's size in the game may be larger.
    const int lines = LeadingInt16(GetIni(section, "decksize", CurrentGameFile)) + 1;
    // Both keys reach the file together or not at all.
    platform::IniWriteScope scope;
    WriteIni(section, "decksize", std::to_string(lines), CurrentGameFile);
    WriteIni(section, "card" + std::to_string(lines), line, CurrentGameFile);
    return scope.Commit();
}

std::int16_t CreateNewCard(std::int16_t deck, const std::string& line) {
    if (!DeckTable<int>::Contains(deck) || deck >= Game.deckCount || Game.decks[deck].owner != 0 ||
        deck >= Game.common_decks) {
        ShowMsg(kRefused + "it has no common deck to take it");
        return 0;
    }
    const int card = Game.deckSizes[deck] + 1;
    if (card > kMaxCards || Game.totalCards >= kMaxCards) {
        ShowMsg(kRefused + "it holds " + std::to_string(kMaxCards) + " cards already");
        return 0;
    }
    // The cards of all decks are numbered one after the other: the number after this deck's last
    // card is the next deck's first card while that deck holds any.
    if (card <= CardsCreated) {
        ShowMsg(kRefused + "its number " + std::to_string(card) + " belongs to a card of another deck");
        return 0;
    }
    // A card line is cut at its commas when it is read, and a line break would end the key.
    if (line.empty() || line.find_first_of(",\r\n") != std::string::npos) {
        ShowMsg(kRefused + "the name of its picture \"" + line + "\" cannot stand in a card line");
        return 0;
    }
    if (!SaveNewCardToGameFile(deck, line)) return 0;

    Game.totalCards = static_cast<std::int16_t>(Game.totalCards + 1);
    Game.deckSizes[deck] = static_cast<std::int16_t>(card);
    CardsCreated = static_cast<std::int16_t>(card);
    Cards[card] = NewCardRecord(deck);
    CardRecord& c = Cards[card];
    c.image = line;
    c.faceShown = kTrue;
    c.keptFaceDown = kFalse;
    c.inDiscardPile = kFalse;
    c.eliminated = kFalse;
    c.pilePosition = kPileInPlay;
    c.owner = Game.CurrentPlayer;
    c.deck = deck;
    c.selectionMark = -1;
    // Markers dropped on the card find it through the stacking order.
    BringToFrontZOrder(kZCard, static_cast<std::int16_t>(card), 0);
    return static_cast<std::int16_t>(card);
}
