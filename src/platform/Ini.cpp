#include "platform/Ini.h"

#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Seams.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <unordered_map>

namespace fs = std::filesystem;

namespace platform {
namespace {

constexpr std::size_t kMaxValue = 254;

inline std::string_view TrimView(std::string_view s) {
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

// A name in the file (a section's in its header, a key's in its line): where it lies in its
// line and its hash folded as AnsiNoCaseHash folds it, so that a look-up compares the hash first
// and reads the line's bytes only for a likely match. Names are never copied out of the text.
struct Name {
    std::size_t line = 0;
    std::size_t start = 0;
    std::size_t length = 0;
    std::size_t hash = 0;
};

struct Key : Name {
    std::size_t eq = 0; // where the "=" is in the line: a read takes the value without a search
};

const Name& NameOf(const Name& name) {
    return name;
}

// The index over a list of names (sections or keys), which keeps their hashes to grow.
class NameTable {
  public:
    void Reserve(std::size_t count) { index_.Reserve(count); }

    // Puts every name of the list in, with room for one more.
    template <typename Entry> void Rebuild(const std::vector<Entry>& names) {
        index_.Reserve(names.size() + 1);
        for (std::size_t i = 0; i < names.size(); ++i)
            index_.Put(NameOf(names[i]).hash, i);
    }

    // Before a name is added to the list: grows the table when it would be more than half full.
    template <typename Entry> void Grow(const std::vector<Entry>& names) {
        if (index_.Full(names.size())) Rebuild(names);
    }

    // The place of the name in the list, or npos. `textOf(name)` gives a name's text.
    template <typename Entry, typename TextOf>
    std::size_t Find(const std::vector<Entry>& names, std::string_view name, std::size_t hash,
                     const TextOf& textOf) const {
        return index_.Find(hash, [&](std::size_t i) {
            const Name& found = NameOf(names[i]);
            return found.hash == hash && AnsiNoCaseEqual{}(textOf(found), name);
        });
    }

    // Adds the name at `index` of the list unless an earlier name is the same; the caller made
    // room for it. True when it was added.
    template <typename Entry, typename TextOf>
    bool PutNew(const std::vector<Entry>& names, std::size_t index, const TextOf& textOf) {
        const Name& added = NameOf(names[index]);
        const std::string_view text = textOf(added);
        return index_.PutNew(added.hash, index, [&](std::size_t i) {
            const Name& found = NameOf(names[i]);
            return found.hash == added.hash && AnsiNoCaseEqual{}(textOf(found), text);
        });
    }

    // Adds the name at `index` of the list; the caller made room for it.
    void Put(std::size_t hash, std::size_t index) { index_.Put(hash, index); }

  private:
    NoCaseIndex index_;
};

struct Line {
    std::string text;  // without its line ending
    bool ended = true; // the line had a line ending in the file
};

struct Section {
    Name name;                // in the header line
    std::size_t lastLine = 0; // last line that belongs to the section
    std::vector<Key> keys;    // the first spelling of each key, in file order
    NameTable table;          // over keys
};

const Name& NameOf(const Section& section) {
    return section.name;
}

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
    std::vector<Section> sections; // every header, duplicates included
    NameTable index;               // over sections: the first section of each name
    // The section found last, under the name as it was asked for: a reader asks for many keys
    // of one section in a row, and comparing the name is cheaper than folding and hashing it.
    std::string lastAsked;
    std::size_t lastFound = std::string::npos;
    fs::file_time_type mtime{};
    std::uintmax_t size = 0;
    bool exists = false;
    bool unreadable = false; // on disk but could not be read: never rewritten from nothing
    // The file changed too close to the moment it was read for its time to tell a later change
    // of the same size apart: its bytes are compared on every look until it has aged.
    bool racy = false;
    std::string bytes; // while racy, of an edited parse: the bytes last written
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

std::string_view NameText(const Parsed& p, const Name& name) {
    return LineText(p, name.line).substr(name.start, name.length);
}

std::size_t HashName(std::string_view name) {
    return AnsiNoCaseHash{}(name);
}

// The place of a section or a key in its list, npos when missing.
std::size_t FindSection(const Parsed& p, std::string_view name) {
    return p.index.Find(p.sections, name, HashName(name), [&](const Name& n) { return NameText(p, n); });
}

std::size_t FindKey(const Parsed& p, const Section& section, std::string_view name) {
    return section.table.Find(section.keys, name, HashName(name),
                              [&](const Name& n) { return NameText(p, n); });
}

// Gives every line a text of its own, before a write changes lines. The names keep their places:
// they count from the start of their line.
void Edit(Parsed& p) {
    if (p.edited) return;
    p.lines.reserve(p.spans.size() + 2);
    for (std::size_t i = 0; i < p.spans.size(); ++i)
        p.lines.push_back(Line{std::string(LineText(p, i)), p.spans[i].ended});
    p.edited = true;
    p.text = std::string();
    p.spans = std::vector<Span>();
}

// Indexes the keys gathered for a section once it is complete, at its size at once: the first
// spelling of each name stays, later ones leave the list.
void IndexKeys(const Parsed& p, Section& section) {
    std::vector<Key>& keys = section.keys;
    section.table.Reserve(keys.size());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const Key key = keys[i];
        // Kept keys move down to `kept`; a key already there keeps its first place.
        keys[kept] = key;
        if (section.table.PutNew(keys, kept, [&](const Name& n) { return NameText(p, n); })) ++kept;
    }
    keys.resize(kept);
}

// Takes line i of a fresh parse into the index: a header starts a section; a "key=value" line
// adds a key to the section it is in. Comments and lines before the first header are no keys.
void IndexLine(Parsed& p, std::size_t i, std::string_view text) {
    std::string_view header = text, name;
    // An editor that saved the file as UTF-8 may have put a byte order mark before the first
    // header; without this the first section would not be found.
    if (i == 0 && header.starts_with("\xEF\xBB\xBF")) header.remove_prefix(3);
    // Trimmed once: a key's line lies in a section, so it is never the first line and its
    // text is the header text too.
    const std::string_view trimmed = TrimView(header);
    if (trimmed.starts_with('[') && SectionName(trimmed, name)) {
        if (!p.sections.empty()) IndexKeys(p, p.sections.back());
        Section& added = p.sections.emplace_back();
        added.name =
            Name{i, static_cast<std::size_t>(name.data() - text.data()), name.size(), HashName(name)};
        added.lastLine = i;
        return;
    }
    if (p.sections.empty()) return;
    Section& current = p.sections.back();
    if (trimmed.empty()) return;
    current.lastLine = i;
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) return;
    const std::string_view key = TrimView(trimmed.substr(0, eq));
    if (key.empty() || key[0] == ';') return;
    const auto at = [&](std::string_view part) {
        return static_cast<std::size_t>(part.data() - text.data());
    };
    current.keys.push_back(Key{{i, at(key), key.size(), HashName(key)}, at(trimmed) + eq});
}

// Cuts the file's text into lines and indexes them in the same pass. The parse keeps the text.
void ParseBytes(Parsed& p, std::string bytes) {
    p.edited = false;
    p.lines.clear();
    p.text = std::move(bytes);
    p.spans.clear();
    p.sections.clear();
    const std::string_view text = p.text;
    p.spans.reserve(text.size() / 32 + 1); // a guess: lines of a definition are rarely shorter
    p.eol = "\r\n";
    bool eolSeen = false;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto nl = text.find('\n', start);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        const bool ended = nl != std::string_view::npos;
        if (ended) {
            const bool crlf = end > start && text[end - 1] == '\r';
            if (!eolSeen) {
                p.eol = crlf ? "\r\n" : "\n";
                eolSeen = true;
            }
            if (crlf) --end;
        }
        p.spans.push_back(Span{start, end - start, ended});
        IndexLine(p, p.spans.size() - 1, text.substr(start, end - start));
        if (!ended) break;
        start = nl + 1;
    }
    if (!p.sections.empty()) IndexKeys(p, p.sections.back());
    // In file order: a name given to two sections finds the first.
    p.index.Rebuild(p.sections);
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
void Stamp(Parsed& p, fs::file_time_type mtime, std::uintmax_t size) {
    p.exists = true;
    p.mtime = mtime;
    p.size = size;
    p.racy = fs::file_time_type::clock::now() - mtime < kTimeStep;
    if (!p.racy) p.bytes = std::string();
}

// The bytes a look at a racy file compares with: a parse not edited holds them as its text.
const std::string& SeenBytes(const Parsed& p) {
    return p.edited ? p.bytes : p.text;
}

fs::file_time_type TimeOf(const FileStamp& stamp) {
    using namespace std::chrono;
    return file_clock::from_sys(sys_time<nanoseconds>(nanoseconds(stamp.modifiedNs)));
}

Parsed* LoadFromDisk(const std::string& file, std::string& native) {
    auto resolved = ResolvePath(file);
    if (!resolved) return nullptr;
    native = std::move(*resolved);
    Parsed& p = g_cache[native];
    if (g_pending.contains(native)) return &p; // holds writes the disk has not seen yet
    // A parse held already is kept when one look shows the file as it was; a file not held yet
    // is looked at by the read itself, on the very file it opens.
    if (p.exists && !p.racy) {
        const FileStamp now = StampOfFile(native);
        if (!now.regular) {
            p = Parsed{};
            return &p;
        }
        if (p.mtime == TimeOf(now) && p.size == now.size) return &p;
    }
    FileStamp stamp;
    auto bytes = ReadResolvedFileBytes(native, &stamp); // resolved above
    if (!stamp.regular) {
        p = Parsed{};
        return &p;
    }
    const fs::file_time_type mtime = TimeOf(stamp);
    const bool same = p.exists && p.mtime == mtime && p.size == stamp.size;
    if (same && bytes && *bytes == SeenBytes(p)) {
        Stamp(p, mtime, bytes->size()); // unchanged; it may have aged past the step meanwhile
        return &p;
    }
    p = Parsed{};
    if (!bytes) {
        p.unreadable = true;
        return &p;
    }
    ParseBytes(p, std::move(*bytes));
    Stamp(p, mtime, p.text.size());
    return &p;
}

std::string UpToNul(const std::string& s) {
    return s.substr(0, s.find('\0'));
}

// A name as the profile functions see it: a C string ends at its first NUL byte.
std::string_view NameUpToNul(const std::string& s) {
    // Names are short: scanning them costs less than a call into the C library for each look-up.
    std::size_t length = 0;
    while (s[length] != '\0') // s[s.size()] is the NUL every std::string ends with
        ++length;
    return std::string_view(s.data(), length);
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
    const std::size_t s = FindSection(p, sec);
    if (s == std::string::npos) {
        // A new section goes at the end of the file, after a blank line when the file has text.
        if (!p.lines.empty()) {
            p.lines.back().ended = true;
            if (!TrimView(p.lines.back().text).empty()) p.lines.push_back(Line{"", true});
        }
        const std::size_t header = p.lines.size();
        Section added;
        added.name = Name{header, 1, sec.size(), HashName(sec)};
        added.lastLine = header + 1;
        added.keys.push_back(Key{{header + 1, 0, k.size(), HashName(k)}, k.size()});
        added.table.Rebuild(added.keys);
        p.lines.push_back(Line{"[" + sec + "]", true});
        p.lines.push_back(Line{k + "=" + value, true});
        p.index.Grow(p.sections);
        p.sections.push_back(std::move(added));
        p.index.Put(p.sections.back().name.hash, p.sections.size() - 1);
        return;
    }
    Section& found = p.sections[s];
    if (const std::size_t at = FindKey(p, found, k); at != std::string::npos) {
        // The key keeps the spelling it has in the file.
        Key& key = found.keys[at];
        std::string text = std::string(NameText(p, key)) + "=" + value;
        p.lines[key.line].text = std::move(text);
        key.start = 0;
        key.eq = key.length;
        return;
    }
    // After the section's last line of text, so that blank lines between sections stay.
    const std::size_t at = found.lastLine + 1;
    p.lines[found.lastLine].ended = true;
    p.lines.insert(p.lines.begin() + static_cast<std::ptrdiff_t>(at), Line{k + "=" + value, true});
    found.lastLine = at;
    found.table.Grow(found.keys);
    found.keys.push_back(Key{{at, 0, k.size(), HashName(k)}, k.size()});
    found.table.Put(found.keys.back().hash, found.keys.size() - 1);
    // The sections below moved down by the inserted line.
    for (std::size_t i = s + 1; i < p.sections.size(); ++i) {
        Section& later = p.sections[i];
        ++later.name.line;
        ++later.lastLine;
        for (Key& key : later.keys)
            ++key.line;
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
    Stamp(next, fs::last_write_time(native, ec), bytes.size());
    if (next.racy) next.bytes = std::move(bytes);
    g_cache[native] = std::move(next);
    return true;
}

} // namespace

std::string IniRead(const std::string& file, const std::string& section, const std::string& key) {
    Parsed* p = Load(file);
    if (!p || !p->exists) return "";
    if (p->lastFound == std::string::npos || p->lastAsked != section) {
        const std::size_t found = FindSection(*p, TrimView(NameUpToNul(section)));
        if (found == std::string::npos) return "";
        // Sections are only ever added, so a section found stays the one its name finds.
        p->lastAsked = section;
        p->lastFound = found;
    }
    const std::size_t s = p->lastFound;
    const Section& sec = p->sections[s];
    const std::size_t k = FindKey(*p, sec, TrimView(NameUpToNul(key)));
    if (k == std::string::npos) return "";
    const Key& found = sec.keys[k];
    std::string_view value = LineText(*p, found.line).substr(found.eq + 1);
    // The profile reader hands values over as C strings: a NUL byte ends the value.
    const std::string_view text = Unquote(TrimView(value.substr(0, value.find('\0'))));
    return std::string(text.substr(0, kMaxValue));
}

std::vector<std::string> IniKeys(const std::string& file, const std::string& section) {
    Parsed* p = Load(file);
    if (!p || !p->exists) return {};
    const std::size_t s = FindSection(*p, TrimView(NameUpToNul(section)));
    if (s == std::string::npos) return {};
    std::vector<std::string> keys;
    keys.reserve(p->sections[s].keys.size());
    for (const Key& key : p->sections[s].keys)
        keys.emplace_back(NameText(*p, key));
    return keys;
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

void IniSectionEach(const std::string& file, const std::string& section,
                    const std::function<void(std::string_view name, std::string_view value)>& visit) {
    const Parsed* p = Load(file);
    if (!p || !p->exists) return;
    const std::size_t s = FindSection(*p, TrimView(NameUpToNul(section)));
    if (s == std::string::npos) return;
    for (const Key& key : p->sections[s].keys) {
        const std::string_view value = LineText(*p, key.line).substr(key.eq + 1);
        const std::string_view text = Unquote(TrimView(value.substr(0, value.find('\0'))));
        visit(NameText(*p, key), text.substr(0, kMaxValue));
    }
}

std::vector<std::pair<std::string, std::string>> IniSection(const std::string& file,
                                                            const std::string& section) {
    std::vector<std::pair<std::string, std::string>> keys;
    IniSectionEach(file, section,
                   [&](std::string_view name, std::string_view value) { keys.emplace_back(name, value); });
    return keys;
}

} // namespace platform
