// The lowest layer of direct play: framing of the byte stream, and the one socket with its send
// wait, its error messages and the order in which received messages run.
#include "net/NetSocket.h"
#include "platform/Seams.h"
#include "platform/Socket.h"

#include "TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

std::vector<std::string> Messages(NetFrameReader& reader) {
    std::vector<std::string> out;
    while (reader.HasMessage())
        out.push_back(reader.TakeMessage());
    return out;
}

TEST(NetFrames, MessagesAreCutAtTheirTerminators) {
    NetFrameReader reader;
    reader.Feed("CLOAD\xA7"
                "1@#EnD!CFLIP\xA7"
                "5\xA7"
                "5@#EnD!");
    EXPECT_THAT(Messages(reader), ElementsAre("CLOAD\xA7"
                                              "1",
                                              "CFLIP\xA7"
                                              "5\xA7"
                                              "5"));

    // A field holding the terminator is cut there: the rest starts a further message.
    reader.Feed("CHAT\xA7x@#EnD!CLOAD@#EnD!");
    EXPECT_THAT(Messages(reader), ElementsAre("CHAT\xA7x", "CLOAD"));
}

TEST(NetFrames, AMessageSplitAnywhereArrivesOnceWhole) {
    const std::string stream = "CLOAD\xA7"
                               "1@#EnD!TERM@#EnD!";
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        SCOPED_TRACE(cut);
        NetFrameReader reader;
        reader.Feed(std::string_view(stream).substr(0, cut));
        std::vector<std::string> got = Messages(reader);
        reader.Feed(std::string_view(stream).substr(cut));
        for (std::string& m : Messages(reader))
            got.push_back(m);
        EXPECT_THAT(got, ElementsAre("CLOAD\xA7"
                                     "1",
                                     "TERM"));
    }
    // One byte at a time.
    NetFrameReader reader;
    for (char c : stream)
        reader.Feed(std::string_view(&c, 1));
    EXPECT_THAT(Messages(reader), ElementsAre("CLOAD\xA7"
                                              "1",
                                              "TERM"));
}

TEST(NetFrames, AnOverlongMessageIsDroppedUpToItsTerminator) {
    NetFrameReader reader;
    reader.SetLimit(16);
    // Arrives in pieces, longer than the limit long before its end.
    reader.Feed("CHAT\xA7");
    for (int i = 0; i < 100; ++i)
        reader.Feed("xxxxxxxxxx");
    reader.Feed("@#");
    reader.Feed("EnD!CLOAD\xA7"
                "2@#EnD!");
    EXPECT_THAT(Messages(reader), ElementsAre("CLOAD\xA7"
                                              "2"));
    EXPECT_EQ(reader.Dropped(), 1U);

    // Whole in one piece, and exactly at the limit.
    reader.Feed(std::string(17, 'y') + "@#EnD!" + std::string(16, 'z') + "@#EnD!");
    EXPECT_THAT(Messages(reader), ElementsAre(std::string(16, 'z')));
    EXPECT_EQ(reader.Dropped(), 2U);
}

