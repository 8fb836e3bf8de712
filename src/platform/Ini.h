// INI files with the rules definitions were written for: section and key names matched without
// regard to case, the first match wins, values trimmed and freed of one pair of surrounding
// quotes, at most 254 characters returned. Writing changes one line and keeps every other byte.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// The value of a key; "" when the file, the section or the key is missing.
std::string IniRead(const std::string& file, const std::string& section, const std::string& key);

// Sets a key: rewrites its line in place, or appends it at the end of its section, or appends
// the section at the end of the file (creating the file). The file is replaced atomically, at
// once or, inside an IniWriteScope, when the scope ends.
// False when the file cannot be read or written, and for a section, key or value that would
// read back as something else (a line break, a "]" in the section, a "=" in the key).
bool IniWrite(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value);

// The key names of a section in file order (first spelling of each), for readers that walk a
// whole section.
std::vector<std::string> IniKeys(const std::string& file, const std::string& section);

// Forgets every parsed file, except writes of a write scope not yet on disk.
void IniClearCache();

// While a scope lives, a file already read in it is not looked at on disk again: a reader that
// reads thousands of keys of one definition checks the file once instead of once per key. Writes
// through IniWrite still reach the file and the cache. Scopes nest; the outermost one counts.
class IniReadScope {
  public:
    IniReadScope();
    ~IniReadScope();
    IniReadScope(const IniReadScope&) = delete;
    IniReadScope& operator=(const IniReadScope&) = delete;
};

// While a scope lives, IniWrite changes the cached file only and the reads see the change; when
// the outermost scope ends, each file written is replaced atomically once. Saving hundreds of
// keys then costs one write of the file instead of one per key. A file written in the scope is
// not looked at on disk again until it is written, and the scope reads as an IniReadScope does.
// Scopes nest; the outermost one writes.
class IniWriteScope {
  public:
    IniWriteScope();
    // The outermost scope writes what is still pending, as Commit does.
    ~IniWriteScope();
    IniWriteScope(const IniWriteScope&) = delete;
    IniWriteScope& operator=(const IniWriteScope&) = delete;

    // Writes every pending change now, whatever the depth, and tells whether every file was
    // written. A file that could not be written keeps its old content, its pending changes are
    // dropped and a message says so.
    bool Commit();
};

// The keys of a section in file order (first spelling of each) with their values as IniRead gives
// them: a reader that wants most of a long section reads it in one pass instead of key by key.
std::vector<std::pair<std::string, std::string>> IniSection(const std::string& file,
                                                            const std::string& section);
// The same keys and values handed to `visit` one by one, as views valid during the call only (it
// must not write the file): a reader of hundreds of keys copies only what it keeps.
void IniSectionEach(const std::string& file, const std::string& section,
                    const std::function<void(std::string_view name, std::string_view value)>& visit);

} // namespace platform
