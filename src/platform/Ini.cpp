#include "platform/Ini.h"

#include "platform/Codec.h"
#include "platform/Files.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <unordered_map>

namespace fs = std::filesystem;

namespace platform {
namespace {

constexpr std::size_t kMaxValue = 254;

std::string_view TrimView(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.substr(b, e - b);
}

std::string Trim(const std::string& s) {
    return std::string(TrimView(s));
}

// Names of sections and keys are matched without regard to case. The maps hash and compare
// them folded to upper case as they go, so that a look-up neither folds nor copies the name.
struct FoldedBytes {
    unsigned char upper[256];
    FoldedBytes() {
        for (int c = 0; c < 256; ++c)
            upper[c] = static_cast<unsigned char>(AnsiUpper(std::string(1, static_cast<char>(c)))[0]);
    }
};
const unsigned char* Upper() {
    static const FoldedBytes folded;
    return folded.upper;
}

struct NoCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const {
        const unsigned char* upper = Upper();
        std::size_t h = 14695981039346656037ull;
        for (char c : s)
            h = (h ^ upper[static_cast<unsigned char>(c)]) * 1099511628211ull;
        return h;
    }
};

struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        if (a.size() != b.size()) return false;
        const unsigned char* upper = Upper();
        for (std::size_t i = 0; i < a.size(); ++i)
            if (upper[static_cast<unsigned char>(a[i])] != upper[static_cast<unsigned char>(b[i])])
                return false;
        return true;
    }
};

template <typename Value> using NoCaseMap = std::unordered_map<std::string, Value, NoCaseHash, NoCaseEqual>;

struct Line {
    std::string text;  // without its line ending
    bool ended = true; // the line had a line ending in the file
};

struct Section {
    std::size_t header = 0;         // line index of the header, npos for keys before any header
    std::size_t lastLine = 0;       // last line that belongs to the section
    NoCaseMap<std::size_t> keys;    // key -> first line
    std::vector<std::string> order; // key spellings in file order
};

struct Parsed {
    std::vector<Line> lines;
    std::string eol = "\r\n";
    std::vector<Section> sections;
    NoCaseMap<std::size_t> index; // section name -> first section
    fs::file_time_type mtime{};
    std::uintmax_t size = 0;
    bool exists = false;
    bool unreadable = false; // on disk but could not be read: never rewritten from nothing
};

std::unordered_map<std::string, Parsed> g_cache;

// Inside a read scope: the files already checked, by the path the caller gave. Entries of an
// unordered_map keep their address, so the pointers stay valid until the cache is cleared.
struct Pinned {
    Parsed* parsed;
    std::string native;
};
int g_scopeDepth = 0;
std::unordered_map<std::string, Pinned> g_pinned;

// A section header: "[name]" after optional blanks; the name is trimmed.
bool SectionName(std::string_view line, std::string_view& name) {
    const std::string_view t = TrimView(line);
    if (t.size() < 2 || t[0] != '[') return false;
    auto close = t.find(']');
    if (close == std::string_view::npos) return false;
    name = TrimView(t.substr(1, close - 1));
    return true;
}

bool KeyOf(const std::string& line, std::string& key, std::string& value) {
    auto eq = line.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(line.substr(0, eq));
    value = line.substr(eq + 1);
    return true;
}

// Works on views of the lines: a definition has thousands of them, and the index keeps only
// the names.
void Index(Parsed& p) {
    p.sections.clear();
    p.index.clear();
    Section* cur = nullptr;
    for (std::size_t i = 0; i < p.lines.size(); ++i) {
        std::string_view text = p.lines[i].text, name;
        // An editor that saved the file as UTF-8 may have put a byte order mark before the first
        // header; without this the first section would not be found.
        if (i == 0 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        if (SectionName(text, name)) {
            p.sections.push_back(Section{i, i, {}, {}});
            p.index.emplace(name, p.sections.size() - 1);
            cur = &p.sections.back();
        } else if (cur) {
            if (!TrimView(text).empty()) cur->lastLine = i;
            const auto eq = text.find('=');
            if (eq == std::string_view::npos) continue;
            const std::string_view key = TrimView(text.substr(0, eq));
            if (!key.empty() && key[0] != ';' && cur->keys.emplace(key, i).second)
                cur->order.emplace_back(key);
        }
    }
}

void ParseBytes(Parsed& p, const std::string& bytes) {
    p.lines.clear();
    p.lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    p.eol = "\r\n";
    bool eolSeen = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto nl = bytes.find('\n', start);
        if (nl == std::string::npos) {
            p.lines.push_back(Line{bytes.substr(start), false});
            break;
        }
        std::size_t end = nl;
        bool crlf = end > start && bytes[end - 1] == '\r';
        if (!eolSeen) {
            p.eol = crlf ? "\r\n" : "\n";
            eolSeen = true;
        }
        if (crlf) --end;
        p.lines.push_back(Line{bytes.substr(start, end - start), true});
        start = nl + 1;
    }
    Index(p);
}

Parsed* LoadFromDisk(const std::string& file, std::string& native);

