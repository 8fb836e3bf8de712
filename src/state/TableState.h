// The records that hold a whole game (cards, decks, seats, stacking order) and the program-wide
// values every part of the engine reads. The declared order of the stored records' fields is the
// order of a saved game on disk, reserved fields included.
#pragma once

#include "state/FixedTable.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// A stored flag: true is -1 and false is 0, as saved games hold them.
using Flag = std::int16_t;
constexpr Flag kTrue = -1;
constexpr Flag kFalse = 0;
constexpr Flag ToFlag(bool value) {
    return value ? kTrue : kFalse;
}

constexpr int kMaxDecks = 12;
constexpr int kMaxCards = 500;
constexpr int kMaxSeats = 8;
constexpr int kArbitratorSeat = 8;
constexpr int kMaxPlayers = 7;
constexpr int kMaxZOrder = 200;
constexpr int kMaxMarkers = 300;
// The longest caption a numerical marker keeps: its label and its value, each a line a definition
// or a text box gives, with room to spare. A longer one is cut, wherever it comes from.
constexpr std::size_t kMaxCaptionLength = 255;
constexpr int kEffectSlots = 4;

// A seat whose ID is this text has no ID yet.
inline const std::string kNoSeatId = "++**~~^^+++";
inline const std::string kArbitratorName = "Arbitrator";

// Pile positions other than a place in a pile.
constexpr std::int16_t kPileNone = -1;
constexpr std::int16_t kPileEliminated = -2;
constexpr std::int16_t kPileInPlay = -3;

struct CardRecord {
    std::string key;
    std::string image;
    std::int16_t controlIndex = -1;
    Flag faceShown = kFalse;
    Flag keptFaceDown = kFalse;
    Flag inDiscardPile = kFalse;
    std::int16_t pilePosition = 0;
    Flag eliminated = kFalse;
    std::int16_t reserved1 = 0;
    std::int16_t reserved2 = 0;
    std::int16_t rotation = 0;
    std::int16_t owner = 0;
    std::int16_t deck = 0;
    std::array<Flag, kEffectSlots> effects{};
    std::int16_t selectionMark = -1;
    std::string properties;
    Flag inHand = kFalse;
    std::int16_t handLeft = -1;
    std::int16_t handTop = -1;
};

// A deck's zoom in percent, as a definition or a saved game gives it, within the range a table
// can show: 0 or less (or no number) is 100, anything else is kept within 10 to 400. Beyond, a
// hundred cards of a large zoom took gigabytes; at 400 a zoomed look holds 16 times the pixels
// of the card's unzoomed look (and the table caps it further, see CardZoom).
inline constexpr float kMinDeckZoom = 10.0f;
inline constexpr float kMaxDeckZoom = 400.0f;
float DeckZoom(double percent);

// The boolean directives keep the spelling of their keys in the definition.
struct DeckRecord {
    Flag draw_facedown = kFalse;
    Flag viewDiscard = kFalse;
    Flag resize = kFalse;
    std::string section;
    std::int16_t owner = 0;
    Flag draw_last_discard = kFalse;
    Flag move_discard_to_bottom = kFalse;
    Flag split = kFalse;
    std::string name;
    std::string reserved;
    Flag locked = kFalse;
    std::int16_t deal = 0;
    std::int16_t firstCard = 0;
    float zoom = 100.0f;
    Flag cards_can_be_put_back = kFalse;
    Flag only_visible_to_owner = kFalse;
    Flag count_cards_in_draw_pile = kFalse;
    Flag count_cards_in_discard_pile = kFalse;
    std::int16_t played_cards_can_be_taken = 0; // 0 NEVER, 1 FACEUP, 2 ALWAYS
    std::string restricted_actions;
    Flag openDrawDeck = kFalse;
    Flag openDiscardPile = kFalse;
    Flag chooseCardFromDrawDeck = kFalse;
    Flag chooseCardFromDiscardPile = kFalse;
    Flag enableReshuffleDrawDeck = kFalse;
    Flag hideDiscardPile = kFalse;
    std::string rotate = "0,90";
    std::string cardTooltipFormat;
    Flag shuffleAndRotate = kFalse;
    std::string transparentColor;
    Flag drawToHand = kFalse;
    Flag drawToTable = kFalse;
    Flag viewDrawDeck = kFalse;
    Flag noReshuffle = kFalse;
    std::int16_t splitCount = 0; // negative: a deck made by splitting another
    std::string splitText;
};

struct PlayerRecord {
    std::string name;
    std::string seatId = kNoSeatId;
    std::int16_t deckCount = 0;
    std::array<std::int16_t, kMaxDecks> decks{};
    std::int16_t reserved = 0;
    Flag hasTableArea = kFalse;
};

// One entry of the stacking order: kind 1 a card (index = card number), 2 a numerical marker,
// 3 an image marker (index = control number from 0).
struct ZOrderEntry {
    std::int16_t kind = 0;
    std::int16_t index = 0;
};
constexpr std::int16_t kZCard = 1;
constexpr std::int16_t kZNumMarker = 2;
constexpr std::int16_t kZImageMarker = 3;

template <typename T> using DeckTable = FixedTable<T, 0, kMaxDecks - 1>;

