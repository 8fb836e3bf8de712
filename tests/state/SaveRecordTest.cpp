// The saved-game record's bytes: every member at the place the format gives it, a record read
// back equal to the one written, and a strict reader that refuses whatever is not one sound record.
#include "state/SaveRecord.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

// The sizes the format gives, members without their texts; T is the two bytes of an empty text.
constexpr std::size_t T = 2;
constexpr std::size_t kCard = 38 + 3 * T;
constexpr std::size_t kDeck = 58 + 8 * T;
constexpr std::size_t kSeat = 30 + 2 * T;
constexpr std::size_t kImageMarker = 20 + 2 * T;
constexpr std::size_t kDiceEntry = 4 + T;
// The game state, in its stored order: 12 T back images; 12 T discard images; 24 deck sizes; T
// desktop; 2 baseMarker; T transparentColor; 2 total cards; 24 last card lines; 2 deck count; 12
// deck records; 8 window geometry; 2 common_decks; T directory; 24 next draw positions; 24 next
// discard positions; 24 last discarded; 8 seats; 2 player count; 800 z-order list; 24 for the
// twelve values from the z-order count to handSize.
constexpr std::size_t kDecksInGame = 12 * T + 12 * T + 24 + T + 2 + T + 2 + 24 + 2;
constexpr std::size_t kSeatsInGame = kDecksInGame + 12 * kDeck + 8 + 2 + T + 24 + 24 + 24;
constexpr std::size_t kGame = kSeatsInGame + 8 * kSeat + 2 + 800 + 24;
// The record: version, game, cards, positions, markers, counts, game file, dice log, notes,
// options, decks, the log lines' descriptor and the log count.
constexpr std::size_t kCards = T + kGame;
constexpr std::size_t kCardPositions = kCards + 500 * kCard;
constexpr std::size_t kImageMarkers = kCardPositions + 500 * 4 + 24 * 4 + 300 * 4 + 300 * T + 300 * 2;
constexpr std::size_t kDiceLog = kImageMarkers + 300 * kImageMarker + 2 + 2 + T;
constexpr std::size_t kDecks = kDiceLog + 100 * kDiceEntry + T + 7 * 2;
constexpr std::size_t kEmptyRecord = kDecks + 12 * kDeck + 10 + 2;

// A record whose every text is empty, so that the offsets above hold.
std::unique_ptr<SaveRecord> EmptyTextRecord() {
    auto record = NewSaveRecord();
    for (DeckRecord& deck : record->game.decks)
        deck.rotate.clear();
    for (DeckRecord& deck : record->decks)
        deck.rotate.clear();
    for (PlayerRecord& seat : record->game.players) {
        seat.name.clear();
        seat.seatId.clear();
    }
    return record;
}

std::int16_t Int16At(const std::string& bytes, std::size_t offset) {
    return static_cast<std::int16_t>(
        static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes.at(offset)) |
                                   (static_cast<std::uint8_t>(bytes.at(offset + 1)) << 8)));
}

std::string Encode(const SaveRecord& record) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(EncodeSaveRecord(record, bytes, error)) << error;
    return bytes;
}