// The parsed file, read again only when its time or size changed.
Parsed* Load(const std::string& file, std::string& native) {
    if (g_scopeDepth == 0) return LoadFromDisk(file, native);
    if (auto pinned = g_pinned.find(file); pinned != g_pinned.end()) {
        native = pinned->second.native;
        return pinned->second.parsed;
    }
    Parsed* parsed = LoadFromDisk(file, native);
    if (parsed) g_pinned.emplace(file, Pinned{parsed, native});
    return parsed;
}

Parsed* LoadFromDisk(const std::string& file, std::string& native) {
    auto resolved = ResolvePath(file);
    if (!resolved) return nullptr;
    native = *resolved;
    std::error_code ec;
    auto status = fs::status(native, ec);
    Parsed& p = g_cache[native];
    if (ec || !fs::is_regular_file(status)) {
        p = Parsed{};
        return &p;
    }
    auto mtime = fs::last_write_time(native, ec);
    auto size = fs::file_size(native, ec);
    if (p.exists && p.mtime == mtime && p.size == size) return &p;
    auto bytes = ReadFileBytes(file);
    p = Parsed{};
    if (!bytes) {
        p.unreadable = true;
        return &p;
    }
    ParseBytes(p, *bytes);
    p.exists = true;
    p.mtime = mtime;
    p.size = size;
    return &p;
}

std::string UpToNul(const std::string& s) {
    return s.substr(0, s.find('\0'));
}

bool HasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

std::string Unquote(std::string v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

} // namespace

std::string IniRead(const std::string& file, const std::string& section, const std::string& key) {
    std::string native;
    Parsed* p = Load(file, native);
    if (!p || !p->exists) return "";
    auto s = p->index.find(TrimView(section));
    if (s == p->index.end()) return "";
    const Section& sec = p->sections[s->second];
    auto k = sec.keys.find(TrimView(key));
    if (k == sec.keys.end()) return "";
    const std::string_view line = p->lines[k->second].text;
    std::string_view value = line.substr(line.find('=') + 1);
    // The profile reader hands values over as C strings: a NUL byte ends the value.
    std::string text = Unquote(std::string(TrimView(value.substr(0, value.find('\0')))));
    if (text.size() > kMaxValue) text.resize(kMaxValue);
    return text;
}

std::vector<std::string> IniKeys(const std::string& file, const std::string& section) {
    std::string native;
    Parsed* p = Load(file, native);
    if (!p || !p->exists) return {};
    auto s = p->index.find(AnsiUpper(Trim(section)));
    if (s == p->index.end()) return {};
    return p->sections[s->second].order;
}

bool IniWrite(const std::string& file, const std::string& section, const std::string& key,
              const std::string& valueGiven) {
    std::string native;
    Parsed* p = Load(file, native);
    if (!p || p->unreadable) return false;
    // The profile writer takes C strings: whatever follows a NUL byte never reaches the file.
    const std::string sec = Trim(UpToNul(section)), k = Trim(UpToNul(key)), value = UpToNul(valueGiven);
    if (sec.empty() || k.empty()) return false;
    // A line break would start a line of its own, a "]" would end the header early and a "="
    // would move the split: the file would read back something else than was written.
    if (HasLineBreak(sec) || HasLineBreak(k) || HasLineBreak(value) || sec.find(']') != std::string::npos ||
        k.find('=') != std::string::npos || k[0] == ';' || k[0] == '[')
        return false;
    Parsed next = *p;
    auto s = next.index.find(AnsiUpper(sec));
    if (s == next.index.end()) {
        // A new section goes at the end of the file, after a blank line when the file has text.
        if (!next.lines.empty()) {
            next.lines.back().ended = true;
            if (!Trim(next.lines.back().text).empty()) next.lines.push_back(Line{"", true});
        }
        next.lines.push_back(Line{"[" + sec + "]", true});
        next.lines.push_back(Line{k + "=" + value, true});
    } else {
        const Section& found = next.sections[s->second];
        auto line = found.keys.find(AnsiUpper(k));
        if (line != found.keys.end()) {
            std::string name, old;
            KeyOf(next.lines[line->second].text, name, old);
            next.lines[line->second].text = name + "=" + value;
        } else {
            // After the section's last line of text, so that blank lines between sections stay.
            std::size_t at = found.lastLine + 1;
            next.lines[found.lastLine].ended = true;
            next.lines.insert(next.lines.begin() + static_cast<std::ptrdiff_t>(at),
                              Line{k + "=" + value, true});
        }
    }
    std::string bytes;
    for (const Line& l : next.lines) {
        bytes += l.text;
        if (l.ended) bytes += next.eol;
    }
    if (!WriteFileAtomic(file, bytes)) return false;
    Index(next);
    std::error_code ec;
    next.exists = true;
    next.mtime = fs::last_write_time(native, ec);
    next.size = bytes.size();
    g_cache[native] = std::move(next);
    return true;
}

void IniClearCache() {
    g_pinned.clear();
    g_cache.clear();
}

IniReadScope::IniReadScope() {
    ++g_scopeDepth;
}

IniReadScope::~IniReadScope() {
    if (--g_scopeDepth == 0) g_pinned.clear();
}

} // namespace platform
