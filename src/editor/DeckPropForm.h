// The "Deck Properties" window: four yes/no directives of the deck shown on the "Decks Detail"
// step, read when it opens and written when it closes.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

#include <array>
#include <memory>
#include <string>

namespace wizard {

class DeckPropForm {
  public:
    DeckPropForm();
    ~DeckPropForm();
    DeckPropForm(const DeckPropForm&) = delete;
    DeckPropForm& operator=(const DeckPropForm&) = delete;

    // Shows the window modally for a deck section; when it closes, however it closes, the
    // directives whose box changed are written. False when a write failed.
    bool Open(const std::string& file, const std::string& section, bool commonDeck);
    // Sets the boxes from the section (what opening does before the window shows).
    void Read(const std::string& file, const std::string& section, bool commonDeck);
    // Writes the directives whose box differs from what Read showed.
    bool Write(const std::string& file, const std::string& section);

    platform::Form form_;
    std::unique_ptr<platform::CheckBox> SplitOption, ViewDiscardOpt, DrawFacedownOpt, resize;

  private:
    std::array<int, 4> shown_{};
};

} // namespace wizard
