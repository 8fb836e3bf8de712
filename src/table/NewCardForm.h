// The new-card dialog: a picture chosen from the game's image folder becomes a new card of the
// first common deck. "Add card" is refused until a picture of that folder is chosen.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Graphics.h"

#include <cstdint>
#include <functional>
#include <string>

class NewCardForm {
  public:
    NewCardForm();

    // Adds a card with that image file (a name without folder) to the deck, with its control on
    // the table, and writes it into the definition: the game model's card creation.
    std::function<void(std::int16_t deck, const std::string& image)> CreateCard;

    platform::Form form;
    platform::Frame previewFrame{form.Handle()};
    platform::Image preView{previewFrame.Handle()};
    platform::Frame newFrame{form.Handle()};
    platform::Label newName{newFrame.Handle()};
    platform::CommandButton SelectCrdBtn{form.Handle()};
    platform::CommandButton Command1{form.Handle()};
    platform::CommandButton Command2{form.Handle()};

  private:
    void SelectCard();
    void AddCard();
    std::string ImageFolder() const;

    std::string chosen_; // the chosen file's full path; "" before a choice
};
