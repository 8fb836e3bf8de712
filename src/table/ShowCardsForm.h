// The pile viewer and card picker: a list of cards shown two at a time, browsed with the mouse,
// and, where the game allows it, cards marked with the right button and taken into the hand
// window or onto the table in front of the player.
#pragma once

#include "controls/TranspImg.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Graphics.h"
#include "platform/Menu.h"
#include "state/TableState.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ShowCardsForm {
  public:
    // Opens the viewer on a list of cards (from the top of a pile, or a hand) for the deck whose
    // directives apply; the caption "" keeps "View cards". A modal viewer returns once it closes.
    static void Open(const std::vector<std::int16_t>& cards, std::int16_t deck, const std::string& caption,
                     bool modal);
    // The open viewer; nullptr when none is open.
    static ShowCardsForm* Current();
    // Closes the open viewer (the table window goes).
    static void CloseCurrent();

    ShowCardsForm(const std::vector<std::int16_t>& cards, std::int16_t deck);
    ~ShowCardsForm();
    ShowCardsForm(const ShowCardsForm&) = delete;
    ShowCardsForm& operator=(const ShowCardsForm&) = delete;

    platform::Form form;
    std::array<std::unique_ptr<controls::TranspImg>, 2> DiscardPile;
    std::array<std::unique_ptr<platform::Label>, 2> cPos;
    std::array<std::unique_ptr<platform::PictureBox>, 2> handIcon;
    platform::CommandButton ConfirmGetCards{form.Handle()};
    platform::Menu BaseMenu;
    platform::Menu Move2HandMenuItem{BaseMenu, "Move to hand"};
    platform::Menu DiscardCardMenuItem{BaseMenu, "Discard"};

    // Browsing: a release on the left picture steps forward, on the right one back.
    void StepForward();
    void StepBack();
    // The right button on picture 0 (left) or 1 (right).
    void MarkMenu(int picture);
    void ConfirmGetCards_Click();

    // The list position the left picture shows; the right one shows the position before it.
    int Position() const { return current_; }
    int Count() const { return static_cast<int>(cards_.size()); }
    bool Marked(int position) const;
    int MarkedCount() const { return markedCount_; }
    // The card of a list position (1-based); 0 outside the list.
    std::int16_t CardAt(int position) const;

  private:
    // What a listed card was when the list was made: a card that moved since is not taken.
    struct Listed {
        std::int16_t card = 0;
        std::int16_t owner = 0;
        std::int16_t pilePosition = 0;
        Flag inDiscardPile = kFalse;
        std::int16_t controlIndex = -1;
    };
    void ShowAt(int picture, int position);
    void Refresh();
    bool MayMark() const;
    bool StillListed(int position) const;

    std::vector<Listed> cards_;
    std::vector<bool> marked_;
    std::int16_t deck_ = -1;
    int current_ = 1;
    int menuPosition_ = 0;
    int markedCount_ = 0;
    std::string backPicture_;
    std::string emptyPicture_;
    bool fitEmpty_ = false;
};
