#include "platform/Ini.h"

#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Seams.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string_view>
#include <unordered_map>

#ifndef _WIN32
#include <sys/stat.h>
#endif

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

// Names of sections and keys are matched without regard to case, hashed and compared folded
// as they go, so that a look-up neither folds nor copies the name.
template <typename Value>
using NoCaseMap = std::unordered_map<std::string, Value, AnsiNoCaseHash, AnsiNoCaseEqual>;

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

// A line of the file as read: where it lies in the file's text.
struct Span {
    std::size_t start = 0;
    std::size_t length = 0;
    bool ended = true;
};

struct Parsed {
    // A file that is only read keeps its text and where each line lies in it; the first write
    // turns them into lines of their own. A definition of thousands of lines is read far more
    // often than written, and is then read without a copy of each line.
    bool edited = false;
    std::string text;        // while not edited
    std::vector<Span> spans; // while not edited
    std::vector<Line> lines; // once edited
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

std::size_t LineCount(const Parsed& p) {
    return p.edited ? p.lines.size() : p.spans.size();
}

std::string_view LineText(const Parsed& p, std::size_t i) {
    if (p.edited) return p.lines[i].text;
    return std::string_view(p.text).substr(p.spans[i].start, p.spans[i].length);
}

bool LineEnded(const Parsed& p, std::size_t i) {
    return p.edited ? p.lines[i].ended : p.spans[i].ended;
}

// Gives every line a text of its own, before a write changes lines.
void Edit(Parsed& p) {
    if (p.edited) return;
    p.lines.reserve(p.spans.size() + 2);
    for (std::size_t i = 0; i < p.spans.size(); ++i)
        p.lines.push_back(Line{std::string(LineText(p, i)), p.spans[i].ended});
    p.edited = true;
    p.text = std::string();
    p.spans = std::vector<Span>();
}

// Works on views of the lines: a definition has thousands of them, and the index keeps only
// the names.
void Index(Parsed& p) {
    p.sections.clear();
    p.index.clear();
    // The headers first, so that each section's key map is made at its size at once instead of
    // growing (and hashing its keys again) line by line.
    std::vector<std::size_t> headers;
    std::vector<std::string_view> names;
    for (std::size_t i = 0, count = LineCount(p); i < count; ++i) {
        std::string_view text = LineText(p, i), name;
        // An editor that saved the file as UTF-8 may have put a byte order mark before the first
        // header; without this the first section would not be found.
        if (i == 0 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        if (SectionName(text, name)) {
            headers.push_back(i);
            names.push_back(name);
        }
    }
    headers.push_back(LineCount(p));
    p.sections.reserve(names.size());
    p.index.reserve(names.size());
    for (std::size_t h = 0; h < names.size(); ++h) {
        p.sections.push_back(Section{headers[h], headers[h], {}, {}});
        p.index.emplace(names[h], p.sections.size() - 1);
        Section* cur = &p.sections.back();
        const std::size_t lines = headers[h + 1] - headers[h] - 1;
        cur->keys.reserve(lines);
        cur->order.reserve(lines);
        for (std::size_t i = headers[h] + 1; i < headers[h + 1]; ++i) {
            const std::string_view text = LineText(p, i);
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
    p.edited = false;
    p.lines.clear();
    p.text = bytes;
    p.spans.clear();
    p.spans.reserve(bytes.size() / 32 + 1); // a guess: lines of a definition are rarely shorter
    p.eol = "\r\n";
    bool eolSeen = false;
    std::size_t start = 0;
    const auto add = [&](std::size_t from, std::size_t length, bool ended) {
        p.spans.push_back(Span{from, length, ended});
    };
    while (start < bytes.size()) {
        auto nl = bytes.find('\n', start);
        if (nl == std::string::npos) {
            add(start, bytes.size() - start, false);
            break;
        }
        std::size_t end = nl;
        bool crlf = end > start && bytes[end - 1] == '\r';
        if (!eolSeen) {
            p.eol = crlf ? "\r\n" : "\n";
            eolSeen = true;
        }
        if (crlf) --end;
        add(start, end - start, true);
        start = nl + 1;
    }
    Index(p);
}

// The file looked up last in a read scope: a reader asks for thousands of keys of one file in a
// row, and comparing its name is cheaper than hashing it.
const std::pair<const std::string, Pinned>* g_lastPinned = nullptr;

void ForgetPinned() {
    g_lastPinned = nullptr;
    g_pinned.clear();
}

Parsed* LoadFromDisk(const std::string& file, std::string& native);

// The parsed file, read again only when its time or size changed. `native` (when asked for)
// receives the real file name.
Parsed* Load(const std::string& file, std::string* native = nullptr) {
    std::string real;
    if (g_scopeDepth == 0) return LoadFromDisk(file, native ? *native : real);
    auto pinned = g_lastPinned;
    if (!pinned || pinned->first != file) {
        auto found = g_pinned.find(file);
        if (found == g_pinned.end()) {
            Parsed* parsed = LoadFromDisk(file, real);
            if (!parsed) return nullptr;
            found = g_pinned.emplace(file, Pinned{parsed, std::move(real)}).first;
        }
        pinned = g_lastPinned = &*found;
    }
    if (native) *native = pinned->second.native;
    return pinned->second.parsed;
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

// Whether a file is a regular file, and its time and size: one look at the file where the
// system allows it, as every cached file is looked at each time it is first read in a scope.
bool RegularFileState(const std::string& native, fs::file_time_type& mtime, std::uintmax_t& size) {
#ifdef _WIN32
    std::error_code ec;
    if (!fs::is_regular_file(fs::status(native, ec)) || ec) return false;
    mtime = fs::last_write_time(native, ec);
    size = fs::file_size(native, ec);
    return true;
#else
    struct stat info;
    if (stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    using namespace std::chrono;
    const sys_time<nanoseconds> modified{seconds(info.st_mtim.tv_sec) + nanoseconds(info.st_mtim.tv_nsec)};
    mtime = file_clock::from_sys(modified);
    size = static_cast<std::uintmax_t>(info.st_size);
    return true;
#endif
}

Parsed* LoadFromDisk(const std::string& file, std::string& native) {
    auto resolved = ResolvePath(file);
    if (!resolved) return nullptr;
    native = *resolved;
    Parsed& p = g_cache[native];
    if (g_pending.contains(native)) return &p; // holds writes the disk has not seen yet
    fs::file_time_type mtime;
    std::uintmax_t size = 0;
    if (!RegularFileState(native, mtime, size)) {
        p = Parsed{};
        return &p;
    }
    const bool same = p.exists && p.mtime == mtime && p.size == size;
    if (same && !p.racy) return &p;
    auto bytes = ReadResolvedFileBytes(native); // resolved above
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

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// Changes one key of a parse and keeps its index as Index would build it, without walking the
// whole file: a write scope sets hundreds of keys in a row.
void SetKey(Parsed& p, const std::string& sec, const std::string& k, const std::string& value) {
    Edit(p);
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
    for (std::size_t i = 0, count = LineCount(p); i < count; ++i) {
        bytes += LineText(p, i);
        if (LineEnded(p, i)) bytes += p.eol;
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
    Parsed* p = Load(file);
    if (!p || !p->exists) return "";
    auto s = p->index.find(TrimView(NameUpToNul(section)));
    if (s == p->index.end()) return "";
    const Section& sec = p->sections[s->second];
    auto k = sec.keys.find(TrimView(NameUpToNul(key)));
    if (k == sec.keys.end()) return "";
    const std::string_view line = LineText(*p, k->second);
    std::string_view value = line.substr(line.find('=') + 1);
    // The profile reader hands values over as C strings: a NUL byte ends the value.
    const std::string_view text = Unquote(TrimView(value.substr(0, value.find('\0'))));
    return std::string(text.substr(0, kMaxValue));
}

std::vector<std::string> IniKeys(const std::string& file, const std::string& section) {
    Parsed* p = Load(file);
    if (!p || !p->exists) return {};
    auto s = p->index.find(TrimView(NameUpToNul(section)));
    if (s == p->index.end()) return {};
    return p->sections[s->second].order;
}

bool IniWrite(const std::string& file, const std::string& section, const std::string& key,
              const std::string& valueGiven) {
    std::string native;
    Parsed* p = Load(file, &native);
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
    ForgetPinned();
    // Writes not yet on disk are kept: dropping them would lose them.
    std::erase_if(g_cache, [](const auto& entry) { return !g_pending.contains(entry.first); });
}

IniReadScope::IniReadScope() {
    ++g_scopeDepth;
}

IniReadScope::~IniReadScope() {
    if (--g_scopeDepth == 0) ForgetPinned();
}

// A write scope is a read scope as well: hundreds of writes to one file then find it by the
// caller's path instead of resolving the path on disk for each.
IniWriteScope::IniWriteScope() {
    ++g_writeDepth;
    ++g_scopeDepth;
}

IniWriteScope::~IniWriteScope() {
    if (--g_writeDepth == 0) Commit();
    if (--g_scopeDepth == 0) ForgetPinned();
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
            g_lastPinned = nullptr;
            std::erase_if(g_pinned, [&](const auto& pinned) { return pinned.second.native == native; });
            ShowMessage("The file " + file + " could not be written.");
            written = false;
        }
    }
    return written;
}

} // namespace platform
