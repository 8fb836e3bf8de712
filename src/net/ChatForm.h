// The chat window of direct play: the conversation with the other player, lines sent with "CHAT",
// and the game's ready-made lines (chat macros) that Ctrl+F1 to Ctrl+F8 put into the message box.
#pragma once

#include "net/NetSocket.h"
#include "platform/Controls.h"
#include "platform/Form.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <string>

// Sends a chat line in direct play. A line holding the message terminator is refused with a
// message: the rest would run as a command on the other side; so is a line longer than a message
// may be. A line holding the field separator arrives cut there.
void SendChat(const std::string& text);

// Shows the connection dialog's chat window (the table's F4 and Ctrl with F1 to F8, through the
// hook each table window is given); a text that is not empty replaces what its message box holds.
// Nothing without a connection dialog.
void ShowChatWindow(const std::string& text);

class ChatForm {
  public:
    ChatForm();

    platform::Form form;
    platform::TextBox MessageLog{form.Handle(), true};
    platform::TextBox MsgText{form.Handle()};
    platform::CommandButton Command1{form.Handle()}; // Send

    // Appends a line to the conversation, "You > " before one's own and "*** > " before the
    // other player's, and selects the line's text so that it scrolls into view. At most
    // kShownChatLine characters of a line are shown, and the conversation keeps its newest
    // kChatLines lines.
    void ShowMessage(const std::string& text, bool own);
    static constexpr std::size_t kShownChatLine = 1000;
    static constexpr std::size_t kChatLines = 500;
    // A received "CHAT": the window shows (not modal) and the line is added.
    void RecvChat(const NetCommand& command);
    void Send();

    // What the chat asks of the connection dialog: the server's address, for a line sent before
    // the connection is made, and the game file (full path) whose macros the keys give.
    std::function<std::string()> ServerAddress;
    std::function<std::string()> GameFile;

  private:
    // The lines the conversation shows, each with its line break and prefix.
    std::deque<std::string> lines_;
};
