// Only the platform folder sees Qt, and inside it only its private headers and sources do: the
// engine's code builds against the platform's plain headers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path SourceRoot() {
    return fs::path(KARVEL_FIXTURES).parent_path().parent_path();
}

// The private headers of the platform: the Qt side of its units.
bool IsPrivatePlatformHeader(const std::string& name) {
    return name.rfind("Qt", 0) == 0 || name == "NativeWidget.h";
}

std::vector<std::string> QtIncludes(const fs::path& file) {
    static const std::regex include(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
    static const std::regex qt(
        R"(^(Qt[A-Za-z]*/)?Q[A-Za-z]+(\.h)?$|^platform/(Qt[A-Za-z]*|NativeWidget)\.h$)");
    std::vector<std::string> found;
    std::ifstream in(file);
    std::string line;
    std::smatch m;
    while (std::getline(in, line))
        if (std::regex_search(line, m, include) && std::regex_match(m[1].str(), qt))
            found.push_back(m[1].str());
    return found;
}

} // namespace

TEST(IncludeCheck, NoQtOutsideThePlatformsPrivateSide) {
    const fs::path root = SourceRoot();
    ASSERT_TRUE(fs::exists(root / "src" / "platform"));
    int checked = 0;
    for (const char* top : {"src", "tests", "bench"}) {
        if (!fs::exists(root / top)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const fs::path& file = entry.path();
            if (file.extension() != ".h" && file.extension() != ".cpp") continue;
            const bool inPlatform = file.parent_path() == root / "src" / "platform";
            // Platform sources may use Qt; its plain headers, which the engine includes, may not.
            if (inPlatform &&
                (file.extension() == ".cpp" || IsPrivatePlatformHeader(file.filename().string())))
                continue;
            ++checked;
            for (const std::string& name : QtIncludes(file))
                ADD_FAILURE() << fs::relative(file, root).string() << " includes " << name;
        }
    }
    EXPECT_GT(checked, 20);
}
