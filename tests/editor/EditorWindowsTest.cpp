// The windows the editor opens over its main window: each is owned by the editor (it stays above
// it), each closes with Esc where no window manager gives it a close box, and each is sized for
// what it shows.
#include "EditorSupport.h"

#include "editor/CardDetailForm.h"
#include "editor/DeckPropForm.h"
#include "editor/ImageForms.h"
#include "editor/TreeForm.h"
#include "platform/Picture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using editortest::Editor;
namespace drive = editortest::drive;

namespace {

const char kGame[] = "[GAME]\r\nplayers=1\r\ndirectory=pics\r\ncommon_decks=1\r\n[PLAYER 1]\r\nname=Red\r\n"
                     "[COMMON 1]\r\ndecksize=1\r\ncard1=a.bmp\r\nimg_back=a.bmp\r\nimg_discard=a.bmp\r\n";

// The game above shown on its deck's step, its one image a real picture.
void OpenDeck(Editor& e) {
    e.Write("Game.game", kGame);
    e.Write("pics/a.bmp", "");
    ASSERT_TRUE(
        platform::Picture(20, 30, platform::MakeColour(0, 90, 0)).SaveAsPng(e.folder.Path() + "/pics/a.bmp"));
    e.window.OpenAt("Game", 4);
    ASSERT_EQ(e.window.CurrentStep, 4);
    ASSERT_EQ(e.window.File1->ListCount(), 1);
}

TEST(WizardWindows, EveryModalWindowIsOwnedByTheEditorAndClosesWithEsc) {
    Editor e;
    OpenDeck(e);
    auto& w = e.window;
    struct Case {
        const char* caption;
        std::function<void()> open;
    };
    const Case cases[] = {
        {"Deck Properties", [&] { e.Press(*w.AdvancedProps); }},
        {"Game Tree", [&] { e.Press(*w.TreeBtn); }},
        {"Card Image",
         [&] {
             w.File1->SetListIndex(0);
             drive::DoubleClick(*w.File1, 300, 90);
         }},
        {"Card Detail",
         [&] {
             w.commonList->SetListIndex(0);
             w.commonList->SetFocus();
             drive::PressKey(w.Window(), platform::keys::kReturn);
         }},
        // The desktop image's list opens from the first step.
        {"ImageList",
         [&] {
             w.JumpTo(0, 0, 0);
             e.Press(*w.SetDesktopImage);
         }},
    };
    for (const Case& c : cases) {
        platform::testdriver::DialogScript script;
        bool shown = false, closed = false;
        script.AnswerModal([&](platform::Form& form) {
            shown = form.Caption() == c.caption;
            EXPECT_EQ(form.Owner(), &w.Window()) << c.caption << " stays above the editor";
            drive::PressKey(form, platform::keys::kEscape);
            closed = !form.Visible() && !form.Loaded();
        });
        c.open();
        EXPECT_TRUE(shown) << c.caption;
        EXPECT_TRUE(closed) << c.caption << " closes with Esc";
        EXPECT_TRUE(script.Problems().empty()) << c.caption;
    }
    EXPECT_EQ(w.Tree().JumpStep, -1) << "the tree closed by Esc jumps nowhere";
    EXPECT_EQ(w.DeskTopImage->Caption(), "") << "the image list closed by Esc chooses nothing";
}

TEST(WizardWindows, TheCheckWindowIsOwnedByTheEditorAndClosesByItsButtonOrAnyKey) {
    for (const bool byKey : {false, true}) {
        Editor e;
        auto& w = e.window;
        w.NameTXT->SetText("Unfinished");
        platform::testdriver::DialogScript script;
        bool closed = false;
        script.AnswerModal([&](platform::Form& form) {
            EXPECT_EQ(form.Caption(), "Check Phase");
            EXPECT_EQ(form.Owner(), &w.Window());
            if (byKey) {
                drive::PressKey(form, 'X');
            } else {
                // The button lies under the report, in the middle of the window.
                drive::Click(form, 3000, 2880);
            }
            closed = !form.Visible();
        });
        e.Save();
        EXPECT_TRUE(closed) << (byKey ? "a key" : "the OK button");
        EXPECT_THAT(w.LastCheckReport, testing::HasSubstr("- Missing directory name"));
        EXPECT_TRUE(e.Exists("Unfinished.game")) << "the report only informs";
    }
}

// Opened beside the editor by a double-click, the card detail window stays above the editor
// while the author goes on in it; its Update acts on the card it was opened on.
TEST(WizardWindows, TheModelessCardDetailIsOwnedByTheEditorAndUpdatesItsOwnCard) {
    Editor e;
    e.Write("Two.game",
            "[GAME]\r\ncommon_decks=1\r\n[COMMON 1]\r\ndecksize=2\r\ncard1=a.bmp\r\ncard2=b.bmp\r\n");
    auto& w = e.window;
    w.OpenAt("Two", 4);
    w.commonList->SetListIndex(1);
    drive::DoubleClick(*w.commonList, 300, 300);
    wizard::CardDetailForm& detail = w.CardDetail();
    ASSERT_TRUE(detail.form_.Visible());
    EXPECT_EQ(detail.form_.Owner(), &w.Window());
    drive::Click(*w.commonList, 300, 60);
    ASSERT_EQ(w.commonList->ListIndex(), 0) << "the author chose another card in the editor";
    EXPECT_TRUE(detail.form_.Visible());
    detail.CrdX->SetText("3");
    e.Press(*detail.UpdateBtn);
    EXPECT_EQ(w.commonList->List(0), "a.bmp");
    EXPECT_EQ(w.commonList->List(1), "(x3)b.bmp");
    w.commonList->SetListIndex(0);
    drive::DoubleClick(*w.commonList, 300, 60);
    drive::PressKey(detail.form_, platform::keys::kEscape);
    EXPECT_FALSE(detail.form_.Visible());
}

TEST(WizardWindows, TheCardDetailIsSmallForAGameWithoutListsAfterOneWithThem) {
    Editor e;
    e.Write("Plain.game", "[GAME]\r\ncommon_decks=1\r\n[COMMON 1]\r\ndecksize=1\r\ncard1=a.bmp\r\n");
    e.Write("Lists.game", "[GAME]\r\ncommon_decks=1\r\n[PROP LISTS]\r\ntotal=1\r\nlist1=Combat,power\r\n"
                          "[COMMON 1]\r\ndecksize=1\r\ncard1=a.bmp\r\n");
    auto& w = e.window;
    const auto openOn = [&](const char* game) {
        w.OpenAt(game, 4);
        w.commonList->SetListIndex(0);
        drive::DoubleClick(*w.commonList, 300, 60);
        wizard::CardDetailForm& d = w.CardDetail();
        EXPECT_TRUE(d.form_.Visible()) << game;
        EXPECT_LE(d.UpdateBtn->Top() + d.UpdateBtn->Height(), d.form_.ScaleHeight())
            << game << ": Update shows whole";
        const int height = d.form_.Height();
        d.form_.Unload();
        return height;
    };
    const int plain = openOn("Plain");
    const int lists = openOn("Lists");
    EXPECT_GT(lists, plain + 1000) << "the lists need the taller window";
    EXPECT_EQ(openOn("Plain"), plain) << "without lists the window is small again";
    EXPECT_FALSE(w.CardDetail().propFrame->Visible());
}

} // namespace
