// The other side's card actions: a received command runs the body the acting side ran, sends
// nothing back, and a command naming a card its control does not show changes nothing.
#include "CardActionsSupport.h"

#include "net/MultiplayerMgmt.h"
#include "net/NetCommands.h"
#include "net/NetSocket.h"
#include "platform/Seams.h"
#include "platform/Socket.h"
#include "state/DecksMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"
#include "table/TableMarkers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <sstream>
#include <string>

using testing::IsEmpty;

namespace {

class ReceivedCommandsTest : public cardtest::CardTableTest {
  protected:
    // Draws deck 0's top card onto the table; its card and control.
    // The cards and piles, and the markers with where they lie and what they show.
    std::string Digest() {
        std::ostringstream out;
        out << Snapshot() << "|" << NextNumMarker << "," << GraphMarkerCount << "," << Game.GamePhase;
        for (int m = 0; m < kMaxMarkers; ++m)
            if (NumMarkerInUse[m] != kFalse) {
                const auto& s = table().markerNum(m)->Surface();
                out << ";n" << m << "@" << s.Left() << "," << s.Top() << ":"
                    << table().markerNum(m)->caption();
            }
        return out.str();
    }
    // Deck 0's order with the given places for the listed cards, "$$$" for the others.
    static std::string Order(const std::vector<std::pair<std::int16_t, int>>& places) {
        std::string order;
        for (int card = 1; card <= Game.totalCards; ++card) {
            std::string entry = "$$$";
            for (const auto& [placed, place] : places)
                if (placed == card) entry = std::string(place < 10 ? "00" : "0") + std::to_string(place);
            order += entry;
        }
        return order;
    }
};

TEST_F(ReceivedCommandsTest, EachCardCommandRunsItsBodyAndSendsNothing) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    auto [card, control] = DrawOne();
    const std::string c = std::to_string(card), e = std::to_string(control);

    Receive("CFLIP", {c, e});
    EXPECT_EQ(Cards[card].faceShown, kFalse);
    Receive("CROTATE", {e});
    EXPECT_NE(Cards[card].rotation, 0);
    Receive("CDISCARD", {c, e});
    EXPECT_EQ(Cards[card].inDiscardPile, kTrue);
    EXPECT_EQ(Game.lastDiscarded[0], card);

    std::tie(card, control) = DrawOne();
    Receive("CELIM", {std::to_string(card), std::to_string(control)});
    EXPECT_EQ(Cards[card].eliminated, kTrue);

    std::tie(card, control) = DrawOne();
    Receive("CTAKE", {std::to_string(card), std::to_string(control), "2"});
    EXPECT_EQ(Cards[card].owner, 2);

    // Locks change the deck record only.
    Receive("DKLCK", {"0"});
    EXPECT_EQ(Game.decks[0].locked, kTrue);
    EXPECT_THAT(recorder.sent, IsEmpty());
    EXPECT_THAT(messages.Messages(), IsEmpty());
    ExpectEveryCardInOnePlace();
}

TEST_F(ReceivedCommandsTest, ACommandThatDoesNotFitTheTableChangesNothing) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    const auto [card, control] = DrawOne();
    const auto [other, otherControl] = DrawOne();
    const std::string c = std::to_string(card), e = std::to_string(control);
    const std::string before = Snapshot();
    const struct {
        const char* word;
        std::vector<std::string> fields;
    } hostile[] = {
        {"CFLIP", {"0", e}},     {"CFLIP", {"501", e}},  {"CFLIP", {c, "1.5"}},      {"CFLIP", {c, "x"}},
        {"CFLIP", {c}},          {"CFLIP", {c, e, "1"}}, {"CDISCARD", {c, "1e400"}}, {"CDISCARD", {"NaN", e}},
        {"CELIM", {c, e + "x"}}, {"CTAKE", {c, e, "3"}},                     // no third seat
        {"CTAKE", {c, e, "0"}},  {"CROTATE", {"32768"}}, {"C2BTMDD", {"9"}}, // beyond the eight cards
        {"DKMD2B", {"1"}},                                                   // one deck only
        {"DKLCK", {"-1"}},
    };
    for (const auto& h : hostile) {
        Receive(h.word, h.fields);
        EXPECT_EQ(Snapshot(), before) << h.word << " " << testing::PrintToString(h.fields);
    }
    EXPECT_THAT(recorder.sent, IsEmpty());
    // The first is told, once for the connection.
    EXPECT_THAT(messages.Messages(),
                testing::ElementsAre(testing::StartsWith("The other side's command CFLIP ")));
    (void)other;
}

