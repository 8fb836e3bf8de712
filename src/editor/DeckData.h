// The deck shown on the "Decks Detail" step: where each card entry came from in its section, the
// fields of its line the editor does not edit, and the keys that saving the deck writes.
#pragma once

#include "editor/DefinitionKeys.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wizard {

// One entry of the card list: its text ("(x" K ")" and image, or the image) and its identifier.
struct DeckEntry {
    long id = 0;
    std::string text;
};

class DeckData {
  public:
    // Reads a deck section: the entries in card list order, the back, discard and deal texts. A
    // deck of more than kMaxCards lines is refused (a message, no entries) and saves nothing.
    void Load(const std::string& file, const std::string& section);
    // Forgets the deck: nothing is loaded, nothing is saved.
    void Clear();

    const std::string& Section() const { return section_; }
    bool Loaded() const { return loaded_; }
    // Whether the file had the section when the deck was read.
    bool Existed() const { return existed_; }
    // The entries Load read, in card list order, until they are taken.
    const std::vector<DeckEntry>& LoadedEntries() const { return entries_; }
    // Hands the entries Load read over to the card list, which keeps them from then on.
    std::vector<DeckEntry> TakeEntries();
    const std::string& Back() const { return back_; }
    const std::string& Discard() const { return discard_; }
    const std::string& Deal() const { return deal_; }

    // The keys Keys(...) gave for these entries are on disk: the deck is now what the file holds.
    // Only a save that wrote something counts: a deck that gave no keys is still not in the file.
    void MarkSaved(const std::vector<DeckEntry>& entries);

    // A new entry's identifier (1, 2, ... since the deck was loaded).
    long NewId();
    // The properties text of a card ("" for an unknown identifier).
    std::string Properties(long id) const;
    void SetProperties(long id, const std::string& properties);

    // The keys of the section as the lists show the deck, in the order they are written.
    std::vector<KeyValue> Keys(const std::string& file, const std::vector<DeckEntry>& entries,
                               const std::string& back, const std::string& discard,
                               const std::string& deal) const;
    // Keys(...) right after Load handed over `entries`, with the deck's own values: where every
    // card line lies at its number (the usual deck) nothing needs comparing line by line.
    std::vector<KeyValue> LoadedKeys(const std::string& file, const std::vector<DeckEntry>& entries) const;

  private:
    // The deck's own keys, first of every save: its size, pictures and deal.
    std::vector<KeyValue> DeckKeys(const std::vector<DeckEntry>& entries, const std::string& back,
                                   const std::string& discard, const std::string& deal) const;
    // Where a card's line and its fields lie: the line as read or last saved in lines_, the entry
    // text at its start and the properties within it. A deck of hundreds of cards is then read
    // into one text instead of a few strings for each card.
    struct Card {
        // A card read from the file has its properties cut from its line when they are asked
        // for: opening a deck of hundreds of cards looks for the first field of each line only.
        static constexpr std::size_t kUncut = static_cast<std::size_t>(-1);
        std::size_t lineAt = 0, lineLength = 0; // 0 and 0 for a new card
        std::size_t textLength = 0, propertiesAt = 0, propertiesLength = 0;
        int number = 0;      // k of the key card<k> it was read from; 0 for a new card
        bool edited = false; // its properties were set since: edits_ holds them
    };
    const Card* Find(long id) const;
    std::string_view LineOf(const Card& card) const;
    std::string_view LoadedText(const Card& card) const;
    std::string_view LoadedProperties(const Card& card) const;
    // The card's line with this entry text and its properties; `propertiesAt` (when asked for)
    // receives where the properties begin in it.
    std::string Line(long id, const std::string& text, std::size_t* propertiesAt = nullptr) const;
    // Whether entry i (from 0) is the card read from line i + 1, as it was read.
    bool AsRead(std::size_t i, const DeckEntry& entry) const;
    bool CardsAsLoaded(const std::vector<DeckEntry>& entries) const;

    std::string section_;
    bool loaded_ = false;
    bool existed_ = false;
    bool lastCard_ = false;
    std::vector<DeckEntry> entries_;
    // The identifiers of the entries as read or last saved, in list order.
    std::vector<long> loadedIds_;
    std::string back_, discard_, deal_;
    // Indexed by identifier - 1: identifiers are handed out 1, 2, ... and never reused.
    std::vector<Card> cards_;
    // The card lines as read or last saved, one after the other.
    std::string lines_;
    // Load found card k at place k for every k: no line was missing or out of place.
    bool linesInPlace_ = true;
    // The properties set since the card was read or saved, by identifier.
    std::unordered_map<long, std::string> edits_;
};

// The number of cards the table engine makes of these entries (copies included).
int TotalCards(const std::vector<DeckEntry>& entries);
// The number of cards of a deck section of the file, counted as Load reads it.
int DeckCards(const std::string& file, const std::string& section);

} // namespace wizard
