// Markers on the table: numerical markers (creating, stepping, editing, deleting), image markers
// (creating, dragging, flipping through their faces, turning, deleting), the default markers of a
// new game, the marker picker, and what each action sends in direct play.
#include "TableTestSupport.h"

#include "controls/zLabelA.h"
#include "net/MultiplayerMgmt.h"
#include "platform/Controls.h"
#include "platform/Seams.h"
#include "platform/Twips.h"
#include "services/DiceRoller.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"
#include "table/CarriedMarkers.h"
#include "table/MarkerForm.h"
#include "table/TableMarkers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using tabletest::TableFixture;
using testing::ElementsAre;
using testing::IsEmpty;
using testsupport::MessageRecorder;

namespace {

// Keeps every command sent while it lives, as "COMMAND field1 field2 ...".
class SendLog {
  public:
    SendLog()
        : previous_(
              SetNetSendHook([this](const std::string& command, const std::vector<std::string>& fields) {
                  std::string line = command;
                  for (const std::string& f : fields)
                      line += " " + f;
                  while (!line.empty() && line.back() == ' ')
                      line.pop_back();
                  sent.push_back(line);
              })) {
        GameMode = kModeDirect;
    }
    ~SendLog() { SetNetSendHook(previous_); }
    SendLog(const SendLog&) = delete;
    SendLog& operator=(const SendLog&) = delete;

    std::vector<std::string> sent;

  private:
    tabletest::NetOutboxInstalled outbox_;
    NetSendHook previous_;
};

std::string MarkerGame(const std::string& gameExtra = "", const std::string& more = "", int deal = 0) {
    return "[GAME]\nplayers=2\ncommon_decks=1\ndirectory=img\nexternal_hand=FALSE\n" + gameExtra +
           "\n[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\nmarkers=5\n"
           "marker1=coin.png,Coin,,90,\n"
           "marker2=token.png,Token,tback.png,90,\n"
           "marker3=chip.png,Chip,a.png+b.png+c.png,45,FIXED_BACK\n"
           "marker4=auto.png,Auto,aback.png,0,AUTOFLIP+RESTRICTED_FLIP\n"
           "marker5=lock.png,Lock,,0,LOCKED\n"
           "[PLAYER 2]\nname=Bob\nmarkers=1\nmarker1=bobs.png,Bobs,bback.png,0,RESTRICTED_FLIP+AUTOFLIP\n"
           "[MARKER GROUPS]\ngroups=2\ngroup1=Orc band,ORCS,1\ngroup2=Elves,ELVES,2\n"
           "[ORCS MARKERS]\nmarkers=1\nmarker1=orc.png,Orc,,0,\n"
           "[ELVES MARKERS]\nmarkers=1\nmarker1=elf.png,Elf,,0,\n"
           "[COMMON "
           "1]\nname=Stock\ndeckSize=2\nimg_back=back.png\nimg_discard=empty.png\nsplit=FALSE\ndeal=" +
           std::to_string(deal) +
           "\n"
           "card1=f1.png,,,key1,\ncard2=f2.png,,,key2,\n" +
           more;
}

class MarkersTest : public testing::Test {
  protected:
    MarkersTest() {
        for (const char* name :
             {"coin.png", "token.png", "tback.png", "chip.png", "a.png", "b.png", "c.png", "auto.png",
              "aback.png", "lock.png", "bobs.png", "bback.png", "orc.png", "elf.png"})
            fixture.WritePicture(name, 20, 20);
    }

    bool Start(const std::string& gameExtra = "", const std::string& more = "", int deal = 0) {
        return fixture.Start(MarkerGame(gameExtra, more, deal), 1);
    }

    TableMarkers& markers() { return *table.Markers; }
    std::string NumCaption(int i) { return table.markerNum(i)->caption(); }
    // The kind number of a seat's n-th kind.
    static std::int16_t KindOf(int n, const std::string& owner) {
        return ParseListEntry(static_cast<std::int16_t>(n), owner);
    }
    // A click on image marker control i without moving.
    void Click(int i) {
        markers().mrk_MouseDown(i, 1, 5, 5);
        markers().mrk_MouseUp(i);
    }

    TableFixture fixture;
    MainForm& table = fixture.Table();
};

} // namespace

