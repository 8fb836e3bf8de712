// The command table of direct play: each received command is checked against its row before
// anything changes; what does not fit is dropped.
#include "net/NetCommands.h"
#include "net/NetCommandsInternal.h"
#include "services/DiceRoller.h"
#include "state/Model.h"
#include "state/TableState.h"

#include "TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

NetCommand Message(const std::string& text) {
    return ParseNetMessage(text);
}

class NetCommandsTest : public testing::Test {
  protected:
    void SetUp() override {
        Model().Reset();
        Game.deckCount = 3;
        Game.GamePhase = kPhasePlaying;
        DiceCount = 2;
        Dice[2].name = "Two";
        ResetNetNotices();
    }
    void TearDown() override { Model().Reset(); }

    testsupport::MessageRecorder messages_;
};

TEST_F(NetCommandsTest, DeckLocksTakeOnlyADeckOfTheGame) {
    DispatchNetCommand(Message("DKLCK\xA7"
                               "2"));
    EXPECT_EQ(Game.decks[2].locked, kTrue);
    DispatchNetCommand(Message("DKUNLCK\xA7"
                               " 2 "));
    EXPECT_EQ(Game.decks[2].locked, kFalse);

    // Each of these is dropped and changes nothing.
    for (const char* bad : {"DKLCK\xA7"
                            "3",
                            "DKLCK\xA7"
                            "-1",
                            "DKLCK\xA7"
                            "x",
                            "DKLCK\xA7"
                            "1.5",
                            "DKLCK",
                            "DKLCK\xA7"
                            "1\xA7"
                            "1",
                            "DKLCK\xA7",
                            "DKLCK\xA7"
                            "1e400",
                            "DKLCK\xA7"
                            "nan"}) {
        DispatchNetCommand(Message(bad));
        for (int d = 0; d < kMaxDecks; ++d)
            EXPECT_EQ(Game.decks[d].locked, kFalse) << bad;
    }
    // The players hear of it once: their tables differ.
    EXPECT_THAT(messages_.Messages(),
                ElementsAre("The other side's command DKLCK does not fit this table: the two tables differ. "
                            "Save the game and continue it from the save on both sides to play on with equal "
                            "tables."));
}

TEST_F(NetCommandsTest, TableCommandsWaitForATable) {
    Game.GamePhase = kPhaseGameList;
    DispatchNetCommand(Message("DKLCK\xA7"
                               "1"));
    EXPECT_EQ(Game.decks[1].locked, kFalse);
    Game.GamePhase = kPhaseEnded;
    DispatchNetCommand(Message("DKLCK\xA7"
                               "1"));
    EXPECT_EQ(Game.decks[1].locked, kTrue);
}

TEST_F(NetCommandsTest, ARollOfTheOtherSideEntersTheRing) {
    const std::int16_t serial = Game.diceSerial;
    DispatchNetCommand(Message("DCENEW\xA7"
                               "2\xA7"
                               "5\xA7"
                               "-1"));
    EXPECT_EQ(Game.diceSerial, serial + 1);
    EXPECT_THAT(DiceLogLines(), ElementsAre(std::to_string(serial + 1) + "\tTwo\t5"));
    // A die the game does not define, and a missing field.
    DispatchNetCommand(Message("DCENEW\xA7"
                               "3\xA7"
                               "5\xA7"
                               "-1"));
    DispatchNetCommand(Message("DCENEW\xA7"
                               "2\xA7"
                               "5"));
    EXPECT_EQ(Game.diceSerial, serial + 1);
}

TEST_F(NetCommandsTest, AnUnknownCommandIsToldOncePerConnection) {
    for (int i = 0; i < 2000; ++i)
        DispatchNetCommand(Message(i % 2 ? "cload\xA7"
                                           "1"
                                         : "CLOAD \xA7"
                                           "1"));
    ASSERT_THAT(messages_.Messages(), testing::SizeIs(1));
    EXPECT_EQ(messages_.Messages()[0], "Command CLOAD  not known");
}

TEST_F(NetCommandsTest, HandshakeAndChatGoToTheirWindowsWhenOpen) {
    std::vector<std::string> seen;
    const NetCommandHook previousChat =
        SetChatHandler([&](const NetCommand& c) { seen.push_back(c.word + ":" + c.fields[0]); });
    const NetCommandHook previousHandshake =
        SetHandshakeHandler([&](const NetCommand& c) { seen.push_back(c.word); });
    Game.GamePhase = kPhaseGameList;
    // A chat line holding the separator arrives cut there.
    DispatchNetCommand(Message("CHAT\xA7"
                               "a\xA7"
                               "b"));
    DispatchNetCommand(Message("TERM"));
    DispatchNetCommand(Message("TERM\xA7"
                               "x"));
    EXPECT_THAT(seen, ElementsAre("CHAT:a", "TERM"));
    SetChatHandler(previousChat);
    SetHandshakeHandler(previousHandshake);
    DispatchNetCommand(Message("TERM"));
    EXPECT_THAT(seen, testing::SizeIs(2));
}

TEST_F(NetCommandsTest, AMarkerOwnerIsASeatTheArbitratorOrNobody) {
    Game.playerCount = 3;
    // 0 is nobody's: a marker that a roll places belongs to no seat.
    for (const char* owner : {"0", "1", "3", "8"})
        EXPECT_TRUE(net_commands::Fits(net_commands::Field::Owner, owner)) << owner;
    for (const char* owner : {"-1", "4", "7", "9", "1.5", ""})
        EXPECT_FALSE(net_commands::Fits(net_commands::Field::Owner, owner)) << owner;
}

TEST(WireNumbers, OnlyPlainDecimalNumbers) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"7", 7},    {" 17", 17}, {"-1", -1},   {"12.5", 12.5}, {"+3", 3},
        {"", {}},    {"   ", {}}, {"x", {}},    {"7x", {}},     {"1e400", {}},
        {"nan", {}}, {"inf", {}}, {"0x10", {}}, {"--1", {}},    {"1 2", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WireNumber(c.text), c.value) << '"' << c.text << '"';
}

} // namespace
