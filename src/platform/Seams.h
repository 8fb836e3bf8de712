// The few places where the program waits for a person or ends itself. Tests replace each with a
// recorder, so that nothing blocks on a dialog and nothing exits the test run.
#pragma once

#include "platform/Picture.h"

#include <functional>
#include <optional>
#include <string>

namespace platform {

class Form;
class Menu;

// A modal message with an OK button and the application's title (ANSI text).
void ShowMessage(const std::string& text);

// A modal yes/no question; true for yes.
bool AskYesNo(const std::string& text);

// A modal input box with OK and Cancel: the text typed, nullopt for Cancel.
std::optional<std::string> AskInput(const std::string& prompt, const std::string& title,
                                    const std::string& initial = "");

// What a file chooser shows: its title, a filter such as "Card images|*.bmp;*.gif;*.jpg" (pairs of
// description and patterns), the folder it opens in and the name it proposes.
struct FileRequest {
    std::string title;
    std::string filter;
    std::string folder;
    std::string fileName;
};
// The chosen file's full path (ANSI), nullopt for Cancel.
std::optional<std::string> ChooseFileToOpen(const FileRequest& request);
std::optional<std::string> ChooseFileToSave(const FileRequest& request);

// The colour chooser: the colour picked, nullopt for Cancel.
std::optional<Colour> ChooseColour(Colour initial);

// Opens a document of the program folder with the system's viewer. Only a regular file inside
// the program folder that is not executable is opened; false when the file is refused or the
// viewer cannot be started.
bool OpenDocument(const std::string& path);

// The program's deliberate end after a fatal fault. Never returns.
[[noreturn]] void EndProgram(int code);

// Lets pending window events run (the program waits on the network this way).
void PumpEvents();
// Lets window events run, waiting for one to arrive when none is pending, at most the given time.
void WaitForEvents(int maxMilliseconds);
// Runs a task once the window events pending now have run.
void RunLater(std::function<void()> task);

// Writes a fault the program survived to the debug log (by default to stderr).
void LogError(const std::string& text);

using MessageHandler = std::function<void(const std::string&)>;
using QuestionHandler = std::function<bool(const std::string&)>;
// The end handler of a test throws, so that the caller's code stops as the program would.
using EndHandler = std::function<void(int)>;

using ErrorLogger = std::function<void(const std::string&)>;
using InputHandler =
    std::function<std::optional<std::string>(const std::string& prompt, const std::string& initial)>;
using FileHandler = std::function<std::optional<std::string>(bool save, const FileRequest& request)>;
using ColourHandler = std::function<std::optional<Colour>(Colour initial)>;
// Receives the real file name of a document that passed the checks.
using DocumentHandler = std::function<bool(const std::string& fileName)>;
// Runs while a form is shown modally, in place of the wait; the form is hidden after it when the
// handler leaves it open.
using ModalHandler = std::function<void(Form& form)>;
// Answers a pop-up menu with the caption of the item to choose ("" dismisses the menu).
using PopupHandler = std::function<std::string(const Menu& menu)>;

// Each returns the handler it replaced; an empty handler restores the default.
MessageHandler SetMessageHandler(MessageHandler handler);
ErrorLogger SetErrorLogger(ErrorLogger logger);
QuestionHandler SetQuestionHandler(QuestionHandler handler);
EndHandler SetEndHandler(EndHandler handler);
InputHandler SetInputHandler(InputHandler handler);
FileHandler SetFileHandler(FileHandler handler);
ColourHandler SetColourHandler(ColourHandler handler);
DocumentHandler SetDocumentHandler(DocumentHandler handler);
ModalHandler SetModalHandler(ModalHandler handler);
PopupHandler SetPopupHandler(PopupHandler handler);

// Shows the items of `menu` as a pop-up menu and runs the chosen item's OnClick; false when
// nothing was chosen. Hidden and disabled items cannot be chosen.
bool ShowPopupMenu(Menu& menu);

} // namespace platform
