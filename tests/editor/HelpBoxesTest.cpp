// The help boxes: the items of help.dat for the step, their places, and text wrapped to the box.
#include "EditorSupport.h"

#include "editor/HelpBoxes.h"
#include "platform/Fonts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using editortest::Editor;
using testing::ElementsAre;

namespace {

const char* const kLong = "Choose the folder that holds the card images of this game, or make a new one with "
                          "the button beside the list of folders";

TEST(WizardHelp, WrappedLinesFitTheirBoxAndSplitNoWord) {
    const platform::FontSpec font;
    for (int width : {60, 133, 200, 400}) {
        const auto lines = wizard::WrapText(kLong, width, font);
        ASSERT_TRUE(lines) << width;
        std::string joined;
        for (const std::string& line : *lines) {
            EXPECT_LE(platform::MeasureText(font, line).width, width) << line;
            joined += (joined.empty() ? "" : " ") + line;
        }
        EXPECT_EQ(joined, kLong) << width << ": every word whole, in order";
        if (width < 400) {
            EXPECT_GT(lines->size(), 1u) << width;
        }
    }
    EXPECT_FALSE(wizard::WrapText("Unbreakable words", 10, font)) << "the first word alone is too wide";
    const auto single = wizard::WrapText("a Unbreakable b", 20, font);
    ASSERT_TRUE(single);
    EXPECT_THAT(*single, ElementsAre("a", "Unbreakable", "b")) << "a later wide word stands alone";
}

TEST(WizardHelp, TheStepsItemsShowWhereHelpDatPutsThemAndHideOnTheNextPress) {
    Editor e;
    e.Write("help.dat", "[FRAME 0]\r\nitems=7\r\n"
                        "[FRAME 0 ITEM 1]\r\nwhen=DirName\r\ncoord=600,4000\r\nwidth=2400\r\nheight=900\r\n"
                        "line1=Choose the folder that holds the card images\r\n"
                        "[FRAME 0 ITEM 2]\r\ncoord=1200,300\r\nwidth=1500\r\nline1=Type a name\r\n"
                        "[FRAME 0 ITEM 3]\r\ncoord=here\r\nline1=Somewhere\r\n"
                        "[FRAME 0 ITEM 4]\r\nwidth=60\r\nline1=Unbreakable\r\n"
                        "[FRAME 1]\r\nitems=0\r\n");
    auto& w = e.window;
    auto& help = w.Help();
    const int left3 = help.helpLabel[2]->Left();
    e.Press(*w.HelpBtn);
    EXPECT_TRUE(help.Visible());
    EXPECT_FALSE(help.helpLabel[0]->Visible()) << "shown only when the image folder is chosen";
    EXPECT_TRUE(help.helpLabel[1]->Visible());
    EXPECT_EQ(help.helpLabel[1]->Top(), 1200);
    EXPECT_EQ(help.helpLabel[1]->Left(), 300);
    EXPECT_EQ(help.helpLabel[1]->Width(), 1500);
    EXPECT_THAT(help.Lines[1], ElementsAre("Type a name"));
    EXPECT_EQ(help.helpLabel[2]->Left(), left3) << "a place that is not two numbers is kept";
    EXPECT_TRUE(help.Lines[3].empty());
    EXPECT_THAT(e.messages.Messages(), ElementsAre("Box Too Small For Words"));
    EXPECT_TRUE(help.helpLabel[4]->Visible()) << "a sixth and seventh item have no box";

    e.Press(*w.HelpBtn);
    EXPECT_FALSE(help.Visible());
    EXPECT_FALSE(help.helpLabel[1]->Visible());
    w.DirName->SetText("pics");
    e.Press(*w.HelpBtn);
    EXPECT_TRUE(help.helpLabel[0]->Visible());
    EXPECT_GT(help.Lines[0].size(), 1u);
    editortest::drive::Click(*help.helpLabel[0]);
    EXPECT_FALSE(help.Visible()) << "a click on a box hides them";

    w.NameTXT->SetText("Game");
    e.Press(*w.HelpBtn);
    e.Forward();
    EXPECT_FALSE(help.Visible()) << "a change of step hides them";
    e.Press(*w.HelpBtn);
    EXPECT_TRUE(help.Visible()) << "no items still counts as shown";
    for (const auto& box : help.helpLabel)
        EXPECT_FALSE(box->Visible());
}

TEST(WizardHelp, TheQuickGuideIsSetAtStartAndByTheFirstClickAfterTheBoxesAreLoaded) {
    Editor e;
    auto& w = e.window;
    const std::string guide = w.mainHelp->Caption();
    EXPECT_EQ(guide.rfind("To quickly create a new .game file:", 0), 0u);
    EXPECT_NE(guide.find("4) For each deck specify what images will be used"), std::string::npos);
    EXPECT_EQ(w.QuickHelpCount, 0) << "loading the help boxes starts the count again";

    w.mainHelp->SetCaption("");
    editortest::drive::Click(*w.mainHelp);
    EXPECT_EQ(w.mainHelp->Caption(), guide);
    w.mainHelp->SetCaption("");
    editortest::drive::Click(*w.mainHelp);
    EXPECT_EQ(w.mainHelp->Caption(), "") << "only the first call sets the text";
    EXPECT_EQ(w.QuickHelpCount, 2);
}

} // namespace
