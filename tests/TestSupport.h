// Helpers shared by the test programs: recorders for the platform's seams and a temporary
// program folder.
#pragma once

#include "platform/Twips.h"

#include <ostream>
#include <string>
#include <vector>

namespace platform {
// A rectangle in a test's failure message: left,top widthxheight.
inline void PrintTo(const TwipRect& r, std::ostream* os) {
    *os << r.left << "," << r.top << " " << r.width << "x" << r.height;
}
} // namespace platform

namespace testsupport {

// Thrown by the recorded end of the program, so that the code under test stops there.
struct ProgramEnded {
    int code;
};

// Default seams for tests: messages go to stderr-free storage, questions answer no, the
// program's end throws ProgramEnded, and modal forms, pop-up menus and choosers never wait.
void InstallQuietSeams();

// Records every message shown while it lives.
class MessageRecorder {
  public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<std::string>& Messages() const { return messages_; }
    void Clear() { messages_.clear(); }

  private:
    std::vector<std::string> messages_;
};

// Answers yes/no questions from a script while it lives, recording the questions.
class QuestionScript {
  public:
    explicit QuestionScript(std::vector<bool> answers);
    ~QuestionScript();
    QuestionScript(const QuestionScript&) = delete;
    QuestionScript& operator=(const QuestionScript&) = delete;

    const std::vector<std::string>& Questions() const { return questions_; }

  private:
    std::vector<bool> answers_;
    std::vector<std::string> questions_;
};

// A fresh, empty program folder for one test; removed with everything in it afterwards.
class TempProgramFolder {
  public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    // The folder's path (UTF-8, equal to its ANSI form for our temporary names).
    const std::string& Path() const { return path_; }
    // Writes a file below the folder, creating its folders; `relative` uses "/".
    void Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;
    // Copies a file or folder of tests/fixtures (or any absolute path) into the folder.
    void CopyIn(const std::string& source, const std::string& relativeTarget) const;

  private:
    std::string path_;
};

// A file of tests/fixtures, whole.
std::string FixturePath(const std::string& name);

} // namespace testsupport
