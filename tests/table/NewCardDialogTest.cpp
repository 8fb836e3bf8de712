// The new-card dialog: a picture of the game's image folder becomes a card of the first common
// deck; nothing else does.
#include "GameFixture.h"

#include "controls/TestImages.h"
#include "platform/TestDriver.h"
#include "table/NewCardForm.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace drive = platform::testdriver;

namespace {

class NewCardDialogTest : public GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        Game.directory = "cards";
        const std::string bmp = testimages::BmpOf(platform::Picture(40, 60, platform::MakeColour(200, 0, 0)));
        folder_.Write("cards/knight.bmp", bmp);
        folder_.Write("elsewhere/knight.bmp", bmp);
        dialog_.CreateCard = [this](std::int16_t deck, const std::string& image) {
            created_.emplace_back(deck, image);
        };
        dialog_.form.Show();
    }

    NewCardForm dialog_;
    std::vector<std::pair<int, std::string>> created_;
};

} // namespace

TEST_F(NewCardDialogTest, APictureOfTheImageFolderBecomesACardOfTheFirstCommonDeck) {
    drive::DialogScript script;
    script.AnswerFile(folder_.Path() + "/cards/knight.bmp");
    ASSERT_TRUE(drive::Click(dialog_.SelectCrdBtn));
    ASSERT_EQ(script.FileRequests().size(), 1u);
    EXPECT_EQ(script.FileRequests()[0].filter, "Card images|*.bmp;*.gif;*.jpg");
    EXPECT_EQ(script.FileRequests()[0].folder, folder_.Path() + "\\cards");
    EXPECT_EQ(dialog_.newName.Caption(), "knight.bmp");
    EXPECT_EQ(dialog_.preView.GetPicture().Width(), 40);

    ASSERT_TRUE(drive::Click(dialog_.Command1));
    EXPECT_EQ(created_, (std::vector<std::pair<int, std::string>>{{0, "knight.bmp"}}));
    EXPECT_FALSE(dialog_.form.Visible());
    EXPECT_TRUE(script.Messages().empty());
}

TEST_F(NewCardDialogTest, AddCardIsRefusedBeforeAChoiceAndForAPictureFromElsewhere) {
    drive::DialogScript script;
    ASSERT_TRUE(drive::Click(dialog_.Command1));
    script.AnswerFile(std::nullopt);
    ASSERT_TRUE(drive::Click(dialog_.SelectCrdBtn));
    EXPECT_EQ(dialog_.newName.Caption(), "<select the new card>") << "a cancelled choice changes nothing";
    EXPECT_TRUE(dialog_.preView.GetPicture().IsEmpty());
    ASSERT_TRUE(drive::Click(dialog_.Command1));

    script.AnswerFile(folder_.Path() + "/elsewhere/knight.bmp");
    ASSERT_TRUE(drive::Click(dialog_.SelectCrdBtn));
    ASSERT_TRUE(drive::Click(dialog_.Command1));

    EXPECT_TRUE(created_.empty());
    EXPECT_TRUE(dialog_.form.Visible());
    EXPECT_EQ(script.Messages(),
              (std::vector<std::string>{
                  "Please select the picture of the new card first",
                  "Please select the picture of the new card first",
                  "The new card must be a picture of the folder " + folder_.Path() + "\\cards",
              }));

    ASSERT_TRUE(drive::Click(dialog_.Command2));
    EXPECT_FALSE(dialog_.form.Visible());
}
