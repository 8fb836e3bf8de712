// Path resolution and folder listings on any path: nothing resolves outside the program folder,
// and a name always matches itself as a pattern. Input: path, then a pattern after a newline.
#include "FuzzSupport.h"

#include "platform/Codec.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::Start(false);
    fuzzsupport::WriteFile("a.game", "[GAME]\n");
    fuzzsupport::WriteFile("Cards/Ace.bmp", "BM");
    fuzzsupport::WriteFile("save/one.save", "x");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzzsupport::Split(data, size, "\n", 2);
    const std::string& path = parts[0];
    const std::string pattern = parts.size() > 1 ? parts[1] : "*";
    const std::string root = fuzzsupport::Folder().string();

    if (auto resolved = platform::ResolvePath(path)) {
        fuzzsupport::Check(resolved->find('\0') == std::string::npos, "no NUL in a resolved name");
        fuzzsupport::Check(*resolved == root || resolved->starts_with(root + "/"),
                           "inside the program folder");
        fuzzsupport::Check(resolved->find("/../") == std::string::npos && !resolved->ends_with("/.."),
                           "no parent step");
    }
    platform::IsRegularFile(path);
    platform::ReadFileBytes(path);
    for (const std::string& name : platform::ListFiles(path, pattern))
        fuzzsupport::Check(platform::WildcardMatch(pattern, name), "a listed name matches the pattern");
    fuzzsupport::Check(platform::WildcardMatch(path, path), "a name matches itself");
    fuzzsupport::Check(platform::WildcardMatch("*", path), "a star matches anything");
    fuzzsupport::Check(platform::WildcardMatch(pattern, path) ==
                           platform::WildcardMatch(platform::AnsiLower(pattern), platform::AnsiUpper(path)),
                       "case does not matter");
    return 0;
}
