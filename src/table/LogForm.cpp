#include "table/LogForm.h"

#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Keys.h"
#include "services/DiceRoller.h"
#include "state/Helpers.h"
#include "state/TableState.h"

LogForm::LogForm() {
    form.SetCaption("Game log");
    form.Resize(9000, 6600);
    LogTxt.Move(120, 120, 5400, 5400);
    itemType.Move(5640, 120, 3000, 285);
    DataList.Move(5640, 450, 3000, 5070);
    FreeTxt.Move(5640, 450, 3000, 330);
    diceRollerBtn.Move(120, 5640, 1800, 420);
    showItemsBtn.Move(2040, 5640, 1800, 420);
    addFreeTxtBtn.Move(3960, 5640, 1800, 420);
    diceRollerBtn.SetCaption("Dice");
    showItemsBtn.SetCaption("Log items");
    addFreeTxtBtn.SetCaption("Free text");
    DataList.SetVisible(false);
    FreeTxt.SetVisible(false);

    form.OnLoad = [this] {
        Fill();
        addFreeTxtBtn.SetVisible(platform::AnsiUpper(GetIni("LOG", "use_free_text", CurrentGameFile)) ==
                                 "TRUE");
        previousObserver_ = SetLogObserver(this);
        observing_ = true;
    };
    form.OnUnload = [this](bool&) {
        // The store is already whole: every entry reached it before it reached this list.
        if (observing_) SetLogObserver(previousObserver_);
        observing_ = false;
        // A closed window keeps no copy of a log of tens of thousands of lines; it is filled from
        // the store when it opens again.
        LogTxt.Clear();
        entryLines_.clear();
    };
    diceRollerBtn.OnClick = [this] { ShowDice(); };
    showItemsBtn.OnClick = [this] { ShowItems(); };
    addFreeTxtBtn.OnClick = [this] { ShowFreeText(); };
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

void LogForm::Fill() {
    LogTxt.Clear();
    entryLines_.clear();
    std::vector<std::string> lines;
    for (int n = 1; n <= LogCount; ++n) {
        const auto entry = LogListLines(LogEntry(n));
        lines.insert(lines.end(), entry.begin(), entry.end());
        entryLines_.push_back(static_cast<int>(entry.size()));
    }
    LogTxt.AddItems(lines);
}

void LogForm::AddEntryLines(const std::string& entry) {
    const auto lines = LogListLines(entry);
    for (const std::string& line : lines)
        LogTxt.AddItem(line);
    entryLines_.push_back(static_cast<int>(lines.size()));
}

void LogForm::LogEntryStored(const std::string& entry, bool droppedOldest) {
    if (droppedOldest && !entryLines_.empty()) {
        for (int n = 0; n < entryLines_.front(); ++n)
            LogTxt.RemoveItem(0);
        entryLines_.pop_front();
    }
    AddEntryLines(entry);
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
