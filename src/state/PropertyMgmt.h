// Card properties ("name=value" items joined by "|"), the report definitions of [REPORTS] and the
// lines the report window shows: the reports' totals and, after the game, its statistics.
#pragma once

#include "state/FixedTable.h"
#include "state/TableState.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int kMaxReports = 15;

constexpr std::int32_t kReportSum = 0;
constexpr std::int32_t kReportCount = 1;

constexpr std::int32_t kScopeAll = 0;
constexpr std::int32_t kScopeHand = 1;
constexpr std::int32_t kScopeSelected = 2;
constexpr std::int32_t kScopePlayed = 3;

struct ReportRecord {
    std::int32_t type = kReportSum;
    std::int32_t scope = kScopeAll;
    std::string title;
    std::string property;
    Flag mine = kFalse;
    std::string value; // a player number for HAND and PLAYED; empty for none
};

// The reports of the game in use.
using ReportTable = FixedTable<ReportRecord, 1, kMaxReports>;
extern ReportTable& ReportDef;
extern std::int16_t& ReportCount;
extern std::string& ReportHeader;

// Stores the property text of a card line in the card's record.
void SetCardProperties(std::int16_t card, const std::string& properties);

// The value of a property among the first 10 "|"-items of the card's property text (names
// compared exactly; the last match wins; the scan stops at the first empty item); "" when the
// card has no such property or the card number is outside the card table.
std::string GetCardProperty(std::int16_t card, const std::string& name);

// The text after "=" of the first item of the list whose text before "=" equals the key without
// regard to case, in lower case; "" when no item matches.
std::string GetListValue(const std::string& list, const std::string& key, const std::string& separator);

// Reads [REPORTS] of a definition file into the report table, which is emptied first, so nothing
// stays from a previous game. The definition reader runs it after every deck; its messages (an
// unknown type or scope, more than 15 reports) are shown once per definition: again only after
// ResetReports or when a different file is read.
void LoadReports(const std::string& file);

// Empties the report table and forgets which report messages were shown. The definition reader
// calls it before it reads a definition.
void ResetReports();

// The report lines of the table as it stands: per report its header (or "*** " title ": ")
// and its total, counted or summed over the cards outside the discard piles in its scope. A
// total is kept within 16 bits: a SUM that would overflow stops at the limit.
std::vector<std::string> ReportLines();

// The end-of-game statistics: per deck with cards, its eliminated cards and how many of its
// cards were eliminated and discarded.
std::vector<std::string> EndGameStatistics();
