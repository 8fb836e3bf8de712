#include "editor/DeckData.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Ini.h"

namespace wizard {

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
    if (lines > kMaxCards) {
        ShowMsg("The deck [" + section + "] has " + std::to_string(lines) + " card lines; at most " +
                std::to_string(kMaxCards) + " can be edited, so it is left as it is");
        return;
    }
    for (int k = 1; k <= lines; ++k) {
        const std::string line = GetIni(section, "card" + std::to_string(k), file);
        if (line.empty() && lastCard_) continue;
        Card card;
        card.fields = SplitCardFields(line);
        card.properties = card.fields[2];
        card.line = k;
        card.loadedText = card.fields[0];
        card.loadedProperties = card.properties;
        const long id = NewId();
        cards_[id] = card;
        entries_.push_back(DeckEntry{id, card.fields[0]});
    }
    loaded_ = true;
}

long DeckData::NewId() {
    return ++counter_;
}

std::string DeckData::Properties(long id) const {
    auto it = cards_.find(id);
    return it == cards_.end() ? std::string() : it->second.properties;
}

void DeckData::SetProperties(long id, const std::string& properties) {
    cards_[id].properties = properties;
}

std::string DeckData::Line(long id, const std::string& text) const {
    auto it = cards_.find(id);
    if (it == cards_.end() || it->second.fields.empty()) return JoinCardFields({text, "", Properties(id)});
    std::vector<std::string> fields = it->second.fields;
    fields[0] = text;
    fields[2] = it->second.properties;
    return JoinCardFields(fields);
}

bool DeckData::CardsAsLoaded(const std::vector<DeckEntry>& entries) const {
    if (entries.size() != entries_.size()) return false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto it = cards_.find(entries[i].id);
        if (entries[i].id != entries_[i].id || it == cards_.end() ||
            entries[i].text != it->second.loadedText || it->second.properties != it->second.loadedProperties)
            return false;
    }
    return true;
}

std::vector<KeyValue> DeckData::Keys(const std::string& file, const std::vector<DeckEntry>& entries,
                                     const std::string& back, const std::string& discard,
                                     const std::string& deal) const {
    std::vector<KeyValue> keys;
    if (!loaded_) return keys;
    const bool created = platform::IniKeys(file, section_).empty();
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
    for (std::size_t i = 0; i < entries.size(); ++i)
        put("card" + std::to_string(i + 1), Line(entries[i].id, entries[i].text));
    return keys;
}

} // namespace wizard