// A small game in play: two decks, dealt cards, markers, rolls, notes and log lines.
std::unique_ptr<SaveRecord> GameInPlay() {
    auto r = NewSaveRecord();
    r->version = "1.0.0";
    GameState& g = r->game;
    g.deckCount = 2;
    g.totalCards = 10;
    g.playerCount = 2;
    g.common_decks = 1;
    g.directory = "img";
    g.desktop = "felt.jpg";
    g.decks[0].section = "COMMON 1";
    g.decks[0].firstCard = 1;
    g.decks[0].zoom = 80.0f;
    g.decks[1].section = "DECK 1 PLAYER 1";
    g.decks[1].owner = 1;
    g.decks[1].firstCard = 7;
    g.deckSizes[0] = 6;
    g.deckSizes[1] = 4;
    g.lastDiscarded[0] = 3;
    g.players[1].name = "Ann";
    g.players[1].seatId = "secret";
    g.players[1].deckCount = 1;
    g.players[1].decks[0] = 1;
    g.players[2].name = "Bob";
    g.zOrderCount = 3;
    g.ZOrderList[1] = {kZCard, 4};
    g.ZOrderList[2] = {kZNumMarker, 0};
    g.ZOrderList[3] = {kZImageMarker, 1};
    g.CurrentPlayer = 1;
    g.GamePhase = kPhasePlaying;
    for (int c = 1; c <= 10; ++c) {
        r->cards[c].key = "key" + std::to_string(c);
        r->cards[c].image = "f" + std::to_string(c) + ".png";
        r->cards[c].deck = c <= 6 ? 0 : 1;
    }
    r->cards[4].controlIndex = 0;
    r->cards[4].pilePosition = kPileInPlay;
    r->cards[4].rotation = 90;
    r->cardPositions[4] = {1200, -300};
    r->pilePositions[1] = {100, 200};
    r->numMarkerCount = 1;
    r->numMarkerCaptions[1] = "HP: 9";
    r->numMarkerCards[1] = 4;
    r->imageMarkerCount = 2;
    r->imageMarkers[1] = {10, 20, "", -1, "", 0, kFalse, kTrue, 1, 1, 0, 0};
    r->imageMarkers[2] = {30, 40, "", 4, "", 90, kTrue, kTrue, 2, 0, 1, 0};
    r->gameFile = "D:\\games\\old\\cards.game";
    r->diceLog[1] = {1, 1, "6"};
    r->diceLog[2] = {2, 2, "ace of \xA7pades"};
    r->notes = "caf\xE9\r\n\x80\xFF line";
    r->options[1] = 2;
    r->decks[0] = g.decks[0];
    r->decks[1] = g.decks[1];
    r->logLines = {"first", "two\r\nlines"};
    r->logCount = 2;
    return r;
}

void ExpectRefused(const std::string& bytes, const std::string& why) {
    auto record = NewSaveRecord();
    std::string error;
    EXPECT_FALSE(DecodeSaveRecord(bytes, *record, error)) << why;
    EXPECT_FALSE(error.empty()) << why;
}

} // namespace

TEST(SaveRecordLayout, AnEmptyGameTakesTheSizeTheFormatGives) {
    const std::string bytes = Encode(*EmptyTextRecord());
    EXPECT_EQ(bytes.size(), kEmptyRecord);
    // The log lines carry their whole descriptor even when there are none: one dimension, no
    // elements, lower bound 1.
    EXPECT_EQ(bytes.substr(bytes.size() - 12, 10),
              std::string("\x01\x00\x00\x00\x00\x00\x01\x00\x00\x00", 10));
}

