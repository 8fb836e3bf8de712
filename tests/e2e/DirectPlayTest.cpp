// One game on two tables: two real Karvel processes, server and client, connected over the
// loopback, for each bundled game. Right after both tables open, and after a round of card, deck,
// pile, marker and dice actions from each side, the two quick saves hold the same table.
#include "DirectPlay.h"
#include "Table.h"
#include "TableRecords.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

// Both sides' quick saves compared: a failure listing the members that differ.
void ExpectEqualTables(DirectGame& g, const std::string& when) {
    const std::string server = QuickSave(g.Server(), g.Game());
    const std::string client = QuickSave(g.Client(), g.Game());
    const std::vector<std::string> lines = TableDifferences(server, client);
    if (!lines.empty())
        ADD_FAILURE() << "The tables differ " << when << " (" << lines.size() << " members):\n"
                      << DifferenceReport(lines);
}

} // namespace

class DirectPlay : public testing::TestWithParam<const char*> {};

TEST_P(DirectPlay, BothTablesAreEqualWhenTheyOpen) {
    const std::string game = GetParam();
    DirectGame g("direct-" + std::string(game.substr(0, game.find(' '))), game);
    ExpectEqualTables(g, "when both tables open");
    g.Finish();
}

INSTANTIATE_TEST_SUITE_P(BundledGames, DirectPlay,
                         testing::Values("Parlour Cards.game", "Spice Harbour.game"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find(' '));
                         });
