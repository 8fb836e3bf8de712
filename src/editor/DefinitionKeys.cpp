#include "editor/DefinitionKeys.h"

#include "common/Helpers.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Ini.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace wizard {

std::string GameFilePath(const std::string& gameName) {
    return platform::ProgramFolder() + "\\" + gameName + ".game";
}

std::string GameNameRefusal(const std::string& gameName) {
    if (gameName.find_first_of("\\/:*?\"<>|") != std::string::npos || gameName.rfind('.', 0) == 0)
        return "The game name \"" + gameName +
               "\" cannot be used as a file name: it may not hold \\ / : * ? \" < > | nor begin with a \".\"";
    return "";
}

std::string DescriptionFromValue(const std::string& value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == 'n') {
            text += "\r\n";
            ++i;
        } else {
            text += value[i];
        }
    }
    return text;
}

std::string ValueFromDescription(const std::string& text) {
    std::string value;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            value += "\\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            value += "\\n";
        } else {
            value += text[i];
        }
    }
    return value;
}

int EntryCopies(const std::string& entry) {
    if (entry.rfind("(x", 0) != 0) return 1;
    const auto close = entry.find(')');
    const double copies =
        std::floor(LeadingNumber(entry.substr(2, close == std::string::npos ? 0 : close - 2)));
    if (!(copies >= 1)) return 1;
    return copies > kMaxCards + 1 ? kMaxCards + 1 : static_cast<int>(copies);
}

std::string EntryImage(const std::string& entry) {
    if (entry.rfind("(x", 0) != 0) return entry;
    const auto close = entry.find(')');
    if (close == std::string::npos) return entry;
    return StripBlanks(entry.substr(close + 1));
}

std::string JoinCardFields(std::vector<std::string> fields) {
    while (fields.size() > 1 && fields.back().empty())
        fields.pop_back();
    std::size_t size = fields.size();
    for (const std::string& field : fields)
        size += field.size();
    std::string line;
    line.reserve(size);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) line += ',';
        line += fields[i];
    }
    return line;
}

std::vector<std::string> SplitAll(const std::string& text, const std::string& separator) {
    if (separator.size() != 1) return GetFields(text, CountFields(text, separator), separator);
    // The usual one-character separator, cut in one pass (a deck saves hundreds of card lines)
    // into as many fields as CountFields counts.
    constexpr std::size_t kMostFields = std::numeric_limits<std::int16_t>::max();
    std::vector<std::string> fields;
    fields.reserve(
        std::min<std::size_t>(std::count(text.begin(), text.end(), separator[0]) + 1, kMostFields));
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size() && fields.size() < kMostFields; ++i)
        if (i == text.size() || text[i] == separator[0]) {
            fields.emplace_back(text, start, i - start);
            start = i + 1;
        }
    return fields;
}

std::vector<std::string> SplitCardFields(const std::string& line) {
    std::vector<std::string> fields = SplitAll(line, ",");
    if (fields.size() < 5) fields.resize(5);
    return fields;
}

std::string KeyWriter::Id(const std::string& section, const std::string& key) {
    return platform::AnsiUpper(section) + "\n" + platform::AnsiUpper(key);
}

void KeyWriter::Remember(const std::string& file, const std::vector<KeyValue>& shown) {
    std::vector<std::string> ids;
    ids.reserve(shown.size());
    for (const KeyValue& kv : shown)
        ids.push_back(Id(kv.section, kv.key));
    Remember(file, shown, std::move(ids));
}

void KeyWriter::Remember(const std::string& file, const std::vector<KeyValue>& shown,
                         std::vector<std::string> ids) {
    if (file != file_) Forget();
    file_ = file;
    for (std::size_t i = 0; i < shown.size(); ++i)
        shown_[std::move(ids[i])] = shown[i].value;
}

void KeyWriter::Forget() {
    file_.clear();
    shown_.clear();
}

void KeyWriter::Forget(const std::string& section, const std::string& key) {
    shown_.erase(Id(section, key));
}

bool KeyWriter::Unchanged(const std::string& file, const KeyValue& kv) const {
    KeyNames names;
    return Unchanged(file, kv, Id(kv.section, kv.key), names);
}

bool KeyWriter::Unchanged(const std::string& file, const KeyValue& kv, const std::string& id,
                          KeyNames& names) const {
    if (file == file_) {
        auto it = shown_.find(id);
        if (it != shown_.end() && it->second == kv.value) return true;
    }
    // A value longer than a read gives back cannot be compared: it is written.
    if (kv.value.size() > kMaxValueLength) return false;
    // The id holds both names upper-cased, cut by a line break (which no name holds).
    const std::size_t cut = id.find('\n');
    const std::string section = id.substr(0, cut);
    auto found = names.find(section);
    if (found == names.end()) {
        std::unordered_set<std::string> keys;
        for (const std::string& key : platform::IniKeys(file, kv.section))
            keys.insert(platform::AnsiUpper(key));
        found = names.emplace(section, std::move(keys)).first;
    }
    return found->second.count(id.substr(cut + 1)) && GetIni(kv.section, kv.key, file) == kv.value;
}

bool KeyWriter::Write(const std::string& file, const std::vector<KeyValue>& keys) {
    bool written = true;
    KeyNames names;
    // Each key's name is made once, for the comparison and for remembering what was written.
    std::vector<std::string> ids;
    ids.reserve(keys.size());
    for (const KeyValue& kv : keys) {
        ids.push_back(Id(kv.section, kv.key));
        if (Unchanged(file, kv, ids.back(), names)) continue;
        if (!WriteIni(kv.section, kv.key, kv.value, file)) written = false;
    }
    if (written) Remember(file, keys, std::move(ids));
    return written;
}

} // namespace wizard
