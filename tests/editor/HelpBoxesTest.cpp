// The help boxes: the items of help.dat for the step, their places, and text wrapped to the box.
#include "EditorSupport.h"

#include "common/Helpers.h"
#include "editor/HelpBoxes.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/Ini.h"
#include "platform/Twips.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

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
                        "[FRAME 0 ITEM 2]\r\ncoord=1200,7950\r\nwidth=1500\r\nline1=Type a name\r\n"
                        "[FRAME 0 ITEM 3]\r\ncoord=here\r\nline1=Somewhere\r\n"
                        "[FRAME 0 ITEM 4]\r\nwidth=60\r\nline1=Unbreakable\r\n"
                        "[FRAME 1]\r\nitems=0\r\n");
    auto& w = e.window;
    auto& help = w.Help();
    e.Press(*w.HelpBtn);
    EXPECT_TRUE(help.Visible());
    EXPECT_FALSE(help.helpLabel[0]->Visible()) << "shown only when the image folder is chosen";
    EXPECT_TRUE(help.helpLabel[1]->Visible());
    EXPECT_EQ(help.helpLabel[1]->Top(), 1200) << "free where help.dat puts it: it stays there";
    EXPECT_EQ(help.helpLabel[1]->Left(), 7950);
    EXPECT_EQ(help.helpLabel[1]->Width(), 1500);
    EXPECT_THAT(help.Lines[1], ElementsAre("Type a name"));
    EXPECT_TRUE(help.helpLabel[2]->Visible()) << "a place that is not two numbers starts from the last";
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

// Every box of the bundled help, on every step: wholly inside the window, tall enough for all its
// lines, over no control of the step and no other box.
TEST(WizardHelp, TheBundledBoxesHoldTheirTextInsideTheWindowClearOfControlsAndOfEachOther) {
    Editor e;
    e.folder.CopyIn(KARVEL_GAMES, "");
    platform::IniClearCache();
    auto& w = e.window;
    auto& help = w.Help();
    int boxes = 0;
    for (int step = 0; step <= 7; ++step) {
        SCOPED_TRACE(step);
        w.OpenAt("Spice Harbour", step);
        help.Show(step);
        platform::NativeWidget* window = help.helpLabel[0]->ParentHandle();
        std::vector<platform::NativeWidget*> handles;
        for (const auto& box : help.helpLabel)
            handles.push_back(box->Handle());
        const std::vector<platform::TwipRect> controls = platform::ControlRectsIn(window, handles);
        EXPECT_GE(controls.size(), 4u) << "the step's controls";
        const platform::TwipRect area = platform::AreaOf(window);
        std::vector<platform::TwipRect> shown;
        for (int b = 0; b < wizard::HelpBoxes::kBoxes; ++b) {
            const platform::PictureBox& box = *help.helpLabel[b];
            if (!box.Visible()) continue;
            const platform::TwipRect r{box.Left(), box.Top(), box.Width(), box.Height()};
            EXPECT_EQ(platform::FitInto(r, area), r) << "box " << b << " inside the window";
            const int lineHeight = platform::MeasureText(platform::SpecOf(box.GetFont()), "").height;
            EXPECT_GE(box.ScaleHeight(),
                      platform::TwipsFromPixelsY(lineHeight * static_cast<int>(help.Lines[b].size())))
                << "box " << b << " holds its " << help.Lines[b].size() << " lines";
            for (const platform::TwipRect& c : controls)
                EXPECT_FALSE(r.Overlaps(c)) << "box " << b << " over a control at " << c.left << "," << c.top;
            for (const platform::TwipRect& other : shown)
                EXPECT_FALSE(r.Overlaps(other)) << "box " << b << " over another";
            shown.push_back(r);
        }
        boxes += static_cast<int>(shown.size());
        help.Hide();
    }
    EXPECT_GE(boxes, 8) << "the steps have their help";
    EXPECT_TRUE(e.messages.Messages().empty()) << e.messages.Messages().front();
}

