#include "net/ChatForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "net/WireWords.h"
#include "platform/Keys.h"
#include "platform/Socket.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/TableKeys.h"

#include <climits>
#include <optional>

namespace {

// The longest line a message may carry: the command, its separator and the line.
constexpr std::size_t kMaxChatLine = kMaxNetMessage - 5;

// The length of a text as the conversation box counts it: a line break is one character.
int BoxLength(const std::string& text) {
    int length = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) ++length;
    return length;
}

} // namespace

void SendChat(const std::string& text) {
    if (GameMode != kModeDirect) return;
    if (text.size() > kMaxChatLine) {
        ShowMsg("The line cannot be sent: it is longer than " + std::to_string(kMaxChatLine) + " characters");
        return;
    }
    const std::optional<std::string> message = BuildNetMessage(wire::kChat, {text});
    if (!message) {
        ShowMsg("The line cannot be sent: it holds " + std::string(kNetTerminator));
        return;
    }
    SendNetData(*message);
}

ChatForm::ChatForm() {
    form.SetCaption("Chat");
    form.Resize(6000, 4500);
    form.SetKeyPreview(true);
    MessageLog.Move(120, 120, 5640, 3240);
    MessageLog.SetLocked(true);
    MsgText.Move(120, 3480, 4320, 375);
    MsgText.SetMaxLength(static_cast<int>(kMaxChatLine));
    Command1.SetCaption("Send");
    Command1.Move(4560, 3480, 1200, 375);
    Command1.SetDefault(true);

    Command1.OnClick = [this] { Send(); };
    // However it opens, with a game on the table the chat stays above the table.
    form.OnLoad = [this] { KeepAboveTable(form); };
    form.OnKeyDown = [this](int keyCode, int shift) {
        if (shift != platform::keys::kCtrl) return;
        const std::string macro = ChatMacroText(keyCode, GameFile ? GameFile() : std::string());
        if (!macro.empty()) MsgText.SetText(macro);
    };
    form.OnKeyPress = [this](int& keyAscii) {
        // Only the message box takes typing; Escape there closes the window.
        if (!MsgText.HasFocus()) {
            keyAscii = 0;
        } else if (keyAscii == platform::keys::kEscape) {
            keyAscii = 0;
            form.Unload();
        }
    };
}

void ChatForm::ShowMessage(const std::string& text, bool own) {
    const std::string prefix = own ? "You > " : "*** > ";
    // A long line is shown cut: laying out tens of thousands of characters in the box takes
    // seconds, and nobody reads them in a chat.
    const std::string shown = text.size() <= kShownChatLine
                                  ? text
                                  : text.substr(0, kShownChatLine) + " [" +
                                        std::to_string(text.size() - kShownChatLine) + " more characters]";
    const std::string line = "\r\n" + prefix + shown;
    lines_.push_back(line);
    if (lines_.size() > kChatLines + kChatLines / 5) {
        // The oldest lines go, a few dozen at a time rather than one a line.
        lines_.erase(lines_.begin(), lines_.end() - static_cast<std::ptrdiff_t>(kChatLines));
        std::string kept;
        for (const std::string& l : lines_)
            kept += l;
        MessageLog.SetText(kept);
    } else {
        MessageLog.SetSelStart(INT_MAX);
        MessageLog.SetSelText(line);
    }
    MessageLog.SetSelStart(INT_MAX);
    const int end = MessageLog.SelStart();
    MessageLog.SetSelStart(end - BoxLength(shown));
    MessageLog.SetSelLength(BoxLength(shown));
}

void ChatForm::RecvChat(const NetCommand& command) {
    if (!form.Visible()) {
        KeepAboveTable(form);
        form.Show();
        form.Activate();
    }
    ShowMessage(command.fields.empty() ? std::string() : command.fields[0], false);
}

void ChatForm::Send() {
    const std::string text = MsgText.Text();
    ShowMessage(text, true);
    if (NetSocketState() != platform::Socket::kConnected && ServerAddress) ConnectToHost(ServerAddress());
    SendChat(text);
}
