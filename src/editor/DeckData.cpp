#include "editor/DeckData.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Ini.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <utility>

namespace wizard {

namespace {

// k for a key the reader looks up as card<k> (the name without regard to case, k written without
// leading zeros) with k from 1 to `lines`; 0 for any other key.
int CardLineNumber(std::string_view name, int lines) {
    // Only "C" and "c" are "c" without regard to case, and so on: each letter is compared with its
    // small letter after the one bit that tells the two apart is set.
    const auto is = [&name](std::size_t i, char small) { return (name[i] | 0x20) == small; };
    if (name.size() < 5 || !is(0, 'c') || !is(1, 'a') || !is(2, 'r') || !is(3, 'd') || name[4] == '0')
        return 0;
    int k = 0;
    for (const char c : name.substr(4)) {
        if (c < '0' || c > '9') return 0;
        k = k * 10 + (c - '0');
        if (k > lines) return 0;
    }
    return k;
}

// How many card lines a deck section has: with lastCard the section names them and the missing
// ones are skipped, as the table engine reads it; otherwise decksize lines, a missing one empty.
int CardLineCount(const std::string& file, const std::string& section, bool& lastCard) {
    const int named = LeadingInt16(GetIni(section, "lastCard", file));
    lastCard = named != 0;
    return lastCard ? named : LeadingInt16(GetIni(section, "decksize", file));
}

// Hands each card line k from 1 to `lines` the section has to `visit(k, line)`, in one pass over
// the section instead of a look-up for each card.
template <typename Visit>
void ForEachCardLine(const std::string& file, const std::string& section, int lines, const Visit& visit) {
    if (lines <= 0) return;
    platform::IniSectionEach(file, section, [&](std::string_view name, std::string_view value) {
        if (const int k = CardLineNumber(name, lines); k != 0) visit(k, value);
    });
}

} // namespace

int DeckCards(const std::string& file, const std::string& section) {
    const platform::IniReadScope reading;
    bool lastCard = false;
    const int lines = CardLineCount(file, section, lastCard);
    // Without lastCard every line makes a card, a missing one too; a copy count adds the others.
    int total = lastCard ? 0 : std::max(lines, 0);
    ForEachCardLine(file, section, lines, [&](int, std::string_view line) {
        if (line.empty()) return;
        const int copies = EntryCopies(std::string(line.substr(0, line.find(','))));
        total += lastCard ? copies : copies - 1;
    });
    return total;
}

int TotalCards(const std::vector<DeckEntry>& entries) {
    int total = 0;
    for (const DeckEntry& e : entries)
        total += EntryCopies(e.text);
    return total;
}

void DeckData::Clear() {
    *this = DeckData{};
}

void DeckData::Load(const std::string& file, const std::string& section) {
    Clear();
    section_ = section;
    const platform::IniReadScope reading;
    back_ = GetIni(section, "img_back", file);
    discard_ = GetIni(section, "img_discard", file);
    deal_ = GetIni(section, "deal", file);
    const int lines = CardLineCount(file, section, lastCard_);
    // A deck with any of these keys has its section; only an empty-looking one is looked up.
    existed_ = lines != 0 || !back_.empty() || !discard_.empty() || !deal_.empty() ||
               !platform::IniKeys(file, section).empty();
    if (lines > kMaxCards) {
        ShowMsg("The deck [" + section + "] has " + std::to_string(lines) + " card lines; at most " +
                std::to_string(kMaxCards) + " can be edited, so it is left as it is");
        return;
    }
    const auto count = static_cast<std::size_t>(std::max(lines, 0));
    entries_.reserve(count);
    loadedIds_.reserve(count);
    cards_.reserve(count);
    // Each card line is copied once, into lines_, and found there by its number.
    struct Span {
        std::size_t at = 0, length = 0;
    };
    // Card k from the line at `span` (none where the file has no line k).
    const auto add = [this](int k, Span span) {
        if (span.length == 0 && lastCard_) return;
        // Field 1 is the entry, as the field functions cut it; the properties are cut from the
        // line when they are asked for.
        const std::string_view line = std::string_view(lines_).substr(span.at, span.length);
        const std::size_t first = std::min(line.find(','), line.size());
        const long id = static_cast<long>(cards_.size()) + 1;
        cards_.push_back(Card{span.at, span.length, first, Card::kUncut, 0, k, false});
        if (static_cast<std::size_t>(k) != cards_.size()) linesInPlace_ = false;
        DeckEntry& entry = entries_.emplace_back();
        entry.id = id;
        entry.text.assign(line.data(), first);
        loadedIds_.push_back(id);
    };
    // The lines of a deck come in the order of their numbers: each card is made as its line
    // comes. Only a line that comes after a higher number has the lines gathered by number first.
    int next = 1;
    std::vector<Span> lineOf;
    ForEachCardLine(file, section, lines, [&](int k, std::string_view line) {
        const Span span{lines_.size(), line.size()};
        lines_ += line;
        if (!lineOf.empty()) {
            lineOf[static_cast<std::size_t>(k)] = span;
            return;
        }
        if (k >= next) {
            for (; next < k; ++next)
                add(next, Span{});
            add(k, span);
            next = k + 1;
            return;
        }
        lineOf.resize(count + 1);
        for (const Card& card : cards_)
            lineOf[static_cast<std::size_t>(card.number)] = Span{card.lineAt, card.lineLength};
        lineOf[static_cast<std::size_t>(k)] = span;
        cards_.clear();
        entries_.clear();
        loadedIds_.clear();
        linesInPlace_ = true;
    });
    if (lineOf.empty()) {
        for (; next <= lines; ++next)
            add(next, Span{});
    } else {
        for (int k = 1; k <= lines; ++k)
            add(k, lineOf[static_cast<std::size_t>(k)]);
    }
    loaded_ = true;
}

std::vector<DeckEntry> DeckData::TakeEntries() {
    return std::exchange(entries_, {});
}

void DeckData::MarkSaved(const std::vector<DeckEntry>& entries) {
    if (!loaded_) return;
    // The lines are gathered anew: the saved ones as written, the others (cards taken off the
    // list) as they were. 1 marks a card listed, 2 one already saved.
    std::vector<char> listed(cards_.size());
    for (const DeckEntry& entry : entries)
        if (Find(entry.id)) listed[static_cast<std::size_t>(entry.id - 1)] = 1;
    std::string lines;
    lines.reserve(lines_.size());
    loadedIds_.clear();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const long id = entries[i].id;
        if (!Find(id) || listed[static_cast<std::size_t>(id - 1)] != 1) continue;
        listed[static_cast<std::size_t>(id - 1)] = 2;
        std::size_t propertiesAt = 0;
        const std::string line = Line(id, entries[i].text, &propertiesAt);
        Card& card = cards_[static_cast<std::size_t>(id - 1)];
        const std::size_t propertiesLength = Properties(id).size();
        card = Card{lines.size(), line.size(),      entries[i].text.size(),
                    propertiesAt, propertiesLength, static_cast<int>(i) + 1,
                    false};
        edits_.erase(id);
        lines += line;
        loadedIds_.push_back(id);
    }
    for (std::size_t j = 0; j < cards_.size(); ++j) {
        if (listed[j] != 0) continue;
        Card& card = cards_[j];
        const std::string_view line = LineOf(card);
        card.lineAt = lines.size();
        lines += line;
    }
    lines_ = std::move(lines);
    existed_ = true;
}

