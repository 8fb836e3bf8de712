// The game log window: the log as the store holds it, following every new entry while it is
// open, and the player's own entries: a die rolled from the dice list, a prepared item of the
// definition, or free text. Modeless; closing it leaves the store as it is.
#pragma once

#include "controls/cSfCb.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Lists.h"
#include "state/LogStore.h"

#include <cstdint>
#include <deque>
#include <string>

class LogForm : public LogObserver {
  public:
    LogForm();
    ~LogForm() override;
    LogForm(const LogForm&) = delete;
    LogForm& operator=(const LogForm&) = delete;

    // What DataList shows: 0 nothing yet, 1 the dice, 2 the prepared items.
    int Mode() const { return mode_; }

    platform::Form form;
    // Shows the store's entries as they stand: a line's text is read from the store when the list
    // shows it, so a full log opens without converting every line.
    platform::VirtualListBox LogTxt{form.Handle()};
    platform::ListBox DataList{form.Handle()};
    platform::TextBox FreeTxt{form.Handle()};
    platform::Label itemType{form.Handle()};
    // The table's own picture buttons, as on its tool bar.
    controls::cSfCb diceRollerBtn{form.Handle()};
    controls::cSfCb showItemsBtn{form.Handle()};
    controls::cSfCb addFreeTxtBtn{form.Handle()};

  private:
    void LogEntryStored(const std::string& entry, bool droppedOldest) override;
    void LogEmptied() override;
    // Shows the first `entries` entries of the store (all of them, or none for a closed window).
    void Fill(int entries);
    std::string LineText(int index) const;
    void ShowDice();
    void ShowItems();
    void ShowFreeText();
    void LogDataLine(int index);
    void SelectLastLine();

    // The list line each entry of the store begins at, oldest first, counted from the first line
    // this list ever showed; lines_ past the last line, dropped_ the lines its top entries took
    // before a full store dropped them. A list line is the line of an entry found among these.
    std::deque<std::int64_t> entryStart_;
    std::int64_t lines_ = 0;
    std::int64_t dropped_ = 0;
    int mode_ = 0;
    bool observing_ = false;
    LogObserver* previousObserver_ = nullptr;
};
