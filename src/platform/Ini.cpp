#include "platform/Ini.h"

#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Seams.h"

#include <algorithm>
#include <chrono>
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
    // The file changed too close to the moment it was read for its time to tell a later change
    // of the same size apart: its bytes are compared on every look until it has aged.
    bool racy = false;
    std::string bytes; // kept only while racy
};

// File systems keep modification times in steps (two seconds on some, a clock tick on others):
// a rewrite of the same size within one step leaves time and size as they were.
constexpr auto kTimeStep = std::chrono::seconds(2);

std::unordered_map<std::string, Parsed> g_cache;

// Inside a read scope: the files already checked, by the path the caller gave. Entries of an
// unordered_map keep their address, so the pointers stay valid until the cache is cleared.
struct Pinned {
    Parsed* parsed;
    std::string native;
};
int g_scopeDepth = 0;
std::unordered_map<std::string, Pinned> g_pinned;

// Inside a write scope: the files with writes not yet on disk, by real name, with the path the
// first write gave (the name the final write goes through).
int g_writeDepth = 0;
std::unordered_map<std::string, std::string> g_pending;

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

// Records when the file was seen as it is now; a time within one step of that moment does not
// prove that a later look at the same time and size sees the same bytes.
void Stamp(Parsed& p, fs::file_time_type mtime, std::string bytes) {
    p.exists = true;
    p.mtime = mtime;
    p.size = bytes.size();
    p.racy = fs::file_time_type::clock::now() - mtime < kTimeStep;
    p.bytes = p.racy ? std::move(bytes) : std::string();
}

Parsed* LoadFromDisk(const std::string& file, std::string& native) {
    auto resolved = ResolvePath(file);
    if (!resolved) return nullptr;
    native = *resolved;
    Parsed& p = g_cache[native];
    if (g_pending.contains(native)) return &p; // holds writes the disk has not seen yet
    std::error_code ec;
    auto status = fs::status(native, ec);
    if (ec || !fs::is_regular_file(status)) {
        p = Parsed{};
        return &p;
    }
    auto mtime = fs::last_write_time(native, ec);
    auto size = fs::file_size(native, ec);
    const bool same = p.exists && p.mtime == mtime && p.size == size;
    if (same && !p.racy) return &p;
    auto bytes = ReadFileBytes(file);
    if (same && bytes && *bytes == p.bytes) {
        Stamp(p, mtime, std::move(*bytes)); // unchanged; it may have aged past the step meanwhile
        return &p;
    }
    p = Parsed{};
    if (!bytes) {
        p.unreadable = true;
        return &p;
    }
    ParseBytes(p, *bytes);
    Stamp(p, mtime, std::move(*bytes));
    return &p;
}

std::string UpToNul(const std::string& s) {
    return s.substr(0, s.find('\0'));
}

// A name as the profile functions see it: a C string ends at its first NUL byte.
std::string_view NameUpToNul(const std::string& s) {
    return std::string_view(s).substr(0, s.find('\0'));
}

bool HasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

