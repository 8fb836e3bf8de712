// The game log window: the log as the store holds it, following every new entry while it is
// open, and the player's own entries: a die rolled from the dice list, a prepared item of the
// definition, or free text. Modeless; closing it leaves the store as it is.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Lists.h"
#include "services/LogMgmt.h"

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
    platform::ListBox LogTxt{form.Handle()};
    platform::ListBox DataList{form.Handle()};
    platform::TextBox FreeTxt{form.Handle()};
    platform::Label itemType{form.Handle()};
    platform::CommandButton diceRollerBtn{form.Handle()};
    platform::CommandButton showItemsBtn{form.Handle()};
    platform::CommandButton addFreeTxtBtn{form.Handle()};

  private:
    void LogEntryStored(const std::string& entry, bool droppedOldest) override;
    void Fill();
    void AddEntryLines(const std::string& entry);
    void ShowDice();
    void ShowItems();
    void ShowFreeText();
    void LogDataLine(int index);
    void SelectLastLine();

    // How many list lines each entry of the store took, oldest first, so that the entry a full
    // store drops leaves the list too.
    std::deque<int> entryLines_;
    int mode_ = 0;
    bool observing_ = false;
    LogObserver* previousObserver_ = nullptr;
};