TEST_F(ReceivedCommandsTest, ACardCommandActsOnTheCardsOwnControlHere) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    const auto [card, control] = DrawOne();
    const auto [other, otherControl] = DrawOne();
    // The sender numbered the card's control as this side numbers another card's.
    Receive("CFLIP", {std::to_string(card), std::to_string(otherControl)});
    EXPECT_EQ(Cards[card].faceShown, kFalse);
    EXPECT_EQ(Cards[other].faceShown, kTrue);
    Receive("CDISCARD", {std::to_string(card), "-1"});
    EXPECT_EQ(Cards[card].inDiscardPile, kTrue);
    EXPECT_EQ(actions().CardOfElement(control), 0);
    EXPECT_EQ(actions().CardOfElement(otherControl), other);
    // Once off the table, the card takes no further table command.
    const std::string before = Snapshot();
    Receive("CELIM", {std::to_string(card), std::to_string(control)});
    EXPECT_EQ(Snapshot(), before);
    ExpectEveryCardInOnePlace();
}

TEST_F(ReceivedCommandsTest, MarkerCommandsTakeOnlyMarkersInUse) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    const std::int16_t marker = NewMarkerNumProc("5", 300, 300, "");
    ASSERT_GE(marker, 0);
    const std::string before = Snapshot();
    for (const std::vector<std::string>& fields :
         {std::vector<std::string>{std::to_string(marker + 1)}, {"300"}, {"-1"}, {"x"}}) {
        Receive("MRKDEL", fields);
        EXPECT_EQ(NumMarkerInUse[marker], kTrue);
    }
    for (const char* word : {"GPHMRKDEL", "GPHMRKFLP"})
        Receive(word, {"0"});
    Receive("MRKROT", {"0", "L"});
    EXPECT_EQ(Snapshot(), before);

    Receive("MRKDEL", {std::to_string(marker)});
    EXPECT_EQ(NumMarkerInUse[marker], kFalse);
    EXPECT_THAT(recorder.sent, IsEmpty());
}

TEST_F(ReceivedCommandsTest, TheOtherSidesCommandsThatDoNotFitChangeNothing) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    const auto [card, control] = DrawOne();
    const auto [other, otherControl] = DrawOne();
    const std::int16_t marker = NewMarkerNumProc("5", 300, 300, "");
    ASSERT_GE(marker, 0);
    const std::string c = std::to_string(card), e = std::to_string(control), m = std::to_string(marker);
    const std::string before = Digest();
    const std::string eight(8 * 3, '$');
    const struct {
        const char* word;
        std::vector<std::string> fields;
    } hostile[] = {
        {"CLOAD", {"1"}}, // one deck only
        {"CLOAD", {"-1"}},
        {"CLOAD", {}},
        {"CLOAD", {"0", "0"}},
        {"CMOVE", {e, "nan", "1"}},
        {"CMOVE", {e, "1e400", "1"}},
        {"CMOVE", {e, "3000", "1"}}, // beyond what the table holds in twips
        {"CMOVE", {"999", "1", "1"}},
        {"CMOVE", {e, "1"}},
        {"CDSC2PLAY", {"0"}}, // nothing discarded yet
        {"CSELDR", {" 0", ""}},
        {"CSELDR", {" 0", "0070"}},
        {"CSELDR", {" 0", "000"}},
        {"CSELDR", {" 0", "009"}},
        {"CSELDR", {" 0", "0a1"}},
        {"CSELDR", {" 1", "001"}},
        {"DKSHUFF", {"0", "001"}},
        {"DKSHUFF", {"0", "001001" + eight.substr(6)}},
        {"DKSHUFF", {"0", "009" + eight.substr(3)}},
        {"DKSHUFF", {"0", "00x" + eight.substr(3)}},
        {"DKSHUFF", {"0", "000" + eight.substr(3)}},
        {"DKSHUFF", {"0", Order({{card, Game.nextDrawPositions[0]}})}}, // that place has a card left as it is
        {"DKSHUFF", {"0", "001" + eight.substr(3), "0,0"}},
        {"DKSHUFF", {"0", "001" + eight.substr(3), "0,0,0,0,0,0,0,x"}},
        {"DKSHUFF", {"0", "001" + eight.substr(3), "0", "0"}},
        {"MRKLOAD", {}},
        {"MRKMV", {m, "299", "1", "1"}},
        {"MRKMV", {"299", m, "1", "1"}},
        {"MRKMV", {m, m, "x", "1"}},
        {"MRKUPD", {"299", "7"}},
        {"MRKUPD", {m}},
        {"GPHMRKLOAD", {"1", "1", "1", "1"}}, // the game defines no image marker
        {"GPHMRKMV", {"0", "0", "1", "1"}},
        {"CINVERT", {"999"}},
        {"CINVERT", {"-1"}},
        {"CGIVE", {c, "x", "2"}},
        {"CGIVE", {c, e, "3"}},
        {"CGIVE", {c, e, "0"}},
        {"CPUTBACK", {c, "x"}},
        {"CPUTBACK", {"0", e}},
        {"GAMEEND", {"x"}},
    };
    for (const auto& h : hostile) {
        Receive(h.word, h.fields);
        EXPECT_EQ(Digest(), before) << h.word << " " << testing::PrintToString(h.fields);
    }
    EXPECT_THAT(recorder.sent, IsEmpty());
    EXPECT_THAT(messages.Messages(),
                testing::ElementsAre(testing::StartsWith("The other side's command CLOAD ")));
    (void)other;
}

