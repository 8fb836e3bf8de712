#include "editor/DeckData.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Ini.h"

#include <algorithm>
#include <string_view>

namespace wizard {

namespace {

// k for a key the reader looks up as card<k> (the name without regard to case, k written without
// leading zeros) with k from 1 to `lines`; 0 for any other key.
int CardLineNumber(std::string_view name, int lines) {
    if (name.size() < 5 || !platform::AnsiNoCaseEqual{}(name.substr(0, 4), "card") || name[4] == '0')
        return 0;
    int k = 0;
    for (const char c : name.substr(4)) {
        if (c < '0' || c > '9') return 0;
        k = k * 10 + (c - '0');
        if (k > lines) return 0;
    }
    return k;
}

} // namespace

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
    // With lastCard the section names its lines and skips the missing ones, as the table engine
    // reads it; otherwise decksize lines, a missing one an empty entry.
    const int lastCard = LeadingInt16(GetIni(section, "lastCard", file));
    lastCard_ = lastCard != 0;
    const int lines = lastCard_ ? lastCard : LeadingInt16(GetIni(section, "decksize", file));
    // A deck with any of these keys has its section; only an empty-looking one is looked up.
    existed_ = lines != 0 || !back_.empty() || !discard_.empty() || !deal_.empty() ||
               !platform::IniKeys(file, section).empty();
    if (lines > kMaxCards) {
        ShowMsg("The deck [" + section + "] has " + std::to_string(lines) + " card lines; at most " +
                std::to_string(kMaxCards) + " can be edited, so it is left as it is");
        return;
    }
    entries_.reserve(static_cast<std::size_t>(std::max(lines, 0)));
    cards_.reserve(entries_.capacity());
    // The card lines come from one pass over the section instead of a look-up for each card.
    std::vector<std::string> lineOf(entries_.capacity() + 1);
    if (lines > 0)
        for (auto& [name, value] : platform::IniSection(file, section))
            if (const int k = CardLineNumber(name, lines); k != 0)
                lineOf[static_cast<std::size_t>(k)] = std::move(value);
    for (int k = 1; k <= lines; ++k) {
        std::string& line = lineOf[static_cast<std::size_t>(k)];
        if (line.empty() && lastCard_) continue;
        // Field 1 is the entry, field 3 the properties, as the field functions cut them.
        const std::string_view view = line;
        const std::size_t first = view.find(',');
        const std::size_t second = first == std::string_view::npos ? first : view.find(',', first + 1);
        const std::string_view properties =
            second == std::string_view::npos
                ? std::string_view()
                : view.substr(second + 1, view.find(',', second + 1) - second - 1);
        Card card;
        card.loadedText = view.substr(0, first);
        card.properties = properties;
        card.loadedProperties = card.properties;
        card.number = k;
        entries_.push_back(DeckEntry{static_cast<long>(cards_.size()) + 1, card.loadedText});
        card.line = std::move(line);
        cards_.push_back(std::move(card));
    }
    loaded_ = true;
}

void DeckData::MarkSaved(const std::vector<DeckEntry>& entries) {
    if (!loaded_) return;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!Find(entries[i].id)) continue;
        Card& card = cards_[static_cast<std::size_t>(entries[i].id - 1)];
        card.line = Line(entries[i].id, entries[i].text);
        card.number = static_cast<int>(i) + 1;
        card.loadedText = entries[i].text;
        card.loadedProperties = card.properties;
    }
    entries_ = entries;
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

std::string DeckData::Properties(long id) const {
    const Card* card = Find(id);
    return card ? card->properties : std::string();
}

void DeckData::SetProperties(long id, const std::string& properties) {
    if (Find(id)) cards_[static_cast<std::size_t>(id - 1)].properties = properties;
}

std::string DeckData::Line(long id, const std::string& text) const {
    const Card* card = Find(id);
    if (!card || card->number == 0) return JoinCardFields({text, "", Properties(id)});
    // The fields the editor does not edit (effects, key, options and any further) stay.
    std::vector<std::string> fields = SplitCardFields(card->line);
    fields[0] = text;
    fields[2] = card->properties;
    return JoinCardFields(fields);
}

bool DeckData::AsRead(std::size_t i, const DeckEntry& entry) const {
    const Card* card = Find(entry.id);
    return card && card->number == static_cast<int>(i) + 1 && entry.text == card->loadedText &&
           card->properties == card->loadedProperties;
}

bool DeckData::CardsAsLoaded(const std::vector<DeckEntry>& entries) const {
    if (entries.size() != entries_.size()) return false;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].id != entries_[i].id || !AsRead(i, entries[i])) return false;
    return true;
}

std::vector<KeyValue> DeckData::Keys(const std::string& file, const std::vector<DeckEntry>& entries,
                                     const std::string& back, const std::string& discard,
                                     const std::string& deal) const {
    std::vector<KeyValue> keys;
    if (!loaded_) return keys;
    // Sections are never taken away: one the file had when read, it still has.
    const bool created = !existed_ && platform::IniKeys(file, section_).empty();
    const auto put = [&](const std::string& key, const std::string& value) {
        keys.push_back(KeyValue{section_, key, value});
    };
    // Under lastCard the deck size counts the copies; without it, the lines.
    put("decksize", std::to_string(lastCard_ ? TotalCards(entries) : static_cast<int>(entries.size())));
    put("img_back", back);
    put("img_discard", discard);
    put("deal", deal);
    if (created) {
        // Looking at a deck the file does not have yet adds nothing until it holds something.
        if (entries.empty() && back.empty() && discard.empty() && deal.empty()) return {};
        // A new deck is neither split nor drawn face down; an existing one keeps its choice.
        put("split", "false");
        put("draw_facedown", "false");
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
