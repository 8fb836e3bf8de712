// The two tables of a direct-play game compared through their saved records: each side's quick
// save, read with the program's own reader, member by member. Left out is only what each side
// keeps of its own: the stacking order after a local click (the entries are compared, not their
// order), the piles' places (a pile is dragged locally), the selection, the places in the hand
// window, which faces a seat sees of the seats' cards in hands (the hand window, or the seat's
// area of the table: read from the definition the record names), the seat the side plays, the
// window's place, and the side's own game log and notes (neither is sent).
#pragma once

#include <string>
#include <vector>

namespace e2e {

// The differences between the server's and the client's record, one readable line each
// ("card 17 (deck 1 \"J♠\") pile position: server 3, client 5"); empty when the tables are equal.
// A record that does not read gives one line saying why.
std::vector<std::string> TableDifferences(const std::string& serverSave, const std::string& clientSave);

// The lines as one text, the first `most` of them and the number left out.
std::string DifferenceReport(const std::vector<std::string>& lines, std::size_t most = 60);

// What the deal of a game is, for telling two sessions apart: each card's pile position, place
// (hand, table, pile) and owner, and the dice log, as one line; "" when the record does not read.
std::string DealOf(const std::string& save);

} // namespace e2e
