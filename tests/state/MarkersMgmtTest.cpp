// Marker kinds and groups: reading them from a definition and globals.dat, the cuts at the
// tables' limits with their messages, and the lookups on both tables.
#include "ReaderTestSupport.h"

#include "state/Helpers.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using readertest::DefinitionFolder;
using testing::ElementsAre;
using testing::IsEmpty;
using testsupport::MessageRecorder;

namespace {

class MarkersMgmtTest : public testing::Test {
  protected:
    void SetUp() override { readertest::ResetReaderState(); }
    void TearDown() override { readertest::ResetReaderState(); }

    // Reads the kinds of a definition for its [GAME] players.
    void LoadKinds(const std::string& text) {
        const std::string path = definition.Write("m.game", text, false);
        CurrentGameFile = path;
        Game.playerCount = 3;
        Game.directory = "tokens";
        LoadMarkerDefinitions(path);
    }

    static std::string Kinds(const std::string& section, int count, const std::string& stem) {
        std::string text = "[" + section + "]\nmarkers=" + std::to_string(count) + "\n";
        for (int i = 1; i <= count; ++i)
            text += "marker" + std::to_string(i) + "=" + stem + std::to_string(i) + ".bmp,L,,,\n";
        return text;
    }

    DefinitionFolder definition;
    MessageRecorder messages;
};

TEST_F(MarkersMgmtTest, ReadsPlayersKindsThenGlobalKindsThenGroups) {
    definition.Folder().Write("globals.dat", "[GLOBAL MARKERS]\nmarkers=2\nmarker1=star.bmp,Star,ignored,45\n"
                                             "marker2=moon.bmp,Moon\n");
    LoadKinds(readertest::FixtureText("markers.game"));
    ASSERT_EQ(MarkerKindCount, 11);
    const MarkerTypeRecord& coin = MarkerKinds[1];
    EXPECT_EQ(coin.frontImage, "coin.bmp");
    EXPECT_EQ(coin.label, "Coin");
    EXPECT_EQ(coin.backFaces, "coin_back.bmp+coin_side.bmp");
    EXPECT_EQ(coin.number, 90);
    EXPECT_EQ(coin.owner, "1");
    EXPECT_EQ(coin.flags, "LOCKED+FIXED_BACK");
    EXPECT_EQ(coin.locked, kTrue);
    EXPECT_EQ(HasMarkerFlag(1, "fixed_back"), kTrue);
    EXPECT_EQ(HasMarkerFlag(1, "FIXED"), kFalse);
    EXPECT_EQ(MarkerKinds[2].locked, kTrue); // NOT_LOCKED holds LOCKED
    EXPECT_EQ(MarkerKinds[3].label, "");
    EXPECT_EQ(MarkerKinds[3].number, 0);
    const MarkerTypeRecord& b = MarkerKinds[5];
    EXPECT_EQ(b.autoFlip, kTrue);
    EXPECT_EQ(b.opaque, kTrue);
    EXPECT_EQ(b.restrictedFlip, kTrue);
    EXPECT_EQ(b.locked, kFalse);
    // The global kinds: front image and label only, owner "0".
    EXPECT_EQ(MarkerKinds[7].frontImage, "star.bmp");
    EXPECT_EQ(MarkerKinds[7].label, "Star");
    EXPECT_EQ(MarkerKinds[7].backFaces, "");
    EXPECT_EQ(MarkerKinds[7].number, 0);
    EXPECT_EQ(MarkerKinds[7].owner, "0");
    EXPECT_EQ(MarkerKinds[9].owner, "TOWNS");
    EXPECT_EQ(MarkerKinds[11].owner, "ROADS");

    ASSERT_EQ(MarkerGroupCount, 2);
    EXPECT_EQ(MarkerGroups[1].caption, "Towns");
    EXPECT_EQ(MarkerGroups[1].members, "1+3");
    EXPECT_EQ(MarkerGroups[1].transparentColour, 0xFF00FF);
    EXPECT_EQ(MarkerGroups[2].transparentColour, -1);
    EXPECT_EQ(MarkerGroups[0].name, kGlobalMarkersName);
    EXPECT_EQ(MarkerGroups[-2].members, "2");
    EXPECT_EQ(GetMaxIncrement(), 25);
    EXPECT_THAT(messages.Messages(), ElementsAre("Marker bare.bmp owner by 1 has no label"));
}

TEST_F(MarkersMgmtTest, KindsBeyondThreeHundredAreCutWithAMessage) {
    definition.Folder().Write("globals.dat", Kinds("GLOBAL MARKERS", 2, "g"));
    LoadKinds(Kinds("PLAYER 1", 250, "a") + Kinds("PLAYER 2", 60, "b") +
              "[MARKER GROUPS]\ngroups=1\ngroup1=More,MORE,\n" + Kinds("MORE MARKERS", 4, "m"));
    EXPECT_EQ(MarkerKindCount, kMaxMarkerKinds);
    EXPECT_EQ(MarkerKinds[300].frontImage, "b50.bmp");
    EXPECT_THAT(messages.Messages(),
                ElementsAre("Max 300 for game are available: markers for player 2 reduced to 50",
                            "Max 300 for game are available: common markers reduced to 0",
                            "Max 300 for game are available: markers for group MORE reduced to 0"));
}

TEST_F(MarkersMgmtTest, KindsWithoutLabelsRaiseOneMessagePerGameNamingTheFirst) {
    // A group that asks for thousands of kinds and writes none of their lines.
    const std::string text =
        "[MARKER GROUPS]\ngroups=1\ngroup1=Cargo,CARGO,\n[CARGO MARKERS]\nmarkers=9999\n";
    LoadKinds(text);
    EXPECT_EQ(MarkerKindCount, kMaxMarkerKinds);
    EXPECT_THAT(messages.Messages(),
                ElementsAre("Max 300 for game are available: markers for group CARGO reduced to 300",
                            "Marker 1 owner by CARGO has no label"));
    // Read again within the game (a saved game checks its markers): logged only.
    messages.Clear();
    LoadKinds(text);
    EXPECT_THAT(messages.Messages(),
                ElementsAre("Max 300 for game are available: markers for group CARGO reduced to 300"));
    // The next game shows it once again.
    ForgetDirectiveMessages();
    messages.Clear();
    LoadKinds(text);
    EXPECT_EQ(messages.Messages().size(), 2u);
}

TEST_F(MarkersMgmtTest, GroupsBeyondTwentyAreCutWithAMessage) {
    std::string text = "[MARKER GROUPS]\ngroups=22\n";
    for (int i = 1; i <= 22; ++i)
        text += "group" + std::to_string(i) + "=G" + std::to_string(i) + ",N" + std::to_string(i) + ",\n";
    LoadKinds(text);
    EXPECT_EQ(MarkerGroupCount, kMaxMarkerGroups);
    EXPECT_EQ(GroupIndexByName("N20"), 20);
    EXPECT_EQ(GroupIndexByName("N21"), 0);
    EXPECT_THAT(messages.Messages(),
                ElementsAre("Max 20 for game are available: marker groups reduced to 20"));
}

TEST_F(MarkersMgmtTest, EmptyOrMissingCountsContributeNothing) {
    definition.Folder().Write("globals.dat", "[GLOBAL MARKERS]\nmarkers=\n");
    LoadKinds("[PLAYER 1]\nmarkers=\n[PLAYER 2]\nmarker1=x.bmp,X,,,\n[MARKER GROUPS]\ngroups=0\n");
    EXPECT_EQ(MarkerKindCount, 0);
    EXPECT_EQ(MarkerGroupCount, 0);
    EXPECT_THAT(messages.Messages(), IsEmpty());
}

struct MemberCase {
    const char* name;
    const char* seat;
    const char* group;
    Flag member;
};

class GroupMemberTest : public MarkersMgmtTest, public testing::WithParamInterface<MemberCase> {};

TEST_P(GroupMemberTest, MembershipFollowsTheMembersText) {
    LoadKinds(readertest::FixtureText("markers.game"));
    EXPECT_EQ(IsMemberOfGroup(GetParam().seat, GetParam().group), GetParam().member);
}

INSTANTIATE_TEST_SUITE_P(Cases, GroupMemberTest,
                         testing::Values(MemberCase{"NotListed", "2", "TOWNS", kFalse},
                                         MemberCase{"Listed", "3", "TOWNS", kTrue},
                                         MemberCase{"EveryoneWhenEmpty", "2", "ROADS", kTrue},
                                         MemberCase{"UndefinedGroup", "1", "RIVERS", kFalse},
                                         MemberCase{"CaseCounts", "1", "towns", kFalse},
                                         // The reserved records have empty names: no lookup reaches them.
                                         MemberCase{"EmptyGroupName", "7", "", kFalse},
                                         MemberCase{"GlobalRecord", "1", "$GLOBAL MARKERS$", kFalse}),
                         [](const testing::TestParamInfo<MemberCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(MarkersMgmtTest, ListPositionsMapBothWays) {
    LoadKinds(readertest::FixtureText("markers.game"));
    EXPECT_EQ(ListEntryOfType(6), 3); // the third kind of player 2
    EXPECT_EQ(ParseListEntry(3, "  2 "), 6);
    EXPECT_EQ(ParseListEntry(4, "2"), 0);
    EXPECT_EQ(ParseListEntry(2, "TOWNS"), 8);
    EXPECT_EQ(ListEntryOfType(8), 2);
    EXPECT_EQ(GroupIndexByName("ROADS"), 2);
    EXPECT_EQ(GroupIndexByName(""), 0);
}

TEST_F(MarkersMgmtTest, MaxIncrementDefaultsToTen) {
    CurrentGameFile = definition.Write("n.game", "[GAME]\nplayers=1\n", false);
    EXPECT_EQ(GetMaxIncrement(), 10);
}

TEST_F(MarkersMgmtTest, ImagePathIsInTheGameFolderOrBelowTheProgram) {
    LoadKinds("[PLAYER 1]\nmarkers=2\nmarker1=coin.bmp,C,,,\nmarker2=\\shared\\dot.bmp,D,,,\n");
    EXPECT_EQ(MarkerKindImagePath(1), definition.Folder().Path() + "\\tokens\\coin.bmp");
    EXPECT_EQ(MarkerKindImagePath(2), definition.Folder().Path() + "\\shared\\dot.bmp");
}

TEST_F(MarkersMgmtTest, ReloadingForgetsThePreviousKindsAndGroups) {
    LoadKinds(readertest::FixtureText("markers.game"));
    LoadKinds("[PLAYER 1]\nmarkers=1\nmarker1=only.bmp,Only,,,\n");
    EXPECT_EQ(MarkerKindCount, 1);
    EXPECT_EQ(MarkerKinds[2].frontImage, "");
    EXPECT_EQ(MarkerGroupCount, 0);
    EXPECT_EQ(MarkerGroups[1].name, "");
    EXPECT_EQ(IsMemberOfGroup("1", "TOWNS"), kFalse);
}

} // namespace