TEST(SaveRecordLayout, EachValueOfACardDeckSeatMarkerAndRollLiesAtItsOffset) {
    auto record = EmptyTextRecord();
    struct Field {
        std::int16_t* value;
        std::size_t offset;
        const char* name;
    };
    const std::size_t card = kCardPositions - 500 * kCard + (7 - 1) * kCard;
    CardRecord& c = record->cards[7];
    const std::size_t deck = T + kDecksInGame + 3 * kDeck; // after the version
    DeckRecord& d = record->game.decks[3];
    const std::size_t seat = T + kSeatsInGame + (2 - 1) * kSeat;
    PlayerRecord& p = record->game.players[2];
    const std::size_t marker = kImageMarkers + (5 - 1) * kImageMarker;
    MarkerInstanceRecord& m = record->imageMarkers[5];
    const std::size_t roll = kDiceLog + (4 - 1) * kDiceEntry;
    DiceLogEntry& e = record->diceLog[4];
    std::vector<Field> fields = {
        {&c.controlIndex, card + 4, "card control"},
        {&c.faceShown, card + 6, "face shown"},
        {&c.keptFaceDown, card + 8, "kept face down"},
        {&c.inDiscardPile, card + 10, "in discard pile"},
        {&c.pilePosition, card + 12, "pile position"},
        {&c.eliminated, card + 14, "eliminated"},
        {&c.reserved1, card + 16, "card reserved 1"},
        {&c.reserved2, card + 18, "card reserved 2"},
        {&c.rotation, card + 20, "rotation"},
        {&c.owner, card + 22, "card owner"},
        {&c.deck, card + 24, "card deck"},
        {&c.effects[0], card + 26, "effect 1"},
        {&c.effects[3], card + 32, "effect 4"},
        {&c.selectionMark, card + 34, "selection"},
        {&c.inHand, card + 38, "in hand"},
        {&c.handLeft, card + 40, "hand left"},
        {&c.handTop, card + 42, "hand top"},
        {&d.draw_facedown, deck + 0, "draw_facedown"},
        {&d.viewDiscard, deck + 2, "viewDiscard"},
        {&d.resize, deck + 4, "resize"},
        {&d.owner, deck + 8, "deck owner"},
        {&d.draw_last_discard, deck + 10, "draw_last_discard"},
        {&d.move_discard_to_bottom, deck + 12, "move_discard_to_bottom"},
        {&d.split, deck + 14, "split"},
        {&d.locked, deck + 20, "locked"},
        {&d.deal, deck + 22, "deal"},
        {&d.firstCard, deck + 24, "first card"},
        {&d.cards_can_be_put_back, deck + 30, "cards_can_be_put_back"},
        {&d.only_visible_to_owner, deck + 32, "only_visible_to_owner"},
        {&d.count_cards_in_draw_pile, deck + 34, "count_cards_in_draw_pile"},
        {&d.count_cards_in_discard_pile, deck + 36, "count_cards_in_discard_pile"},
        {&d.played_cards_can_be_taken, deck + 38, "played_cards_can_be_taken"},
        {&d.openDrawDeck, deck + 42, "openDrawDeck"},
        {&d.openDiscardPile, deck + 44, "openDiscardPile"},
        {&d.chooseCardFromDrawDeck, deck + 46, "chooseCardFromDrawDeck"},
        {&d.chooseCardFromDiscardPile, deck + 48, "chooseCardFromDiscardPile"},
        {&d.enableReshuffleDrawDeck, deck + 50, "enableReshuffleDrawDeck"},
        {&d.hideDiscardPile, deck + 52, "hideDiscardPile"},
        {&d.shuffleAndRotate, deck + 58, "shuffleAndRotate"},
        {&d.drawToHand, deck + 62, "drawToHand"},
        {&d.drawToTable, deck + 64, "drawToTable"},
        {&d.viewDrawDeck, deck + 66, "viewDrawDeck"},
        {&d.noReshuffle, deck + 68, "noReshuffle"},
        {&d.splitCount, deck + 70, "split count"},
        {&p.deckCount, seat + 4, "seat deck count"},
        {&p.decks[0], seat + 6, "seat deck 1"},
        {&p.decks[11], seat + 28, "seat deck 12"},
        {&p.reserved, seat + 30, "seat reserved"},
        {&p.hasTableArea, seat + 32, "has table area"},
        {&m.top, marker + 0, "marker top"},
        {&m.left, marker + 2, "marker left"},
        {&m.card, marker + 6, "marker card"},
        {&m.rotation, marker + 10, "marker rotation"},
        {&m.flipped, marker + 12, "flipped"},
        {&m.inUse, marker + 14, "in use"},
        {&m.kind, marker + 16, "kind"},
        {&m.owner, marker + 18, "marker owner"},
        {&m.face, marker + 20, "face"},
        {&m.dicePlaced, marker + 22, "dice placed"},
        {&e.serial, roll + 0, "serial"},
        {&e.die, roll + 2, "die"},
    };
    for (std::size_t i = 0; i < fields.size(); ++i)
        *fields[i].value = static_cast<std::int16_t>(0x1100 + i);
    d.zoom = 1.5f;
    const std::string bytes = Encode(*record);
    ASSERT_EQ(bytes.size(), kEmptyRecord);
    for (std::size_t i = 0; i < fields.size(); ++i)
        EXPECT_EQ(Int16At(bytes, fields[i].offset), 0x1100 + static_cast<int>(i)) << fields[i].name;
    float zoom = 0;
    std::memcpy(&zoom, bytes.data() + deck + 26, sizeof zoom);
    EXPECT_EQ(zoom, 1.5f) << "the zoom is a little-endian single float after the first card";
}

TEST(SaveRecordLayout, TextsAreA16BitLengthAndTheirBytes) {
    auto record = EmptyTextRecord();
    record->version = "1.0.0";
    record->cards[1].key = std::string("\x80\xFF\r\n", 4);
    const std::string bytes = Encode(*record);
    EXPECT_EQ(bytes.substr(0, 7), std::string("\x05\x00"
                                              "1.0.0",
                                              7));
    const std::size_t card1 = kCardPositions - 500 * kCard + 5; // after the longer version
    EXPECT_EQ(bytes.substr(card1, 6), std::string("\x04\x00\x80\xFF\r\n", 6));

    record->notes.assign(65535, 'x');
    std::string out;
    std::string error;
    EXPECT_TRUE(EncodeSaveRecord(*record, out, error)) << "65,535 bytes still fit the length";
    record->notes.push_back('x');
    EXPECT_FALSE(EncodeSaveRecord(*record, out, error));
    EXPECT_NE(error.find("65536"), std::string::npos) << error;
}

