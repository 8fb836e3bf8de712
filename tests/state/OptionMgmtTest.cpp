#include "TestSupport.h"

#include "state/OptionMgmt.h"
#include "state/TableState.h"

#include "state/Model.h"

#include <gtest/gtest.h>

namespace {

const char* const kOptionsGame = "[Game]\nplayers=3\narbitrator=TRUE\n"
                                 "[PLAYER 1]\nname=Ann\n[PLAYER 2]\nname=Bob\n[PLAYER 3]\nname=Cy\n"
                                 "[OPTIONS]\nnum_options=5\n"
                                 "option1=Elves,Elven host,1,TRUE\n"
                                 "option2=Dwarves,Dwarf clans,1,TRUE\n"
                                 "option3=Orcs,Orc horde,2,true\n"
                                 "option4=Men,Kingdoms of men,2,TRUE\n"
                                 "option5=Ents,Forest,2,\n"
                                 "option6=Spare,Not counted,3,TRUE\n"
                                 "[DECK 1 PLAYER 1]\nnum_variants=2\nvar1=7,Elves\nvar2=8,Dwarves\n"
                                 "[DECK 2 PLAYER 1]\nnum_variants=1\nvar1=9,Trolls\n"
                                 "[DECK 1 PLAYER 3]\nnum_variants=1\nvar1=4,Spare\n";

const char* const kPlainGame = "[Game]\nplayers=2\n[PLAYER 1]\nname=Dee\n[PLAYER 2]\nname=Eve\n";

class OptionMgmtTest : public ::testing::Test {
  protected:
    void SetUp() override { Model().Reset(); }
    void TearDown() override { Model().Reset(); }

    // Writes a definition and prepares a game from it.
    void Init(const std::string& name, const std::string& text) {
        folder_.Write(name, text);
        CurrentGameFile = folder_.Path() + "\\" + name;
        InitGameOptions();
    }

    testsupport::TempProgramFolder folder_;
};

} // namespace

TEST_F(OptionMgmtTest, InitReadsPlayersArbitratorOptionsAndDefaultSelections) {
    testsupport::MessageRecorder messages;
    Game.players[kArbitratorSeat].seatId = "someone";
    Init("o.game", kOptionsGame);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(Game.playerCount, 3);
    EXPECT_EQ(Game.arbitrator, kTrue);
    EXPECT_EQ(Game.players[kArbitratorSeat].seatId, kNoSeatId);
    EXPECT_EQ(Game.players[2].name, "Bob");
    EXPECT_EQ(HasOptions(), kTrue);
    EXPECT_EQ(GameOptionTable.num_options, 5);
    // Option names are read for all 15 keys, whatever the number of options.
    EXPECT_EQ(GameOptionTable.optionNames[1], "Elves");
    EXPECT_EQ(GameOptionTable.optionNames[6], "Spare");
    EXPECT_EQ(GameOptionTable.optionNames[7], "");
    // The later of two defaults wins; "true" is not "TRUE"; options beyond num_options are not
    // anybody's default.
    EXPECT_EQ(GameOptionTable.selectedOption[1], 2);
    EXPECT_EQ(GameOptionTable.selectedOption[2], 4);
    EXPECT_EQ(GameOptionTable.selectedOption[3], 0);
    EXPECT_EQ(GameOptionTable.selectedOption[7], 0);
    EXPECT_EQ(DefaultOptionOf(1), 2);
    EXPECT_EQ(DefaultOptionOf(5), 0);
}

TEST_F(OptionMgmtTest, LabelsAndNamesOfTheSelectedOptions) {
    Init("o.game", kOptionsGame);
    EXPECT_EQ(SelectedOptionLabel(1), "Dwarf clans");
    EXPECT_EQ(SelectedOptionLabel(2), "Kingdoms of men");
    EXPECT_EQ(SelectedOptionLabel(3), "");
    EXPECT_EQ(SelectedOptionLabel(0), "");
    EXPECT_EQ(SelectedOptionLabel(8), "");
    GameOptionTable.selectedOption[2] = 99; // as a damaged saved game could hold
    EXPECT_EQ(SelectedOptionLabel(2), "");

    EXPECT_EQ(FindOptionByName("Orcs"), 3);
    EXPECT_EQ(FindOptionByName("orcs"), -1);
    EXPECT_EQ(FindOptionByName("Spare"), 6);
    EXPECT_EQ(FindOptionByName("Nobody"), -1);
}

TEST_F(OptionMgmtTest, CardLineIsLeftOutUnlessAPlayerSelectedOneOfItsOptions) {
    Init("o.game", kOptionsGame);
    GameOptionTable.selectedOption[5] = 3; // beyond the player count: does not count
    struct Case {
        const char* expr;
        Flag leftOut;
    } cases[] = {
        {"", kFalse},     {"Dwarves", kFalse}, {"Elves+Dwarves", kFalse}, {"Orcs+Men", kFalse},
        {"Elves", kTrue}, {"Orcs", kTrue},     {"dwarves", kTrue},        {"Elves+Orcs", kTrue},
        {"Spare", kTrue}, {"+", kTrue},        {"Elves++Men", kFalse},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsOptionExprActive(c.expr), c.leftOut) << c.expr;
}

