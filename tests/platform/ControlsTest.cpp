// Stock controls and control arrays through the test driver.
#include "platform/Controls.h"
#include "platform/ControlArray.h"
#include "platform/Form.h"
#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "platform/Lists.h"
#include "platform/ScrollBar.h"
#include "platform/TestDriver.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace platform;
namespace drive = platform::testdriver;

TEST(ControlArray, LoadingANewIndexGivesAnElementLikeTheFirstWithItsOwnTag) {
    Form form;
    ControlArray<Label> labels(LikeFirst<Label>());
    for (int i = 0; i < 4; ++i) {
        auto label = std::make_unique<Label>(form.Handle());
        label->Move(150 * i, 300, 900, 300);
        label->SetTag("design");
        label->SetCaption("Label " + std::to_string(i));
        labels.Place(i, std::move(label));
    }
    std::vector<int> wired;
    labels.OnLoaded = [&](int index, Label&) { wired.push_back(index); };

    Label* fifth = labels.Load(5);
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(fifth->Index(), 5);
    EXPECT_FALSE(fifth->Visible()) << "a new element starts hidden";
    EXPECT_EQ(fifth->Caption(), "Label 0");
    EXPECT_EQ(fifth->Width(), 900);
    EXPECT_EQ(fifth->Tag(), "design");
    fifth->SetTag("mine");
    EXPECT_EQ(labels(0)->Tag(), "design") << "the tag is the element's own";
    EXPECT_EQ(labels.UBound(), 5);
    EXPECT_EQ(labels.Count(), 5);
    EXPECT_FALSE(labels.Exists(4));
    EXPECT_EQ(wired, std::vector<int>{5});

    EXPECT_EQ(labels.Load(5), nullptr) << "an index in use is not loaded twice";
    EXPECT_EQ(labels.Load(-1), nullptr);
    EXPECT_FALSE(labels.Unload(2)) << "elements placed with the window stay";
    EXPECT_TRUE(labels.Unload(5));
    EXPECT_EQ(labels(5), nullptr);
    EXPECT_FALSE(labels.Unload(5));
    EXPECT_EQ(labels.UBound(), 3);
    EXPECT_NE(labels.Load(5), nullptr) << "an unloaded index can be loaded again";
}