TEST(SaveRecordCodec, AGameReadBackWritesTheSameBytes) {
    const auto original = GameInPlay();
    const std::string bytes = Encode(*original);
    auto read = NewSaveRecord();
    std::string error;
    ASSERT_TRUE(DecodeSaveRecord(bytes, *read, error)) << error;
    EXPECT_EQ(Encode(*read), bytes);
    EXPECT_EQ(read->notes, original->notes);
    EXPECT_EQ(read->logLines, original->logLines);
    EXPECT_EQ(read->game.decks[0].zoom, 80.0f);
    EXPECT_EQ(read->imageMarkers[2].card, 4);
    EXPECT_EQ(read->game.players[1].seatId, "secret");
}

TEST(SaveRecordCodec, AMarkersCaptionIsKeptOnlyAsLongAsAMarkerShowsIt) {
    auto record = GameInPlay();
    record->numMarkerCount = 2;
    record->numMarkerCaptions[1] = std::string(65535, 'x');
    record->numMarkerCaptions[2] = "HP: 9";
    auto read = NewSaveRecord();
    std::string error;
    ASSERT_TRUE(DecodeSaveRecord(Encode(*record), *read, error)) << error;
    EXPECT_EQ(read->numMarkerCaptions[1], std::string(kMaxCaptionLength, 'x'));
    EXPECT_EQ(read->numMarkerCaptions[2], "HP: 9") << "what follows is read where it stands";
    EXPECT_EQ(read->notes, record->notes);
}

TEST(SaveRecordCodec, AnEmptyLogListIsReadInBothForms) {
    auto record = GameInPlay();
    record->logLines.clear();
    record->logCount = 0;
    std::string bytes = Encode(*record);
    auto read = NewSaveRecord();
    std::string error;
    ASSERT_TRUE(DecodeSaveRecord(bytes, *read, error)) << error;
    // The bare form: a dimension count of 0 and nothing else before the log count.
    const std::string bare = bytes.substr(0, bytes.size() - 12) + std::string("\0\0\0\0", 4);
    ASSERT_TRUE(DecodeSaveRecord(bare, *read, error)) << error;
    EXPECT_TRUE(read->logLines.empty());
}

TEST(SaveRecordCodec, AFirstCardOnePastTheTotalIsAnEmptyDeck) {
    auto record = GameInPlay();
    record->game.decks[1].firstCard = 11;
    record->decks[1].firstCard = 11;
    auto read = NewSaveRecord();
    std::string error;
    EXPECT_TRUE(DecodeSaveRecord(Encode(*record), *read, error)) << error;
}

