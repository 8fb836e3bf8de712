// What the fuzz targets share: a program folder of the run's own, seams that neither block nor
// end the process, an application object for the drawing code, and a way to cut one input into
// the several texts a target needs.
#pragma once

#include "platform/Application.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Seams.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fuzzsupport {

// Thrown by the program's end, so that a fatal fault of the code under test ends one input only.
struct ProgramEnded {
    int code;
};

// A fresh program folder for the whole run, removed when the process ends normally. The path is
// never destroyed, so the removal at exit still knows it whatever order the exit runs in.
inline const std::filesystem::path& Folder() {
    static const std::filesystem::path* const folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "karvel-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("cannot make a temporary folder");
            std::abort();
        }
        return new std::filesystem::path(pattern);
    }();
    static const int removal = std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(*folder, ec);
    });
    (void)removal;
    return *folder;
}

// Writes a file below the folder (`relative` uses "/"), making its folders. The file is dated an
// hour back, as a game installed earlier is: a file changed a moment ago is read again on every
// look, which would leave the fuzzer a few inputs a second.
inline void WriteFile(const std::string& relative, const std::string& bytes) {
    const std::filesystem::path file = Folder() / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    std::error_code ec;
    std::filesystem::last_write_time(
        file, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1), ec);
}

// Once per process: the program folder, quiet seams and, for the targets that draw, Qt's
// application object on the offscreen platform.
inline void Start(bool withApplication) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::SetProgramFolder(Folder().string());
    platform::SetMessageHandler([](const std::string&) {});
    platform::SetQuestionHandler([](const std::string&) { return false; });
    platform::SetEndHandler([](int code) { throw ProgramEnded{code}; });
    if (withApplication) {
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        static platform::Application app(argc, argv, "Karvel");
    }
}

// The input cut at each occurrence of a separator, into at most `most` parts (the last part keeps
// the rest); at least one part.
inline std::vector<std::string> Split(const std::uint8_t* data, std::size_t size,
                                      const std::string& separator, std::size_t most) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (parts.size() + 1 < most) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string::npos) break;
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

// Stops the process on a broken promise, as a sanitizer would on a fault.
inline void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

} // namespace fuzzsupport