TEST_F(ReceivedCommandsTest, TableCommandsAreTakenOnlyWhileATableIsPlayed) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    const auto [card, control] = DrawOne();
    Game.GamePhase = kPhaseGameList;
    const std::string before = Digest();
    Receive("CLOAD", {"0"});
    Receive("CINVERT", {std::to_string(control)});
    Receive("GAMEEND", {});
    EXPECT_EQ(Digest(), before);
    Game.GamePhase = kPhaseEnded;
    Receive("CINVERT", {std::to_string(control)});
    EXPECT_EQ(Cards[card].rotation, 180);
}

TEST_F(ReceivedCommandsTest, ADrawnCardGoesToTheOtherSidesSeat) {
    const struct {
        std::int16_t localSeat;
        bool server;
        const char* otherSeatId;
        std::int16_t owner;
    } cases[] = {
        {1, true, "2", 2}, {1, false, "2", 2}, // the seat the other side took
        {1, true, "", 2},  {2, true, "", 1},   // none yet: the first seat that is not this side's
        {1, true, "9", 2}, {1, true, "8", 8},  // no seat of the game; the arbitrator's
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::to_string(k.localSeat) + " " + k.otherSeatId);
        ASSERT_TRUE(Start(cardtest::TwoSeatGame(), k.localSeat));
        IsServerSide = k.server;
        NetPlayerData[k.server ? 1 : 0].seatId = k.otherSeatId;
        NetPlayerData[k.server ? 0 : 1].seatId = std::to_string(k.localSeat);
        const std::int16_t top = FindCard(0, Game.nextDrawPositions[0], false);
        const std::int16_t controls = LoadedCardControls;
        Receive("CLOAD", {"0"});
        EXPECT_EQ(Cards[top].owner, k.owner);
        // A control is taken as the drawing side took one.
        EXPECT_EQ(LoadedCardControls, controls + 1);
        EXPECT_EQ(actions().CardOfElement(Cards[top].controlIndex), top);
        ExpectEveryCardInOnePlace();
    }
    IsServerSide = true;
    NetPlayerData = {};
}

