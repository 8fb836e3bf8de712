#include "services/PropertyMgmt.h"

#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
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
