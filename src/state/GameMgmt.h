// The game definition reader: the [GAME] settings, the common decks with their card lines and
// directives, then, in a fixed order, the players' decks, the marker kinds and the preparation of
// the decks (hand cards, shuffle, splitting). Also the two questions about giving cards and the
// game's copyright picture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Reads the definition in `file`; every key comes from that file, whatever CurrentGameFile names
// (a saved game's or a received definition may lie elsewhere). A definition that does not fit the tables
// (players, decks, cards, copy counts), or a read started while another one is still going on, is refused
// with a message before anything changes, and the result is false. A card naming an effect the game
// does not define refuses it once it is read, with a message; its decks and cards are emptied again.
// Otherwise true. The deck pictures are the table's to check (MissingDeckPicture).
bool LoadGameDefinition(const std::string& file);

// The first deck picture that laying out the game's table needs and cannot find, as the text that
// names it; "" when every one is there. A deck that holds cards shows its back, and one that fits
// its pile's picture to the card shows its discard picture. A new game and a saved game's load are
// refused when it is not "": the table is never laid out without them.
struct GameState;
std::string MissingDeckPicture(const GameState& game);

// Reads a deck's directives from its section into deck record `deck` (0 to 11); owner 0 for a
// common deck.
void ReadDeckDirectives(std::int16_t deck, const std::string& section, const std::string& file,
                        std::int16_t owner);

// Shows the game's [GAME] copyright picture, through the view, when the key names an existing
// file.
void ShowGameCopyright();

// [GAME] cards_can_be_given: field 1 is TRUE; field 2 is TRUE and hands are in the hand window.
bool CardsCanBeGiven();
bool GivenCardsGoToHand();

// One card line: image (with an optional "(x" K ")" prefix), effects, properties, key, options.
struct CardLine {
    std::string image;
    std::string effects;
    std::string properties;
    std::string key;
    std::string options;
    int copies = 1;
};

// Cuts a card line into its fields. False when a copy prefix has no closing ")" or asks for more
// copies than the card table holds.
bool ParseCardLine(const std::string& text, CardLine& line);

// The card lines of one deck that make cards, in the order the cards are made. `missing` marks
// a line the definition does not have (it still makes an empty card); `refusal` is "" or, for a
// line the tables cannot hold, the text that refuses the definition.
struct DeckLines {
    struct Entry {
        int number = 0; // k of the key "card" k
        bool missing = false;
        CardLine line;
    };
    std::vector<Entry> entries;
    std::string refusal;
};

// The lines of common deck n (from 1): lastCard lines when given (missing ones skipped), else
// deckSize lines; lines whose options nobody selected are left out. While a definition is read
// each deck's lines are cut once and kept, and every caller shares them instead of a copy.
std::shared_ptr<const DeckLines> CommonDeckLines(int n, const std::string& file);

// The decksize lines of a player's deck section.
std::shared_ptr<const DeckLines> PlayerDeckLines(const std::string& section, const std::string& file);

// Makes the cards of one line in deck `deck` for owner `owner`, numbered from CardsCreated + 1,
// and returns how many were made (the line's copies; fewer only when the card table is full).
int CreateCardsFromLine(std::int16_t deck, std::int16_t owner, const CardLine& line);

// The full path of a file of the game's image folder, in the model's form.
std::string GameImagePath(const std::string& name);
