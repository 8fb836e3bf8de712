#include "state/Sarnell.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Ini.h"
#include "state/GameMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

namespace {

const std::string kRefused = "You cannot add a new card to this game: ";
const std::string kSetupSection = "Setup Default";
const std::string kSetupKey = "deckindex";

// The section of a common deck's card lines: the deck's own, which a deck variant may name.
std::string CardSection(std::int16_t deck) {
    const std::string& section = Game.decks[deck].section;
    return section.empty() ? "COMMON " + std::to_string(deck + 1) : section;
}

// The cards a game from this definition makes of common decks 1 to n, as this game's options
// choose its lines: the new line of deck n comes after them in every later game.
int CardsOfCommonDecksUpTo(int n) {
    int cards = 0;
    for (int k = 1; k <= n; ++k) {
        const std::shared_ptr<const DeckLines> lines = CommonDeckLines(k, CurrentGameFile);
        for (const DeckLines::Entry& entry : lines->entries)
            cards += entry.line.copies;
    }
    return std::min(cards, kMaxCards);
}

// The number of a [Setup Default] key "deckindex" n (any case); 0 for any other key.
int SetupPositionNumber(const std::string& key) {
    if (key.size() <= kSetupKey.size() ||
        !platform::AnsiEqualNoCase(key.substr(0, kSetupKey.size()), kSetupKey))
        return 0;
    const std::string digits = key.substr(kSetupKey.size());
    if (digits.size() > 4 || !std::all_of(digits.begin(), digits.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        }))
        return 0;
    return std::stoi(digits);
}

// In later games the cards after the new one take the next number up: their set-up positions,
// kept by card number, move up with them. Each number after `last` takes the value of the one
// below it, or none when there was none.
void MoveSetupPositionsUp(int last) {
    const std::string& file = CurrentGameFile;
    std::map<int, std::string> moved;
    for (const std::string& key : platform::IniKeys(file, kSetupSection))
        if (const int n = SetupPositionNumber(key); n > last)
            moved.emplace(n, GetIni(kSetupSection, key, file));
    for (auto it = moved.rbegin(); it != moved.rend(); ++it)
        WriteIni(kSetupSection, "deckIndex" + std::to_string(it->first + 1), it->second, file);
    for (const auto& [n, value] : moved)
        if (!moved.contains(n - 1)) WriteIni(kSetupSection, "deckIndex" + std::to_string(n), "", file);
}

} // namespace

bool SaveNewCardToGameFile(std::int16_t deck, const std::string& line) {
    const std::string section = CardSection(deck);
    const std::string& file = CurrentGameFile;
    const int cardsBefore = CardsOfCommonDecksUpTo(deck + 1);
    // Without lastCard, decksize counts the definition's card lines, not the cards they make (a
    // line "(x3) ..." makes three): the new line is the next one. With lastCard, that names the
    // last line read and decksize counts the cards.
    const int lastCard = LeadingInt16(GetIni(section, "lastCard", file));
    const int size = std::max(0, static_cast<int>(LeadingInt16(GetIni(section, "decksize", file))));
    const int number = (lastCard != 0 ? std::max(lastCard, 0) : size) + 1;
    // Every key reaches the file together with the others or none does.
    platform::IniWriteScope scope;
    WriteIni(section, "decksize", std::to_string(lastCard != 0 ? size + 1 : number), file);
    if (lastCard != 0) WriteIni(section, "lastCard", std::to_string(number), file);
    WriteIni(section, "card" + std::to_string(number), line, file);
    MoveSetupPositionsUp(cardsBefore);
    if (!scope.Commit()) return false;
    if (lastCard != 0 && deck >= 0 && deck < kMaxDecks)
        Game.lastCardLines[deck] = static_cast<std::int16_t>(number);
    return true;
}

std::int16_t CreateNewCard(std::int16_t deck, const std::string& line) {
    if (!DeckTable<int>::Contains(deck) || deck >= Game.deckCount || Game.decks[deck].owner != 0 ||
        deck >= Game.common_decks) {
        ShowMsg(kRefused + "it has no common deck to take it");
        return 0;
    }
    // The running game numbers the card after every card it has: the cards of the decks after
    // this one keep their numbers, which the markers, the stacking order and saved games of this
    // game hold. A later game reads the card's line with its deck and numbers it there.
    const int card = std::max<int>(Game.totalCards, 0) + 1;
    if (card > kMaxCards) {
        ShowMsg(kRefused + "it holds " + std::to_string(kMaxCards) + " cards already");
        return 0;
    }
    // A card line is cut at its commas when it is read, and a line break would end the key.
    if (line.empty() || line.find_first_of(",\r\n") != std::string::npos) {
        ShowMsg(kRefused + "the name of its picture \"" + line + "\" cannot stand in a card line");
        return 0;
    }
    // A saved game refuses a card whose picture lies outside the program folder.
    if (!IsPlainRelativePath(line)) {
        ShowMsg(kRefused + "its picture \"" + line + "\" lies outside the program folder");
        return 0;
    }
    if (!SaveNewCardToGameFile(deck, line)) return 0;

    Game.totalCards = static_cast<std::int16_t>(card);
    Game.deckSizes[deck] = static_cast<std::int16_t>(Game.deckSizes[deck] + 1);
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