TEST(ControlArray, TheGenerationChangesWhenAnElementComesOrGoesAndOnlyThen) {
    Form form;
    ControlArray<Label> labels(LikeFirst<Label>());
    const auto place = [&] { return labels.Place(0, std::make_unique<Label>(form.Handle())); };
    struct Step {
        const char* name;
        std::function<bool()> run;
        bool succeeds;
        bool changes;
    };
    const std::vector<Step> steps = {
        {"place", place, true, true},
        {"place on a taken index", place, false, false},
        {"load", [&] { return labels.Load(1) != nullptr; }, true, true},
        {"load a taken index", [&] { return labels.Load(1) != nullptr; }, false, false},
        {"look up and list", [&] { return labels(1) && labels.Exists(1) && labels.Indexes().size() == 2; },
         true, false},
        {"unload a placed element", [&] { return labels.Unload(0); }, false, false},
        {"unload", [&] { return labels.Unload(1); }, true, true},
        {"unload a missing index", [&] { return labels.Unload(1); }, false, false},
        {"load the same index again", [&] { return labels.Load(1) != nullptr; }, true, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const std::uint64_t before = labels.Generation();
        EXPECT_EQ(step.run(), step.succeeds);
        EXPECT_EQ(labels.Generation() != before, step.changes);
    }
}

TEST(ControlArray, AnEmptyArrayLoadsNothing) {
    ControlArray<Label> labels(LikeFirst<Label>());
    EXPECT_EQ(labels.Load(0), nullptr);
    EXPECT_EQ(labels.LBound(), -1);
    EXPECT_EQ(labels.UBound(), -1);
}

TEST(Control, GeometryReadsBackInTwipsAtFifteenTwipsAPixel) {
    Form form;
    CommandButton button(form.Handle());
    struct Case {
        int left, top, width, height;
        int readLeft, readTop, readWidth, readHeight;
    } cases[] = {
        {150, 300, 1200, 450, 150, 300, 1200, 450},
        {0, 0, 15, 15, 0, 0, 15, 15},
        {-300, 30, 0, 0, -300, 30, 0, 0},
        {157, 22, 1207, 457, 150, 15, 1200, 450}, // whole pixels
        {0, 0, -100, -15, 0, 0, 0, 0},            // no negative sizes
    };
    for (const Case& c : cases) {
        button.Move(c.left, c.top, c.width, c.height);
        EXPECT_EQ(button.Left(), c.readLeft);
        EXPECT_EQ(button.Top(), c.readTop);
        EXPECT_EQ(button.Width(), c.readWidth);
        EXPECT_EQ(button.Height(), c.readHeight);
    }
    button.SetWidth(3000);
    EXPECT_EQ(button.Width(), 3000);
    EXPECT_EQ(button.Height(), 0);
}

namespace {

// Shows the form of a list of at most a few items: a click on the first row chooses it (one
// Click), a double click below the items opens nothing and one on the first row opens it.
template <typename List>
void ExpectTheMouseChoosesAndOpensTheFirstRow(Form& form, List& list, int& clicks, int& doubles) {
    form.Show();
    clicks = 0;
    doubles = 0;
    drive::Click(list, 300, 20);
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_EQ(clicks, 1);
    drive::DoubleClick(list);
    EXPECT_EQ(doubles, 0) << "below the items";
    drive::DoubleClick(list, 300, 20);
    EXPECT_EQ(doubles, 1);
}

} // namespace

TEST(ListBox, ItemsIndexesDataAndClicks) {
    Form form;
    ListBox list(form.Handle());
    list.Move(0, 0, 3000, 3000);
    int clicks = 0, doubles = 0;
    list.OnClick = [&] { ++clicks; };
    list.OnDblClick = [&] { ++doubles; };
    list.AddItem("b");
    list.AddItem("c");
    list.AddItem("a", 0);
    EXPECT_EQ(list.NewIndex(), 0);
    list.SetItemData(0, 42);
    EXPECT_EQ(list.ListCount(), 3);
    EXPECT_EQ(list.List(0), "a");
    EXPECT_EQ(list.List(2), "c");
    EXPECT_EQ(list.List(3), "");
    EXPECT_EQ(list.ItemData(0), 42);
    EXPECT_EQ(list.ItemData(7), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(clicks, 0) << "adding items raises nothing";

    list.SetListIndex(1);
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(clicks, 1) << "choosing an item by code raises Click";
    list.SetListIndex(9);
    EXPECT_EQ(list.ListIndex(), -1);
    list.RemoveItem(5); // ignored
    list.RemoveItem(0);
    EXPECT_EQ(list.List(0), "b");

    ExpectTheMouseChoosesAndOpensTheFirstRow(form, list, clicks, doubles);
    clicks = 0;
    list.RemoveItem(0);
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(clicks, 0) << "removing items is not a click";
}

TEST(ListBox, ReportsTheMouseOverItsItemsInTwipsOfTheList) {
    Form form;
    ListBox list(form.Handle());
    list.Move(0, 0, 3000, 3000);
    list.AddItem("a");
    std::vector<MouseEvent> downs, ups;
    list.OnMouseDown = [&](const MouseEvent& e) { downs.push_back(e); };
    list.OnMouseUp = [&](const MouseEvent& e) { ups.push_back(e); };
    form.Show();
    ASSERT_TRUE(drive::MouseDown(list, 2, 0, 600, 60));
    ASSERT_TRUE(drive::MouseUp(list, 2, 0, 600, 60));
    ASSERT_EQ(downs.size(), 1u);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].button, 2);
    // The items' viewport lies inside the list's frame: a pixel or two off its corner.
    EXPECT_NEAR(ups[0].x, 600, 45);
    EXPECT_NEAR(ups[0].y, 60, 45);
}

