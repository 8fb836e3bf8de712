// The properties and reports step and the report step: the property lists (locked when the game
// has more than the boxes hold), the count of reports, and one report's title, type, scope and
// property.
#include "editor/MainForm.h"

#include "editor/MainFormHelpers.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "platform/Ini.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <utility>

namespace wizard {

using platform::CheckBox;
using platform::ComboBox;
using platform::Frame;
using platform::TextBox;

namespace {

// The words the report step offers for a report's type and scope.
constexpr std::array<const char*, 2> kReportTypes{"SUM", "COUNT"};
constexpr std::array<const char*, 3> kReportScopes{"ALL", "HAND", "SELECTED"};

} // namespace

void MainForm::BuildStep6and7() {
    auto* f = Wiz[6]->Handle();
    UsePropOpt = Make<CheckBox>(f, 240, 300, 3000, 315);
    UsePropOpt->SetCaption("Use Properties");
    pNameFrame = Make<Frame>(f, 240, 700, 9000, 3000);
    pNameFrame->SetCaption("Property list");
    pNameFrame->SetVisible(false);
    for (int k = 0; k < 4; ++k) {
        const int left = 120 + k * 2200;
        pListName[k] = Make<TextBox>(pNameFrame->Handle(), left, 300, 2000, 315);
        for (int j = 0; j < 6; ++j)
            pName[k * 6 + j] = Make<TextBox>(pNameFrame->Handle(), left, 760 + j * 360, 2000, 315);
    }
    repFrame = Make<Frame>(f, 240, 3800, 9000, 1900);
    repFrame->SetCaption("Reports");
    Describe(repFrame->Handle(), "Number of Reports", 120, 300, 2000);
    repNum = Make<TextBox>(repFrame->Handle(), 2200, 300, 600, 315);
    for (int i = 0; i < 8; ++i)
        ShowReport[i] = Button(repFrame->Handle(), "Show Report #" + std::to_string(i + 1),
                               120 + (i % 4) * 2200, 800 + (i / 4) * 480, 2000, 360);
    auto* g = Wiz[7]->Handle();
    Describe(g, "Title", 240, 360, 1500);
    RepTitle = Make<TextBox>(g, 1800, 360, 4000, 315);
    Describe(g, "Type", 240, 840, 1500);
    repType = Make<ComboBox>(g, 1800, 840, 2000, 315, 2);
    for (const char* type : kReportTypes)
        repType->AddItem(type);
    Describe(g, "Scope", 240, 1320, 1500);
    repScope = Make<ComboBox>(g, 1800, 1320, 2000, 315, 2);
    for (const char* scope : kReportScopes)
        repScope->AddItem(scope);
    Describe(g, "Property", 240, 1800, 1500);
    RepPropName = Make<ComboBox>(g, 1800, 1800, 2000, 315, 2);
    RepOnlyOwned = Make<CheckBox>(g, 1800, 2280, 4000, 315);
    RepOnlyOwned->SetCaption("Use only cards owned");
}

std::vector<KeyValue> MainForm::PropListKeys() const {
    if (UsePropOpt->Value() != 1) return {KeyValue{"PROP LISTS", "total", "0"}};
    std::vector<KeyValue> lists;
    for (int k = 0; k < 4; ++k) {
        const std::string name = pListName[k]->Text();
        if (name.empty()) continue;
        std::string line = name;
        for (int j = 0; j < 6; ++j)
            if (const std::string prop = pName[k * 6 + j]->Text(); !prop.empty()) line += "," + prop;
        lists.push_back({"PROP LISTS", "list" + std::to_string(lists.size() + 1), line});
    }
    std::vector<KeyValue> keys{{"PROP LISTS", "total", std::to_string(lists.size())}};
    keys.insert(keys.end(), lists.begin(), lists.end());
    return keys;
}

std::optional<std::vector<KeyValue>> MainForm::PropListsToWrite() const {
    if (propListsLocked_) return std::vector<KeyValue>{};
    for (int i = 0; i < 28; ++i) {
        const std::string text = i < 4 ? pListName[i]->Text() : pName[i - 4]->Text();
        if (text.find_first_of(",|=") != std::string::npos) {
            ShowMsg("A property list or property name may not hold \",\", \"|\" or \"=\": " + text);
            return std::nullopt;
        }
    }
    // Lists nobody edited stay as the file holds them.
    if (!PropListsEdited()) return std::vector<KeyValue>{};
    return PropListKeys();
}

bool MainForm::PropListsEdited() const {
    if (propListsLocked_) return false;
    const std::vector<KeyValue> keys = PropListKeys();
    return !std::equal(
        keys.begin(), keys.end(), propListsShown_.begin(), propListsShown_.end(),
        [](const KeyValue& a, const KeyValue& b) { return a.key == b.key && a.value == b.value; });
}

void MainForm::DropUnsavedPropLists() {
    if (PropListsEdited())
        ShowMsg(
            "The changes to the property lists were not saved and are dropped (\"<< Back\" or \"Save\" on "
            "their step keeps them)");
    // What the boxes held is gone with the step: coming back shows the lists of the file alone.
    for (auto& box : pListName)
        box->SetText("");
    for (auto& box : pName)
        box->SetText("");
}

bool MainForm::SavePropLists() {
    const std::optional<std::vector<KeyValue>> keys = PropListsToWrite();
    if (!keys) return false;
    if (keys->empty()) return true;
    const std::string file = UsableGameFile();
    if (file.empty()) return true;
    const KeyWriter before = writer_;
    platform::IniWriteScope scope;
    if (!CommitWrites(scope, writer_.Write(file, *keys), before)) return false;
    propListsShown_ = *keys;
    return true;
}

void MainForm::showProperties() {
    const std::string file = GameFile();
    const int total = BoxNumber(GetIni("PROP LISTS", "total", file));
    // Lists the boxes cannot hold are not cut down to what they hold: they stay as the file has them.
    propListsLocked_ = total > 4;
    for (int k = 1; k <= std::min(total, 4); ++k)
        if (CountFields(GetIni("PROP LISTS", "list" + std::to_string(k), file), ",") > 7)
            propListsLocked_ = true;
    // Said once for the game opened, not at every visit of the step.
    if (propListsLocked_ && !std::exchange(propListsWarned_, true))
        ShowMsg(
            "The game has more than 4 property lists or more than 6 names in a list; its lists are kept as "
            "they are and cannot be edited here");
    UsePropOpt->SetEnabled(!propListsLocked_);
    pNameFrame->SetEnabled(!propListsLocked_);
    UsePropOpt->SetValue(total != 0 ? 1 : 0);
    pNameFrame->SetVisible(total != 0);
    for (int k = 1; k <= std::min(total, 4); ++k) {
        const std::vector<std::string> fields =
            GetFields(GetIni("PROP LISTS", "list" + std::to_string(k), file), 7);
        pListName[k - 1]->SetText(fields[0]);
        for (int j = 0; j < 6; ++j)
            pName[(k - 1) * 6 + j]->SetText(fields[j + 1]);
    }
    propListsShown_ = PropListKeys();
}

void MainForm::LoadReportCount() {
    const std::string value = GetIni("REPORTS", "num_reports", GameFile());
    filling_ = true;
    repNum->SetText(BoxNumber(value) > 8 ? "8" : value);
    filling_ = false;
    ShowButtons(ShowReport.data(), 8, std::clamp(BoxNumber(repNum->Text()), 0, 8));
}

void MainForm::DisplayReport(int index) {
    const std::string file = GameFile();
    const std::vector<std::string> fields =
        GetFields(GetIni("REPORTS", "report" + std::to_string(index + 1), file), 5);
    RepTitle->SetText(fields[0]);
    // A word the file holds that the lists lack (the table's PLAYED scope, say) shows as it is,
    // and an empty one as nothing: the box never shows another report's choice.
    const auto show = [](ComboBox& box, std::span<const char* const> words, const std::string& wanted) {
        box.Clear();
        int chosen = -1;
        for (const char* word : words) {
            if (wanted == word) chosen = box.ListCount();
            box.AddItem(word);
        }
        if (chosen < 0 && !wanted.empty()) {
            chosen = box.ListCount();
            box.AddItem(wanted);
        }
        box.SetListIndex(chosen);
    };
    show(*repType, kReportTypes, fields[1]);
    show(*repScope, kReportScopes, fields[2]);
    RepOnlyOwned->SetValue(fields[3] == "TRUE" ? 1 : 0);
    RepPropName->Clear();
    const int total = BoxNumber(GetIni("PROP LISTS", "total", file));
    int chosen = 0;
    for (int k = 1; k <= total; ++k) {
        const std::vector<std::string> list =
            GetFields(GetIni("PROP LISTS", "list" + std::to_string(k), file), 7);
        for (int j = 1; j < 7; ++j) {
            if (list[j].empty()) continue;
            RepPropName->AddItem(list[j]);
            if (list[j] == fields[4]) chosen = RepPropName->ListCount() - 1;
        }
    }
    if (RepPropName->ListCount() > 0) RepPropName->SetListIndex(chosen);
}

} // namespace wizard