long DeckData::NewId() {
    cards_.emplace_back();
    return static_cast<long>(cards_.size());
}

const DeckData::Card* DeckData::Find(long id) const {
    return id >= 1 && id <= static_cast<long>(cards_.size()) ? &cards_[static_cast<std::size_t>(id - 1)]
                                                             : nullptr;
}

std::string_view DeckData::LineOf(const Card& card) const {
    return std::string_view(lines_).substr(card.lineAt, card.lineLength);
}

std::string_view DeckData::LoadedText(const Card& card) const {
    return LineOf(card).substr(0, card.textLength);
}

std::string_view DeckData::LoadedProperties(const Card& card) const {
    const std::string_view line = LineOf(card);
    if (card.propertiesAt != Card::kUncut) return line.substr(card.propertiesAt, card.propertiesLength);
    // Field 3, as the field functions cut it: after the second comma, up to the third.
    const std::size_t first = card.textLength;
    const std::size_t second =
        first == line.size() ? first : std::min(line.find(',', first + 1), line.size());
    const std::size_t properties = std::min(second + 1, line.size());
    const std::size_t third = std::min(line.find(',', properties), line.size());
    return line.substr(properties, third - properties);
}

std::string DeckData::Properties(long id) const {
    const Card* card = Find(id);
    if (!card) return std::string();
    return card->edited ? edits_.at(id) : std::string(LoadedProperties(*card));
}

