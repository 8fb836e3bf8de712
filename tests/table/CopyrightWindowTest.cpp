// The copyright window a new game shows before its table.
#include "TableTestSupport.h"

#include "platform/Keys.h"
#include "platform/TestDriver.h"
#include "state/GameMgmt.h"

#include <gtest/gtest.h>

#include <string>

namespace drive = platform::testdriver;

TEST(CopyrightWindow, ShowsTheGamesPictureAtItsSizeUntilAClickOrAKeyClosesIt) {
    tabletest::TableFixture fixture;
    fixture.WritePicture("logo.png", 90, 60);
    const platform::Colour colour =
        platform::MakeColour(160, 120, 200); // the fixture's colour for "logo.png"
    struct Run {
        bool shown = false;
        bool closed = false;
    };
    const auto expectPicture = [&](platform::Form& form, Run& run) {
        run.shown = true;
        EXPECT_EQ(form.ScaleWidth(), 90 * 15);
        EXPECT_EQ(form.ScaleHeight(), 60 * 15);
        EXPECT_EQ(drive::Grab(form).GetPixel(45, 30), colour);
    };

    Run byClick;
    {
        drive::DialogScript script;
        script.AnswerModal([&](platform::Form& form) {
            expectPicture(form, byClick);
            drive::Click(form, 600, 450);
            byClick.closed = !form.Visible();
        });
        ASSERT_TRUE(
            fixture.Start("[GAME]\nplayers=1\ncommon_decks=1\ndirectory=img\ncopyright=logo.png\n"
                          "[PLAYER 1]\nname=Ann\n"
                          "[COMMON 1]\nname=Stock\ndeckSize=1\nimg_back=back.png\nimg_discard=empty.png\n"
                          "card1=f1.png,,,key1,\n"));
        EXPECT_TRUE(script.Problems().empty());
    }
    EXPECT_TRUE(byClick.shown) << "the game shows its copyright picture";
    EXPECT_TRUE(byClick.closed);

    Run byKey;
    drive::DialogScript script;
    script.AnswerModal([&](platform::Form& form) {
        expectPicture(form, byKey);
        drive::PressKey(form, 'X');
        byKey.closed = !form.Visible();
    });
    ShowGameCopyright();
    EXPECT_TRUE(byKey.shown);
    EXPECT_TRUE(byKey.closed);
    EXPECT_TRUE(script.Problems().empty());
}
