#include "state/PropertyMgmt.h"

#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/Model.h"

#include <algorithm>

namespace {

// Only the first items of a property text are looked at; later ones are never found.
constexpr int kPropertyItemsRead = 10;

std::string TextBeforeEquals(const std::string& item) {
    return item.substr(0, item.find('='));
}

std::string TextAfterEquals(const std::string& item) {
    const auto at = item.find('=');
    return at == std::string::npos ? std::string() : item.substr(at + 1);
}

} // namespace

void SetCardProperties(std::int16_t card, const std::string& properties) {
    Cards[card].properties = properties;
}

std::string GetCardProperty(std::int16_t card, const std::string& name) {
    if (!CardTable::Contains(card)) return "";
    const std::string& text = Cards[card].properties;
    std::string value;
    for (int i = 1; i <= kPropertyItemsRead; ++i) {
        const std::string item = GetField(text, i, "|");
        if (item.empty()) break;
        if (TextBeforeEquals(item) == name) value = TextAfterEquals(item);
    }
    return value;
}

std::string GetListValue(const std::string& list, const std::string& key, const std::string& separator) {
    // GetField reads an empty separator as ","; count the fields the same way.
    const std::string sep = separator.empty() ? "," : separator;
    const int count = CountFields(list, sep);
    for (int i = 1; i <= count; ++i) {
        const std::string item = GetField(list, i, sep);
        if (platform::AnsiEqualNoCase(TextBeforeEquals(item), key))
            return platform::AnsiLower(TextAfterEquals(item));
    }
    return "";
}

void ResetReports() {
    ReportDef.Fill(ReportRecord{});
    ReportCount = 0;
    ReportHeader.clear();
    Model().reportMessagesFile.clear();
    Model().reportMessagesShown = false;
}

void LoadReports(const std::string& file) {
    // The reader loads the reports again after every deck; their messages are shown once per
    // definition.
    TableModel& model = Model();
    if (file != model.reportMessagesFile) {
        model.reportMessagesFile = file;
        model.reportMessagesShown = false;
    }
    const bool showMessages = !model.reportMessagesShown;
    model.reportMessagesShown = true;
    auto report = [showMessages](const std::string& text) {
        if (showMessages) ShowMsg(text);
    };

    ReportDef.Fill(ReportRecord{});
    const int wanted = std::max<int>(0, LeadingInt16(GetIni("REPORTS", "num_reports", file)));
    if (wanted > kMaxReports)
        report("The game defines " + std::to_string(wanted) + " reports: only the first " +
               std::to_string(kMaxReports) + " are used");
    ReportCount = static_cast<std::int16_t>(std::min(wanted, kMaxReports));
    ReportHeader = GetIni("REPORTS", "header", file);

    for (int n = 1; n <= ReportCount; ++n) {
        const std::string line = GetIni("REPORTS", "report" + std::to_string(n), file);
        ReportRecord& def = ReportDef[n];
        def.title = GetField(line, 1, ",");

        const std::string type = GetField(line, 2, ",");
        if (type == "SUM")
            def.type = kReportSum;
        else if (type == "COUNT")
            def.type = kReportCount;
        else
            report("Report type for report " + std::to_string(n) + " unknown");

        const std::string scope = GetField(line, 3, ",");
        if (scope == "ALL")
            def.scope = kScopeAll;
        else if (scope == "HAND")
            def.scope = kScopeHand;
        else if (scope == "PLAYED")
            def.scope = kScopePlayed;
        else if (scope == "SELECTED")
            def.scope = kScopeSelected;
        else
            report("Scope for report " + std::to_string(n) + " unknown");

        def.mine = ToFlag(GetField(line, 4, ",") == "TRUE");
        def.property = GetField(line, 5, ",");
        def.value = GetField(line, 6, ",");
    }
}

namespace {

bool OwnedByActingPlayer(const CardRecord& card) {
    return card.owner == Game.CurrentPlayer;
}

// The owner test of HAND and PLAYED: a seat named by value counts whatever mine says.
bool PassesOwnerTest(const ReportRecord& report, const CardRecord& card) {
    if (!report.value.empty()) return card.owner == LeadingNumber(report.value);
    return !report.mine || OwnedByActingPlayer(card);
}

bool InScope(const ReportRecord& report, std::int16_t number) {
    const CardRecord& card = Cards[number];
    const bool onTable = card.controlIndex >= 0;
    switch (report.scope) {
    case kScopeHand:
        return IsCardInHand(card.controlIndex, number) && PassesOwnerTest(report, card);
    case kScopeSelected:
        return card.selectionMark != -1 && (!report.mine || OwnedByActingPlayer(card));
    case kScopePlayed:
        return onTable && !IsCardInHand(card.controlIndex, number) && PassesOwnerTest(report, card);
    default:
        return onTable && (!report.mine || OwnedByActingPlayer(card));
    }
}

std::string ReportLineStart(const ReportRecord& report) {
    if (ReportHeader.empty()) return "*** " + report.title + ": ";
    std::string line = ReportHeader;
    for (std::size_t at = line.find("%TITLE"); at != std::string::npos;
         at = line.find("%TITLE", at + report.title.size()))
        line.replace(at, 6, report.title);
    for (std::size_t at = line.find("\\b"); at != std::string::npos; at = line.find("\\b", at + 1))
        line.replace(at, 2, " ");
    return line;
}

int LastCard() {
    return std::min<int>(Game.totalCards, kMaxCards);
}

} // namespace

std::vector<std::string> ReportLines() {
    std::vector<std::string> lines;
    for (int r = 1; r <= std::min<int>(ReportCount, kMaxReports); ++r) {
        const ReportRecord& report = ReportDef[r];
        std::int16_t total = 0;
        for (int c = 1; c <= LastCard(); ++c) {
            const auto number = static_cast<std::int16_t>(c);
            if (Cards[c].inDiscardPile || !InScope(report, number)) continue;
            if (report.type == kReportCount) {
                if (report.property.empty() || !GetCardProperty(number, report.property).empty())
                    total = ClampToInt16(total + 1LL);
            } else {
                total = RoundToInt16(total + LeadingNumber(GetCardProperty(number, report.property)));
            }
        }
        lines.push_back(ReportLineStart(report) + std::to_string(total));
    }
    return lines;
}

std::vector<std::string> EndGameStatistics() {
    std::vector<std::string> lines{" ", "*** End Game Statistics"};
    for (int d = 0; d < std::min<int>(Game.deckCount, kMaxDecks); ++d) {
        if (Game.deckSizes[d] <= 0) continue;
        lines.push_back("     > " + Game.decks[d].section);
        int eliminated = 0;
        int discarded = 0;
        for (int c = 1; c <= LastCard(); ++c) {
            const CardRecord& card = Cards[c];
            if (card.deck != d) continue;
            if (card.eliminated) {
                lines.push_back(std::string(13, ' ') + card.image + " eliminated");
                ++eliminated;
            }
            if (card.inDiscardPile) ++discarded;
        }
        lines.push_back("      Total eliminated: " + std::to_string(eliminated));
        lines.push_back("      Total discarded: " + std::to_string(discarded));
        lines.push_back(std::string(6, ' '));
    }
    return lines;
}
