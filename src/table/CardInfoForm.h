// The card information window: a card's name and its description from the game's [CARD INFO]
// section, shown beside the table without holding it up.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

#include <cstdint>

class CardInfoForm {
  public:
    CardInfoForm();

    platform::Form form;
    platform::Frame InfoFrame{form.Handle()};
    platform::Label nameLabel{form.Handle()};
    platform::Label infoLabel{InfoFrame.Handle()};
};

// Shows the card's name and description in the table window's information window, when the game
// enables card information; a card without a [CARD INFO] line shows that none is available.
void ShowCardInfoForm(std::int16_t card);
