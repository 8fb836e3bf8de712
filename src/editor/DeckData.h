// The deck shown on the "Decks Detail" step: where each card entry came from in its section, the
// fields of its line the editor does not edit, and the keys that saving the deck writes.
#pragma once

#include "editor/DefinitionKeys.h"

#include <string>
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
    const std::vector<DeckEntry>& LoadedEntries() const { return entries_; }
    const std::string& Back() const { return back_; }
    const std::string& Discard() const { return discard_; }
    const std::string& Deal() const { return deal_; }

    // The deck as the lists show it has been written: it is now what the file holds.
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

  private:
    struct Card {
        std::string properties;
        std::string line; // the line as read; "" for a new card
        int number = 0;   // k of the key card<k> it was read from; 0 for a new card
        std::string loadedText, loadedProperties;
    };
    const Card* Find(long id) const;
    std::string Line(long id, const std::string& text) const;
    // Whether entry i (from 0) is the card read from line i + 1, as it was read.
    bool AsRead(std::size_t i, const DeckEntry& entry) const;
    bool CardsAsLoaded(const std::vector<DeckEntry>& entries) const;

    std::string section_;
    bool loaded_ = false;
    bool existed_ = false;
    bool lastCard_ = false;
    std::vector<DeckEntry> entries_;
    std::string back_, discard_, deal_;
    // Indexed by identifier - 1: identifiers are handed out 1, 2, ... and never reused.
    std::vector<Card> cards_;
};

// The number of cards the table engine makes of these entries (copies included).
int TotalCards(const std::vector<DeckEntry>& entries);

} // namespace wizard
