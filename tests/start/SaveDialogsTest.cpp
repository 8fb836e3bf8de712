// The save dialog and the saved-game picker: the name offered, names refused, the overwrite
// question, and the description of the game a save was made from.
#include "TableTestSupport.h"

#include "platform/TestDriver.h"
#include "start/SaveForm.h"
#include "start/SavedGamesForm.h"
#include "state/SaveRecord.h"
#include "table/SaveGameMgmt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace drive = platform::testdriver;
using tabletest::TableFixture;

namespace {

const std::string kGame =
    "[GAME]\nname=Duel\ndescription=Two seats\\nface to face\nplayers=2\ncommon_decks=1\n"
    "directory=img\n[PLAYER 1]\nname=Ann\n[PLAYER 2]\nname=Bob\n"
    "[COMMON 1]\nname=Stock\ndeckSize=2\nimg_back=back.png\nimg_discard=empty.png\n"
    "card1=f1.png,,,k1,\ncard2=f2.png,,,k2,\n";

class SaveDialogsTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(fixture.Start(kGame)); }
    std::vector<std::string> Items(const platform::ListBox& list) const {
        std::vector<std::string> items;
        for (int i = 0; i < list.ListCount(); ++i)
            items.push_back(list.List(i));
        return items;
    }
    TableFixture fixture;
};

} // namespace

TEST(SaveNames, TheOfferedNameIsTheDateAndUnfitNamesAreRefused) {
    EXPECT_EQ(DefaultSaveName({2026, 12, 9}), "save091226");
    EXPECT_EQ(DefaultSaveName({2031, 1, 30}), "save300131");
    for (const std::string name : {"duel", "a (b)", "caf\xE9", "two words", "x.y"})
        EXPECT_EQ(SaveNameProblem(name), "") << name;
    for (const std::string& name :
         std::vector<std::string>{"", ".", "..", "a\\b", "a/b", "c:", "a*", "a?", "say \"hi\"", "<a>", "a|b",
                                  "tab\there", std::string("nul\0", 4)})
        EXPECT_NE(SaveNameProblem(name), "") << name;
}

TEST_F(SaveDialogsTest, ASaveUnderANewNameAsksNothingAndClosesTheDialog) {
    fixture.Folder().Write("save/older.save", "x");
    SaveForm dialog;
    dialog.form.Show();
    EXPECT_EQ(Items(dialog.SaveList), (std::vector<std::string>{"older"}));
    EXPECT_EQ(dialog.SaveName.Text().rfind("save", 0), 0u);
    EXPECT_EQ(dialog.SaveName.Text().size(), 10u);
    EXPECT_EQ(dialog.SaveName.SelLength(), 10) << "typing replaces the offered name";
    EXPECT_TRUE(dialog.SaveName.HasFocus()) << "typing goes to the name";
    EXPECT_EQ(dialog.SaveList.ListIndex(), -1) << "no save's name is offered";

    drive::DialogScript script;
    dialog.SaveName.SetText("duel");
    ASSERT_TRUE(drive::Click(dialog.Command1));
    EXPECT_TRUE(script.Questions().empty());
    EXPECT_FALSE(dialog.form.Visible());
    EXPECT_NE(ReadSaveHeader("duel"), "");
}

TEST_F(SaveDialogsTest, AnExistingNameAsksFirstAndNoKeepsTheFileAndTheDialog) {
    fixture.Folder().Write("save/duel.save", "the old file");
    SaveForm dialog;
    dialog.form.Show();
    dialog.SaveList.SetListIndex(0);
    EXPECT_EQ(dialog.SaveName.Text(), "duel") << "a click on a save copies its name";

    drive::DialogScript script;
    script.AnswerYesNo(false);
    ASSERT_TRUE(drive::Click(dialog.Command1));
    EXPECT_EQ(script.Questions(), (std::vector<std::string>{"File exists: do you want to overwrite it?"}));
    EXPECT_EQ(fixture.Folder().Read("save/duel.save"), "the old file");
    EXPECT_TRUE(dialog.form.Visible());

    script.AnswerYesNo(true);
    // On the first entry; the window closes before the button is released.
    drive::DoubleClick(dialog.SaveList, 300, 90);
    EXPECT_NE(ReadSaveHeader("duel"), "") << "the new record replaced the old file";
    EXPECT_FALSE(dialog.form.Visible());
}

TEST_F(SaveDialogsTest, AnUnfitNameIsRefusedWithAMessageAndTheDialogStays) {
    SaveForm dialog;
    dialog.form.Show();
    drive::DialogScript script;
    for (const std::string name : {"", "..", "a/b", "what?"}) {
        dialog.SaveName.SetText(name);
        ASSERT_TRUE(drive::Click(dialog.Command1));
    }
    EXPECT_EQ(script.Messages().size(), 4u);
    EXPECT_TRUE(dialog.form.Visible());
    EXPECT_TRUE(ListSavedGames().empty());

    ASSERT_TRUE(drive::Click(dialog.Command2));
    EXPECT_FALSE(dialog.form.Visible());
    EXPECT_TRUE(ListSavedGames().empty()) << "Cancel saves nothing";
}

TEST_F(SaveDialogsTest, EnterInTheNameSaves) {
    SaveForm dialog;
    dialog.form.Show();
    drive::DialogScript script;
    ASSERT_TRUE(drive::TypeText(dialog.SaveName, "by key"));
    ASSERT_TRUE(drive::PressKey(dialog.form, 13));
    EXPECT_NE(ReadSaveHeader("by key"), "");
    EXPECT_FALSE(dialog.form.Visible());
}

TEST_F(SaveDialogsTest, ThePickerShowsTheGamesDescriptionAndChoosesByDoubleClick) {
    ASSERT_TRUE(SaveGame("current.save"));
    fixture.Folder().Write("save/old.save", "an older format");
    SavedGamesForm picker;
    picker.form.Show();
    EXPECT_EQ(Items(picker.List1), (std::vector<std::string>{"current", "old"}));

    picker.List1.SetListIndex(1);
    EXPECT_EQ(picker.DescTxt.Caption(), "");
    picker.List1.SetListIndex(0);
    EXPECT_EQ(picker.DescTxt.Caption(), "Two seats\\nface to face") << "shown as it stands";
    EXPECT_EQ(picker.chosen, "");

    drive::DoubleClick(picker.List1, 300, 90); // on the first entry; the window closes at once
    EXPECT_EQ(picker.chosen, "current");
    EXPECT_FALSE(picker.form.Visible());
}
