// A wizard window over a fresh program folder, with every message recorded.
#pragma once

#include "TestSupport.h"

#include "editor/CardDetailForm.h"
#include "editor/MainForm.h"
#include "platform/Ini.h"
#include "platform/Keys.h"
#include "platform/TestDriver.h"

#include <string>

namespace editortest {

namespace drive = platform::testdriver;

struct Editor {
    testsupport::TempProgramFolder folder;
    testsupport::MessageRecorder messages;
    wizard::MainForm window;

    Editor() { window.Show(); }

    // A file beside the program, written before the window reads it.
    void Write(const std::string& name, const std::string& text) {
        folder.Write(name, text);
        platform::IniClearCache();
    }
    std::string Read(const std::string& name) const { return folder.Read(name); }
    bool Exists(const std::string& name) const;

    // The user types a game name and presses Enter, which reads the game when it exists.
    void OpenGame(const std::string& name) {
        window.NameTXT->SetText(name);
        window.NameTXT->SetFocus();
        drive::PressKey(window.Window(), platform::keys::kReturn);
    }
    void Type(platform::TextBox& box, const std::string& text) { box.SetText(text); }
    void Press(platform::CommandButton& button) { drive::Click(button); }
    void Forward() { Press(*window.NextStep); }
    void Back() { Press(*window.PrevStep); }
    void Save() { Press(*window.SaveBtn); }
};

} // namespace editortest