TEST_F(MarkersTest, TheSetupDefaultSectionPlacesANumericalAndAFlippedTurnedImageMarker) {
    ASSERT_TRUE(Start("", "[Setup Default]\nmarkers=2\nmarker1=NUM,5,x,1200,3400,HP\n"
                          "marker2=IMG,2,1,600,900,TRUE,90\n"));
    ASSERT_NE(table.markerNum(0), nullptr);
    EXPECT_EQ(NumCaption(0), "HP: 5");
    EXPECT_EQ(table.markerNum(0)->Surface().Top(), 1200);
    EXPECT_NEAR(table.markerNum(0)->Surface().Left(), 3400, 7) << "to the nearest whole pixel";
    EXPECT_TRUE(table.markerNum(0)->Surface().Visible());
    EXPECT_EQ(NextNumMarker, 2);

    ASSERT_EQ(GraphMarkerCount, 1);
    const MarkerInstanceRecord& record = GraphMarkers[1];
    EXPECT_EQ(record.kind, KindOf(2, "1"));
    EXPECT_EQ(record.owner, 1);
    EXPECT_EQ(record.flipped, kTrue);
    EXPECT_EQ(record.rotation, 90);
    EXPECT_EQ(table.mrk(0)->rotation(), 90);
    EXPECT_THAT(table.mrk(0)->GetPictureName(), testing::EndsWith("tback.png"));
    // The picture itself lands at the given point.
    EXPECT_EQ(table.mrk(0)->Surface().Top() + table.mrk(0)->GetOriginTop(), 600);
    EXPECT_EQ(table.mrk(0)->Surface().Left() + table.mrk(0)->GetOriginLeft(), 900);
    EXPECT_EQ(markers().IncreaseMax.Caption(), "Increase by 10");
    EXPECT_EQ(markers().DecreaseMax.Caption(), "Decrease by 10");
}

TEST_F(MarkersTest, DefaultLinesOfEveryShapeAndANewGameStartsItsMarkersAgain) {
    ASSERT_TRUE(Start("baseMarker=3\n", "[Setup Default]\nmarkers=6\nmarker1=NUM,,x,100,100,\n"
                                        "marker2=NUM,7,x,100,100,\n"
                                        "marker3=IMG,2,1,100,100,true,0\n"
                                        "marker4=IMG,9,1,100,100,FALSE,0\n"
                                        "marker5=TXT,1,1,1,1\n"
                                        "marker6=IMG,3,1,100,100,TRUE,0\n"
                                        "[NUMERICAL MARKERS]\nmax_increment=5\n"));
    EXPECT_EQ(NumCaption(0), "3") << "an empty value shows the game's baseMarker";
    EXPECT_EQ(NumCaption(1), "7") << "an empty label shows the value alone";
    // The unknown kind (position 9) and the TXT line place nothing; "true" is not "TRUE".
    ASSERT_EQ(GraphMarkerCount, 2);
    EXPECT_EQ(GraphMarkers[1].flipped, kFalse);
    // A kind of several faces placed flipped shows its first face, not "a+b+c" as one name.
    EXPECT_EQ(GraphMarkers[2].flipped, kTrue);
    EXPECT_EQ(GraphMarkers[2].face, 1);
    EXPECT_THAT(table.mrk(1)->GetPictureName(), testing::EndsWith("a.png"));
    EXPECT_EQ(markers().IncreaseMax.Caption(), "Increase by 5");

    // Setting the same game up again: the first default marker takes index 0 again.
    ASSERT_TRUE(Start("baseMarker=3\n", "[Setup Default]\nmarkers=1\nmarker1=NUM,4,x,100,100,\n"));
    EXPECT_EQ(NumCaption(0), "4");
    EXPECT_EQ(table.markerNum(1), nullptr);
    EXPECT_EQ(NextNumMarker, 2);
    EXPECT_EQ(GraphMarkerCount, 0);
}

