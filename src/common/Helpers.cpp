#include "common/Helpers.h"

#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Ini.h"

#include <string_view>

std::string GetIni(const std::string& section, const std::string& key, const std::string& file) {
    return platform::IniRead(file, section, key);
}

std::int16_t WriteIni(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& file) {
    return platform::IniWrite(file, section, key, value) ? 1 : 0;
}

namespace {

// Walks the fields of a text the way GetField cuts field n, for n = 1, 2, ... in one pass, so
// that taking every field of a long list costs one pass over it instead of one per field.
// `visit(i, field, onward)` returns true to stop; with `onward` every later field reads the same.
// The fields are views: a card line is cut into five fields, hundreds of times per definition.
template <typename Visit>
void WalkFields(const std::string& text, const std::string& sep, int last, Visit visit) {
    if (sep.size() == 1) {
        // The usual one-character separator: the text's end is the last field's end, with no copy
        // of the text to put a separator there.
        const std::string_view rest = text;
        std::size_t pos = 0;
        for (int i = 1; i <= last; ++i) {
            const auto found = rest.find(sep[0], pos);
            const std::size_t at = found == std::string_view::npos ? rest.size() : found;
            if (visit(i, rest.substr(pos, at - pos), false)) return;
            if (at == rest.size()) {
                if (i < last) visit(i + 1, std::string_view(), true);
                return;
            }
            pos = at + 1;
        }
        return;
    }
    // A longer separator may also be found across the end of the text and the one put after it.
    const std::string joined = text + sep;
    const std::string_view rest = joined;
    std::size_t pos = 0;
    for (int i = 1; i <= last; ++i) {
        const auto at = rest.find(sep, pos);
        if (at == std::string_view::npos) {
            // Only a separator longer than one character gets here, with nothing left.
            visit(i, rest.substr(pos), true);
            return;
        }
        if (visit(i, rest.substr(pos, at - pos), false)) return;
        // A separator at the very end of what is left means there is no further field.
        if (at == rest.size() - 1) {
            if (i < last) visit(i + 1, std::string_view(), true);
            return;
        }
        pos = at + sep.size();
    }
}

} // namespace

std::string GetField(const std::string& text, int n, const std::string& separator) {
    std::string field;
    if (n < 1) return field;
    WalkFields(text, separator.empty() ? "," : separator, n, [&](int i, std::string_view f, bool onward) {
        if (i != n && !onward) return false;
        field = f;
        return true;
    });
    return field;
}

std::vector<std::string> GetFields(const std::string& text, int n, const std::string& separator) {
    std::vector<std::string> fields(static_cast<std::size_t>(std::max(n, 0)));
    if (n < 1) return fields;
    WalkFields(text, separator.empty() ? "," : separator, n, [&](int i, std::string_view f, bool onward) {
        // A field that reads the same onward fills every later place too.
        for (int k = i; k <= (onward ? n : i); ++k)
            fields[static_cast<std::size_t>(k - 1)] = f;
        return onward;
    });
    return fields;
}

std::int16_t CountFields(const std::string& text, const std::string& separator) {
    if (text.empty() || separator.empty()) return 1;
    long long count = 1;
    for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, at + 1))
        ++count;
    return ClampToInt16(count);
}

std::int16_t FieldIndexOf(const std::string& item, const std::string& list, const std::string& separator) {
    const int count = CountFields(list, separator);
    const std::string wanted = platform::AnsiLower(item);
    int found = 0;
    WalkFields(list, separator.empty() ? "," : separator, count, [&](int i, std::string_view field, bool) {
        if (platform::AnsiLower(std::string(field)) == wanted) found = i;
        return found != 0;
    });
    return static_cast<std::int16_t>(found);
}

bool FileExists(const std::string& path) {
    return platform::IsRegularFile(path);
}

std::string PathDirectory(const std::string& path) {
    if (path.empty()) return "";
    auto at = path.rfind('\\');
    if (at == std::string::npos) return path.substr(0, 1);
    return path.substr(0, at + 1);
}

std::string PathFileName(const std::string& path) {
    auto at = path.rfind('\\');
    return at == std::string::npos ? path : path.substr(at + 1);
}

bool IsPlainRelativePath(const std::string& path) {
    if (path.empty()) return true;
    if (path[0] == '\\' || path[0] == '/' || path.find(':') != std::string::npos) return false;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos) end = path.size();
        if (path.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return true;
}

std::string ShownPath(const std::string& path) {
    const std::string folder = platform::ProgramFolder();
    const char separator =
        folder.find('/') != std::string::npos && folder.find('\\') == std::string::npos ? '/' : '\\';
    std::string shown = path;
    for (char& c : shown)
        if (c == '\\' || c == '/') c = separator;
    return shown;
}

std::string StripBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
