// The INI engine on any file: values read are at most 254 characters, a key written reads back,
// and a write (plain or inside a write scope) leaves the cache as a fresh parse of the file.
#include "FuzzSupport.h"

#include <map>

namespace {

const std::string kFile = "f.ini";

// Every section name a header of the file gives (at most a few), and two that may be missing.
std::vector<std::string> SectionsOf(const std::string& text) {
    std::vector<std::string> names{"GAME", "Fuzz Section"};
    for (std::size_t start = 0; start < text.size() && names.size() < 8;) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const std::size_t open = line.find('['), close = line.find(']');
        if (open != std::string::npos && close != std::string::npos && open < close)
            names.push_back(line.substr(open + 1, close - open - 1));
        start = end + 1;
    }
    return names;
}

using Snapshot = std::map<std::string, std::vector<std::pair<std::string, std::string>>>;

Snapshot Read(const std::vector<std::string>& sections) {
    // One look at the file for all the keys: a file written a moment ago is otherwise read again
    // for every key.
    platform::IniReadScope scope;
    Snapshot snapshot;
    for (const std::string& section : sections) {
        auto& values = snapshot[section];
        // A section may be listed twice: its keys are then taken twice.
        const std::size_t first = values.size();
        for (const std::string& key : platform::IniKeys(kFile, section)) {
            const std::string value = platform::IniRead(kFile, section, key);
            fuzzsupport::Check(value.size() <= 254, "a value is at most 254 characters");
            values.emplace_back(key, value);
            if (values.size() >= 64) break;
        }
        // A section read at once gives what its keys read one by one give, in the same order (a key
        // holding a NUL byte cannot be asked for by name: only its place is compared).
        const auto whole = platform::IniSection(kFile, section);
        fuzzsupport::Check(whole.size() >= values.size() - first, "a section read at once has every key");
        for (std::size_t n = first; n < values.size() && n - first < whole.size(); ++n) {
            const auto& [key, value] = whole[n - first];
            fuzzsupport::Check(key == values[n].first, "a section read at once lists its keys in order");
            if (key.find('\0') == std::string::npos)
                fuzzsupport::Check(value == values[n].second,
                                   "a section read at once gives each key's value");
        }
    }
    return snapshot;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::Start(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    fuzzsupport::WriteFile(kFile, text);
    platform::IniClearCache();
    const auto sections = SectionsOf(text);
    Read(sections);

    // Writes to the first sections: the value reads back at once and after a fresh parse.
    const bool scoped = size % 2 == 1;
    {
        std::optional<platform::IniWriteScope> scope;
        if (scoped) scope.emplace();
        for (std::size_t i = 0; i < sections.size() && i < 4; ++i) {
            for (const char* key : {"fuzzkey", "NEWKEY"}) {
                if (platform::IniWrite(kFile, sections[i], key, "v" + std::to_string(i)))
                    fuzzsupport::Check(platform::IniRead(kFile, sections[i], key) == "v" + std::to_string(i),
                                       "a written key reads back");
            }
        }
        const auto keys = platform::IniKeys(kFile, sections.back());
        if (!keys.empty()) platform::IniWrite(kFile, sections.back(), keys.front(), "changed");
    }
    const Snapshot cached = Read(sections);
    platform::IniClearCache();
    fuzzsupport::Check(Read(sections) == cached, "the cache agrees with the file written");
    return 0;
}
