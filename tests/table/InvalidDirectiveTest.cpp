// A TRUE/FALSE directive with an invalid value that play reads again and again (at every hand
// change, marker, digit-key roll or card menu) shows its message once in a game, and again in the
// next game.
#include "TableTestSupport.h"

#include "platform/Keys.h"
#include "platform/TestDriver.h"
#include "services/DiceRoller.h"
#include "table/CardActions.h"
#include "table/InfoPanel.h"
#include "table/TableMarkers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using tabletest::TableFixture;
using testing::UnorderedElementsAre;

namespace {

const std::string kGame =
    "[GAME]\nplayers=2\ncommon_decks=1\ndirectory=img\n"
    "showAdversaryHandOnCaption=maybe\ndebug=perhaps\n"
    "[CARDMENU]\nuseRotate=sure\n"
    "[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\nmarkers=1\nmarker1=f9.png,Coin,,0,\n"
    "[PLAYER 2]\nname=Bob\nlayout=9000,1500,2400,6000\n"
    "[DICE]\nnum_dices=1\ndice1=3,Three,hits\n[TABLE hits]\nvalue3=Hit\nuseMarkers=yes\n"
    "[COMMON 1]\nname=Stock\ndeckSize=4\nimg_back=back.png\nimg_discard=empty.png\n"
    "split=FALSE\ndeal=1\n"
    "card1=f1.png,,,k1,\ncard2=f2.png,,,k2,\ncard3=f3.png,,,k3,\ncard4=f4.png,,,k4,\n";

std::string Invalid(const std::string& key, const std::string& section, const std::string& value) {
    return "Directive " + key + " in section [" + section + "] has an invalid value: " + value;
}

TEST(InvalidDirective, IsShownOnceAGameHoweverOftenPlayReadsIt) {
    TableFixture fixture;
    MainForm& table = fixture.Table();
    testsupport::MessageRecorder messages;
    for (int game = 1; game <= 2; ++game) {
        SCOPED_TRACE(game);
        messages.Clear();
        ASSERT_TRUE(fixture.Start(kGame));
        LoadDice();
        table.Window().Show();
        const int element = Cards[tabletest::DealtCardOf(1)].controlIndex;
        for (int k = 0; k < 3; ++k) {
            UpdateHandSizeCaptions();
            ASSERT_NE(AddGraphMarker(1, 1, 500, 500, false), 0);
            EXPECT_TRUE(platform::testdriver::PressKey(table.Window(), platform::keys::kDigit0 + 1));
            table.cardActions->crd_MouseDown(element, 2, 0, {});
        }
        EXPECT_THAT(messages.Messages(),
                    UnorderedElementsAre(Invalid("showAdversaryHandOnCaption", "GAME", "maybe"),
                                         Invalid("debug", "GAME", "perhaps"),
                                         Invalid("useMarkers", "TABLE hits", "yes"),
                                         Invalid("useRotate", "CARDMENU", "sure")));
    }
}

} // namespace