TEST_F(ReceivedCommandsTest, ADeckOrderPutsTheCardsItPlacesIntoTheDrawPile) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame("rotate=0,90,180,270\n")));
    DiscardDealtCards();
    const std::int16_t discarded = Game.lastDiscarded[0];
    const auto [onTable, control] = DrawOne();
    // A shuffle of the draw pile that takes back the card on the table: the draw pile and that
    // card get new places, the discard pile stays.
    std::vector<std::pair<std::int16_t, int>> places;
    int place = 0;
    for (int card = Game.totalCards; card >= 1; --card) {
        const CardRecord& c = Cards[card];
        if (card == onTable || (c.inDiscardPile == kFalse && c.pilePosition >= 1))
            places.emplace_back(static_cast<std::int16_t>(card), ++place);
    }
    Receive("DKSHUFF", {"0", Order(places)});
    for (const auto& [card, at] : places) {
        EXPECT_EQ(Cards[card].pilePosition, at);
        EXPECT_EQ(Cards[card].rotation, 0);
    }
    EXPECT_EQ(actions().CardOfElement(control), 0) << "no ghost of the card put back";
    EXPECT_EQ(Game.nextDrawPositions[0], 1);
    EXPECT_EQ(Game.nextDiscardPositions[0], 3);
    EXPECT_EQ(Game.lastDiscarded[0], discarded);
    ExpectEveryCardInOnePlace();

    // A shuffle of everything with the cards' turns: the discard pile is empty afterwards.
    places.clear();
    std::string turns;
    for (int card = 1; card <= Game.totalCards; ++card) {
        places.emplace_back(static_cast<std::int16_t>(card), Game.totalCards + 1 - card);
        turns += std::string(card > 1 ? "," : "") + (card % 2 ? "90" : "0");
    }
    Receive("DKSHUFF", {"0", Order(places), turns});
    EXPECT_EQ(Cards[1].rotation, 90);
    EXPECT_EQ(Cards[2].rotation, 0);
    EXPECT_EQ(Game.nextDiscardPositions[0], 1);
    EXPECT_EQ(Game.lastDiscarded[0], -1);
    ExpectEveryCardInOnePlace();
    EXPECT_THAT(recorder.sent, IsEmpty());
}

TEST_F(ReceivedCommandsTest, CardsChosenFromTheDrawPileLeaveItOnlyForAHandWindow) {
    for (const bool handWindow : {true, false}) {
        SCOPED_TRACE(handWindow);
        ASSERT_TRUE(Start(cardtest::TwoSeatGame("", handWindow ? "external_hand=TRUE" : "")));
        const std::int16_t next = Game.nextDrawPositions[0];
        const std::int16_t first = FindCard(0, static_cast<std::int16_t>(next + 1), false);
        const std::int16_t second = FindCard(0, static_cast<std::int16_t>(next + 3), false);
        const auto entry = [](std::int16_t card) {
            return std::string(card < 10 ? "00" : "0") + std::to_string(card);
        };
        Receive("CSELDR", {" 0", entry(first) + entry(second)});
        // Marked as taken, then settled once the pile has closed up, as on the side that took them.
        if (handWindow) {
            EXPECT_EQ(Cards[first].pilePosition, kPileInPlay);
            EXPECT_EQ(Cards[second].pilePosition, kPileInPlay);
        } else {
            EXPECT_GT(Cards[first].pilePosition, 0);
            EXPECT_GT(Cards[second].pilePosition, 0);
        }
        // The draw pile closes up from its next place.
        const std::vector<std::int16_t> pile = DrawPileInOrder(0);
        for (std::size_t k = 0; k < pile.size(); ++k)
            EXPECT_EQ(Cards[pile[k]].pilePosition, next + static_cast<int>(k));
    }
}

