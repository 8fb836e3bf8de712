// The value of every control of the editor window by its name, as a help item's `when` names it:
// a help item may hang on any control, and a name the window did not know would hide its item
// for good.
#include "editor/MainForm.h"

#include "common/Helpers.h"
#include "platform/Codec.h"

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

namespace wizard {

namespace {

using Values = std::unordered_map<std::string, std::function<std::string()>>;

std::string ValueOf(const platform::TextBox& c) {
    return c.Text();
}
std::string ValueOf(const platform::ComboBox& c) {
    return c.Text();
}
std::string ValueOf(const platform::Label& c) {
    return c.Caption();
}
std::string ValueOf(const platform::CommandButton& c) {
    return c.Caption();
}
std::string ValueOf(const platform::Frame& c) {
    return c.Caption();
}
// A check box's caption never changes: what it holds is whether it is checked.
std::string ValueOf(const platform::CheckBox& c) {
    return c.Value() == 1 ? c.Caption() : std::string();
}
// A list holds the entry chosen in it, or its first entry when none is chosen: the back and
// discard lists hold one entry that nobody selects.
template <class List> std::string ListValue(const List& list) {
    const int count = list.ListCount();
    if (count <= 0) return "";
    const int index = list.ListIndex();
    return list.List(index >= 0 && index < count ? index : 0);
}
std::string ValueOf(const platform::ListBox& c) {
    return ListValue(c);
}
std::string ValueOf(const platform::VirtualListBox& c) {
    return ListValue(c);
}

template <class T> void Name(Values& values, const std::string& name, const std::unique_ptr<T>& control) {
    const T* c = control.get();
    values[platform::AnsiLower(name)] = [c] { return ValueOf(*c); };
}

// Each element by "name(i)"; the bare name holds the first value any element holds, so that an
// item hung on the array shows once any of them is filled.
template <class T, std::size_t N>
void Name(Values& values, const std::string& name, const std::array<std::unique_ptr<T>, N>& controls) {
    std::vector<const T*> all;
    for (std::size_t i = 0; i < N; ++i) {
        Name(values, name + "(" + std::to_string(i) + ")", controls[i]);
        all.push_back(controls[i].get());
    }
    values[platform::AnsiLower(name)] = [all] {
        for (const T* c : all)
            if (std::string value = ValueOf(*c); !value.empty()) return value;
        return std::string();
    };
}

} // namespace

void MainForm::NameControls() {
    Values& v = values_;
    Name(v, "Wiz", Wiz);
    Name(v, "ButtonFrame", ButtonFrame);
    Name(v, "PrevStep", PrevStep);
    Name(v, "NextStep", NextStep);
    Name(v, "SaveBtn", SaveBtn);
    Name(v, "TreeBtn", TreeBtn);
    Name(v, "HelpBtn", HelpBtn);
    Name(v, "NameTXT", NameTXT);
    Name(v, "DirName", DirName);
    Name(v, "descTxt", descTxt);
    Name(v, "DeskTopImage", DeskTopImage);
    Name(v, "mainHelp", mainHelp);
    Name(v, "NewDirBtn", NewDirBtn);
    Name(v, "SetDesktopImage", SetDesktopImage);
    Name(v, "LoadBtn", LoadBtn);
    Name(v, "PlNum", PlNum);
    Name(v, "PLlabel", PLlabel);
    Name(v, "PLname", PLname);
    Name(v, "PL_data", PL_data);
    Name(v, "NumPLdecks", NumPLdecks);
    Name(v, "ShowPlayerDeck", ShowPlayerDeck);
    Name(v, "MrkUseOption", MrkUseOption);
    Name(v, "ShowMarkersBtn", ShowMarkersBtn);
    Name(v, "CommDecksNum", CommDecksNum);
    Name(v, "ShowCommonDeck", ShowCommonDeck);
    Name(v, "File1", File1);
    Name(v, "backImg", backImg);
    Name(v, "discardImg", discardImg);
    Name(v, "commonList", commonList);
    Name(v, "AddCards", AddCards);
    Name(v, "RemoveCard", RemoveCard);
    Name(v, "ClearCards", ClearCards);
    Name(v, "AddBack", AddBack);
    Name(v, "AddDiscard", AddDiscard);
    Name(v, "SelectAll", SelectAll);
    Name(v, "SelectNone", SelectNone);
    Name(v, "RefreshFiles", RefreshFiles);
    Name(v, "AdvancedProps", AdvancedProps);
    Name(v, "DealCrds", DealCrds);
    Name(v, "commLabel", commLabel);
    Name(v, "UsePropOpt", UsePropOpt);
    Name(v, "pNameFrame", pNameFrame);
    Name(v, "repFrame", repFrame);
    Name(v, "pListName", pListName);
    Name(v, "pName", pName);
    Name(v, "repNum", repNum);
    Name(v, "ShowReport", ShowReport);
    Name(v, "RepTitle", RepTitle);
    Name(v, "repType", repType);
    Name(v, "repScope", repScope);
    Name(v, "RepPropName", RepPropName);
    Name(v, "RepOnlyOwned", RepOnlyOwned);
}

std::string MainForm::ControlValue(const std::string& name) const {
    const auto found = values_.find(platform::AnsiLower(StripBlanks(name)));
    return found == values_.end() ? std::string() : found->second();
}

} // namespace wizard