// A help item may hang on any control of the window: a box's text, a caption, a list's chosen or
// first entry, a check box while checked; an element of an array by "name(i)", the array by its
// bare name once any element holds something.
TEST(WizardHelp, EveryControlOfTheWindowCanHoldAHelpItem) {
    Editor e;
    auto& w = e.window;
    struct Case {
        const char* name;
        std::function<void()> fill;
    };
    const Case cases[] = {
        {"PLname", [&] { w.PLname[3]->SetText("Green"); }},
        {"plname(2)", [&] { w.PLname[2]->SetText("Blue"); }},
        {"backImg", [&] { w.backImg->AddItem("back.bmp"); }},
        {"discardImg", [&] { w.discardImg->AddItem("disc.bmp"); }},
        {"File1", [&] { w.File1->AddItem("a.bmp"); }},
        {"repType", [&] { w.repType->SetListIndex(1); }},
        {"RepPropName",
         [&] {
             w.RepPropName->AddItem("power");
             w.RepPropName->SetListIndex(0);
         }},
        {"UsePropOpt", [&] { w.UsePropOpt->SetValue(1); }},
        {"RepOnlyOwned", [&] { w.RepOnlyOwned->SetValue(1); }},
        {"pListName(2)", [&] { w.pListName[2]->SetText("Magic"); }},
        {"pName", [&] { w.pName[23]->SetText("mana"); }},
        {"DealCrds", [&] { w.DealCrds->SetText("5"); }},
        {"DeskTopImage", [&] { w.DeskTopImage->SetCaption("felt.jpg"); }},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(w.ControlValue(c.name), "") << c.name;
        c.fill();
        EXPECT_NE(w.ControlValue(c.name), "") << c.name;
    }
    EXPECT_EQ(w.ControlValue("commLabel"), "Cards: 0");
    EXPECT_EQ(w.ControlValue("Wiz(6)"), "Properties && Reports");
    EXPECT_EQ(w.ControlValue("ShowCommonDeck(5)"), "Show Common Deck #6");
    EXPECT_EQ(w.ControlValue("NoSuchControl"), "");
    EXPECT_EQ(w.ControlValue("PLname(6)"), "") << "the window has six rows";

    // Through the boxes: an item on the back list shows once the deck has a back image.
    e.Write("help.dat", "[FRAME 0]\r\nitems=2\r\n[FRAME 0 ITEM 1]\r\nwhen=MrkUseOption\r\nline1=Markers\r\n"
                        "[FRAME 0 ITEM 2]\r\nwhen=backImg\r\nline1=Back\r\n");
    w.backImg->Clear();
    e.Press(*w.HelpBtn);
    EXPECT_FALSE(w.Help().helpLabel[0]->Visible());
    EXPECT_FALSE(w.Help().helpLabel[1]->Visible());
    e.Press(*w.HelpBtn);
    w.backImg->AddItem("back.bmp");
    w.MrkUseOption->SetValue(1);
    e.Press(*w.HelpBtn);
    EXPECT_TRUE(w.Help().helpLabel[0]->Visible());
    EXPECT_TRUE(w.Help().helpLabel[1]->Visible());
}

// The help that comes with the editor explains every step a road leads to, and each of its
// boxes shows whole, inside the window and clear of the others, on a game that fills every step.
TEST(WizardHelp, TheBundledHelpExplainsEveryStepInsideTheWindow) {
    Editor e;
    e.folder.CopyIn(std::string(KARVEL_GAMES) + "/help.dat", "help.dat");
    e.Write("Full.game",
            "[GAME]\r\nname=Full\r\nplayers=1\r\ndirectory=pics\r\ncommon_decks=1\r\n"
            "[PLAYER 1]\r\nname=Red\r\ndecks=1\r\n"
            "[DECK 1 PLAYER 1]\r\ndecksize=1\r\nimg_back=b.bmp\r\nimg_discard=d.bmp\r\ncard1=a.bmp\r\n"
            "[COMMON 1]\r\ndecksize=1\r\nimg_back=b.bmp\r\nimg_discard=d.bmp\r\ncard1=a.bmp\r\n"
            "[PROP LISTS]\r\ntotal=1\r\nlist1=Combat,power\r\n"
            "[REPORTS]\r\nnum_reports=1\r\nreport1=Power,SUM,ALL,FALSE,power\r\n");
    e.Write("pics/a.bmp", "");
    auto& w = e.window;
    e.OpenGame("Full");
    const std::string help = e.folder.Path() + "\\help.dat";
    for (const int step : {0, 1, 2, 3, 4, 6, 7}) {
        SCOPED_TRACE("step " + std::to_string(step));
        w.JumpTo(step, step == 4 ? 1 : 0, 1);
        ASSERT_EQ(w.CurrentStep, step);
        const int items = std::stoi("0" + GetIni("FRAME " + std::to_string(step), "items", help));
        EXPECT_GE(items, 1);
        e.Press(*w.HelpBtn);
        for (int b = 0; b < 5; ++b) {
            const platform::PictureBox& box = *w.Help().helpLabel[b];
            EXPECT_EQ(box.Visible(), b < items) << "box " << b;
            if (b >= items) continue;
            EXPECT_FALSE(w.Help().Lines[b].empty()) << "box " << b;
            EXPECT_GE(box.Left(), 0);
            EXPECT_LE(box.Left() + box.Width(), w.Window().ScaleWidth()) << "box " << b;
            EXPECT_LE(box.Top() + box.Height(), w.Window().ScaleHeight()) << "box " << b;
            const std::string lines = [&] {
                std::string all;
                for (const std::string& line : w.Help().Lines[b])
                    all += line + " ";
                return all;
            }();
            const int lineHeight = platform::PixelsFromTwipsY(box.ScaleHeight()) /
                                   std::max<int>(1, static_cast<int>(w.Help().Lines[b].size()));
            EXPECT_GE(lineHeight, platform::MeasureText(platform::SpecOf(box.GetFont()), "").height)
                << "every line shows: " << lines;
            for (int other = 0; other < b; ++other) {
                const platform::PictureBox& o = *w.Help().helpLabel[other];
                const bool apart = o.Left() + o.Width() <= box.Left() ||
                                   box.Left() + box.Width() <= o.Left() ||
                                   o.Top() + o.Height() <= box.Top() || box.Top() + box.Height() <= o.Top();
                EXPECT_TRUE(apart) << "boxes " << other << " and " << b << " overlap";
            }
        }
        e.Press(*w.HelpBtn);
    }
    EXPECT_TRUE(e.messages.Messages().empty()) << e.messages.Messages()[0];
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