TEST_F(ReceivedCommandsTest, AHostilePeerIsDroppedAndTheConnectionStillAnswers) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    const auto [card, control] = DrawOne();
    const std::string c = std::to_string(card), e = std::to_string(control);
    // The table listens on a free port and a peer of the test's own connects.
    platform::Socket probe;
    probe.Listen();
    NetPort = probe.ListeningPort();
    probe.Close();
    const NetCommandHandler previous = SetNetCommandHandler(DispatchNetCommand);
    StartListening();
    platform::Socket peer;
    std::string peerBytes;
    peer.DataArrival = [&] { peerBytes += peer.GetData(peer.BytesReceived()); };
    peer.Connect("127.0.0.1", NetPort);
    const auto pumpUntil = [](const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < end)
            platform::WaitForEvents(20);
        return done();
    };
    ASSERT_TRUE(pumpUntil([&] {
        return NetSocketState() == platform::Socket::kConnected &&
               peer.State() == platform::Socket::kConnected;
    }));

    // A chat line marks how far the peer's bytes have been taken.
    std::vector<std::string> chat;
    const NetCommandHook previousChat =
        SetChatHandler([&](const NetCommand& m) { chat.push_back(m.fields[0]); });
    const std::string end(kNetTerminator);
    const auto sendAndWait = [&](const std::string& bytes, const std::string& mark) {
        const std::string all = bytes + "CHAT\xA7" + mark + end;
        for (std::size_t at = 0; at < all.size(); at += 1460)
            peer.SendData(all.substr(at, 1460));
        return pumpUntil([&] { return !chat.empty() && chat.back() == mark; });
    };

    const std::string before = Digest();
    std::string stream;
    for (const std::string& bad : std::vector<std::string>{
             "CFLIP\xA7" + c, // a missing field
             "CFLIP\xA7" + c + "\xA7" + e +
                 "\xA7"
                 "1", // one field too many
             "CFLIP\xA7"
             "501\xA7" +
                 e, // no such card
             "CROTATE\xA7"
             "NaN",
             "CMOVE\xA7" + e +
                 "\xA7"
                 "1e400\xA7"
                 "1",
             "DKSHUFF\xA7"
             "0\xA7"
             "001001",
             "CSELDR\xA7"
             " 0\xA7"
             "000",
             "MRKUPD\xA7"
             "299\xA7"
             "x",
             "CHAT\xA7x",                   // a chat line holding a terminator ends there,
             "CLOAD",                       // and what follows is cut short
             std::string(1024 * 1024, 'A'), // far beyond what a message may hold
         })
        stream += bad + end;
    for (int i = 0; i < 2000; ++i)
        stream += "NOPE" + std::to_string(i) + end;
    ASSERT_TRUE(sendAndWait(stream, "one"));
    EXPECT_EQ(Digest(), before);
    // Each told once per connection: the first command that did not fit, and one not known.
    ASSERT_EQ(messages.Messages().size(), 2u) << testing::PrintToString(messages.Messages());
    EXPECT_EQ(messages.Messages()[0].rfind("The other side's command CFLIP does not fit this table", 0), 0u);
    EXPECT_EQ(messages.Messages()[1], "Command NOPE0 not known");

    // A table command while no table is played.
    Game.GamePhase = kPhaseGameList;
    ASSERT_TRUE(sendAndWait("DKLCK\xA7"
                            "0" +
                                end,
                            "two"));
    EXPECT_EQ(Game.decks[0].locked, kFalse);

    // Half a frame, split inside its terminator; the rest arrives once a table is played: the
    // table still answers, and so does the connection.
    peer.SendData("DKLCK\xA7"
                  "0@#E");
    Game.GamePhase = kPhasePlaying;
    ASSERT_TRUE(sendAndWait("nD!CROTATE\xA7" + e + end, "three"));
    EXPECT_EQ(Game.decks[0].locked, kTrue);
    EXPECT_NE(Cards[card].rotation, 0);
    SetChatHandler(previousChat);
    EXPECT_TRUE(SendNetData("TERM"));
    EXPECT_TRUE(pumpUntil([&] { return peerBytes == "TERM" + end; }));
    EXPECT_THAT(recorder.sent, IsEmpty());
    peer.Close();
    CloseConnection();
    SetNetCommandHandler(previous);
}

TEST_F(ReceivedCommandsTest, PlayingTheLastDiscardStopsWhenTheSendChangedThePile) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    const std::int16_t first = cardtest::DealtCardOf(1);
    const std::int16_t second = cardtest::DealtCardOf(2);
    actions().DiscardCardProcedure_body(first, Cards[first].controlIndex);
    actions().MenuDeck = 0;
    // While the send waits, another card lands on the pile.
    recorder.onSend = [&](const std::string&) {
        recorder.onSend = nullptr;
        actions().DiscardCardProcedure_body(second, Cards[second].controlIndex);
    };
    actions().DrawLastDiscardItem_Click();
    EXPECT_EQ(recorder.Commands(), std::vector<std::string>{"CDSC2PLAY"});
    EXPECT_EQ(Cards[first].inDiscardPile, kTrue);
    EXPECT_EQ(Cards[second].inDiscardPile, kTrue);
    EXPECT_EQ(Game.lastDiscarded[0], second);
    ExpectEveryCardInOnePlace();
}

