// The picture windows: an image of the game's folder at its own size, and the desktop image
// chosen from the folder's list.
#include "EditorSupport.h"

#include "editor/ImageForms.h"
#include "platform/Picture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using editortest::Editor;
using testing::ElementsAre;

namespace {

TEST(WizardImages, ADoubleClickedFileShowsAtItsOwnSize) {
    Editor e;
    e.Write("pics/other.gif", "");
    ASSERT_TRUE(platform::Picture(30, 40, platform::MakeColour(200, 10, 10))
                    .SaveAsPng(e.folder.Path() + "/pics/card.bmp"));
    auto& w = e.window;
    w.NameTXT->SetText("Game");
    w.DirName->SetText("pics");
    e.Forward();
    e.Forward();
    e.Type(*w.CommDecksNum, "1");
    e.Press(*w.ShowCommonDeck[0]);
    ASSERT_EQ(w.File1->List(0), "card.bmp");
    platform::testdriver::DialogScript script;
    int width = 0, height = 0;
    script.AnswerModal([&](platform::Form& form) {
        EXPECT_EQ(form.Caption(), "Card Image");
        EXPECT_GE(form.ScaleWidth(), 30 * 15) << "the window holds the whole picture";
        EXPECT_GE(form.ScaleHeight(), 40 * 15);
        width = w.CardImage().crdPict->Width();
        height = w.CardImage().crdPict->Height();
    });
    w.File1->SetListIndex(0);
    editortest::drive::DoubleClick(*w.File1, 300, 90);
    EXPECT_EQ(width, 30 * 15);
    EXPECT_EQ(height, 40 * 15);

    w.File1->SetListIndex(1);
    editortest::drive::DoubleClick(*w.File1, 300, 300);
    EXPECT_THAT(script.Messages(), ElementsAre("The image other.gif cannot be shown"));
}

TEST(WizardImages, TheDesktopImageIsTheFileDoubleClickedInTheList) {
    Editor e;
    e.Write("pics/felt.jpg", "");
    e.Write("pics/wood.jpg", "");
    auto& w = e.window;
    w.DirName->SetText("pics");
    platform::testdriver::DialogScript script;
    script.AnswerModal([](platform::Form&) {});
    e.Press(*w.SetDesktopImage);
    EXPECT_EQ(w.DeskTopImage->Caption(), "") << "closed without a choice";
    script.AnswerModal([&](platform::Form&) { w.ImageList().Choose(1); });
    e.Press(*w.SetDesktopImage);
    EXPECT_EQ(w.DeskTopImage->Caption(), "wood.jpg");
    w.NameTXT->SetText("Game");
    e.Save();
    EXPECT_THAT(e.Read("Game.game"), testing::HasSubstr("desktop=wood.jpg\r\n"));
}

} // namespace
