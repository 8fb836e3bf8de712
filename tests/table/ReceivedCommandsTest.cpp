// The other side's card actions: a received command runs the body the acting side ran, sends
// nothing back, and a command naming a card its control does not show changes nothing.
#include "CardActionsSupport.h"

#include "net/NetCommands.h"
#include "state/DecksMgmt.h"
#include "state/TableState.h"
#include "table/TableMarkers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using testing::IsEmpty;

namespace {

class ReceivedCommandsTest : public cardtest::CardTableTest {
  protected:
    // Draws deck 0's top card onto the table; its card and control.
    std::pair<std::int16_t, std::int16_t> DrawOne() {
        const std::int16_t card = FindCard(0, Game.nextDrawPositions[0], false);
        actions().DeckImg_DblClick(0);
        recorder.sent.clear();
        return {card, Cards[card].controlIndex};
    }
    static void Receive(const std::string& word, const std::vector<std::string>& fields) {
        DispatchNetCommand(NetCommand{word, fields});
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
        {"CFLIP", {c, std::to_string(otherControl)}}, // the control shows another card
        {"CFLIP", {"0", e}},
        {"CFLIP", {"501", e}},
        {"CFLIP", {c, "999"}},
        {"CFLIP", {c, "-1"}},
        {"CFLIP", {c}},
        {"CFLIP", {c, e, "1"}},
        {"CDISCARD", {c, "1e400"}},
        {"CDISCARD", {"NaN", e}},
        {"CELIM", {c, e + "x"}},
        {"CTAKE", {c, e, "3"}}, // no third seat
        {"CTAKE", {c, e, "0"}},
        {"CROTATE", {"32768"}},
        {"C2BTMDD", {"9"}}, // beyond the eight cards
        {"DKMD2B", {"1"}},  // one deck only
        {"DKLCK", {"-1"}},
    };
    for (const auto& h : hostile) {
        Receive(h.word, h.fields);
        EXPECT_EQ(Snapshot(), before) << h.word << " " << testing::PrintToString(h.fields);
    }
    EXPECT_THAT(recorder.sent, IsEmpty());
    EXPECT_THAT(messages.Messages(), IsEmpty());
    (void)other;
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

} // namespace