// A list that wraps shows an item longer than its width whole, over several lines, and lays it
// out anew when it grows wider; one that does not shows a line of it alone.
TEST(ListBox, AWrappingListShowsALongItemWholeOverSeveralLines) {
    // The height of the band of the list's picture that holds the text's dark pixels (above where
    // a scroll bar would show its arrows).
    const auto inkHeight = [](const ListBox& list) {
        const Picture shown = drive::Grab(list);
        int top = -1, bottom = -1;
        for (int y = 3; y < shown.Height() - 40; ++y)
            for (int x = 3; x < shown.Width() - 3; ++x) {
                const Colour c = shown.GetPixel(x, y);
                if (RedOf(c) < 100 && GreenOf(c) < 100 && BlueOf(c) < 100) {
                    if (top < 0) top = y;
                    bottom = y;
                }
            }
        return top < 0 ? 0 : bottom - top + 1;
    };
    int heights[2][2] = {};
    for (const bool wrap : {false, true}) {
        Form form;
        ListBox list(form.Handle());
        list.Move(0, 0, 2400, 3000);
        list.SetWordWrap(wrap);
        list.AddItem("1\tWeather\tGale: every captain discards a Voyage card");
        form.Show();
        heights[wrap][0] = inkHeight(list);
        list.SetWidth(9000);
        heights[wrap][1] = inkHeight(list);
    }
    // The item on one line, whole.
    const int line = heights[0][1];
    EXPECT_GT(line, 0);
    EXPECT_LE(heights[0][0], line) << "without wrapping an item is one line, cut";
    EXPECT_GT(heights[1][0], 2 * line) << "the item was cut instead of wrapped";
    EXPECT_EQ(heights[1][1], line) << "wide enough, the item is one line again";
}

TEST(ListBox, MultiSelectKeepsSeveralItemsSelected) {
    Form form;
    ListBox list(form.Handle(), true);
    for (const char* item : {"one", "two", "three"})
        list.AddItem(item);
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    EXPECT_TRUE(list.Selected(0));
    EXPECT_FALSE(list.Selected(1));
    EXPECT_TRUE(list.Selected(2));
    EXPECT_EQ(list.SelCount(), 2);
    list.SetSelected(0, false);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_FALSE(list.Selected(-1));

    list.Move(0, 0, 3000, 3000);
    int clicks = 0;
    list.OnClick = [&] { ++clicks; };
    form.Show();
    drive::Click(list, 300, 20);
    EXPECT_TRUE(list.Selected(0));
    EXPECT_EQ(list.SelCount(), 1) << "a plain click selects that item alone";
    // Below the first row, inside another whatever the font's line height.
    drive::MouseDown(list, 1, platform::keys::kCtrl, 300, 400);
    drive::MouseUp(list, 1, platform::keys::kCtrl, 300, 400);
    EXPECT_EQ(list.SelCount(), 2) << "Ctrl+click adds an item";
    EXPECT_GT(list.ListIndex(), 0) << "the item clicked last is the current one";
    EXPECT_TRUE(list.Selected(list.ListIndex()));
    drive::MouseDown(list, 1, platform::keys::kCtrl, 300, 20);
    drive::MouseUp(list, 1, platform::keys::kCtrl, 300, 20);
    EXPECT_FALSE(list.Selected(0)) << "Ctrl+click lets go of a selected item";
    EXPECT_EQ(clicks, 3) << "picking and letting go of an item are clicks";
}

TEST(VirtualListBox, ReadsTheTextsOfTheItemsItShowsAndNoOthers) {
    Form form;
    form.Resize(4000, 3000);
    VirtualListBox list(form.Handle());
    list.Move(0, 0, 3000, 2000);
    std::vector<int> asked;
    list.SetItemSource([&](int index) {
        asked.push_back(index);
        return "line " + std::to_string(index);
    });
    list.ResetItems(100000);
    form.Show();
    drive::Grab(list);
    EXPECT_EQ(list.ListCount(), 100000);
    ASSERT_FALSE(asked.empty()) << "the visible items are drawn with their texts";

    EXPECT_NE(std::find(asked.begin(), asked.end(), 0), asked.end());
    EXPECT_LT(asked.size(), 200u) << "a few screens of items at most, of 100000";

    EXPECT_EQ(list.List(99999), "line 99999");
    EXPECT_EQ(list.List(100000), "");
    EXPECT_EQ(list.List(-1), "");
    asked.clear();
    list.SetListIndex(99999);
    drive::Grab(list);
    EXPECT_GT(list.TopIndex(), 99000) << "the chosen item is scrolled into view";
    EXPECT_LT(asked.size(), 200u);
}