TEST_F(MarkersTest, SteppingACaptionReadsTheNumberAfterTheLabelAndSendsTheUpdate) {
    ASSERT_TRUE(Start("", "[NUMERICAL MARKERS]\nmax_increment=5\n"));
    struct Case {
        std::string caption;
        const char* item;
        std::string expected;
    } cases[] = {
        {"HP: 9", "Increase by 1", "HP: 10"},     {"7", "Increase by 1", "8"},
        {"HP: x", "Increase by 1", "HP: 1"},      {"3", "Decrease by 5", "-2"},
        {"2.5", "Increase by 5", "7.5"},          {"12abc", "Decrease by 1", "11"},
        {"Gold: -1", "Increase by 5", "Gold: 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const std::int16_t i = NewMarkerNumProc(c.caption, 100, 100, "");
        ASSERT_GE(i, 0);
        SendLog log;
        markers().MenuMarker = i;
        platform::Menu* item = markers().MakerNumMenu.FindChoosable(c.item);
        ASSERT_NE(item, nullptr);
        item->Choose();
        EXPECT_EQ(NumCaption(i), c.expected);
        EXPECT_THAT(log.sent, ElementsAre("MRKUPD " + std::to_string(i) + " " + c.expected));
    }
}

TEST_F(MarkersTest, IndexesAreNeverReusedAndThe301stMarkerIsRefusedWithNothingSent) {
    ASSERT_TRUE(Start());
    SendLog log;
    for (int k = 0; k < 4; ++k)
        markers().addNumMarker_Click();
    markers().MenuMarker = 3;
    markers().DeleteMarkerNum.Choose();
    EXPECT_EQ(table.markerNum(3), nullptr);
    EXPECT_EQ(markers().MenuMarker, -1);
    EXPECT_EQ(log.sent.back(), "MRKDEL 3");
    markers().addNumMarker_Click();
    EXPECT_NE(table.markerNum(4), nullptr) << "the new marker takes the next index never handed out";
    EXPECT_EQ(table.markerNum(3), nullptr);
    // A default marker goes with its place, so that the other side puts it at the same spot.
    const controls::zLabelA& fifth = *table.markerNum(4);
    EXPECT_THAT(std::vector<std::string>(log.sent.end() - 2, log.sent.end()),
                ElementsAre("MRKLOAD", "MRKMV 4 4 " + std::to_string(fifth.Surface().Left() / 15) + " " +
                                           std::to_string(fifth.Surface().Top() / 15)));

    while (NextNumMarker <= kMaxMarkers)
        ASSERT_GE(NewMarkerNumProc("1", 0, 0, ""), 0);
    log.sent.clear();
    MessageRecorder messages;
    markers().addNumMarker_Click();
    EXPECT_THAT(log.sent, IsEmpty());
    EXPECT_THAT(messages.Messages(),
                ElementsAre("You cannot place more than 300 numerical markers in one game"));
    EXPECT_EQ(NextNumMarker, kMaxMarkers + 1);

    // The same for image markers, through the picker.
    while (GraphMarkerCount < kMaxMarkers)
        ASSERT_GT(AddGraphMarker(KindOf(1, "1"), 1, 0, 0, false), 0);
    messages.Clear();
    FillMarkerList(1);
    std::int16_t id = KindOf(1, "1");
    MarkerPicker()->markerBar().ImageSelected(id);
    EXPECT_THAT(log.sent, IsEmpty());
    EXPECT_THAT(messages.Messages(), ElementsAre("You cannot place more than 300 image markers in one game"));
}

TEST_F(MarkersTest, ARightPressOpensTheMenuWithoutADragAndThePropertyDialogRewritesTheCaption) {
    ASSERT_TRUE(Start());
    const std::int16_t i = NewMarkerNumProc("40", 200, 200, "Gold");
    std::string shown;
    platform::SetPopupHandler([&](const platform::Menu& menu) {
        shown = menu.Caption();
        return std::string();
    });
    markers().markerNum_MouseDown(i, 2, 10, 10);
    EXPECT_EQ(shown, "MarkerNum");
    EXPECT_EQ(markers().MenuMarker, i);
    EXPECT_EQ(DraggedMarker, -1);

    SendLog log;
    platform::SetModalHandler([&](platform::Form& form) {
        TableMarkers::PropertyDialog* dialog = markers().MarkerPropForm();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->labelTxt->Text(), "Gold");
        EXPECT_EQ(dialog->ValueTxt->Text(), "40");
        dialog->labelTxt->SetText("");
        EXPECT_EQ(NumCaption(i), "40") << "each change rewrites the caption at once";
        form.Unload();
    });
    markers().markerNum_DblClick(i);
    testsupport::InstallQuietSeams();
    EXPECT_EQ(NumCaption(i), "40");
    EXPECT_THAT(log.sent, ElementsAre("MRKUPD " + std::to_string(i) + " 40"));
}

TEST_F(MarkersTest, ADraggedNumericalMarkerSendsItsPlaceAndLiesOnTheStackTop) {
    ASSERT_TRUE(Start());
    const std::int16_t i = NewMarkerNumProc("1", 300, 300, "");
    NewMarkerNumProc("2", 900, 900, "");
    SendLog log;
    markers().markerNum_MouseDown(i, 1, 30, 30);
    markers().markerNum_MouseMove(i, 180, 60);
    markers().markerNum_MouseUp(i);
    EXPECT_EQ(table.markerNum(i)->Surface().Left(), 450);
    EXPECT_EQ(table.markerNum(i)->Surface().Top(), 330);
    EXPECT_THAT(log.sent, ElementsAre("MRKMV 0 0 30 22"));
    EXPECT_EQ(Game.ZOrderList[Game.zOrderCount].kind, kZNumMarker);
    EXPECT_EQ(Game.ZOrderList[Game.zOrderCount].index, i);
    EXPECT_EQ(table.markerNum(i)->Surface().Tag(), "-1");
    EXPECT_EQ(DraggedMarker, -1);
}