TEST_F(OptionMgmtTest, DeckVariantsChooseTheSectionBySelectedOption) {
    Init("o.game", kOptionsGame);
    const std::string& file = CurrentGameFile;
    struct Case {
        std::int16_t deck;
        std::int16_t player;
        const char* section;
    } cases[] = {
        {1, 1, "DECK 8"},          // Dwarves selected
        {2, 1, ""},                // no variant names the selection
        {1, 2, "DECK 1 PLAYER 2"}, // no variants
        {1, 3, ""},                // player 3 has no selected option
    };
    for (const auto& c : cases)
        EXPECT_EQ(DeckSectionFor(c.deck, c.player, file), c.section) << c.deck << "/" << c.player;

    GameOptionTable.selectedOption[1] = 1;
    EXPECT_EQ(DeckSectionFor(1, 1, file), "DECK 7");
}

TEST_F(OptionMgmtTest, GameWithoutOptionsClearsWhatThePreviousGameSelected) {
    Init("o.game", kOptionsGame);
    ASSERT_EQ(GameOptionTable.selectedOption[1], 2);
    Init("plain.game", kPlainGame);
    EXPECT_EQ(HasOptions(), kFalse);
    EXPECT_EQ(Game.playerCount, 2);
    EXPECT_EQ(Game.arbitrator, kFalse);
    for (int player = 1; player <= kMaxPlayers; ++player)
        EXPECT_EQ(GameOptionTable.selectedOption[player], 0) << player;
    for (int k = 1; k <= kMaxOptions; ++k)
        EXPECT_EQ(GameOptionTable.optionNames[k], "") << k;
    EXPECT_EQ(SelectedOptionLabel(1), "");
    EXPECT_EQ(IsOptionExprActive("Dwarves"), kFalse) << "without options every card takes part";
    EXPECT_EQ(IsOptionExprActive(""), kFalse);
    EXPECT_EQ(DeckSectionFor(1, 1, CurrentGameFile), "DECK 1 PLAYER 1");
}

TEST_F(OptionMgmtTest, MoreThanFifteenOptionsKeepTheFirstFifteenWithAMessage) {
    std::string text = "[Game]\nplayers=1\n[OPTIONS]\nnum_options=16\n";
    for (int k = 1; k <= 16; ++k)
        text +=
            "option" + std::to_string(k) + "=O" + std::to_string(k) + ",L" + std::to_string(k) + ",1,TRUE\n";
    testsupport::MessageRecorder messages;
    Init("many.game", text);
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"The game defines 16 options: only the first 15 are used"});
    EXPECT_EQ(GameOptionTable.num_options, 15);
    EXPECT_EQ(GameOptionTable.selectedOption[1], 15);
    EXPECT_EQ(SelectedOptionLabel(1), "L15");
}

TEST_F(OptionMgmtTest, InvalidArbitratorDirectiveIsReportedAndCountsAsFalse) {
    testsupport::MessageRecorder messages;
    Init("a.game", "[Game]\nplayers=2\narbitrator=maybe\n");
    EXPECT_EQ(Game.arbitrator, kFalse);
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"Directive arbitrator in section [Game] has an invalid value: maybe"});
}

TEST_F(OptionMgmtTest, OptionListsOfAChosenDefinitionFile) {
    folder_.Write("o.game", kOptionsGame);
    const std::string file = folder_.Path() + "\\o.game";
    OptionList list;
    list.labels = {"stale"};
    FillOptionList(file, 1, list);
    EXPECT_EQ(list.labels, (std::vector<std::string>{"Elven host", "Dwarf clans"}));
    EXPECT_EQ(list.selected, 1);
    FillOptionList(file, 2, list);
    EXPECT_EQ(list.labels, (std::vector<std::string>{"Orc horde", "Kingdoms of men", "Forest"}));
    EXPECT_EQ(list.selected, 1);
    FillOptionList(file, 3, list); // option6 lies beyond num_options
    EXPECT_TRUE(list.labels.empty());
    EXPECT_EQ(list.selected, -1);

    EXPECT_EQ(OptionNameFromLabel(file, 2, "Forest"), "Ents");
    EXPECT_EQ(OptionIndexFromLabel(file, 2, "Forest"), 5);
    EXPECT_EQ(OptionNameFromLabel(file, 1, "Forest"), "");
    EXPECT_EQ(OptionIndexFromLabel(file, 1, "Forest"), 0);
}

TEST_F(OptionMgmtTest, PlayerCountStaysWithinTheSeatsWhateverTheDefinitionSays) {
    struct Case {
        const char* players;
        std::int16_t count;
    } cases[] = {{"9", 7}, {"1e9", 7}, {"-2", 0}, {"7", 7}, {"", 0}};
    for (const auto& c : cases) {
        Init("p.game", std::string("[Game]\nplayers=") + c.players +
                           "\n[OPTIONS]\nnum_options=1\noption1=A,Alpha,7,TRUE\n");
        EXPECT_EQ(Game.playerCount, c.count) << c.players;
        // Every seat of the count can be asked about.
        EXPECT_NO_THROW({
            for (int seat = 1; seat <= Game.playerCount; ++seat)
                Game.players[seat].name = SelectedOptionLabel(static_cast<std::int16_t>(seat));
        }) << c.players;
    }
}
