// The card balloon: which card's text it shows, split into title and text.
#include "TableTestSupport.h"

#include "platform/Seams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tabletest::TableFixture;

namespace {

TEST(CardBalloon, ShowsTheHoveredCardsTipWithItsTitle) {
    TableFixture fixture;
    MainForm& table = fixture.Table();
    ASSERT_TRUE(
        fixture.Start("[GAME]\nplayers=2\ncommon_decks=1\ndirectory=img\n"
                      "[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\n"
                      "[PLAYER 2]\nname=Bob\nlayout=9000,1500,2400,6000\n"
                      "[COMMON 1]\ndeckSize=4\nimg_back=back.png\nimg_discard=empty.png\nsplit=FALSE\n"
                      "deal=1\ncard1=f1.png,,,k1,\ncard2=f2.png,,,k2,\ncard3=f3.png,,,k3,\n"
                      "card4=f4.png,,,k4,\n"));
    table.Window().Show();
    table.Window().Activate();
    platform::PumpEvents();
    ASSERT_TRUE(table.Window().IsActive());

    const std::int16_t mine = tabletest::DealtCardOf(1);
    const std::int16_t theirs = tabletest::DealtCardOf(2);
    ASSERT_NE(mine, 0);
    ASSERT_NE(theirs, 0);

    struct Case {
        const char* name;
        std::string format;
        std::int16_t card;
        std::string title;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"title and text, the rest dropped", "T|x|y", mine, "T", "x"},
        {"no separator, no title", "just %ID", mine, "", "just k" + std::to_string(mine)},
        {"another seat's face-down card", "T|x|y", theirs, "", "[Bob]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Game.decks[0].cardTooltipFormat = c.format;
        table.HoveredCard = std::to_string(c.card);
        table.CTip_Hide();
        table.ToolTipTimer_Timer();
        ASSERT_TRUE(table.CTip);
        EXPECT_EQ(table.CTip->ShowTitle(), !c.title.empty());
        EXPECT_EQ(table.CTip->title(), c.title);
        EXPECT_EQ(table.CTip->text(), c.text);
    }

    // Over bare table the balloon goes at the next tick.
    table.HoveredCard.clear();
    table.ToolTipTimer_Timer();
    EXPECT_FALSE(table.CTip);

    // While a card is dragged, whichever card control it is (element 0 too), no balloon shows.
    Game.decks[0].cardTooltipFormat = "T|x";
    table.HoveredCard = std::to_string(mine);
    for (std::int16_t dragged : {std::int16_t{0}, std::int16_t{1}}) {
        SCOPED_TRACE(dragged);
        DraggedCard = dragged;
        table.ToolTipTimer_Timer();
        EXPECT_FALSE(table.CTip);
    }
    DraggedCard = -1;
    table.ToolTipTimer_Timer();
    EXPECT_TRUE(table.CTip);
}

} // namespace
