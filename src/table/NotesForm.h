// The notes window: the players' notes kept with the game (NotesText), edited in one text box
// that follows the window's size. Closing the window keeps what was written; Esc closes it.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

#include <cstddef>

// Saved games keep the notes with a 16-bit length.
constexpr std::size_t kMaxNotesLength = 65535;

class NotesForm {
  public:
    NotesForm();

    platform::Form form;
    platform::TextBox NotesTxt{form.Handle(), true};
};
