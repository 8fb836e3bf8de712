// The definition reader: card lines and their copies, options, deck directives, the [GAME] keys,
// the refusal of definitions beyond the tables and the clearing of what a previous game left.
#include "ReaderTestSupport.h"
#include "RecordingView.h"

#include "platform/Seams.h"
#include "state/EffectMgmt.h"
#include "state/GameMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/OptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/PropertyMgmt.h"
#include "state/TableState.h"

#include <gmock/gmock.h>

#include <gtest/gtest.h>

#include <functional>

using readertest::DefinitionFolder;
using readertest::FixtureText;
using testing::ElementsAre;
using testsupport::MessageRecorder;

namespace {

class GameDefinitionTest : public testing::Test {
  protected:
    void SetUp() override { readertest::ResetReaderState(); }
    void TearDown() override { readertest::ResetReaderState(); }

    std::vector<std::string> KeysOfDeck(int deck) const {
        std::vector<std::string> keys;
        for (int card = 1; card <= Game.totalCards; ++card)
            if (Cards[card].deck == deck) keys.push_back(Cards[card].key);
        return keys;
    }

    DefinitionFolder definition;
    MessageRecorder messages;
};

TEST_F(GameDefinitionTest, CopyPrefixesAndMissingLinesMakeTheCardsTheLinesSay) {
    ASSERT_TRUE(definition.LoadText(FixtureText("copies.game")));

    // (x3) makes three cards, (x0) and (x1) one each: the deck grows by the two extra copies.
    EXPECT_THAT(KeysOfDeck(0), ElementsAre("K1", "K1", "K1", "A0", "B1", "P"));
    EXPECT_EQ(Game.deckSizes[0], 6);
    EXPECT_EQ(Cards[1].image, "knight.bmp");
    EXPECT_EQ(Cards[3].image, "knight.bmp");
    EXPECT_EQ(Cards[4].image, "a.bmp");
    // With lastCard the deck holds the cards its lines made, not the five deckSize names.
    EXPECT_THAT(KeysOfDeck(1), ElementsAre("C", "C", "D"));
    EXPECT_EQ(Game.deckSizes[1], 3);
    EXPECT_EQ(Game.lastCardLines[1], 4);
    EXPECT_EQ(Game.lastCardLines[0], -1);
    // Without lastCard a missing line still makes its empty card.
    EXPECT_THAT(KeysOfDeck(2), ElementsAre("E1", "E2", ""));
    EXPECT_EQ(Game.deckSizes[2], 3);
    EXPECT_EQ(Game.totalCards, 12);
    EXPECT_EQ(Game.decks[1].firstCard, 7);
    EXPECT_EQ(Game.decks[2].firstCard, 10);

    EXPECT_THAT(messages.Messages(),
                ElementsAre("Card 3 on common deck #3 not found", "File:  not found on directory cards"));
    EXPECT_TRUE(readertest::CardPlaceFaults().empty());
}

TEST_F(GameDefinitionTest, MissingImageIsReportedAndTheCardKept) {
    const std::string text = "[GAME]\ncommon_decks=1\nplayers=1\ndirectory=cards\n[COMMON 1]\ndeckSize=2\n"
                             "split=FALSE\ncard1=here.bmp,,,H,\ncard2=gone.bmp,,,G,\n";
    definition.Write("test.game", text, true);
    definition.Folder().Write("cards/gone.bmp", ""); // made by Write; take it away again
    std::remove((definition.Folder().Path() + "/cards/gone.bmp").c_str());
    ASSERT_TRUE(definition.Load(definition.Folder().Path() + "\\test.game"));
    EXPECT_THAT(messages.Messages(), ElementsAre("File: gone.bmp not found on directory cards"));
    EXPECT_EQ(Game.totalCards, 2);
    EXPECT_EQ(Cards[2].key, "G");
}

struct OptionCase {
    const char* name;
    std::int16_t player1;
    std::int16_t player2;
    std::vector<std::string> keys;
};

class OptionFilterTest : public GameDefinitionTest, public testing::WithParamInterface<OptionCase> {};

TEST_P(OptionFilterTest, LinesTakePartOnlyWhenOneOfTheirOptionsIsSelected) {
    const OptionCase& c = GetParam();
    const std::string path = definition.Write("options.game", FixtureText("options.game"));
    CurrentGameFile = path;
    InitGameOptions();
    GameOptionTable.selectedOption[1] = c.player1;
    GameOptionTable.selectedOption[2] = c.player2;
    ASSERT_TRUE(LoadGameDefinition(path));
    EXPECT_EQ(KeysOfDeck(0), c.keys);
    // A line left out makes no card and is not counted.
    EXPECT_EQ(Game.deckSizes[0], static_cast<int>(c.keys.size()));
    EXPECT_EQ(Game.totalCards, static_cast<int>(c.keys.size()));
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_TRUE(readertest::CardPlaceFaults().empty());
}

INSTANTIATE_TEST_SUITE_P(Selections, OptionFilterTest,
                         testing::Values(OptionCase{"Defaults", 1, 0, {"A", "B"}},
                                         OptionCase{"Expansion", 1, 2, {"A", "X", "B"}},
                                         OptionCase{"ExpansionAlone", 0, 2, {"A", "X", "B"}},
                                         OptionCase{"Solo", 0, 3, {"A", "Y", "Y"}},
                                         OptionCase{"Nothing", 0, 0, {"A"}}),
                         [](const testing::TestParamInfo<OptionCase>& info) { return info.param.name; });

TEST_F(GameDefinitionTest, WithoutOptionsEveryLineTakesPartWhateverItsOptionsField) {
    // Nobody can choose an option the game does not offer: leaving such lines out would lose them.
    std::string text = FixtureText("options.game");
    text.erase(text.find("[OPTIONS]"), text.find("[COMMON 1]") - text.find("[OPTIONS]"));
    const std::string path = definition.Write("plain.game", text);
    CurrentGameFile = path;
    InitGameOptions();
    ASSERT_EQ(GameOptionTable.num_options, 0);
    ASSERT_TRUE(LoadGameDefinition(path));
    EXPECT_EQ(KeysOfDeck(0), (std::vector<std::string>{"A", "X", "B", "Y", "Y"}));
    EXPECT_EQ(Game.totalCards, 5);
    EXPECT_TRUE(messages.Messages().empty());
}

struct DirectiveCase {
    const char* section;
    std::function<void(DeckRecord&)> before;
    std::function<void(const DeckRecord&)> check;
    std::vector<std::string> messages;
};

class DeckDirectiveTest : public GameDefinitionTest, public testing::WithParamInterface<DirectiveCase> {};

TEST_P(DeckDirectiveTest, ReadsTheDirectiveAsDefinitionsExpect) {
    const DirectiveCase& c = GetParam();
    const std::string path = definition.Write("directives.game", FixtureText("directives.game"));
    CurrentGameFile = path;
    Game.external_hand = std::string(c.section) == "ROTATE_EXT" ? kTrue : kFalse;
    if (c.before) c.before(Game.decks[0]);
    ReadDeckDirectives(0, c.section, path, 3);
    EXPECT_EQ(Game.decks[0].section, c.section);
    EXPECT_EQ(Game.decks[0].owner, 3);
    c.check(Game.decks[0]);
    EXPECT_EQ(messages.Messages(), c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, DeckDirectiveTest,
    testing::Values(
        DirectiveCase{"DEFAULTS",
                      nullptr,
                      [](const DeckRecord& d) {
                          EXPECT_EQ(d.name, "Plain");
                          EXPECT_EQ(d.viewDiscard, kTrue);
                          EXPECT_EQ(d.split, kTrue);
                          EXPECT_EQ(d.resize, kFalse);
                          EXPECT_EQ(d.zoom, 100.0f);
                          EXPECT_EQ(d.played_cards_can_be_taken, 2);
                          EXPECT_EQ(d.rotate, "0,90");
                          EXPECT_EQ(d.splitCount, 0);
                      },
                      {}},
        DirectiveCase{"ZOOM0", nullptr, [](const DeckRecord& d) { EXPECT_EQ(d.zoom, 100.0f); }, {}},
        DirectiveCase{"ZOOM150", nullptr, [](const DeckRecord& d) { EXPECT_EQ(d.zoom, 150.0f); }, {}},
        DirectiveCase{"TAKEN_FACEUP",
                      nullptr,
                      [](const DeckRecord& d) { EXPECT_EQ(d.played_cards_can_be_taken, 1); },
                      {}},
        DirectiveCase{"TAKEN_NEVER",
                      nullptr,
                      [](const DeckRecord& d) { EXPECT_EQ(d.played_cards_can_be_taken, 0); },
                      {}},
        DirectiveCase{"TAKEN_SOMETIMES",
                      [](DeckRecord& d) { d.played_cards_can_be_taken = 1; },
                      [](const DeckRecord& d) { EXPECT_EQ(d.played_cards_can_be_taken, 1); },
                      {}},
        DirectiveCase{"VIEW_MAYBE",
                      nullptr,
                      [](const DeckRecord& d) { EXPECT_EQ(d.viewDiscard, kFalse); },
                      {"Directive viewDiscard in section [VIEW_MAYBE] has an invalid value: maybe"}},
        DirectiveCase{"SPLIT_FALSE", nullptr, [](const DeckRecord& d) { EXPECT_EQ(d.split, kFalse); }, {}},
        DirectiveCase{"RESTRICTED",
                      nullptr,
                      [](const DeckRecord& d) { EXPECT_EQ(d.restricted_actions, "DISCARD,TAKE"); },
                      {}},
        DirectiveCase{"ROTATE_EXT",
                      nullptr,
                      [](const DeckRecord& d) { EXPECT_EQ(d.shuffleAndRotate, kFalse); },
                      {"When using the External Hand the directive shuffleAndRotate cannot be used: \n"
                       "ROTATE_EXT reset to default"}},
        DirectiveCase{"VISIBLE_TRUE",
                      nullptr,
                      [](const DeckRecord& d) { EXPECT_EQ(d.only_visible_to_owner, kTrue); },
                      {}},
        DirectiveCase{"VISIBLE_YES",
                      nullptr,
                      [](const DeckRecord& d) { EXPECT_EQ(d.only_visible_to_owner, kFalse); },
                      {}},
        DirectiveCase{"SPLITDECKS",
                      nullptr,
                      [](const DeckRecord& d) {
                          EXPECT_EQ(d.splitCount, 3);
                          EXPECT_EQ(d.splitText, "ROW");
                          EXPECT_EQ(d.deal, 7);
                          EXPECT_EQ(d.rotate, "0,180");
                      },
                      {}}),
    [](const testing::TestParamInfo<DirectiveCase>& info) { return std::string(info.param.section); });

TEST_F(GameDefinitionTest, GameKeysAndTheirDefaults) {
    ASSERT_TRUE(
        definition.LoadText("[GAME]\ncommon_decks=1\nplayers=3\ndirectory=art\ntransparentColor=255,0,255\n"
                            "handSize=7\nexternal_hand=TRUE\ncard_info=true\ndesktop=felt.jpg\nbaseMarker=\n"
                            "[COMMON 1]\ndeckSize=1\nsplit=FALSE\nimg_back=b.bmp\nimg_discard=d.bmp\n"
                            "card1=c.bmp,,,C,\n"));
    EXPECT_EQ(Game.common_decks, 1);
    EXPECT_EQ(Game.playerCount, 3);
    EXPECT_EQ(Game.directory, "art");
    EXPECT_EQ(Game.transparentColor, "255,0,255");
    EXPECT_EQ(Game.handSize, 7);
    EXPECT_EQ(Game.external_hand, kTrue);
    EXPECT_EQ(Game.card_info, kTrue);
    EXPECT_EQ(Game.desktop, "felt.jpg");
    EXPECT_EQ(Game.baseMarker, 1);
    EXPECT_EQ(Game.GamePhase, kPhaseGameList);
    EXPECT_EQ(Game.backImages[0], definition.Folder().Path() + "\\art\\b.bmp");
    EXPECT_EQ(Game.discardImages[0], definition.Folder().Path() + "\\art\\d.bmp");
    EXPECT_EQ(Game.nextDrawPositions[0], 1);
    EXPECT_EQ(Game.nextDiscardPositions[11], 1);
    EXPECT_EQ(Game.lastDiscarded[5], -1);
    EXPECT_TRUE(messages.Messages().empty());

    ASSERT_TRUE(definition.LoadText("[GAME]\nplayers=1\nbaseMarker=0\n"));
    EXPECT_EQ(Game.baseMarker, 0);
    EXPECT_EQ(Game.deckCount, 0);
    EXPECT_EQ(Game.totalCards, 0);
}

TEST_F(GameDefinitionTest, MissingDefinitionReadsAsEmpty) {
    ASSERT_TRUE(definition.Load(definition.Folder().Path() + "\\absent.game"));
    EXPECT_EQ(Game.deckCount, 0);
    EXPECT_EQ(Game.totalCards, 0);
    EXPECT_TRUE(messages.Messages().empty());
}

struct GivingCase {
    const char* value;
    bool externalHand;
    bool canBeGiven;
    bool toHand;
};

class CardGivingTest : public GameDefinitionTest, public testing::WithParamInterface<GivingCase> {};

TEST_P(CardGivingTest, AnswersFromBothFieldsOfTheKey) {
    const GivingCase& c = GetParam();
    CurrentGameFile =
        definition.Write("give.game", std::string("[GAME]\ncards_can_be_given=") + c.value + "\n");
    Game.external_hand = ToFlag(c.externalHand);
    EXPECT_EQ(CardsCanBeGiven(), c.canBeGiven);
    EXPECT_EQ(GivenCardsGoToHand(), c.toHand);
}

INSTANTIATE_TEST_SUITE_P(Values, CardGivingTest,
                         testing::Values(GivingCase{"", true, false, false},
                                         GivingCase{"true", false, true, false},
                                         GivingCase{"TRUE,true", true, true, true},
                                         GivingCase{"TRUE,TRUE", false, true, false},
                                         GivingCase{"yes,TRUE", true, false, true}));

TEST_F(GameDefinitionTest, CopyrightPictureIsShownOnlyWhenItsFileExists) {
    RecordingView view;
    CurrentGameFile = definition.Write("c.game", "[GAME]\ndirectory=art\ncopyright=logo.bmp\n");
    Game.directory = "art";
    ShowGameCopyright();
    CurrentGameFile = definition.Write("d.game", "[GAME]\ndirectory=art\ncopyright=nothere.bmp\n", false);
    ShowGameCopyright();
    CurrentGameFile = definition.Write("e.game", "[GAME]\ndirectory=art\n");
    ShowGameCopyright();
    EXPECT_THAT(view.copyrightPictures, ElementsAre(definition.Folder().Path() + "\\art\\logo.bmp"));
    EXPECT_TRUE(messages.Messages().empty());
}

struct RefusalCase {
    const char* name;
    const char* text;
    const char* message;
};

class RefusalTest : public GameDefinitionTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, DefinitionBeyondTheTablesIsRefusedAndTheLoadedGameStays) {
    ASSERT_TRUE(definition.LoadText(FixtureText("copies.game")));
    messages.Clear();
    const GameState before = Game;
    const std::string firstKey = Cards[1].key;
    const int created = CardsCreated;