TEST_F(MarkersTest, DraggedMarkersStopAtTheTablesEdges) {
    ASSERT_TRUE(Start());
    const std::int16_t num = NewMarkerNumProc("1", 600, 600, "");
    const std::int16_t n = AddGraphMarker(KindOf(4, "1"), 1, 900, 900, false);
    ASSERT_EQ(n, 1);
    const platform::ControlSurface& label = table.markerNum(num)->Surface();
    const controls::TranspImg& image = *table.mrk(0);
    for (const int far : {-60000, 60000}) {
        SCOPED_TRACE(far);
        markers().markerNum_MouseDown(num, 1, 30, 30);
        markers().markerNum_MouseMove(num, 30.0f + far, 30.0f + far);
        markers().markerNum_MouseUp(num);
        // The image marker's mouse is in pixels.
        markers().mrk_MouseDown(0, 1, 5, 5);
        markers().mrk_MouseMove(0, 5.0f + far / 15.0f, 5.0f + far / 15.0f);
        markers().mrk_MouseUp(0);
        const platform::TwipRect picture = MainForm::PictureRectOf(image);
        if (far < 0) {
            EXPECT_EQ(label.Left(), 0);
            EXPECT_EQ(label.Top(), 0);
            EXPECT_NEAR(picture.left, 0, 15);
            EXPECT_NEAR(picture.top, 0, 15);
        } else {
            EXPECT_NEAR(label.Left() + label.Width(), TableWidth, 15);
            EXPECT_NEAR(label.Top() + label.Height(), TableHeight, 15);
            EXPECT_NEAR(picture.Right(), TableWidth, 15);
            EXPECT_NEAR(picture.Bottom(), TableHeight, 15);
        }
    }
}

TEST_F(MarkersTest, AClickOnAnAutoflipMarkerSendsTheMoveThenTheFlipAndADragOnlyTheMove) {
    ASSERT_TRUE(Start());
    const std::int16_t n = AddGraphMarker(KindOf(4, "1"), 1, 500, 500, false);
    ASSERT_EQ(n, 1);
    SendLog log;
    const int left = table.mrk(0)->Surface().Left() / 15, top = table.mrk(0)->Surface().Top() / 15;
    Click(0);
    EXPECT_EQ(GraphMarkers[1].flipped, kTrue);
    EXPECT_THAT(table.mrk(0)->GetPictureName(), testing::EndsWith("aback.png"));
    EXPECT_THAT(log.sent, ElementsAre("GPHMRKMV 0 0 " + std::to_string(left) + " " + std::to_string(top),
                                      "GPHMRKFLP 0"));
    log.sent.clear();
    markers().mrk_MouseDown(0, 1, 5, 5);
    markers().mrk_MouseMove(0, 6, 5);
    markers().mrk_MouseUp(0);
    EXPECT_THAT(log.sent,
                ElementsAre("GPHMRKMV 0 0 " + std::to_string(left + 1) + " " + std::to_string(top)));
    EXPECT_EQ(GraphMarkers[1].flipped, kTrue);
}

TEST_F(MarkersTest, AnotherSeatsRestrictedMarkerIsNotFlippedAndTheFlipSendsNothing) {
    ASSERT_TRUE(Start());
    AddGraphMarker(KindOf(1, "2"), 2, 500, 500, false);
    SendLog log;
    MessageRecorder messages;
    Click(0);
    EXPECT_EQ(GraphMarkers[1].flipped, kFalse);
    EXPECT_THAT(messages.Messages(), ElementsAre("You cannot flip this marker"));
    ASSERT_EQ(log.sent.size(), 1u) << "the click's move only";
    EXPECT_THAT(log.sent[0], testing::StartsWith("GPHMRKMV"));
    log.sent.clear();
    markers().MenuMarker = 0;
    markers().FlipMrk.Choose();
    EXPECT_THAT(log.sent, IsEmpty());
    EXPECT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(GraphMarkers[1].flipped, kFalse);
}

TEST_F(MarkersTest, ALockedMarkerMovesOnlyInADesignSessionButItsMenuStillOpens) {
    ASSERT_TRUE(Start());
    AddGraphMarker(KindOf(5, "1"), 1, 500, 500, false);
    const int left = table.mrk(0)->Surface().Left();
    markers().mrk_MouseDown(0, 1, 5, 5);
    markers().mrk_MouseMove(0, 15, 5);
    markers().mrk_MouseUp(0);
    EXPECT_EQ(table.mrk(0)->Surface().Left(), left);
    int popups = 0;
    platform::SetPopupHandler([&](const platform::Menu&) {
        ++popups;
        return std::string();
    });
    markers().mrk_MouseDown(0, 2, 5, 5);
    testsupport::InstallQuietSeams();
    EXPECT_EQ(popups, 1);
    EXPECT_FALSE(markers().FlipMrk.Visible()) << "a kind without a back has no Flip";
    DesignMode = kTrue;
    markers().mrk_MouseDown(0, 1, 5, 5);
    markers().mrk_MouseMove(0, 15, 5);
    markers().mrk_MouseUp(0);
    EXPECT_EQ(table.mrk(0)->Surface().Left(), left + 150);
}