TEST_F(ReceivedCommandsTest, AMarkerDeletedWhileItsMoveIsSentTakesNoPlaceInTheStackingOrder) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    const std::int16_t marker = NewMarkerNumProc("5", 300, 300, "");
    ASSERT_GE(marker, 0);
    TableMarkers& markers = *table().Markers;
    markers.markerNum_MouseDown(marker, 1, 10, 10);
    markers.markerNum_MouseMove(marker, 40, 40);
    recorder.onSend = [&](const std::string&) {
        recorder.onSend = nullptr;
        DeleteMarkerProc(marker);
    };
    markers.markerNum_MouseUp(marker);
    EXPECT_EQ(recorder.Commands(), std::vector<std::string>{"MRKMV"});
    for (int z = 1; z <= Game.zOrderCount; ++z)
        EXPECT_FALSE(Game.ZOrderList[z].kind == kZNumMarker && Game.ZOrderList[z].index == marker);
}

} // namespace

TEST_F(ReceivedCommandsTest, TheOtherSidesNewCardTakesTheNextNumberOnlyWhereTheGameAddsCards) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame("", "cards_can_be_added=TRUE")));
    const std::string before = Snapshot();
    const std::vector<std::vector<std::string>> refused = {
        {"0", "f3.png", "12", "0"},  // not the next number
        {"0", "f3.png", "8", "0"},   // a card of the deck already
        {"0", "f3,x.png", "9", "0"}, // would cut the card line
        {"0", "", "9", "0"},
        {"0", "..\\img\\f3.png", "9", "0"}, // a picture outside the program folder
    };
    for (const auto& fields : refused) {
        SCOPED_TRACE(fields[1] + " " + fields[2]);
        Receive("CNEWCARD", fields);
        EXPECT_EQ(Snapshot(), before);
    }
    Receive("CNEWCARD", {"0", "f3.png", "9", "0"});
    EXPECT_EQ(Game.totalCards, 9);
    EXPECT_EQ(Cards[9].owner, 2);
    ASSERT_NE(Cards[9].controlIndex, -1);
    EXPECT_EQ(actions().CardOfElement(Cards[9].controlIndex), 9);
    ExpectEveryCardInOnePlace();
    EXPECT_THAT(recorder.sent, IsEmpty());

    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    const std::string plain = Snapshot();
    Receive("CNEWCARD", {"0", "f3.png", "9", "0"});
    EXPECT_EQ(Snapshot(), plain);
}

// Where another deck follows the first, both sides number the new card after every card they
// have: the number the acting side sends is the one this side takes.
TEST_F(ReceivedCommandsTest, TheOtherSidesNewCardOfADeckThatAnotherFollowsTakesTheSameNumberHere) {
    std::string game =
        cardtest::TwoSeatGame("", "cards_can_be_added=TRUE",
                              "[COMMON 2]\nname=More\nsplit=FALSE\ndecksize=1\nimg_back=back.png\n"
                              "img_discard=empty.png\ncard1=f2.png,,,more\n");
    game.replace(game.find("common_decks=1"), 14, "common_decks=2");
    ASSERT_TRUE(Start(game));
    ASSERT_EQ(Game.totalCards, 9);
    const std::string before = Snapshot();
    Receive("CNEWCARD", {"0", "f3.png", "9", "0"}); // the number the deck's size would give
    EXPECT_EQ(Snapshot(), before);

    Receive("CNEWCARD", {"0", "f3.png", "10", "0"});
    ASSERT_EQ(Game.totalCards, 10);
    EXPECT_EQ(Cards[9].image, "f2.png");
    EXPECT_EQ(Cards[9].deck, 1);
    EXPECT_EQ(Cards[10].image, "f3.png");
    EXPECT_EQ(Cards[10].deck, 0);
    EXPECT_EQ(actions().CardOfElement(Cards[10].controlIndex), 10);
    ExpectEveryCardInOnePlace();
    EXPECT_THAT(recorder.sent, IsEmpty());
}
