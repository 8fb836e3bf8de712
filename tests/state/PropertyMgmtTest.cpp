#include "TestSupport.h"

#include "state/PropertyMgmt.h"
#include "state/TableState.h"

#include "state/Model.h"

#include <gtest/gtest.h>

namespace {

class PropertyMgmtTest : public ::testing::Test {
  protected:
    void SetUp() override { Model().Reset(); }
    void TearDown() override { Model().Reset(); }
};

std::string Reports(const std::string& body) {
    return "[REPORTS]\n" + body;
}

} // namespace

TEST_F(PropertyMgmtTest, CardPropertiesAreFoundByExactNameAmongTheFirstTenItems) {
    SetCardProperties(1, "gold=1|Gold=2|gold=5|$OWNER=2|x|b=");
    SetCardProperties(2, "a=1|a=2||a=3");
    SetCardProperties(3, "p1=1|p2=2|p3=3|p4=4|p5=5|p6=6|p7=7|p8=8|p9=9|p10=10|p11=11");
    SetCardProperties(4, "eq=a=b");
    struct Case {
        std::int16_t card;
        const char* name;
        const char* value;
    } cases[] = {
        {1, "gold", "5"}, // the last match wins
        {1, "Gold", "2"}, // names are compared with case
        {1, "GOLD", ""},  {1, "$OWNER", "2"}, {1, "x", ""},
        {1, "b", ""},     {1, "missing", ""}, {2, "a", "2"}, // the scan stops at the first empty item
        {3, "p10", "10"}, {3, "p11", ""},                    // beyond the tenth item
        {4, "eq", "a=b"}, {5, "gold", ""},                   // a card without properties
        {0, "gold", ""},  {501, "gold", ""},                 // outside the card table
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetCardProperty(c.card, c.name), c.value) << "card " << c.card << " " << c.name;
}