// A LOCKED marker does not move in a game, but a click on one that is also AUTOFLIP still flips
// it: nothing moved, so only the flip is sent.
TEST_F(MarkersTest, AClickFlipsALockedAutoflipMarkerAndSendsOnlyTheFlip) {
    std::string game = MarkerGame();
    game.replace(game.find("markers=5\n"), 10,
                 "markers=6\nmarker6=lock.png,Both,tback.png,0,LOCKED+AUTOFLIP\n");
    ASSERT_TRUE(fixture.Start(game, 1));
    ASSERT_EQ(AddGraphMarker(KindOf(6, "1"), 1, 500, 500, false), 1);
    const int left = table.mrk(0)->Surface().Left();
    SendLog log;
    Click(0);
    EXPECT_EQ(GraphMarkers[1].flipped, kTrue);
    EXPECT_THAT(table.mrk(0)->GetPictureName(), testing::EndsWith("tback.png"));
    EXPECT_THAT(log.sent, ElementsAre("GPHMRKFLP 0"));
    // A press that tries to drag it flips it as well: it never moved.
    log.sent.clear();
    markers().mrk_MouseDown(0, 1, 5, 5);
    markers().mrk_MouseMove(0, 15, 5);
    markers().mrk_MouseUp(0);
    EXPECT_EQ(table.mrk(0)->Surface().Left(), left);
    EXPECT_EQ(GraphMarkers[1].flipped, kFalse);
    EXPECT_THAT(log.sent, ElementsAre("GPHMRKFLP 0"));
    // The release of a press elsewhere is no click on it.
    log.sent.clear();
    markers().mrk_MouseUp(0);
    EXPECT_THAT(log.sent, IsEmpty());
}

TEST_F(MarkersTest, TurningFollowsTheKindsStepAndKeepsTheAngleWithinAFullTurn) {
    ASSERT_TRUE(Start());
    AddGraphMarker(KindOf(1, "1"), 1, 500, 500, false);
    SendLog log;
    markers().mrk_MouseDown(0, 2, 5, 5);
    EXPECT_EQ(markers().MrkIncrementRotate.Caption(), "Rotate to right (90)");
    EXPECT_EQ(markers().MrkIncrementRotateLeft.Caption(), "Rotate to left (90)");
    std::vector<int> angles;
    for (int k = 0; k < 4; ++k) {
        markers().MrkIncrementRotate.Choose();
        angles.push_back(GraphMarkers[1].rotation);
    }
    EXPECT_EQ(angles, (std::vector<int>{90, 180, 270, 0}));
    markers().MrkIncrementRotateLeft.Choose();
    EXPECT_EQ(GraphMarkers[1].rotation, -90);
    EXPECT_EQ(table.mrk(0)->rotation(), -90);
    EXPECT_EQ(log.sent.back(), "MRKROT 0 L");
    for (int k = 0; k < 40; ++k) {
        markers().MrkIncrementRotateLeft.Choose();
        ASSERT_GE(GraphMarkers[1].rotation, -360);
    }
    RotateGraphMarker(1, true, "R");
    EXPECT_EQ(table.mrk(0)->rotation(), GraphMarkers[1].rotation) << "keep only shows the stored angle";
}

TEST_F(MarkersTest, AManyFacedFixedBackMarkerStepsThroughItsFacesUprightAndHidesItsTurnsOnTheBack) {
    ASSERT_TRUE(Start());
    AddGraphMarker(KindOf(3, "1"), 1, 500, 500, false);
    GraphMarkers[1].rotation = 45;
    std::vector<std::string> faces;
    for (int k = 0; k < 5; ++k) {
        markers().MenuMarker = 0;
        markers().FlipMrk.Choose();
        const std::string name = table.mrk(0)->GetPictureName();
        faces.push_back(name.substr(name.find_last_of("\\/") + 1));
        EXPECT_EQ(GraphMarkers[1].rotation, 0);
    }
    EXPECT_EQ(faces, (std::vector<std::string>{"a.png", "b.png", "c.png", "chip.png", "a.png"}));
    markers().mrk_MouseDown(0, 2, 5, 5);
    EXPECT_FALSE(markers().MrkIncrementRotate.Visible());
    EXPECT_TRUE(markers().FlipMrk.Visible());
}

