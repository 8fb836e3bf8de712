#include "TestSupport.h"

#include "common/FaultMessages.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Seams.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace testsupport {

void InstallQuietSeams() {
    platform::SetMessageHandler([](const std::string&) {});
    platform::SetQuestionHandler([](const std::string&) { return false; });
    platform::SetEndHandler([](int code) { throw ProgramEnded{code}; });
    // Nothing waits for a person: a modal form is hidden at once, a pop-up menu or chooser is
    // dismissed, and no viewer is started.
    platform::SetModalHandler([](platform::Form&) {});
    platform::SetPopupHandler([](const platform::Menu&) { return std::string(); });
    platform::SetInputHandler([](const std::string&, const std::string&) { return std::nullopt; });
    platform::SetFileHandler([](bool, const platform::FileRequest&) { return std::nullopt; });
    platform::SetColourHandler([](platform::Colour) { return std::nullopt; });
    platform::SetDocumentHandler([](const std::string&) { return false; });
}

MessageRecorder::MessageRecorder() {
    // Each recording starts as a new game does: every fault may show its message again.
    ForgetShownFaults();
    platform::SetMessageHandler([this](const std::string& text) { messages_.push_back(text); });
}

MessageRecorder::~MessageRecorder() {
    platform::SetMessageHandler([](const std::string&) {});
}

QuestionScript::QuestionScript(std::vector<bool> answers) : answers_(std::move(answers)) {
    platform::SetQuestionHandler([this](const std::string& text) {
        questions_.push_back(text);
        if (questions_.size() > answers_.size()) return false;
        return static_cast<bool>(answers_[questions_.size() - 1]);
    });
}

QuestionScript::~QuestionScript() {
    platform::SetQuestionHandler([](const std::string&) { return false; });
}

TempProgramFolder::TempProgramFolder() {
    std::random_device rd;
    std::ostringstream name;
    name << "karvel-test-" << std::hex << rd() << rd();
    fs::path p = fs::temp_directory_path() / name.str();
    fs::create_directories(p);
    path_ = fs::canonical(p).string();
    platform::SetProgramFolder(path_);
    platform::IniClearCache();
}

TempProgramFolder::~TempProgramFolder() {
    platform::SetProgramFolder("");
    platform::IniClearCache();
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void TempProgramFolder::Write(const std::string& relative, const std::string& bytes) const {
    fs::path p = fs::path(path_) / relative;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempProgramFolder::Read(const std::string& relative) const {
    std::ifstream in(fs::path(path_) / relative, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void TempProgramFolder::CopyIn(const std::string& source, const std::string& relativeTarget) const {
    fs::path from = fs::path(source).is_absolute() ? fs::path(source) : fs::path(FixturePath(source));
    fs::path to = fs::path(path_) / relativeTarget;
    fs::create_directories(fs::is_directory(from) ? to : to.parent_path());
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::string FixturePath(const std::string& name) {
    return std::string(KARVEL_FIXTURES) + "/" + name;
}

} // namespace testsupport