struct GameState {
    DeckTable<std::string> backImages;
    DeckTable<std::string> discardImages;
    DeckTable<std::int16_t> deckSizes;
    std::string desktop;
    std::int16_t baseMarker = 1;
    std::string transparentColor;
    std::int16_t totalCards = 0;
    DeckTable<std::int16_t> lastCardLines;
    std::int16_t deckCount = 0;
    DeckTable<DeckRecord> decks;
    FixedTable<std::int16_t, 1, 4> windowGeometry; // top, left, height, width
    std::int16_t common_decks = 0;
    std::string directory;
    DeckTable<std::int16_t> nextDrawPositions;
    DeckTable<std::int16_t> nextDiscardPositions;
    DeckTable<std::int16_t> lastDiscarded;
    FixedTable<PlayerRecord, 1, kMaxSeats> players;
    std::int16_t playerCount = 0;
    FixedTable<ZOrderEntry, 1, kMaxZOrder> ZOrderList;
    std::int16_t zOrderCount = 0;
    std::int16_t turnCounter = 0;
    std::int16_t CurrentPlayer = -1;
    std::int16_t diceLogPosition = 0;
    std::int16_t diceSerial = 0;
    std::int16_t effectCount = 0;
    std::int16_t reserved = 0;
    std::int16_t GamePhase = 1;
    Flag external_hand = kFalse;
    Flag card_info = kFalse;
    std::int16_t arbitrator = 0;
    std::int16_t handSize = 0;

    GameState();
};

constexpr std::int16_t kPhaseGameList = 1;
constexpr std::int16_t kPhasePlaying = 3;
constexpr std::int16_t kPhaseEnded = 4;

constexpr int kModeLocal = 1;
constexpr int kModeDirect = 2;

using CardTable = FixedTable<CardRecord, 1, kMaxCards>;

using MarkerFlags = FixedTable<Flag, 0, kMaxMarkers - 1>;
// Where a marker lies on the card it was dropped on, in the card's own frame, so that it keeps its
// place when the card turns: along from the card's own top edge, across from its own left edge.
struct MarkerOffset {
    std::int16_t along = 0;
    std::int16_t across = 0;
};
// Entry m + 1 belongs to numerical marker m, entry n to image marker n. Kept in memory only.
using MarkerOffsetTable = FixedTable<MarkerOffset, 1, kMaxMarkers>;
// One flag per card control index. Indexes are never reused within a game, so a long game with
// reshuffles hands out more controls than there are cards: the table grows with them up to the
// 16-bit index limit, and both sides of a connection still hand out the same indexes.
class ControlFlags {
  public:
    static constexpr int kLast = 32766;
    static constexpr bool Contains(int i) { return i >= 0 && i <= kLast; }

    Flag& operator[](int i) {
        Check(i);
        if (static_cast<std::size_t>(i) >= flags_.size())
            flags_.resize(static_cast<std::size_t>(i) + 1, fill_);
        return flags_[static_cast<std::size_t>(i)];
    }
    Flag operator[](int i) const {
        Check(i);
        return static_cast<std::size_t>(i) < flags_.size() ? flags_[static_cast<std::size_t>(i)] : fill_;
    }
    // Every flag, those of controls not yet handed out included.
    void Fill(Flag value) {
        flags_.clear();
        fill_ = value;
    }

  private:
    static void Check(int i) {
        if (!Contains(i))
            throw std::out_of_range("control index " + std::to_string(i) + " outside 0.." +
                                    std::to_string(kLast));
    }
    std::vector<Flag> flags_;
    Flag fill_ = kFalse;
};

// One of the two direct-play seats: entry 0 the server's, entry 1 the client's. The option is
// the label chosen in the connection dialog; the seat is the player number as decimal text.
struct NetPlayer {
    std::string name;
    std::string game;
    std::string option;
    std::string seatId;
};

// The names every part of the engine reads the game by. They refer into the one model that
// owns them (state/Model.h), whose Reset brings a freshly started program's values back.
extern GameState& Game;
extern CardTable& Cards;

// A deck of the running game: one the definition made.
inline bool ValidDeck(int deck) {
    return deck >= 0 && deck < kMaxDecks && deck < Game.deckCount;
}
// A place in the tables that hold the decks' records, whether or not the game made that deck.
inline bool IsDeckSlot(int deck) {
    return deck >= 0 && deck < kMaxDecks;
}

// Program-wide values, not saved.
extern std::string& CurrentGameFile;
extern std::int32_t& GameMode;
extern Flag& DesignMode;
extern Flag& AllCardsVisible;
extern Flag& ArbitratorLoggedIn;
extern Flag& GameListKind;
// What the last modal dialog answered: the seat login "Continue", or "" after Cancel.
extern std::string& DialogResult;
extern std::int16_t& CardsCreated;
extern std::int16_t& LoadedCardControls;
extern std::int16_t& NextNumMarker;
extern MarkerFlags& NumMarkerInUse;
extern ControlFlags& CardControlFree;
extern MarkerOffsetTable& NumMarkerOffsets;
extern MarkerOffsetTable& GraphMarkerOffsets;
extern Flag& SendToBackDrag;
extern Flag& KeepStackingDrag;
extern std::int16_t& DraggedCard;
extern std::int16_t& DraggedMarker;
extern std::int16_t& HandWindowWidth;
extern std::int32_t& SelectionColour;
extern std::int32_t& TableHeight;
extern std::int32_t& TableWidth;

// The players' notes (the notes window's text), kept with the game in saved games.
extern std::string& NotesText;

// A new card record for a deck, as the definition reader makes it.
CardRecord NewCardRecord(std::int16_t deck);

// Every card record back to a new, empty one (when the table window closes or a game is read).
void ClearCardTable();