    EXPECT_FALSE(definition.Load(definition.Write("big.game", GetParam().text)));
    EXPECT_THAT(messages.Messages(),
                ElementsAre(std::string("The game cannot be loaded: ") + GetParam().message));
    EXPECT_EQ(Game.totalCards, before.totalCards);
    EXPECT_EQ(Game.deckCount, before.deckCount);
    EXPECT_EQ(Game.decks[0].section, before.decks[0].section);
    EXPECT_EQ(Game.deckSizes[1], before.deckSizes[1]);
    EXPECT_EQ(Cards[1].key, firstKey);
    EXPECT_EQ(CardsCreated, created);
    EXPECT_TRUE(readertest::CardPlaceFaults().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Limits, RefusalTest,
    testing::Values(
        RefusalCase{"EightPlayers", "[GAME]\nplayers=8\n", "it has 8 players, at most 7 are possible"},
        RefusalCase{"HugePlayerCount", "[GAME]\nplayers=1e9\n",
                    "it has 1000000000 players, at most 7 are possible"},
        RefusalCase{"NegativeDeckCount", "[GAME]\nplayers=2\ncommon_decks=-1\n",
                    "it has -1 common decks, at most 12 decks are possible"},
        RefusalCase{"ThirteenCommonDecks", "[GAME]\nplayers=2\ncommon_decks=13\n",
                    "it has 13 common decks, at most 12 decks are possible"},
        RefusalCase{"PlayerDecksBeyondTwelve",
                    "[GAME]\nplayers=2\ncommon_decks=10\n[PLAYER 1]\ndecks=2\n[PLAYER 2]\ndecks=1\n",
                    "it has more than 12 decks, at most 12 are possible"},
        RefusalCase{"FiveHundredAndOneCards",
                    "[GAME]\nplayers=2\ncommon_decks=1\n[COMMON 1]\ndeckSize=2\ncard1=(x500)a.bmp,,,,\n"
                    "card2=b.bmp,,,,\n",
                    "it has 501 cards, at most 500 are possible"},
        RefusalCase{"CardsOfPlayerDecksCount",
                    "[GAME]\nplayers=2\ncommon_decks=1\n[COMMON 1]\ndeckSize=1\ncard1=(x300)a.bmp,,,,\n"
                    "[PLAYER 1]\ndecks=1\n[DECK 1 PLAYER 1]\ndecksize=1\ncard1=(x201)p.bmp,,,,\n",
                    "it has 501 cards, at most 500 are possible"},
        RefusalCase{"CopyPrefixWithoutClose",
                    "[GAME]\nplayers=2\ncommon_decks=1\n[COMMON 1]\ndeckSize=1\ncard1=(x3 a.bmp,,,,\n",
                    "card 1 of [COMMON 1] has an invalid copy count: (x3 a.bmp"},
        RefusalCase{
            "CopyCountOverflowing",
            "[GAME]\nplayers=2\ncommon_decks=1\n[COMMON 1]\ndeckSize=1\ncard1=(x99999999999)a.bmp,,,,\n",
            "card 1 of [COMMON 1] has an invalid copy count: (x99999999999)a.bmp"},
        RefusalCase{"CopyCountInPlayerDeck",
                    "[GAME]\nplayers=1\n[PLAYER 1]\ndecks=1\n[DECK 1 PLAYER 1]\ndecksize=2\ncard1=a.bmp,,,,\n"
                    "card2=(x600)p.bmp,,,,\n",
                    "card 2 of [DECK 1 PLAYER 1] has an invalid copy count: (x600)p.bmp"},
        RefusalCase{"MissingLinesBeyondTheTable",
                    "[GAME]\nplayers=2\ncommon_decks=1\n[COMMON 1]\ndeckSize=501\n",
                    "it has 501 cards, at most 500 are possible"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(GameDefinitionTest, ExactlyTheLimitsLoad) {
    std::string text = "[GAME]\nplayers=7\ncommon_decks=12\ndirectory=cards\n";
    for (int n = 1; n <= 12; ++n)
        text += "[COMMON " + std::to_string(n) + "]\nsplit=FALSE\ndeckSize=1\ncard1=(x" +
                std::to_string(n == 1 ? 489 : 1) + ")c.bmp,,,,\n";
    ASSERT_TRUE(definition.LoadText(text));
    EXPECT_EQ(Game.totalCards, 500);
    EXPECT_EQ(Game.deckCount, 12);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_TRUE(readertest::CardPlaceFaults().empty());
}

TEST_F(GameDefinitionTest, NothingOfThePreviousGameStays) {
    ASSERT_TRUE(definition.LoadText(
        "[GAME]\nplayers=2\ncommon_decks=3\ndirectory=cards\n"
        "[OPTIONS]\nnum_options=1\noption1=ALL,All,1,TRUE\n"
        "[EFFECTS]\nnum_effects=1\neffect1=peek\n[peek]\nroutine=show_deck\nlabel=Peek\n"
        "[REPORTS]\nnum_reports=1\nreport1=Score,SUM,ALL,FALSE,points\n"
        "[PLAYER 1]\nmarkers=1\nmarker1=m.bmp,M,,,\n"
        "[MARKER GROUPS]\ngroups=1\ngroup1=G,GEMS,\n[GEMS MARKERS]\nmarkers=1\nmarker1=g.bmp,G,,,\n"
        "[COMMON "
        "1]\nsplit=FALSE\ndeckSize=2\nrestricted_actions=FLIP\ncard1=a.bmp,peek,,A,\ncard2=b.bmp,,v=1,B,\n"
        "[COMMON 2]\nsplit=FALSE\ndeckSize=1\ncard1=c.bmp,,,C,\n"
        "[COMMON 3]\nsplit=FALSE\ndeckSize=1\nzoom=50\ncard1=d.bmp,,,D,\n"));
    ASSERT_EQ(Game.totalCards, 4);
    ASSERT_GT(MarkerKindCount, 0);

    ASSERT_TRUE(definition.LoadText("[GAME]\nplayers=1\ncommon_decks=1\ndirectory=cards\n"
                                    "[COMMON 1]\nsplit=FALSE\ndeckSize=1\ncard1=z.bmp,,,Z,\n"));
    EXPECT_EQ(Game.totalCards, 1);
    EXPECT_EQ(Game.deckCount, 1);
    EXPECT_EQ(Game.decks[0].restricted_actions, "");
    for (int deck = 1; deck < kMaxDecks; ++deck) {
        EXPECT_EQ(Game.decks[deck].section, "") << deck;
        EXPECT_EQ(Game.decks[deck].zoom, 100.0f) << deck;
        EXPECT_EQ(Game.deckSizes[deck], 0) << deck;
        EXPECT_EQ(Game.backImages[deck], "") << deck;
    }
    for (int card = 2; card <= 4; ++card) {
        EXPECT_EQ(Cards[card].key, "") << card;
        EXPECT_EQ(Cards[card].properties, "") << card;
    }
    EXPECT_EQ(MarkerKindCount, 0);
    EXPECT_EQ(MarkerGroupCount, 0);
    EXPECT_EQ(GroupIndexByName("GEMS"), 0);
    EXPECT_EQ(ReportCount, 0);
    EXPECT_EQ(FindEffect("peek"), -1);
    EXPECT_EQ(GameOptionTable.num_options, 0);
    EXPECT_EQ(GameOptionTable.optionNames[1], "");
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(GameDefinitionTest, ReportMessagesAreShownOncePerDefinition) {
    const std::string text = "[GAME]\nplayers=1\ncommon_decks=3\n[REPORTS]\nnum_reports=1\n"
                             "report1=Score,AVERAGE,ALL,FALSE,points\n";
    ASSERT_TRUE(definition.LoadText(text));
    EXPECT_THAT(messages.Messages(), ElementsAre("Report type for report 1 unknown"));
    messages.Clear();
    ASSERT_TRUE(definition.LoadText(text));
    EXPECT_THAT(messages.Messages(), ElementsAre("Report type for report 1 unknown"));
}

TEST_F(GameDefinitionTest, ImageFolderChangesAreSeenByTheNextLoad) {
    const std::string path =
        definition.Write("img.game",
                         "[GAME]\ncommon_decks=1\nplayers=1\ndirectory=cards\n[COMMON 1]\ndeckSize=1\n"
                         "split=FALSE\ncard1=Late.BMP,,,L,\n",
                         false);
    definition.Folder().Write("cards/other.bmp", "");
    ASSERT_TRUE(definition.Load(path));
    EXPECT_THAT(messages.Messages(), ElementsAre("File: Late.BMP not found on directory cards"));

    messages.Clear();
    definition.Folder().Write("cards/late.bmp", ""); // found without regard to case
    ASSERT_TRUE(definition.Load(path));
    EXPECT_TRUE(messages.Messages().empty());

    std::remove((definition.Folder().Path() + "/cards/late.bmp").c_str());
    ASSERT_TRUE(definition.Load(path));
    EXPECT_THAT(messages.Messages(), ElementsAre("File: Late.BMP not found on directory cards"));
}

TEST_F(GameDefinitionTest, SeatIdsAndTheActingSeatAreLeftAsTheLoginSetThem) {
    const std::string path = definition.Write("s.game", "[GAME]\nplayers=2\n[PLAYER 1]\nname=Ann\n");
    CurrentGameFile = path;
    InitGameOptions();
    LoadPlayerNames(path);
    Game.players[1].seatId = "ann-id";
    Game.players[8].seatId = "judge";
    Game.CurrentPlayer = 2;
    Game.turnCounter = 9;
    ASSERT_TRUE(LoadGameDefinition(path));
    EXPECT_EQ(Game.players[1].name, "Ann");
    EXPECT_EQ(Game.players[1].seatId, "ann-id");
    EXPECT_EQ(Game.players[2].seatId, kNoSeatId);
    EXPECT_EQ(Game.players[8].seatId, "judge");
    EXPECT_EQ(Game.CurrentPlayer, 2);
    EXPECT_EQ(Game.turnCounter, 0);
}

TEST_F(GameDefinitionTest, DefinitionReadWhileAMessageOfAnotherReadIsOpenLeavesTheFirstReadWhole) {
    // A message box lets other events run; one of them may start reading another definition.
    const std::string inner = definition.Write(
        "inner.game", "[GAME]\nplayers=1\ncommon_decks=1\ndirectory=other\n[COMMON 1]\nsplit=FALSE\n"
                      "deckSize=2\ncard1=x.bmp,,,X,\ncard2=y.bmp,,,Y,\n");
    const std::string outer = definition.Write(
        "outer.game", "[GAME]\nplayers=1\ncommon_decks=1\ndirectory=cards\n[COMMON 1]\nsplit=FALSE\n"
                      "deckSize=3\ncard1=a.bmp,,,A,\ncard3=c.bmp,,,C,\n");
    std::vector<std::string> shown;
    const auto previous = platform::SetMessageHandler([&](const std::string& text) {
        shown.push_back(text);
        if (shown.size() == 1) {
            EXPECT_FALSE(LoadGameDefinition(inner));
        }
    });
    CurrentGameFile = outer;
    EXPECT_TRUE(LoadGameDefinition(outer));
    platform::SetMessageHandler(previous);
    EXPECT_THAT(shown, ElementsAre("Card 2 on common deck #1 not found",
                                   "The game cannot be loaded: another game is being read",
                                   "File:  not found on directory cards"));
    // The first read finishes with its own lines and its own image folder.
    EXPECT_EQ(Game.directory, "cards");
    EXPECT_EQ(Game.totalCards, 3);
    EXPECT_EQ(Cards[3].key, "C");
}

} // namespace

TEST_F(GameDefinitionTest, EveryKeyComesFromTheFileGivenNotFromTheGameInUse) {
    // The game in use names one file; the definition read is another (a saved game's or one
    // received from the other side). Nothing of the first may leak into what is read.
    const std::string inUse = definition.Write(
        "in-use.game", "[GAME]\nplayers=1\ncommon_decks=1\ndirectory=img\nexternal_hand=TRUE\n"
                       "[EFFECTS]\nnum_effects=1\neffect1=peek\n[peek]\nroutine=show_deck\n"
                       "[COMMON 1]\ndeckSize=1\ncard1=a.bmp,peek\nresize=TRUE\nlocked=TRUE\n"
                       "cardTooltipFormat=in use\ntransparentColor=1,1,1\nshuffleAndRotate=TRUE\n");
    const std::string read = definition.Write(
        "read.game", "[GAME]\nplayers=1\ncommon_decks=1\ndirectory=img\nexternal_hand=FALSE\n"
                     "[EFFECTS]\nnum_effects=1\neffect1=spy\n[spy]\nroutine=show_hand\n"
                     "[COMMON 1]\ndeckSize=1\ncard1=b.bmp,spy\nresize=FALSE\nlocked=yes\n"
                     "cardTooltipFormat=read\ntransparentColor=2,2,2\n");
    CurrentGameFile = inUse;
    ASSERT_TRUE(LoadGameDefinition(read));

    EXPECT_EQ(Game.external_hand, kFalse);
    EXPECT_EQ(EffectDef[1].name, "spy");
    EXPECT_EQ(EffectDef[1].routine, "show_hand");
    EXPECT_EQ(CardHasEffect(1, "spy"), kTrue);
    const DeckRecord& deck = Game.decks[0];
    EXPECT_EQ(deck.resize, kFalse);
    EXPECT_EQ(deck.locked, kFalse) << "an invalid value counts as false";
    EXPECT_EQ(deck.shuffleAndRotate, kFalse);
    EXPECT_EQ(deck.cardTooltipFormat, "read");
    EXPECT_EQ(deck.transparentColor, "2,2,2");
    EXPECT_THAT(messages.Messages(),
                ElementsAre("Directive locked in section [COMMON 1] has an invalid value: yes"));
}
