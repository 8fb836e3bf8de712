// The zoom window, the notes window and the game's help.
#include "GameFixture.h"

#include "common/GraphicsMgmt.h"
#include "controls/TestImages.h"
#include "platform/Keys.h"
#include "platform/TestDriver.h"
#include "services/GameHelp.h"
#include "table/NotesForm.h"
#include "table/ZoomForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace drive = platform::testdriver;

namespace {

class SmallDialogsTest : public GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        Game.directory = "cards";
    }
};

} // namespace

TEST_F(SmallDialogsTest, TheZoomWindowIsAMarginLargerThanTheCardAndClosesOnAnyKey) {
    folder_.Write("cards/wide.bmp",
                  testimages::BmpOf(platform::Picture(200, 120, platform::MakeColour(0, 128, 0))));
    Cards[5].image = "WIDE.BMP";
    ZoomForm window;
    window.ShowCard(5);
    ASSERT_TRUE(window.form.Visible());
    EXPECT_EQ(window.ZoomImg.Surface().Width(), 3000);
    // A window's size is whole pixels of 15 twips: 3350 twips is 223 1/3 pixels.
    EXPECT_NEAR(window.form.Width(), 3350, 14);
    EXPECT_NEAR(window.form.Height(), 120 * 15 + 550, 14);
    EXPECT_EQ(window.ZoomImg.BackStyle(), 1) << "a deck without transparent colour masks nothing";

    ASSERT_TRUE(drive::PressKey(window.form, 'Q'));
    EXPECT_FALSE(window.form.Visible());

    Game.decks[0].transparentColor = "MAGENTA";
    window.ShowCard(5);
    EXPECT_EQ(window.ZoomImg.BackStyle(), 0);
    EXPECT_EQ(window.ZoomImg.MaskColor(), static_cast<platform::Colour>(ParseColour("MAGENTA")));

    window.form.Unload();
    window.ShowCard(0);
    EXPECT_FALSE(window.form.Visible());
}

TEST_F(SmallDialogsTest, NotesSurviveTheWindowClosing) {
    NotesText = "first turn";
    {
        NotesForm window;
        window.form.Show();
        EXPECT_EQ(window.NotesTxt.Text(), "first turn");
        window.NotesTxt.SetText("first turn\r\nBo owes 3 gold");
        ASSERT_TRUE(drive::PressKey(window.form, platform::keys::kEscape));
        EXPECT_FALSE(window.form.Visible());
    }
    EXPECT_EQ(NotesText, "first turn\r\nBo owes 3 gold");
    NotesForm again;
    again.form.Show();
    EXPECT_EQ(again.NotesTxt.Text(), NotesText);
}

TEST_F(SmallDialogsTest, NotesLongerThanTheSavedGameHoldsAreRefused) {
    NotesForm window;
    window.form.Show();
    window.NotesTxt.SetText(std::string(kMaxNotesLength + 10, 'n'));
    EXPECT_LE(window.NotesTxt.Text().size(), kMaxNotesLength);
    window.form.Unload();
    EXPECT_LE(NotesText.size(), kMaxNotesLength);
}

TEST_F(SmallDialogsTest, HelpIsOpenedOnlyWhenItIsARegularFileTheViewerCanShow) {
    folder_.Write("cards/rules.pdf", "%PDF-1.4\n");
    folder_.Write("cards/old.hlp", "help");
    folder_.Write("cards/tool.sh", "#!/bin/sh\n");
    std::filesystem::permissions(folder_.Path() + "/cards/tool.sh", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    const std::string folder = folder_.Path() + "\\cards\\";
    struct Case {
        const char* helpfile;
        std::vector<std::string> messages;
        std::size_t documents;
    };
    const Case cases[] = {
        {"", {"This game has no help"}, 0},
        {"rules.pdf", {}, 1},
        {"missing.pdf", {"Help file " + folder + "missing.pdf not found"}, 0},
        {"old.hlp",
         {"Help file " + folder + "old.hlp cannot be shown: there is no viewer for its format here"},
         0},
        {"tool.sh", {"Help file " + folder + "tool.sh cannot be opened"}, 0},
        {"..\\..\\etc\\passwd", {"Help file " + folder + "..\\..\\etc\\passwd not found"}, 0},
    };
    for (const Case& c : cases) {
        WriteGame(std::string("[GAME]\nhelpfile=") + c.helpfile + "\n");
        drive::DialogScript script;
        ShowGameHelp();
        EXPECT_EQ(script.Messages(), c.messages) << c.helpfile;
        EXPECT_EQ(script.Documents().size(), c.documents) << c.helpfile;
    }
}
