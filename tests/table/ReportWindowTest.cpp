// The report window over a bundled game and over a game without reports.
#include "GameFixture.h"

#include "platform/Keys.h"
#include "platform/TestDriver.h"
#include "state/GameMgmt.h"
#include "state/OptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/PropertyMgmt.h"
#include "table/ReportForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace drive = platform::testdriver;

namespace {

std::vector<std::string> Lines(const platform::ListBox& list) {
    std::vector<std::string> lines;
    for (int n = 0; n < list.ListCount(); ++n)
        lines.push_back(list.List(n));
    return lines;
}

} // namespace

TEST_F(GameFixture, TheReportWindowOfAnEndedSampleGameShowsItsReportsThenItsStatistics) {
    folder_.CopyIn(KARVEL_GAMES, "");
    const std::string path = folder_.Path() + "\\Spice Harbour.game";
    CurrentGameFile = path;
    InitGameOptions();
    LoadPlayerNames(path);
    ASSERT_TRUE(LoadGameDefinition(path));
    ASSERT_EQ(ReportCount, 4);
    Cards[1].eliminated = kTrue;
    Cards[2].inDiscardPile = kTrue;
    Game.GamePhase = kPhaseEnded;

    ReportForm window;
    ShowReports(window);
    ASSERT_TRUE(window.form.Visible());
    const auto lines = Lines(window.ReporList);
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ(lines[0], "My gold on the table: 0");
    EXPECT_EQ(lines[2].rfind("Gold on the whole table: ", 0), 0u) << lines[2];
    EXPECT_EQ(lines[4], " ");
    EXPECT_EQ(lines[5], "*** End Game Statistics");
    EXPECT_EQ(lines[6], "     > " + Game.decks[Cards[1].deck].section);
    EXPECT_NE(std::find(lines.begin(), lines.end(), std::string(13, ' ') + Cards[1].image + " eliminated"),
              lines.end());
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.end()), EndGameStatistics());

    ASSERT_TRUE(drive::PressKey(window.form, platform::keys::kEscape));
    EXPECT_FALSE(window.form.Visible());
}

TEST_F(GameFixture, AGameWithoutReportsSaysSoUntilItHasEnded) {
    ReportForm window;
    {
        drive::DialogScript script;
        ShowReports(window);
        EXPECT_EQ(script.Messages(), std::vector<std::string>{"This game has no reports"});
    }
    EXPECT_FALSE(window.form.Visible());
    Game.GamePhase = kPhaseEnded;
    ShowReports(window);
    EXPECT_TRUE(window.form.Visible());
    EXPECT_EQ(Lines(window.ReporList), (std::vector<std::string>{" ", "*** End Game Statistics"}));
}