std::string Unquote(std::string v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// Changes one key of a parse and keeps its index as Index would build it, without walking the
// whole file: a write scope sets hundreds of keys in a row.
void SetKey(Parsed& p, const std::string& sec, const std::string& k, const std::string& value) {
    auto s = p.index.find(sec);
    if (s == p.index.end()) {
        // A new section goes at the end of the file, after a blank line when the file has text.
        if (!p.lines.empty()) {
            p.lines.back().ended = true;
            if (!Trim(p.lines.back().text).empty()) p.lines.push_back(Line{"", true});
        }
        Section added{p.lines.size(), p.lines.size() + 1, {}, {k}};
        added.keys.emplace(k, p.lines.size() + 1);
        p.lines.push_back(Line{"[" + sec + "]", true});
        p.lines.push_back(Line{k + "=" + value, true});
        p.sections.push_back(std::move(added));
        p.index.emplace(sec, p.sections.size() - 1);
        return;
    }
    Section& found = p.sections[s->second];
    if (auto line = found.keys.find(k); line != found.keys.end()) {
        std::string name, old;
        KeyOf(p.lines[line->second].text, name, old);
        p.lines[line->second].text = name + "=" + value;
        return;
    }
    // After the section's last line of text, so that blank lines between sections stay.
    const std::size_t at = found.lastLine + 1;
    p.lines[found.lastLine].ended = true;
    p.lines.insert(p.lines.begin() + static_cast<std::ptrdiff_t>(at), Line{k + "=" + value, true});
    found.lastLine = at;
    found.keys.emplace(k, at);
    found.order.push_back(k);
    // The sections below moved down by the inserted line.
    for (std::size_t i = s->second + 1; i < p.sections.size(); ++i) {
        Section& later = p.sections[i];
        ++later.header;
        ++later.lastLine;
        for (auto& entry : later.keys)
            ++entry.second;
    }
}

std::string Serialize(const Parsed& p) {
    std::string bytes;
    for (const Line& l : p.lines) {
        bytes += l.text;
        if (l.ended) bytes += p.eol;
    }
    return bytes;
}

// Replaces the file with the parse and keeps the parse as the cached state of the file.
bool WriteParsed(const std::string& file, const std::string& native, Parsed next) {
    std::string bytes = Serialize(next);
    if (!WriteFileAtomic(file, bytes)) return false;
    std::error_code ec;
    Stamp(next, fs::last_write_time(native, ec), std::move(bytes));
    g_cache[native] = std::move(next);
    return true;
}

} // namespace

std::string IniRead(const std::string& file, const std::string& section, const std::string& key) {
    std::string native;
    Parsed* p = Load(file, native);
    if (!p || !p->exists) return "";
    auto s = p->index.find(TrimView(NameUpToNul(section)));
    if (s == p->index.end()) return "";
    const Section& sec = p->sections[s->second];
    auto k = sec.keys.find(TrimView(NameUpToNul(key)));
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
    auto s = p->index.find(TrimView(NameUpToNul(section)));
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
    if (g_writeDepth > 0) {
        SetKey(*p, sec, k, value);
        p->exists = true;
        g_pending.emplace(native, file);
        return true;
    }
    Parsed next = *p;
    SetKey(next, sec, k, value);
    return WriteParsed(file, native, std::move(next));
}

void IniClearCache() {
    g_pinned.clear();
    // Writes not yet on disk are kept: dropping them would lose them.
    std::erase_if(g_cache, [](const auto& entry) { return !g_pending.contains(entry.first); });
}

IniReadScope::IniReadScope() {
    ++g_scopeDepth;
}

IniReadScope::~IniReadScope() {
    if (--g_scopeDepth == 0) g_pinned.clear();
}

// A write scope is a read scope as well: hundreds of writes to one file then find it by the
// caller's path instead of resolving the path on disk for each.
IniWriteScope::IniWriteScope() {
    ++g_writeDepth;
    ++g_scopeDepth;
}

IniWriteScope::~IniWriteScope() {
    if (--g_writeDepth == 0) Commit();
    if (--g_scopeDepth == 0) g_pinned.clear();
}

bool IniWriteScope::Commit() {
    bool written = true;
    auto pending = std::move(g_pending);
    g_pending.clear();
    for (const auto& entry : pending) {
        const std::string& native = entry.first;
        const std::string& file = entry.second;
        Parsed next = std::move(g_cache[native]);
        if (!WriteParsed(file, native, std::move(next))) {
            // The old file stays; what was not written must not be read back as if it had been.
            g_cache.erase(native);
            std::erase_if(g_pinned, [&](const auto& pinned) { return pinned.second.native == native; });
            ShowMessage("The file " + file + " could not be written.");
            written = false;
        }
    }
    return written;
}

} // namespace platform