TEST(VirtualListBox, FollowsItemsComingAndGoingAndRaisesClickOnlyForAChoice) {
    Form form;
    VirtualListBox list(form.Handle());
    list.Move(0, 0, 3000, 3000);
    std::vector<std::string> items{"b", "c"};
    list.SetItemSource([&](int index) { return items.at(static_cast<std::size_t>(index)); });
    int clicks = 0, doubles = 0;
    list.OnClick = [&] { ++clicks; };
    list.OnDblClick = [&] { ++doubles; };
    list.ResetItems(2);
    EXPECT_EQ(list.ListIndex(), -1);

    list.SetListIndex(1);
    EXPECT_EQ(clicks, 1) << "choosing an item by code raises Click";
    items.insert(items.begin(), "a");
    list.ItemsInserted(0, 1);
    EXPECT_EQ(list.ListIndex(), 2) << "the chosen item stays chosen where it went";
    items.insert(items.end(), {"d", "e"});
    list.ItemsInserted(list.ListCount(), 2);
    items.erase(items.begin(), items.begin() + 2);
    list.ItemsRemoved(0, 2);
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_EQ(list.List(0), "c");
    items.erase(items.begin());
    list.ItemsRemoved(0, 1);
    EXPECT_EQ(list.ListIndex(), 0) << "the chosen item left: the one that took its place is chosen";
    EXPECT_EQ(list.List(0), "d");
    EXPECT_EQ(clicks, 1) << "items coming and going raise no Click";

    list.ItemsInserted(7, 1);
    list.ItemsInserted(0, -3);
    list.ItemsRemoved(1, 5); // the list holds 2: only item 1 can go
    items.pop_back();
    EXPECT_EQ(list.ListCount(), 1);
    EXPECT_EQ(list.List(0), "d");
    list.SetListIndex(4);
    EXPECT_EQ(list.ListIndex(), -1);

    ExpectTheMouseChoosesAndOpensTheFirstRow(form, list, clicks, doubles);
    list.ResetItems(0);
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
}

TEST(ComboBox, ChangeWhileTypingAndClickWhenChoosing) {
    Form form;
    ComboBox combo(form.Handle());
    combo.Move(0, 0, 3000, 330);
    std::vector<std::string> events;
    combo.OnChange = [&] { events.push_back("change:" + combo.Text()); };
    combo.OnClick = [&] { events.push_back("click:" + combo.Text()); };
    combo.AddItem("Alpha");
    combo.AddItem("Beta");
    form.Show();
    drive::TypeText(combo, "Be");
    EXPECT_EQ(events, (std::vector<std::string>{"change:B", "change:Be"}));
    EXPECT_EQ(combo.ListIndex(), -1);
    events.clear();
    combo.SetListIndex(1);
    EXPECT_EQ(events, std::vector<std::string>{"click:Beta"});
    EXPECT_EQ(combo.Text(), "Beta");
    events.clear();
    drive::TypeText(combo, "x");
    EXPECT_EQ(combo.ListIndex(), -1) << "typing leaves the chosen item";
    EXPECT_EQ(events.size(), 1u);

    ComboBox fixed(form.Handle(), 2);
    fixed.AddItem("One");
    fixed.AddItem("Two");
    fixed.SetText("two");
    EXPECT_EQ(fixed.ListIndex(), 1) << "a drop-down list chooses the item of that text";
}