TEST(SaveRecordCodec, TheReaderRefusesWhatIsNotOneSoundRecord) {
    const std::string good = Encode(*GameInPlay());
    ExpectRefused("", "an empty file");
    ExpectRefused(good + "x", "a byte after the record");
    ExpectRefused(good.substr(0, good.size() - 1), "the last byte missing");
    // A cut at every place in the game state (all its members), then every 13th further on.
    auto record = NewSaveRecord();
    std::string error;
    for (std::size_t cut = 0; cut < good.size(); cut += cut < kCards + 2 * kCard ? 1 : 13)
        ASSERT_FALSE(DecodeSaveRecord(std::string_view(good).substr(0, cut), *record, error))
            << "cut at " << cut;

    using Change = std::function<void(SaveRecord&)>;
    const std::vector<std::pair<const char*, Change>> hostile = {
        {"13 decks", [](SaveRecord& r) { r.game.deckCount = 13; }},
        {"a negative deck count", [](SaveRecord& r) { r.game.deckCount = -1; }},
        {"501 cards", [](SaveRecord& r) { r.game.totalCards = 501; }},
        {"8 players", [](SaveRecord& r) { r.game.playerCount = 8; }},
        {"201 stacking entries", [](SaveRecord& r) { r.game.zOrderCount = 201; }},
        {"a stacked card past the total",
         [](SaveRecord& r) {
             r.game.ZOrderList[1] = {kZCard, 11};
         }},
        {"a stacked marker past the count",
         [](SaveRecord& r) {
             r.game.ZOrderList[3] = {kZImageMarker, 2};
         }},
        {"a stacked object of no kind",
         [](SaveRecord& r) {
             r.game.ZOrderList[1] = {4, 1};
         }},
        {"a card of deck 2 of 2", [](SaveRecord& r) { r.cards[5].deck = 2; }},
        {"a card owned by seat 9", [](SaveRecord& r) { r.cards[5].owner = 9; }},
        {"a card control below -1", [](SaveRecord& r) { r.cards[5].controlIndex = -2; }},
        {"a seat with 13 decks", [](SaveRecord& r) { r.game.players[1].deckCount = 13; }},
        {"a seat's deck past the count", [](SaveRecord& r) { r.game.players[1].decks[0] = 2; }},
        {"a deck's first card past the total", [](SaveRecord& r) { r.game.decks[0].firstCard = 12; }},
        {"a deck size of 501", [](SaveRecord& r) { r.game.deckSizes[0] = 501; }},
        {"a last discarded card past the total", [](SaveRecord& r) { r.game.lastDiscarded[1] = 11; }},
        {"a NaN zoom", [](SaveRecord& r) { r.game.decks[0].zoom = std::numeric_limits<float>::quiet_NaN(); }},
        {"a huge zoom", [](SaveRecord& r) { r.game.decks[0].zoom = 1e30f; }},
        {"a zero zoom in the decks' copy", [](SaveRecord& r) { r.decks[1].zoom = 0.0f; }},
        {"301 numerical markers", [](SaveRecord& r) { r.numMarkerCount = 301; }},
        {"301 image markers", [](SaveRecord& r) { r.imageMarkerCount = 301; }},
        {"a numerical marker on card 11", [](SaveRecord& r) { r.numMarkerCards[1] = 11; }},
        {"an image marker on card 0", [](SaveRecord& r) { r.imageMarkers[1].card = 0; }},
        {"an image marker of kind 301", [](SaveRecord& r) { r.imageMarkers[1].kind = 301; }},
        {"an image marker of kind 0", [](SaveRecord& r) { r.imageMarkers[2].kind = 0; }},
        {"a roll of die 51", [](SaveRecord& r) { r.diceLog[1].die = 51; }},
        {"a dice log position of 101", [](SaveRecord& r) { r.game.diceLogPosition = 101; }},
        {"option 16", [](SaveRecord& r) { r.options[2] = 16; }},
        {"a log count above its lines", [](SaveRecord& r) { r.logCount = 3; }},
        {"an image folder above the program", [](SaveRecord& r) { r.game.directory = "..\\..\\etc"; }},
        {"an absolute image folder", [](SaveRecord& r) { r.game.directory = "C:\\games"; }},
        {"a card image above its folder", [](SaveRecord& r) { r.cards[2].image = "sub/../../x.png"; }},
        {"a desktop from the root", [](SaveRecord& r) { r.game.desktop = "/etc/passwd"; }},
    };
    for (const auto& [why, change] : hostile) {
        auto bad = GameInPlay();
        change(*bad);
        ExpectRefused(Encode(*bad), why);
    }
}

TEST(SaveRecordCodec, AHugeLogCountIsRefusedBeforeAnythingIsMade) {
    std::string bytes = Encode(*GameInPlay());
    // The log lines' element count, the first 32-bit value after the dimension count; the lines
    // "first" and "two\r\nlines" and the log count follow the descriptor.
    const std::size_t count = bytes.size() - 2 - (2 + 5) - (2 + 10) - 8;
    ASSERT_EQ(Int16At(bytes, count - 2), 1);
    bytes[count + 3] = 0x7F;
    ExpectRefused(bytes, "two billion log lines");
}

TEST(SaveRecordPaths, TheGameFileIsReRootedOnItsLastComponent) {
    EXPECT_EQ(RerootedGameFile("D:\\games\\old\\chess.game"), platform::ProgramFolder() + "\\chess.game");
    EXPECT_EQ(RerootedGameFile("chess.game"), platform::ProgramFolder() + "\\chess.game");
    EXPECT_EQ(RerootedGameFile("..\\..\\x/../chess.game"), platform::ProgramFolder() + "\\chess.game");
    EXPECT_EQ(RerootedGameFile(""), "");
    EXPECT_EQ(RerootedGameFile("games\\.."), "");
    EXPECT_EQ(RerootedGameFile("games\\"), "");
}