TEST_F(PropertyMgmtTest, ListValueMatchesTheKeyWithoutCaseAndLowersTheValue) {
    struct Case {
        const char* list;
        const char* key;
        const char* separator;
        const char* value;
    } cases[] = {
        {"hideDiscardPile=TRUE,zoom=50", "HIDEDISCARDPILE", ",", "true"},
        {"a=X|b=Y", "b", "|", "y"},
        {"a=1,a=2", "a", ",", "1"}, // the first match
        {"a=1,b=2", "c", ",", ""},
        {"a,b=2", "a", ",", ""},
        {"x=1,y=Two", "y", "", "two"}, // an empty separator means ","
        {"", "a", ",", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetListValue(c.list, c.key, c.separator), c.value) << c.list << " " << c.key;
}

TEST_F(PropertyMgmtTest, ReportsAreReadWithTheirTypesScopesAndHeader) {
    testsupport::TempProgramFolder folder;
    folder.Write("r.game", Reports("num_reports=3\nheader=Player %TITLE:\\b\n"
                                   "report1=Gold,SUM,HAND,TRUE,gold,2\n"
                                   "report2=Cards,COUNT,PLAYED,FALSE,,\n"
                                   "report3=Sel,SUM,SELECTED,true,power\n"));
    testsupport::MessageRecorder messages;
    LoadReports(folder.Path() + "\\r.game");
    EXPECT_TRUE(messages.Messages().empty());
    ASSERT_EQ(ReportCount, 3);
    EXPECT_EQ(ReportHeader, "Player %TITLE:\\b");
    EXPECT_EQ(ReportDef[1].title, "Gold");
    EXPECT_EQ(ReportDef[1].type, kReportSum);
    EXPECT_EQ(ReportDef[1].scope, kScopeHand);
    EXPECT_EQ(ReportDef[1].mine, kTrue);
    EXPECT_EQ(ReportDef[1].property, "gold");
    EXPECT_EQ(ReportDef[1].value, "2");
    EXPECT_EQ(ReportDef[2].type, kReportCount);
    EXPECT_EQ(ReportDef[2].scope, kScopePlayed);
    EXPECT_EQ(ReportDef[2].mine, kFalse);
    EXPECT_EQ(ReportDef[2].property, "");
    EXPECT_EQ(ReportDef[3].scope, kScopeSelected);
    EXPECT_EQ(ReportDef[3].mine, kFalse); // "TRUE" is compared with case
}

TEST_F(PropertyMgmtTest, UnknownTypeOrScopeIsReportedAndReadAsSumOverAll) {
    testsupport::TempProgramFolder folder;
    folder.Write("r.game", Reports("num_reports=2\nreport1=A,AVG,HAND,,p\nreport2=B,count,everywhere,,p\n"));
    testsupport::MessageRecorder messages;
    LoadReports(folder.Path() + "\\r.game");
    EXPECT_EQ(messages.Messages(),
              (std::vector<std::string>{"Report type for report 1 unknown",
                                        "Report type for report 2 unknown", "Scope for report 2 unknown"}));
    EXPECT_EQ(ReportDef[1].type, kReportSum);
    EXPECT_EQ(ReportDef[1].scope, kScopeHand);
    EXPECT_EQ(ReportDef[2].type, kReportSum);
    EXPECT_EQ(ReportDef[2].scope, kScopeAll);
}

TEST_F(PropertyMgmtTest, ReportMessagesAreShownOncePerDefinitionAlthoughReadAfterEveryDeck) {
    testsupport::TempProgramFolder folder;
    folder.Write("a.game", Reports("num_reports=1\nreport1=A,AVG,ALL,,p\n"));
    folder.Write("b.game", Reports("num_reports=1\nreport1=B,SUM,NOWHERE,,p\n"));
    const std::string a = folder.Path() + "\\a.game";
    const std::string b = folder.Path() + "\\b.game";
    testsupport::MessageRecorder messages;

    ResetReports(); // the reader starts a definition
    for (int deck = 0; deck < 3; ++deck)
        LoadReports(a);
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Report type for report 1 unknown"});

    messages.Clear();
    LoadReports(b); // another definition, even without a reset
    LoadReports(b);
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Scope for report 1 unknown"});

    messages.Clear();
    ResetReports(); // the same definition read again for a new game
    LoadReports(b);
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Scope for report 1 unknown"});
}

TEST_F(PropertyMgmtTest, ReportsOfAPreviousGameNeverStay) {
    testsupport::TempProgramFolder folder;
    folder.Write("a.game", Reports("num_reports=2\nheader=H\nreport1=A,COUNT,HAND,TRUE,p,1\n"
                                   "report2=B,COUNT,HAND,TRUE,p,1\n"));
    folder.Write("b.game", Reports("num_reports=1\nreport1=C,AVG,NOWHERE\n"));
    folder.Write("none.game", "[GAME]\nplayers=2\n");
    testsupport::MessageRecorder messages;
    LoadReports(folder.Path() + "\\a.game");
    LoadReports(folder.Path() + "\\b.game");
    EXPECT_EQ(ReportCount, 1);
    EXPECT_EQ(ReportHeader, "");
    EXPECT_EQ(ReportDef[1].title, "C");
    // An unknown type or scope falls back to SUM over ALL, not to what the previous game had.
    EXPECT_EQ(ReportDef[1].type, kReportSum);
    EXPECT_EQ(ReportDef[1].scope, kScopeAll);
    EXPECT_EQ(ReportDef[1].mine, kFalse);
    EXPECT_EQ(ReportDef[2].title, "");

    ResetReports();
    LoadReports(folder.Path() + "\\a.game");
    LoadReports(folder.Path() + "\\none.game");
    EXPECT_EQ(ReportCount, 0);
    EXPECT_EQ(ReportDef[1].title, "");
}

TEST_F(PropertyMgmtTest, MoreThanFifteenReportsKeepTheFirstFifteenWithAMessage) {
    testsupport::TempProgramFolder folder;
    std::string body = "num_reports=17\n";
    for (int n = 1; n <= 17; ++n)
        body += "report" + std::to_string(n) + "=R" + std::to_string(n) + ",COUNT,ALL\n";
    folder.Write("r.game", Reports(body));
    testsupport::MessageRecorder messages;
    LoadReports(folder.Path() + "\\r.game");
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"The game defines 17 reports: only the first 15 are used"});
    EXPECT_EQ(ReportCount, 15);
    EXPECT_EQ(ReportDef[15].title, "R15");

    folder.Write("neg.game", Reports("num_reports=-4\n"));
    LoadReports(folder.Path() + "\\neg.game");
    EXPECT_EQ(ReportCount, 0);
}