TEST(FileListBox, ListsTheMatchingFilesOfAFolderSorted) {
    testsupport::TempProgramFolder folder;
    folder.Write("b.game", "");
    folder.Write("A.GAME", "");
    folder.Write("notes.txt", "");
    folder.Write("sub.game/inner.game", "");
    Form form;
    FileListBox files(form.Handle());
    files.SetPattern("*.game");
    EXPECT_EQ(files.ListCount(), 2);
    EXPECT_EQ(files.List(0), "A.GAME");
    EXPECT_EQ(files.List(1), "b.game");
    EXPECT_EQ(files.FileName(), "");
    files.SetListIndex(1);
    EXPECT_EQ(files.FileName(), "b.game");
    files.SetPattern("*.txt;*.game");
    EXPECT_EQ(files.ListCount(), 3);
    files.SetPath("..");
    EXPECT_EQ(files.ListCount(), 0) << "nothing outside the program folder";
}

TEST(TextBox, MaxLengthSelectionAndLocking) {
    Form form;
    TextBox line(form.Handle());
    TextBox lines(form.Handle(), true);
    form.Show();
    for (TextBox* box : {&line, &lines}) {
        box->SetMaxLength(5);
        drive::TypeText(*box, "abcdefgh");
        EXPECT_EQ(box->Text(), "abcde") << box->MultiLine();
        box->SetSelStart(1);
        box->SetSelLength(2);
        EXPECT_EQ(box->SelText(), "bc");
        box->SetLocked(true);
        drive::TypeText(*box, "z");
        EXPECT_EQ(box->Text(), "abcde");
    }
    int changes = 0;
    lines.OnChange = [&] { ++changes; };
    lines.SetMaxLength(0);
    lines.SetText("first\r\nsecond");
    EXPECT_EQ(lines.Text(), "first\r\nsecond");
    EXPECT_EQ(changes, 1);
}

TEST(CheckAndOption, ValuesAndClicks) {
    Form form;
    CheckBox check(form.Handle());
    int checkClicks = 0;
    check.OnClick = [&] { ++checkClicks; };
    check.SetValue(1);
    EXPECT_EQ(check.Value(), 1);
    check.SetValue(2);
    EXPECT_EQ(check.Value(), 2);
    EXPECT_EQ(checkClicks, 2);

    Frame group(form.Handle());
    OptionButton a(form.Handle()), b(form.Handle()), other(group.Handle());
    a.Move(0, 600, 1500, 300);
    b.Move(0, 900, 1500, 300);
    std::vector<char> clicked;
    a.OnClick = [&] { clicked.push_back('a'); };
    b.OnClick = [&] { clicked.push_back('b'); };
    other.SetValue(true);
    a.SetValue(true);
    form.Show();
    drive::Click(b);
    EXPECT_FALSE(a.Value());
    EXPECT_TRUE(b.Value());
    EXPECT_TRUE(other.Value()) << "options in another container are another group";
    EXPECT_EQ(clicked, (std::vector<char>{'a', 'b'}));
    b.SetValue(false);
    EXPECT_FALSE(b.Value());
}

TEST(ScrollBar, ValuesStayInRangeAndChangeIsRaised) {
    Form form;
    ScrollBar bar(form.Handle(), false);
    int changes = 0, scrolls = 0;
    bar.OnChange = [&] { ++changes; };
    bar.OnScroll = [&] { ++scrolls; };
    bar.SetMin(10);
    bar.SetMax(20);
    bar.SetSmallChange(2);
    bar.SetLargeChange(5);
    EXPECT_EQ(bar.Value(), 10);
    EXPECT_EQ(changes, 1) << "the new minimum moved the value";
    changes = 0;
    struct Case {
        int set, read;
    } cases[] = {{15, 15}, {25, 20}, {-4, 10}, {20, 20}};
    for (const Case& c : cases) {
        bar.SetValue(c.set);
        EXPECT_EQ(bar.Value(), c.read) << c.set;
    }
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(bar.SmallChange(), 2);
    EXPECT_EQ(bar.LargeChange(), 5);
    bar.SetMax(12);
    EXPECT_EQ(bar.Value(), 12) << "a smaller range brings the value in";
    bar.SetMin(100);
    bar.SetMax(0);
    bar.SetValue(40);
    EXPECT_EQ(bar.Value(), 40) << "Min above Max runs the bar the other way";
    bar.SetSmallChange(0);
    EXPECT_EQ(bar.SmallChange(), 1);
}