TEST_F(MarkersTest, DeletingAnImageMarkerSendsAndFreesItsRecordWithoutReusingIt) {
    ASSERT_TRUE(Start());
    AddGraphMarker(KindOf(1, "1"), 1, 500, 500, false);
    AddGraphMarker(KindOf(1, "1"), 1, 800, 800, false);
    GraphMarkers[2].dicePlaced = kTrue;
    DiceMarkerCascade = 3;
    SendLog log;
    markers().MenuMarker = 1;
    markers().DeleteMrk.Choose();
    EXPECT_THAT(log.sent, ElementsAre("GPHMRKDEL 1"));
    EXPECT_EQ(table.mrk(1), nullptr);
    EXPECT_EQ(GraphMarkers[2].inUse, kFalse);
    EXPECT_EQ(DiceMarkerCascade, 0);
    markers().MenuMarker = 0;
    markers().DeleteMrk.Choose();
    ASSERT_NE(table.mrk(0), nullptr) << "the designed element stays, hidden";
    EXPECT_FALSE(table.mrk(0)->Surface().Visible());
    EXPECT_EQ(AddGraphMarker(KindOf(1, "1"), 1, 0, 0, false), 3);
    for (int k = 1; k <= Game.zOrderCount; ++k)
        EXPECT_FALSE(Game.ZOrderList[k].kind == kZImageMarker && Game.ZOrderList[k].index < 2);
}

TEST_F(MarkersTest, MissingPicturesAndKindsCreateNothing) {
    ASSERT_TRUE(Start("transparentColor=0,0,255\n"));
    MessageRecorder messages;
    EXPECT_EQ(AddGraphMarker(0, 1, 0, 0, false), 0);
    EXPECT_EQ(AddGraphMarker(400, 1, 0, 0, false), 0);
    std::filesystem::remove(fixture.Folder().Path() + "/img/coin.png");
    EXPECT_EQ(AddGraphMarker(KindOf(1, "1"), 1, 0, 0, false), 0);
    EXPECT_THAT(messages.Messages(),
                ElementsAre("Marker file <" + fixture.Folder().Path() + "\\img\\coin.png> not found"));
    EXPECT_EQ(GraphMarkerCount, 0);
    // A kind that names no front image is looked for in the image folder itself, as any other.
    messages.Clear();
    MarkerKinds[KindOf(1, "1")].frontImage.clear();
    EXPECT_EQ(AddGraphMarker(KindOf(1, "1"), 1, 0, 0, false), 0);
    EXPECT_THAT(messages.Messages(),
                ElementsAre("Marker file <" + fixture.Folder().Path() + "\\img\\> not found"));
    EXPECT_EQ(GraphMarkerCount, 0);
    const std::int16_t n = AddGraphMarker(KindOf(2, "1"), -1, 0, 0, false);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(GraphMarkers[1].owner, 1) << "-1 is the local seat";
    EXPECT_EQ(table.mrk(0)->MaskColor(), platform::MakeColour(0, 0, 255));
}

TEST_F(MarkersTest, ThePickerListsTheSeatsKindsItsGroupsAndTheGlobalDiceAndPlacesThePickedKind) {
    std::filesystem::create_directories(fixture.Folder().Path() + "/globals");
    platform::Picture(20, 20, platform::MakeColour(9, 9, 9))
        .SaveAsPng(fixture.Folder().Path() + "/globals/die.png");
    fixture.Folder().Write("globals.dat", "[GLOBAL MARKERS]\nmarkers=1\nmarker1=\\globals\\die.png,Die\n");
    ASSERT_TRUE(Start("markerList=PICTURE_ONLY,text_only\n"));
    FillMarkerList(1);
    MarkerForm* picker = MarkerPicker();
    ASSERT_NE(picker, nullptr);
    controls::zBar& bar = picker->markerBar();
    ASSERT_EQ(bar.GroupCount(), 3);
    EXPECT_EQ(bar.GroupButton(1).caption(), "Player");
    EXPECT_EQ(bar.GroupButton(2).caption(), "Orc band");
    EXPECT_EQ(bar.GroupButton(3).caption(), "Dices");
    EXPECT_EQ(bar.CurrentGroup(), 1);
    EXPECT_TRUE(bar.ShowOnlyImages());
    EXPECT_FALSE(bar.ShowOnlyText()) << "lower-case words set nothing";
    EXPECT_EQ(bar.ItemCount(), 5 + 1 + 1);
    EXPECT_EQ(MarkerKinds[bar.ItemRecord(7).id].owner, "0") << "the global kind comes last";
    EXPECT_TRUE(picker->Window().Visible());
    EXPECT_EQ(MarkerListOwner(), "1");

    SendLog log;
    bar.PressGroupPicture(1, 5);
    bar.DoubleClickGroupPicture();
    ASSERT_EQ(GraphMarkerCount, 1);
    EXPECT_EQ(GraphMarkers[1].kind, KindOf(1, "1"));
    // The place of the picture travels, which lies inside the control's larger frame.
    const controls::TranspImg& placed = *table.mrk(0);
    EXPECT_THAT(log.sent,
                ElementsAre("GPHMRKLOAD " + std::to_string(KindOf(1, "1")) + " 1 " +
                            std::to_string((placed.Surface().Left() + placed.GetOriginLeft()) / 15) + " " +
                            std::to_string((placed.Surface().Top() + placed.GetOriginTop()) / 15)));

    // A visible picker is only raised, whatever seat is asked for.
    FillMarkerList(2);
    EXPECT_EQ(&picker->markerBar(), &bar);
    EXPECT_EQ(MarkerListOwner(), "1");
    EXPECT_EQ(bar.GroupCount(), 3);
    // A design session rebuilds it for the seat chosen there.
    DesignMode = kTrue;
    FillMarkerList(2);
    EXPECT_EQ(MarkerPicker()->markerBar().GroupButton(2).caption(), "Elves");
}

