// The zoom window: one card's face at its own size, in a window a margin larger than the
// picture. Any key closes it.
#pragma once

#include "controls/TranspImg.h"
#include "platform/Form.h"

#include <cstdint>

class ZoomForm {
  public:
    ZoomForm();

    // Shows the card's face (the card the table or the hand window chose to zoom on); a card
    // number outside the card table shows nothing.
    void ShowCard(std::int16_t card);

    platform::Form form;
    controls::TranspImg ZoomImg{form.Handle()};
};