TEST(PictureBox, KeepsWhatIsDrawnAndShowsIt) {
    Form form;
    PictureBox box(form.Handle());
    box.SetBackColor(MakeColour(0, 0, 255));
    box.Move(150, 150, 300, 300);
    EXPECT_EQ(box.ScaleWidth(), 300);
    box.Cls();
    box.Drawing().FillRect(0, 0, 10, 10, MakeColour(255, 0, 0));
    box.Refresh();
    form.SetBackColor(MakeColour(0, 255, 0));
    form.Show();
    Picture shown = drive::Grab(form);
    EXPECT_EQ(shown.GetPixel(10 + 5, 10 + 5), MakeColour(255, 0, 0));
    EXPECT_EQ(shown.GetPixel(10 + 15, 10 + 15), MakeColour(0, 0, 255));
    EXPECT_EQ(shown.GetPixel(5, 5), MakeColour(0, 255, 0));

    Picture face(4, 3, MakeColour(9, 9, 9));
    box.SetAutoSize(true);
    box.SetPicture(face);
    EXPECT_EQ(box.Width(), 60);
    EXPECT_EQ(box.Drawing().GetPixel(3, 2), MakeColour(9, 9, 9));
}

TEST(Label, ShowsItsContainersBackgroundUnlessGivenAColour) {
    Form form;
    PictureBox box(form.Handle());
    box.SetBackColor(MakeColour(0, 0, 255));
    box.Move(0, 0, 1500, 1500);
    box.Cls();
    Label plain(box.Handle()), coloured(box.Handle()), clear(box.Handle());
    plain.Move(0, 0, 300, 300);
    plain.SetForeColor(MakeColour(255, 255, 0)); // a fore colour alone gives no background
    coloured.Move(450, 0, 300, 300);
    coloured.SetBackColor(MakeColour(255, 0, 0));
    clear.Move(900, 0, 300, 300);
    clear.SetBackColor(MakeColour(255, 0, 0));
    clear.SetBackStyle(0);
    form.Show();
    Picture shown = drive::Grab(form);
    EXPECT_EQ(shown.GetPixel(5, 5), MakeColour(0, 0, 255)) << "no colour of its own: the box's";
    EXPECT_EQ(shown.GetPixel(35, 5), MakeColour(255, 0, 0)) << "its own colour";
    EXPECT_EQ(shown.GetPixel(65, 5), MakeColour(0, 0, 255)) << "transparent despite its colour";
}

TEST(ControlRects, AreTheVisibleControlsThatHoldNoneInTheContainersTwips) {
    Form form;
    form.Resize(6000, 4500);
    Frame frame(form.Handle());
    frame.Move(300, 300, 4500, 3000);
    CommandButton ok(frame.Handle()), hidden(frame.Handle());
    ok.Move(150, 600, 1200, 450);
    hidden.Move(1500, 600, 1200, 450);
    hidden.SetVisible(false);
    Label note(form.Handle()), empty(form.Handle());
    note.Move(300, 3600, 3000, 300);
    note.SetCaption("A note");
    empty.Move(3600, 300, 1500, 300);
    PictureBox box(form.Handle());
    box.Move(3600, 3600, 600, 600);
    form.Show();
    const std::vector<TwipRect> rects = ControlRectsIn(form.Handle(), {box.Handle()});
    ASSERT_EQ(rects.size(), 2u) << "the button in the frame and the label; not the frame, the hidden "
                                   "button, the empty label or the box left out";
    EXPECT_EQ(rects[0], (TwipRect{300 + 150, 300 + 600, 1200, 450}))
        << "counted from the form, through the frame";
    EXPECT_EQ(rects[1].left, 300);
    EXPECT_EQ(rects[1].top, 3600);
    EXPECT_GT(rects[1].width, 0);
    EXPECT_LT(rects[1].width, 3000) << "a label by the part its text takes";
    EXPECT_EQ(AreaOf(form.Handle()), (TwipRect{0, 0, form.ScaleWidth(), form.ScaleHeight()}));
}