TEST_F(MarkersTest, AMarkerDroppedOntoACardFollowsTheCard) {
    ASSERT_TRUE(Start("", "", 1));
    const std::int16_t card = tabletest::DealtCardOf(1);
    ASSERT_GT(card, 0);
    const std::int16_t control = Cards[card].controlIndex;
    const controls::TranspImg& shown = *table.crd(control);
    const int top = tabletest::PictureTop(shown) + tabletest::kFaceHeight * 15 / 2 - 150;
    const int left = tabletest::PictureLeft(shown) + tabletest::kFaceWidth * 15 / 2 - 150;
    ASSERT_EQ(AddGraphMarker(KindOf(1, "1"), 1, static_cast<std::int16_t>(top),
                             static_cast<std::int16_t>(left), false),
              1);
    Click(0);
    EXPECT_EQ(table.mrk(0)->Surface().Tag(), std::to_string(control));
    const int markerLeft = table.mrk(0)->Surface().Left();
    const int markerTop = table.mrk(0)->Surface().Top();
    MoveAttachedMarkers(control, 300, 150, kMarkersMove);
    EXPECT_EQ(table.mrk(0)->Surface().Left(), markerLeft + 300);
    EXPECT_EQ(table.mrk(0)->Surface().Top(), markerTop + 150);
}

// The other side lays a new numerical marker on the card under the place it is sent; the table
// that made it must do the same, or only one side's card would carry it.
TEST_F(MarkersTest, ANewNumericalMarkerLiesOnTheCardUnderIt) {
    ASSERT_TRUE(Start("", "", 1));
    const std::int16_t card = tabletest::DealtCardOf(1);
    ASSERT_GT(card, 0);
    const std::int16_t control = Cards[card].controlIndex;
    // The card under the middle of the window, where the button puts a new marker.
    const int middleTop = table.Window().ScaleHeight() / 2 - table.BasePict.Top();
    const int middleLeft = table.Window().ScaleWidth() / 2 - table.BasePict.Left();
    table.crd(control)->Surface().Move(middleLeft - 60, middleTop - 60);
    markers().addNumMarker_Click();
    const platform::ControlSurface& marker = table.markerNum(0)->Surface();
    EXPECT_EQ(marker.Tag(), std::to_string(control));
    const int left = marker.Left();
    MoveAttachedMarkers(control, 300, 0, kMarkersMove);
    EXPECT_EQ(marker.Left(), left + 300);
}

TEST_F(MarkersTest, ACommonKindIsDrawnWithGreyAsItsSeeThroughColour) {
    std::filesystem::create_directories(fixture.Folder().Path() + "/globals");
    platform::Picture(20, 20, platform::MakeColour(9, 9, 9))
        .SaveAsPng(fixture.Folder().Path() + "/globals/die.png");
    fixture.Folder().Write("globals.dat", "[GLOBAL MARKERS]\nmarkers=1\nmarker1=\\globals\\die.png,Die\n");
    ASSERT_TRUE(Start("transparentColor=0,0,255\n"));
    const std::int16_t global = ParseListEntry(1, "0");
    ASSERT_GT(global, 0);
    ASSERT_EQ(AddGraphMarker(global, 1, 100, 100, false), 1);
    EXPECT_EQ(table.mrk(0)->MaskColor(), platform::MakeColour(128, 128, 128));
}

TEST_F(MarkersTest, AMarkerPlacedByALocalRollFollowsTheRollToTheOtherSide) {
    ASSERT_TRUE(Start());
    SendLog log;
    const std::int16_t kind = KindOf(2, "1");
    const std::optional<MarkerPlace> place = table.PlaceImageMarker(kind, 1, 450, 300, true);
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ(GraphMarkers[1].dicePlaced, kTrue);
    table.DiceRolled(2, "Token", kind, 1, place);
    EXPECT_THAT(log.sent,
                ElementsAre("DCENEW 2 Token " + std::to_string(kind),
                            "GPHMRKLOAD " + std::to_string(kind) + " 1 " + std::to_string(place->left / 15) +
                                " " + std::to_string(place->top / 15)));
    // Pressing a marker the dice placed starts their cascade again.
    DiceMarkerCascade = 4;
    markers().mrk_MouseDown(0, 1, 3, 3);
    markers().mrk_MouseUp(0);
    EXPECT_EQ(DiceMarkerCascade, 0);
}