void DeckData::SetProperties(long id, const std::string& properties) {
    if (!Find(id)) return;
    edits_[id] = properties;
    cards_[static_cast<std::size_t>(id - 1)].edited = true;
}

std::string DeckData::Line(long id, const std::string& text, std::size_t* propertiesAt) const {
    const Card* card = Find(id);
    // The fields the editor does not edit (effects, key, options and any further) stay.
    std::vector<std::string> fields = !card || card->number == 0
                                          ? std::vector<std::string>(3)
                                          : SplitCardFields(std::string(LineOf(*card)));
    fields[0] = text;
    fields[2] = Properties(id);
    const std::size_t at = fields[0].size() + fields[1].size() + 2;
    std::string line = JoinCardFields(std::move(fields));
    if (propertiesAt) *propertiesAt = std::min(at, line.size());
    return line;
}

bool DeckData::AsRead(std::size_t i, const DeckEntry& entry) const {
    const Card* card = Find(entry.id);
    return card && card->number == static_cast<int>(i) + 1 && entry.text == LoadedText(*card) &&
           (!card->edited || edits_.at(entry.id) == LoadedProperties(*card));
}

bool DeckData::CardsAsLoaded(const std::vector<DeckEntry>& entries) const {
    if (entries.size() != loadedIds_.size()) return false;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].id != loadedIds_[i] || !AsRead(i, entries[i])) return false;
    return true;
}

std::vector<KeyValue> DeckData::DeckKeys(const std::vector<DeckEntry>& entries, const std::string& back,
                                         const std::string& discard, const std::string& deal) const {
    // Under lastCard the deck size counts the copies; without it, the lines.
    const int size = lastCard_ ? TotalCards(entries) : static_cast<int>(entries.size());
    return {KeyValue{section_, "decksize", std::to_string(size)}, KeyValue{section_, "img_back", back},
            KeyValue{section_, "img_discard", discard}, KeyValue{section_, "deal", deal}};
}

std::vector<KeyValue> DeckData::LoadedKeys(const std::string& file,
                                           const std::vector<DeckEntry>& entries) const {
    if (!loaded_ || !existed_ || !linesInPlace_) return Keys(file, entries, back_, discard_, deal_);
    return DeckKeys(entries, back_, discard_, deal_);
}

std::vector<KeyValue> DeckData::Keys(const std::string& file, const std::vector<DeckEntry>& entries,
                                     const std::string& back, const std::string& discard,
                                     const std::string& deal) const {
    if (!loaded_) return {};
    std::vector<KeyValue> keys = DeckKeys(entries, back, discard, deal);
    const auto put = [&](const std::string& key, const std::string& value) {
        keys.push_back(KeyValue{section_, key, value});
    };
    if (!existed_) {
        // Sections are never taken away: one the file had when read, it still has. One it did not
        // have may since hold what the deck property window wrote.
        std::unordered_set<std::string> held;
        for (const std::string& key : platform::IniKeys(file, section_))
            held.insert(platform::AnsiUpper(key));
        // Looking at a deck the file does not have yet adds nothing until it holds something.
        if (held.empty() && entries.empty() && back.empty() && discard.empty() && deal.empty()) return {};
        // A new deck is neither split nor drawn face down (the table engine would split it), unless
        // the deck property window chose otherwise; an existing deck keeps its own choice.
        for (const char* key : {"split", "draw_facedown"})
            if (!held.count(platform::AnsiUpper(key))) put(key, "false");
    }
    // The lines of a lastCard deck are written again, without gaps, only when they changed.
    if (lastCard_ && CardsAsLoaded(entries)) return keys;
    if (lastCard_) put("lastCard", std::to_string(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // Without lastCard each line stays at its number: one still as read is left alone.
        if (!lastCard_ && AsRead(i, entries[i])) continue;
        put("card" + std::to_string(i + 1), Line(entries[i].id, entries[i].text));
    }
    return keys;
}

} // namespace wizard
