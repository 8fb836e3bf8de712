#include "GameFixture.h"

#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Form.h"
#include "platform/Seams.h"
#include "services/DebugMgmt.h"
#include "state/Model.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

class DebugMgmtTest : public GameFixture {
  protected:
    void UseGame(const std::string& debugValue) {
        WriteGame("[GAME]\nplayers=2\ndebug=" + debugValue + "\n");
    }

    bool LogExists() const { return platform::IsRegularFile("debug.log"); }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::istringstream in(folder_.Read("debug.log"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

} // namespace

TEST_F(DebugMgmtTest, LinesCarryTheTimeOfDayTheKindAndTheText) {
    UseGame("TRUE");
    DebugLog("get", "CFLIP\xA7"
                    "12@#EnD!");
    DebugLog("peek", "second");
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\d\d:\d\d:\d\d \[get\] CFLIP\xA7)"
                                                      "12@#EnD!")))
        << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(\d\d:\d\d:\d\d \[peek\] second)"))) << lines[1];
}

TEST_F(DebugMgmtTest, NothingIsWrittenUnlessTheGameAsksForIt) {
    for (const std::string value : {"", "FALSE", "false"}) {
        UseGame(value);
        DebugLog("get", "anything");
        EXPECT_FALSE(LogExists()) << "debug=" << value;
    }
    CurrentGameFile.clear();
    DebugLog("get", "no game in use");
    EXPECT_FALSE(LogExists());
}

TEST_F(DebugMgmtTest, TheGameTransferNeverReachesTheLog) {
    UseGame("true");
    DebugLog("get", "DECKDATA\xA7" + std::string(5000, 'x'));
    DebugLog("get", "DECKDAT");
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("[get] DECKDAT"), std::string::npos);
}

TEST_F(DebugMgmtTest, ALongReceivedBufferIsCutAndItsLengthWritten) {
    UseGame("TRUE");
    const std::string exact(kDebugTextLimit, 'a');
    DebugLog("get", exact);
    DebugLog("get", exact + "bcd");
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(9), "[get] " + exact);
    EXPECT_EQ(lines[1].substr(9), "[get] " + exact + " ... (259 bytes)");
}

TEST_F(DebugMgmtTest, EscapedFaultsLandInTheLogOnlyInDebugMode) {
    std::vector<std::string> elsewhere;
    const auto original =
        platform::SetErrorLogger([&](const std::string& text) { elsewhere.push_back(text); });
    InstallDebugErrorLogger();

    UseGame("TRUE");
    platform::LogError("a handler failed");
    UseGame("FALSE");
    platform::LogError("quiet session");

    platform::SetErrorLogger(original);
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("[error] a handler failed"), std::string::npos);
    EXPECT_EQ(elsewhere, std::vector<std::string>{"quiet session"});
}

TEST_F(DebugMgmtTest, TheCardUnderTheMouseIsDescribedInTheLabelOnlyInDebugMode) {
    platform::Form form;
    platform::Label label(form.Handle());
    label.SetCaption("untouched");
    label.SetVisible(false);
    Game.external_hand = kTrue;
    Cards[12].inHand = kTrue;
    Cards[12].faceShown = kTrue;
    Cards[12].selectionMark = 1;

    UseGame("FALSE");
    CardDebugText(label, 3, "12", 40, 7);
    EXPECT_EQ(label.Caption(), "untouched");
    EXPECT_FALSE(label.Visible());

    UseGame("TRUE");
    struct Case {
        const char* tag;
        std::string caption;
    };
    const Case cases[] = {
        {"12", "Crd index: 3 -  deckIndex: 12 [hand] [shown] [selected][coord: 40,7]"},
        {"13", "Crd index: 3 -  deckIndex: 13[coord: 40,7]"},
        {"", "Crd index: 3 -  deckIndex: [coord: 40,7]"},
        {"9999", "Crd index: 3 -  deckIndex: 9999[coord: 40,7]"},
    };
    for (const Case& c : cases) {
        CardDebugText(label, 3, c.tag, 40, 7);
        EXPECT_EQ(label.Caption(), c.caption) << c.tag;
    }
    EXPECT_TRUE(label.Visible());
    EXPECT_FALSE(LogExists()) << "the card line goes to the label, not to the file";
}
