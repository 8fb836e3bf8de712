// What the editor knows of a definition's keys: the file of a game, the names it refuses, the
// forms of descriptions and card lines, and the writer that touches only the keys an edit
// changed, so that a definition opened and saved without an edit stays byte for byte the same.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace wizard {

// The most cards a deck or a game may hold: the table engine refuses more.
inline constexpr int kMaxCards = 500;
// Decks in all (common and the players') the table engine can hold.
inline constexpr int kMaxDecks = 12;
// The most a value of a definition gives back when read.
inline constexpr std::size_t kMaxValueLength = 254;

// The program folder, "\", the name and ".game".
std::string GameFilePath(const std::string& gameName);

// Why a game name cannot be a file name beside the program ("" when it can): it holds one of
// \ / : * ? " < > | or begins with ".".
std::string GameNameRefusal(const std::string& gameName);

// The "\n" pairs of a value stand for line breaks in the description box, and back.
std::string DescriptionFromValue(const std::string& value);
std::string ValueFromDescription(const std::string& text);

// A card entry is "(x" K ")" and an image name, or the image name alone. The copy count as the
// table engine counts it: a missing, zero or unreadable count makes one card.
int EntryCopies(const std::string& entry);
// The image name of an entry, after the first ")" of a copy prefix, without blanks around it.
std::string EntryImage(const std::string& entry);

// A card line from its fields: the trailing empty fields are left out, so that a line with only
// an image is the image alone and one with properties reads "image,,properties".
std::string JoinCardFields(std::vector<std::string> fields);
// Every field of a text cut at a separator, empty ones included ("" gives one empty field).
std::vector<std::string> SplitAll(const std::string& text, const std::string& separator);

// Every comma field of a card line (at least five, the missing ones empty).
std::vector<std::string> SplitCardFields(const std::string& line);

// One key of a definition, with the value the editor means it to have.
struct KeyValue {
    std::string section;
    std::string key;
    std::string value;
};

// Writes keys only where the file would change: a key whose value is what the windows showed
// when the file was read (even where the windows had to clamp or cut the file's value) is left
// alone, and so is a key that already holds the value. Everything else is written, in the order
// given, so a new game gets its keys in that order.
class KeyWriter {
  public:
    // What the windows showed for these keys when `file` was read.
    void Remember(const std::string& file, const std::vector<KeyValue>& shown);
    // Forgets what was shown for the file (a new game of that name, or another game).
    void Forget();
    // Forgets what was shown for one key: the user edited its box, so it is written whenever it
    // differs from the file, even where the window had shown the file's value clamped.
    void Forget(const std::string& section, const std::string& key);

    // Writes the keys that changed; false when a write failed (the caller reports it).
    bool Write(const std::string& file, const std::vector<KeyValue>& keys);
    // Whether the key, as the windows showed it, still holds `value`.
    bool Unchanged(const std::string& file, const KeyValue& key) const;

    // The upper-cased key names of each section looked at, so that a deck of hundreds of lines
    // asks the file for its section's keys once.
    using KeyNames = std::unordered_map<std::string, std::unordered_set<std::string>>;

  private:
    // `id` is Id(key.section, key.key), made once by the caller.
    bool Unchanged(const std::string& file, const KeyValue& key, const std::string& id,
                   KeyNames& names) const;
    // Remember with each key's Id already made.
    void Remember(const std::string& file, const std::vector<KeyValue>& shown, std::vector<std::string> ids);
    static std::string Id(const std::string& section, const std::string& key);
    std::string file_;
    // Hashed: a deck's keys share long prefixes, which an ordered map compares again at each step.
    std::unordered_map<std::string, std::string> shown_;
};

} // namespace wizard