TEST(Shape, TakesNoClicksAndDrawsItsBorder) {
    Form form;
    form.SetBackColor(MakeColour(255, 255, 255));
    Label below(form.Handle());
    below.Move(0, 0, 1500, 1500);
    below.SetBackStyle(0);
    int clicks = 0;
    below.OnClick = [&] { ++clicks; };
    Shape area(form.Handle());
    area.Move(0, 0, 1500, 1500);
    area.SetBorderColor(MakeColour(255, 0, 0));
    area.SetBorderWidth(2);
    form.Show();
    drive::Click(form, 750, 750);
    EXPECT_EQ(clicks, 1) << "the click goes through the shape";
    Picture shown = drive::Grab(form);
    EXPECT_EQ(shown.GetPixel(0, 50), MakeColour(255, 0, 0));
    EXPECT_EQ(shown.GetPixel(50, 50), MakeColour(255, 255, 255));
}

TEST(ScrollBar, DraggingTheThumbScrollsAndLettingGoChanges) {
    Form form;
    ScrollBar bar(form.Handle(), false);
    bar.Move(0, 0, 3000, 255);
    bar.SetMax(100);
    bar.SetLargeChange(10);
    std::vector<std::string> events;
    bar.OnScroll = [&] { events.push_back("scroll " + std::to_string(bar.Value())); };
    bar.OnChange = [&] { events.push_back("change " + std::to_string(bar.Value())); };
    form.Show();
    // The thumb sits at the left end; take it and carry it to the middle of the track.
    drive::MouseDown(bar, 1, 0, 20 * 15, 8 * 15);
    drive::MouseMove(bar, 1, 0, 60 * 15, 8 * 15);
    drive::MouseMove(bar, 1, 0, 100 * 15, 8 * 15);
    drive::MouseUp(bar, 1, 0, 100 * 15, 8 * 15);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().rfind("scroll ", 0), 0u) << events.front();
    EXPECT_EQ(events.back(), "change " + std::to_string(bar.Value()));
    EXPECT_GT(bar.Value(), 20);
    EXPECT_LT(bar.Value(), 80);
}

TEST(Line, DrawsBetweenItsPointsAndTakesNoClicks) {
    Form form;
    form.SetBackColor(MakeColour(255, 255, 255));
    Line line(form.Handle());
    line.SetBorderColor(MakeColour(0, 0, 0));
    line.SetPoints(150, 300, 1500, 300);
    EXPECT_EQ(line.X2(), 1500);
    int clicks = 0;
    form.OnClick = [&] { ++clicks; };
    form.Show();
    drive::Click(form, 750, 300);
    EXPECT_EQ(clicks, 1);
    Picture shown = drive::Grab(form);
    EXPECT_EQ(shown.GetPixel(50, 20), MakeColour(0, 0, 0));
    EXPECT_EQ(shown.GetPixel(50, 25), MakeColour(255, 255, 255));
    EXPECT_EQ(shown.GetPixel(5, 20), MakeColour(255, 255, 255)) << "the line starts at its first point";
}

TEST(Image, TakesThePicturesSizeUnlessStretched) {
    Form form;
    form.SetBackColor(MakeColour(255, 255, 255));
    Image logo(form.Handle());
    logo.Move(0, 0, 1500, 1500);
    Picture face(4, 2, MakeColour(255, 0, 0));
    face.SetPixel(3, 1, MakeColour(0, 0, 255));
    logo.SetPicture(face);
    EXPECT_EQ(logo.Width(), 60);
    EXPECT_EQ(logo.Height(), 30);
    form.Show();
    EXPECT_EQ(drive::Grab(form).GetPixel(3, 1), MakeColour(0, 0, 255));
    EXPECT_EQ(drive::Grab(form).GetPixel(5, 1), MakeColour(255, 255, 255));
    logo.SetStretch(true);
    logo.Move(0, 0, 120, 60);
    EXPECT_EQ(drive::Grab(form).GetPixel(7, 3), MakeColour(0, 0, 255)) << "the corner pixel, twice as large";
    int clicks = 0;
    logo.OnClick = [&] { ++clicks; };
    drive::Click(logo);
    EXPECT_EQ(clicks, 1);
}
