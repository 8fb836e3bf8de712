// Starting the table engine where no window can be opened ends it with a message and exit code 1,
// not with a crash. Runs the built program when the build made it (scripts/test builds it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

struct Outcome {
    int exitCode = -1;
    std::string errors;
};

Outcome StartKarvel(const std::string& environment) {
    const std::string program = std::string(KARVEL_PROGRAM_DIR) + "/Karvel";
    const std::string errors = ::testing::TempDir() + "karvel-start-errors.txt";
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ASAN_OPTIONS=detect_leaks=0 " + environment +
        " timeout 60 '" + program + "' >/dev/null 2>'" + errors + "'";
    const int status = std::system(command.c_str());
    Outcome outcome;
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    std::ostringstream text;
    text << std::ifstream(errors).rdbuf();
    outcome.errors = text.str();
    return outcome;
}

TEST(KarvelStart, WithoutAUsableDisplayEndsWithAMessageInsteadOfACrash) {
    if (!std::filesystem::exists(std::string(KARVEL_PROGRAM_DIR) + "/Karvel"))
        GTEST_SKIP() << "Karvel is not built";
    struct Case {
        const char* environment;
        const char* message;
    } cases[] = {
        {"", "Karvel cannot start: no graphical display is available"},
        {"DISPLAY=:97", "Karvel cannot start: the display :97 cannot be reached"},
        {"DISPLAY=unix:97", "Karvel cannot start: the window system could not be opened."},
        {"WAYLAND_DISPLAY=karvel-test-none", "Karvel cannot start: the window system could not be opened."},
        {"QT_QPA_PLATFORM=no-such-platform", "Karvel cannot start: the window system could not be opened."},
    };
    for (const auto& c : cases) {
        const Outcome outcome = StartKarvel(c.environment);
        EXPECT_EQ(outcome.exitCode, 1) << c.environment << "\n" << outcome.errors;
        EXPECT_NE(outcome.errors.find(c.message), std::string::npos) << c.environment << "\n"
                                                                     << outcome.errors;
    }
}

} // namespace