TEST(NetFrames, OnlyTheGamesRecordMayExceedThePlayLimit) {
    NetFrameReader reader;
    reader.SetLimit(16);
    reader.SetLongLimit(64, {"DECKDATA", "DECKDATALD"});
    const std::string body(40, 'r');
    const struct {
        std::string message;
        bool taken;
    } cases[] = {
        {"DECKDATA\xA7" + body, true},
        {"DECKDATALD\xA7" + body, true},
        {"DECKDATA\xA7" + std::string(60, 'r'), false}, // beyond even the record's limit
        {"CHAT\xA7" + body, false},
        {"DECKDATAX\xA7" + body, false},
        {"DECKDAT\xA7" + body, false},
        {"deckdata\xA7" + body, false},
        {"CHAT\xA7short", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.substr(0, 12));
        // Whole, and a byte at a time: the same judgement.
        for (const bool pieces : {false, true}) {
            const std::string stream = c.message + "@#EnD!";
            if (pieces)
                for (char ch : stream)
                    reader.Feed(std::string_view(&ch, 1));
            else
                reader.Feed(stream);
            EXPECT_EQ(Messages(reader),
                      c.taken ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        }
    }
    // Without the long words, every message keeps the limit.
    reader.SetLongLimit(0, {});
    reader.Feed("DECKDATA\xA7" + body + "@#EnD!");
    EXPECT_THAT(Messages(reader), IsEmpty());
}

TEST(NetSends, AreGivenUpOnlyWhenNoByteLeftForTenSeconds) {
    using namespace std::chrono_literals;
    const SendStallWatch::Clock::time_point start{};
    // A long record on a slow link: a little leaves every nine seconds for a minute.
    SendStallWatch slow(1'000'000, start);
    for (int step = 1; step <= 7; ++step)
        EXPECT_FALSE(slow.Stalled(1'000'000 - 1000 * static_cast<std::size_t>(step), start + step * 9s))
            << step;
    // A link where nothing moves.
    SendStallWatch stuck(1'000, start);
    EXPECT_FALSE(stuck.Stalled(1'000, start + 9s));
    EXPECT_TRUE(stuck.Stalled(1'000, start + 10s));
    // Moving, then stuck: ten seconds after the last byte left.
    SendStallWatch halted(1'000, start);
    EXPECT_FALSE(halted.Stalled(500, start + 8s));
    EXPECT_FALSE(halted.Stalled(500, start + 17s));
    EXPECT_TRUE(halted.Stalled(500, start + 18s));
}

TEST(NetFrames, FieldsAndBuilding) {
    const NetCommand term = ParseNetMessage("TERM");
    EXPECT_EQ(term.word, "TERM");
    EXPECT_THAT(term.fields, IsEmpty());
    const NetCommand chat = ParseNetMessage("CHAT\xA7\xA7"
                                            "b\xA7");
    EXPECT_EQ(chat.word, "CHAT");
    EXPECT_THAT(chat.fields, ElementsAre("", "b", ""));

    EXPECT_EQ(BuildNetMessage("CFLIP", {"5", "7"}), "CFLIP\xA7"
                                                    "5\xA7"
                                                    "7");
    EXPECT_EQ(BuildNetMessage("TERM", {}), "TERM");
    // The terminator in a field would let a chat line run a command on the other side.
    EXPECT_EQ(BuildNetMessage("CHAT", {"x@#EnD!CLOAD"}), std::nullopt);
    // A separator is cut off on the other side where nothing follows it, and would shift the
    // fields after it anywhere else.
    EXPECT_EQ(BuildNetMessage("CHAT", {"a\xA7"
                                       "b"}),
              "CHAT\xA7"
              "a\xA7"
              "b");
    EXPECT_EQ(BuildNetMessage("MRKLOAD", {"a\xA7"
                                          "b",
                                          ""}),
              "MRKLOAD\xA7"
              "a\xA7"
              "b\xA7");
    EXPECT_EQ(BuildNetMessage("DCENEW", {"2",
                                         "5\xA7"
                                         "6",
                                         "-1"}),
              std::nullopt);
    EXPECT_EQ(BuildNetMessage("SETUP", {"Ann\xA7", "game", "1", ""}), std::nullopt);
}

TEST(NetFrames, PortsOutsideTheRangeGiveTheDefault) {
    EXPECT_EQ(NetPortFromValue(40000), 40000);
    EXPECT_EQ(NetPortFromValue(1), 1);
    EXPECT_EQ(NetPortFromValue(65535), 65535);
    for (long long bad : {0LL, -1LL, 65536LL, 1LL << 40})
        EXPECT_EQ(NetPortFromValue(bad), kDefaultNetPort) << bad;
}

template <typename Predicate> bool PumpUntil(Predicate done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        platform::WaitForEvents(20);
    }
    return true;
}

int FreePort() {
    platform::Socket probe;
    probe.LocalPort = 0;
    probe.Listen();
    return probe.ListeningPort();
}

// The program's socket listening, and a peer of the test's own connected to it.
class NetSocketTest : public testing::Test {
  protected:
    void SetUp() override {
        NetPort = FreePort();
        ASSERT_GT(NetPort, 0);
        previousHandler_ = SetNetCommandHandler([this](const NetCommand& c) { received_.push_back(c.word); });
        StartListening();
        ASSERT_EQ(NetSocketState(), platform::Socket::kListening);
        peer_.DataArrival = [this] { peerBytes_ += peer_.GetData(peer_.BytesReceived()); };
        peer_.Connect("127.0.0.1", NetPort);
        ASSERT_TRUE(PumpUntil([&] {
            return NetSocketState() == platform::Socket::kConnected &&
                   peer_.State() == platform::Socket::kConnected;
        }));
    }
    void TearDown() override {
        peer_.Close();
        CloseConnection();
        SetNetCommandHandler(previousHandler_);
        AllowGameTransferMessages(false);
    }

    testsupport::MessageRecorder messages_;
    platform::Socket peer_;
    std::string peerBytes_;
    std::vector<std::string> received_;
    NetCommandHandler previousHandler_;
};

TEST_F(NetSocketTest, SendsWaitForCompletionAndArriveWhole) {
    EXPECT_TRUE(SendNetData("CLOAD\xA7"
                            "3"));
    EXPECT_TRUE(SendNetData("TERM"));
    const std::string expected = "CLOAD\xA7"
                                 "3@#EnD!TERM@#EnD!";
    ASSERT_TRUE(PumpUntil([&] { return peerBytes_.size() >= expected.size(); }));
    EXPECT_EQ(peerBytes_, expected);
    EXPECT_THAT(messages_.Messages(), IsEmpty());
}

TEST_F(NetSocketTest, ReceivedMessagesRunInOrderAndNeverInsideAnother) {
    std::vector<std::string> order;
    SetNetCommandHandler([&](const NetCommand& c) {
        order.push_back("begin " + c.word);
        // A handler that sends waits for its send; what arrives meanwhile runs after it.
        if (c.word == "FIRST") {
            peer_.SendData("THIRD@#EnD!");
            SendNetData("REPLY");
            platform::WaitForEvents(50);
        }
        order.push_back("end " + c.word);
    });
    peer_.SendData("FIRST@#EnD!SECO");
    peer_.SendData("ND@#EnD!");
    ASSERT_TRUE(PumpUntil([&] { return order.size() >= 6; })) << testing::PrintToString(order);
    EXPECT_THAT(order, ElementsAre("begin FIRST", "end FIRST", "begin SECOND", "end SECOND", "begin THIRD",
                                   "end THIRD"));
}

TEST_F(NetSocketTest, AGameTransferMayBeLongOnlyWhileAllowedAndNothingElseEver) {
    const std::string record = "DECKDATA\xA7" + std::string(100 * 1024, 'r');
    const std::string chat = "CHAT\xA7" + std::string(100 * 1024, 'c');
    peer_.SendData(record + "@#EnD!AFTER@#EnD!");
    ASSERT_TRUE(PumpUntil([&] { return !received_.empty(); }));
    EXPECT_THAT(received_, ElementsAre("AFTER"));

    received_.clear();
    AllowGameTransferMessages(true);
    peer_.SendData(chat + "@#EnD!" + record + "@#EnD!");
    ASSERT_TRUE(PumpUntil([&] { return !received_.empty(); }));
    EXPECT_THAT(received_, ElementsAre("DECKDATA"))
        << "a long chat line is dropped also while a game may arrive";
}

TEST_F(NetSocketTest, AFloodOfMessagesLetsTheWindowsEventsRunBetween) {
    std::vector<std::string> order;
    bool asked = false;
    SetNetCommandHandler([&](const NetCommand& c) {
        // The window's own event, asked for while the first message runs.
        if (!asked) {
            asked = true;
            platform::RunLater([&] { order.push_back("window"); });
        }
        order.push_back(c.word);
        // Each message takes a while, as a long chat line to lay out would.
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(20);
        while (std::chrono::steady_clock::now() < until) {
        }
    });
    std::string flood;
    for (int i = 0; i < 20; ++i)
        flood += "M" + std::to_string(i) + "@#EnD!";
    peer_.SendData(flood);
    ASSERT_TRUE(PumpUntil([&] { return order.size() >= 21; }));
    const auto window = std::find(order.begin(), order.end(), "window");
    ASSERT_NE(window, order.end());
    EXPECT_LT(window - order.begin(), 20) << testing::PrintToString(order);
    // The messages still ran in order.
    std::vector<std::string> messages;
    for (const std::string& word : order)
        if (word != "window") messages.push_back(word);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(messages[static_cast<std::size_t>(i)], "M" + std::to_string(i));
}

TEST_F(NetSocketTest, TheGamesCommandsOvertakeABacklogOfChat) {
    std::vector<std::string> order;
    SetNetCommandHandler([&](const NetCommand& c) {
        order.push_back(c.fields.empty() ? c.word : c.word + " " + c.fields[0]);
        // Each chat line takes a while to show, as in a full conversation box.
        if (c.word != "CHAT") return;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2);
        while (std::chrono::steady_clock::now() < until) {
        }
    });
    const auto flood = [](int lines) {
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += "CHAT\xA7line " + std::to_string(i) + "@#EnD!";
        return text;
    };
    peer_.SendData(flood(200) +
                   "CMOVE\xA7"
                   "1@#EnD!" +
                   flood(100) +
                   "DKLCK\xA7"
                   "2@#EnD!");
    ASSERT_TRUE(PumpUntil([&] { return order.size() >= 302; }));
    const auto move = std::find(order.begin(), order.end(), "CMOVE 1");
    const auto lock = std::find(order.begin(), order.end(), "DKLCK 2");
    ASSERT_NE(move, order.end());
    ASSERT_NE(lock, order.end());
    EXPECT_LT(move - order.begin(), 100) << "the move waited behind the chat";
    EXPECT_LT(lock - order.begin(), 200) << "the lock waited behind the chat";
    EXPECT_GT(lock - move, 0) << "the game's commands keep their order";
    // The chat itself keeps its order and loses nothing.
    std::vector<std::string> chat;
    for (const std::string& line : order)
        if (line.rfind("CHAT ", 0) == 0) chat.push_back(line);
    ASSERT_EQ(chat.size(), 300u);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(chat[static_cast<std::size_t>(i)], "CHAT line " + std::to_string(i % 200));
}

TEST_F(NetSocketTest, APeerThatLeavesLeavesTheSocketClosing) {
    peer_.Close();
    ASSERT_TRUE(PumpUntil([] { return NetSocketState() == platform::Socket::kClosing; }));
    EXPECT_FALSE(SendNetData("CLOAD\xA7"
                             "1"));
    EXPECT_THAT(messages_.Messages(), ElementsAre("Unable to send data:  (state: 8)"));
    // A closing socket may connect again.
    ConnectToHost("127.0.0.1");
    EXPECT_NE(NetSocketState(), platform::Socket::kClosing);
}

TEST(NetSocketStates, SendingWhileNotConnectedSendsNothing) {
    testsupport::MessageRecorder messages;
    CloseConnection();
    EXPECT_FALSE(SendNetData("CLOAD\xA7"
                             "1"));
    NetPort = FreePort();
    StartListening();
    EXPECT_FALSE(SendNetData("CLOAD\xA7"
                             "1"));
    // Connecting while listening does nothing.
    ConnectToHost("127.0.0.1");
    EXPECT_EQ(NetSocketState(), platform::Socket::kListening);
    EXPECT_THAT(messages.Messages(),
                ElementsAre("Unable to send data:  (state: 0)", "Unable to send data:  (state: 2)"));
    CloseConnection();
}

TEST(NetSocketStates, SocketErrorsShowTheirMessageAndClose) {
    testsupport::MessageRecorder messages;
    CloseConnection();
    // Nothing listens on a port that was just freed.
    NetPort = FreePort();
    ConnectToHost("127.0.0.1");
    ASSERT_TRUE(PumpUntil([&] { return !messages.Messages().empty(); }));
    EXPECT_THAT(messages.Messages(), ElementsAre("Server refused the connection (not active?)"));
    EXPECT_EQ(NetSocketState(), platform::Socket::kClosed);

    // A port taken by another listener.
    messages.Clear();
    platform::Socket other;
    other.LocalPort = 0;
    other.Listen();
    NetPort = other.ListeningPort();
    StartListening();
    ASSERT_THAT(messages.Messages(), testing::SizeIs(1));
    EXPECT_THAT(messages.Messages()[0], testing::StartsWith("Winsock error: 10048 - "));
    EXPECT_EQ(NetSocketState(), platform::Socket::kClosed);
}

} // namespace
