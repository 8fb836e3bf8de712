// The few places where the program waits for a person or ends itself. Tests replace each with a
// recorder, so that nothing blocks on a dialog and nothing exits the test run.
#pragma once

#include <functional>
#include <string>

namespace platform {

// A modal message with an OK button and the application's title (ANSI text).
void ShowMessage(const std::string& text);

// A modal yes/no question; true for yes.
bool AskYesNo(const std::string& text);

// The program's deliberate end after a fatal fault. Never returns.
[[noreturn]] void EndProgram(int code);

// Lets pending window events run (the program waits on the network this way).
void PumpEvents();

// Writes a fault the program survived to the debug log (by default to stderr).
void LogError(const std::string& text);

using MessageHandler = std::function<void(const std::string&)>;
using QuestionHandler = std::function<bool(const std::string&)>;
// The end handler of a test throws, so that the caller's code stops as the program would.
using EndHandler = std::function<void(int)>;

using ErrorLogger = std::function<void(const std::string&)>;

// Each returns the handler it replaced; an empty handler restores the default.
MessageHandler SetMessageHandler(MessageHandler handler);
ErrorLogger SetErrorLogger(ErrorLogger logger);
QuestionHandler SetQuestionHandler(QuestionHandler handler);
EndHandler SetEndHandler(EndHandler handler);

} // namespace platform