// The other side makes a new image marker at the place it was sent, as AddGraphMarker takes a
// place: its control must lie where the sender's does, whether the picker or a roll made it.
TEST_F(MarkersTest, ANewImageMarkerMadeAtThePlaceItsSenderSendsLiesWhereTheSendersDoes) {
    ASSERT_TRUE(Start());
    const std::int16_t kind = KindOf(1, "1");
    const std::vector<std::pair<const char*, std::function<void()>>> makers = {
        {"picked in the middle of the window",
         [&] {
             FillMarkerList(1);
             std::int16_t id = kind;
             MarkerPicker()->markerBar().ImageSelected(id);
         }},
        {"placed by a roll",
         [&] { table.DiceRolled(1, "Shield", kind, 1, table.PlaceImageMarker(kind, 1, 450, 300, false)); }},
    };
    for (const auto& [how, make] : makers) {
        SendLog log;
        make();
        const std::int16_t n = GraphMarkerCount;
        ASSERT_FALSE(log.sent.empty()) << how;
        std::istringstream fields(log.sent.back());
        std::string word;
        int sentKind = 0, owner = 0;
        double left = 0, top = 0;
        fields >> word >> sentKind >> owner >> left >> top;
        ASSERT_EQ(word, "GPHMRKLOAD") << how;
        // What the other side's handler runs, with the place in its twips.
        const std::int16_t copy =
            AddGraphMarker(static_cast<std::int16_t>(sentKind), static_cast<std::int16_t>(owner),
                           static_cast<std::int16_t>(std::lround(top * 15)),
                           static_cast<std::int16_t>(std::lround(left * 15)), false);
        ASSERT_EQ(copy, n + 1) << how;
        EXPECT_EQ(table.mrk(copy - 1)->Surface().Left(), table.mrk(n - 1)->Surface().Left()) << how;
        EXPECT_EQ(table.mrk(copy - 1)->Surface().Top(), table.mrk(n - 1)->Surface().Top()) << how;
    }
}

TEST_F(MarkersTest, TheBundledBoardGameSetsItsDefaultMarkersAndPickerUpWithoutAMessage) {
    fixture.Folder().CopyIn(KARVEL_GAMES, "");
    MessageRecorder messages;
    Game.CurrentPlayer = 1;
    ASSERT_TRUE(SetUpNewGame(table, fixture.Folder().Path() + "\\Spice Harbour.game"));
    EXPECT_EQ(NextNumMarker, 5);
    EXPECT_EQ(NumCaption(0), "Gold: 10");
    EXPECT_EQ(NumCaption(3), "Round: 1");
    ASSERT_EQ(GraphMarkerCount, 5);
    EXPECT_EQ(GraphMarkers[1].owner, 1);
    EXPECT_EQ(GraphMarkers[3].owner, 3);
    EXPECT_EQ(GraphMarkers[4].owner, 0) << "a group's kind placed by the set-up belongs to nobody";
    EXPECT_EQ(markers().IncreaseMax.Caption(), "Increase by 5");
    FillMarkerList(1);
    controls::zBar& bar = MarkerPicker()->markerBar();
    std::vector<std::string> captions;
    for (int g = 1; g <= bar.GroupCount(); ++g)
        captions.push_back(bar.GroupButton(g).caption());
    EXPECT_THAT(captions, ElementsAre("Player", "Cargo", "Sea and weather", "Dices"));
    EXPECT_THAT(messages.Messages(), IsEmpty());
}

TEST_F(MarkersTest, TheTableButtonsMakeADefaultNumericalMarkerAndOpenThePicker) {
    ASSERT_TRUE(Start());
    int hidden = 0;
    table.Others.hideMarkerList = [&] { ++hidden; };
    table.addNumMarker.Click();
    ASSERT_NE(table.markerNum(0), nullptr);
    EXPECT_TRUE(table.markerNum(0)->Surface().Visible());
    EXPECT_EQ(NumCaption(0), "1");
    table.addGraphMakerBtn.Click();
    ASSERT_NE(MarkerPicker(), nullptr);
    EXPECT_TRUE(MarkerPicker()->Window().Visible());
    EXPECT_EQ(hidden, 2);
    // Closing the table takes its markers and the picker with it.
    table.Window().Show();
    table.Window().Unload();
    EXPECT_FALSE(MarkerPicker()->Window().Visible());
    EXPECT_FALSE(table.markerNum(0)->Surface().Visible());
    EXPECT_EQ(NumMarkerInUse[0], kFalse);
}
