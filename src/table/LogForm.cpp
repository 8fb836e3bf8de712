#include "table/LogForm.h"

#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Keys.h"
#include "services/DiceRoller.h"
#include "services/LogMgmt.h"
#include "state/Helpers.h"
#include "state/TableState.h"
#include "table/ToolBarForm.h"

#include <algorithm>

LogForm::LogForm() {
    form.SetCaption("Game log");
    form.Resize(9000, 6600);
    LogTxt.Move(120, 120, 5400, 5400);
    itemType.Move(5640, 120, 3000, 285);
    DataList.Move(5640, 450, 3000, 5070);
    FreeTxt.Move(5640, 450, 3000, 330);
    // Two tool bar columns wide each, side by side under the log.
    DressToolButton(diceRollerBtn, "Dice", 120, 5640, 2);
    DressToolButton(showItemsBtn, "Log items", 2040, 5640, 2);
    DressToolButton(addFreeTxtBtn, "Free text", 3960, 5640, 2);
    DataList.SetVisible(false);
    FreeTxt.SetVisible(false);

    form.OnLoad = [this] {
        Fill(LogCount);
        addFreeTxtBtn.Surface().SetVisible(
            platform::AnsiUpper(GetIni("LOG", "use_free_text", CurrentGameFile)) == "TRUE");
        previousObserver_ = SetLogObserver(this);
        observing_ = true;
    };
    form.OnUnload = [this](bool&) {
        // The store is already whole: every entry reached it before it reached this list.
        if (observing_) SetLogObserver(previousObserver_);
        observing_ = false;
        // A closed window keeps nothing of the log; it is filled from the store when it opens again.
        Fill(0);
    };
    LogTxt.SetItemSource([this](int index) { return LineText(index); });
    diceRollerBtn.Click = [this] { ShowDice(); };
    showItemsBtn.Click = [this] { ShowItems(); };
    addFreeTxtBtn.Click = [this] { ShowFreeText(); };
    DataList.OnDblClick = [this] { LogDataLine(DataList.ListIndex()); };
    FreeTxt.OnKeyPress = [this](int& keyAscii) {
        if (keyAscii != platform::keys::kReturn) return;
        keyAscii = 0;
        AddLogEntryToList("<" + FreeTxt.Text() + ">");
        FreeTxt.SetText("");
        SelectLastLine();
    };
}

LogForm::~LogForm() {
    if (observing_) SetLogObserver(previousObserver_);
}

void LogForm::Fill(int entries) {
    entryStart_.clear();
    lines_ = 0;
    dropped_ = 0;
    for (int n = 1; n <= entries; ++n) {
        entryStart_.push_back(lines_);
        lines_ += LogListLineCount(LogEntry(n));
    }
    LogTxt.ResetItems(static_cast<int>(lines_));
}

std::string LogForm::LineText(int index) const {
    const std::int64_t line = dropped_ + index;
    const auto next = std::upper_bound(entryStart_.begin(), entryStart_.end(), line);
    if (next == entryStart_.begin()) return {};
    const auto entry = next - 1;
    return LogListLine(LogEntry(static_cast<int>(entry - entryStart_.begin()) + 1),
                       static_cast<int>(line - *entry));
}

void LogForm::LogEntryStored(const std::string& entry, bool droppedOldest) {
    // The list follows the store one entry at a time; a store that changed behind its back (a
    // restored game) is read again whole.
    const std::size_t before = entryStart_.size() + (droppedOldest ? 0 : 1);
    if (before != static_cast<std::size_t>(LogCount)) {
        Fill(LogCount);
        return;
    }
    if (droppedOldest && !entryStart_.empty()) {
        const std::int64_t end = entryStart_.size() > 1 ? entryStart_[1] : lines_;
        const int removed = static_cast<int>(end - entryStart_.front());
        entryStart_.pop_front();
        dropped_ += removed;
        LogTxt.ItemsRemoved(0, removed);
    }
    entryStart_.push_back(lines_);
    const int added = LogListLineCount(entry);
    lines_ += added;
    LogTxt.ItemsInserted(LogTxt.ListCount(), added);
}

void LogForm::LogEmptied() {
    Fill(LogCount);
}

void LogForm::ShowDice() {
    FreeTxt.SetVisible(false);
    DataList.Clear();
    for (int die = 1; die <= DiceCount; ++die)
        DataList.AddItem(Dice[die].name);
    DataList.SetVisible(true);
    itemType.SetCaption("Dice list");
    mode_ = 1;
}

void LogForm::ShowItems() {
    FreeTxt.SetVisible(false);
    DataList.Clear();
    const int count = LeadingInt16(GetIni("LOG", "num_items", CurrentGameFile));
    for (int n = 1; n <= count; ++n)
        DataList.AddItem(GetIni("LOG", "item" + std::to_string(n), CurrentGameFile));
    DataList.SetVisible(true);
    itemType.SetCaption("Log items list");
    mode_ = 2;
}

void LogForm::ShowFreeText() {
    DataList.SetVisible(false);
    FreeTxt.SetVisible(true);
    itemType.SetCaption("Free text");
    FreeTxt.SetFocus();
}

void LogForm::LogDataLine(int index) {
    if (index < 0 || index >= DataList.ListCount()) return;
    const std::string line = DataList.List(index);
    if (mode_ == 2) {
        AddLogEntryToList(line);
    } else {
        const std::int16_t serial = Game.diceSerial;
        const std::string result = RollDice(static_cast<std::int16_t>(index + 1), false, false);
        // A roll that failed recorded nothing, and neither does the log.
        if (Game.diceSerial == serial) return;
        AddLogEntryToList(line + ": " + result);
    }
    SelectLastLine();
}

void LogForm::SelectLastLine() {
    if (LogTxt.ListCount() > 0) LogTxt.SetListIndex(LogTxt.ListCount() - 1);
}
