// The texts the table shows about cards, decks and the game: a card's balloon text from its
// deck's format and the game's [CARD INFO] lines, the count tips of the deck piles, and the table
// window's caption.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The balloon text of a card: its owner in square brackets, or, when its details may be seen,
// its deck's cardTooltipFormat filled in. A title and a text are separated by "|".
std::string CardTooltipText(std::int16_t card);

// The value of a card key's [CARD INFO] line in the game in use ("" when none): the card's name,
// "|" and its information. The section is read once per game file.
std::string ReadCardInfoFile(const std::string& key);
// The description of a [CARD INFO] value (its second "|" field), "\n" written as line breaks.
std::string CardInfoDescription(const std::string& info);
// Forgets what was read of [CARD INFO], so that a changed file is read again.
void ForgetCardInfo();

// A card's name as the log and the tool tips give it: its [CARD INFO] title, its key, or its image
// file when it has no key. A deck's `name` directive, or its section name in lower case.
std::string CardDisplayName(std::int16_t card);
std::string DeckDisplayName(std::int16_t deck);

// The tip texts of a deck's draw pile and discard pile; no discard text when the deck does not
// count its discard pile (its tip stays as it was).
struct DeckPileTips {
    std::string drawPile;
    std::optional<std::string> discardPile;
};
DeckPileTips DeckCountTips(std::int16_t deck);

// The program's major, minor and revision numbers joined by ".": the caption shows it and saved
// games carry it.
std::string ProgramVersion();

// The table window's caption: the program's version, the seats playing, and the marks of the
// adversary's hand and the end of the game.
std::string TableCaption();
