// The table window's keyboard: function keys for help, chat, reports, the quick save, the seat
// view, the hand window, the arbitrator's tools and the tool bars; the digit row rolls the
// game's dice; Esc, A and M for the selection and the marker picker; Ctrl with F1 to F8 puts the
// game's chat texts into the chat window; Alt with a letter or digit presses the button of the
// window whose access key it is. No key is consumed: the focused control sees it too.
#pragma once

#include <functional>
#include <string>

class MainForm;

// The [CHAT] message1 to message8 of a game file for the key codes of F1 to F8; "" for any
// other key. The chat window's own keys give the same texts.
std::string ChatMacroText(int keyCode, const std::string& gameFile);

class TableKeys {
  public:
    // Takes the table window's key events, which it sees before its controls.
    explicit TableKeys(MainForm& table);
    ~TableKeys();
    TableKeys(const TableKeys&) = delete;
    TableKeys& operator=(const TableKeys&) = delete;

    void Form_KeyDown(int keyCode, int shift);
    void Form_KeyUp(int keyCode, int shift);

  private:
    // Alt with a key: the first shown and enabled button of the window with that access key.
    void PressAccessKey(int keyCode);
    // A die rolled from the digit row, its result in the quick-message label.
    void RollDieKey(int die);

    MainForm& table_;
};
