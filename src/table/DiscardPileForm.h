// The discard pile window: one deck's discard pile browsed two cards at a time, and, where the
// deck allows choosing from it, one of its cards taken into the hand. Also closes the gap a card
// leaves in a discard pile, for both sides of a game.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Graphics.h"
#include "platform/Menu.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class DiscardForm {
  public:
    // Opens the window on the deck's pile (the table checked that it may be looked at).
    static void Open(std::int16_t deck);
    // The open window; nullptr when none is open.
    static DiscardForm* Current();
    static void CloseCurrent();

    // The card at the position has left the deck's discard pile: the cards above it move down
    // one place and the table's pile shows its top card. Nothing changes while a card still lies
    // at that position.
    static void UpdateDIscardList(std::int16_t position, std::int16_t deck);

    explicit DiscardForm(std::int16_t deck);
    DiscardForm(const DiscardForm&) = delete;
    DiscardForm& operator=(const DiscardForm&) = delete;

    platform::Form form;
    // The left and the right picture.
    std::array<std::unique_ptr<platform::Image>, 2> DiscardPile;
    platform::Menu DiscardMenu;
    platform::Menu Move2HandMenuItem{DiscardMenu, "Move to Hand"};

    // A release of the mouse on picture 0 (left) or 1 (right), with the button released.
    void DiscardPile_MouseUp(int picture, int button);
    void Move2HandMenuItem_Click();

    // The pile position the left picture shows (the right one shows the next); 0 below the pile.
    int CurrentPosition() const { return current_; }
    int MenuPosition() const { return menuPosition_; }
    // The picture file each picture shows.
    const std::string& Shown(int picture) const { return shown_[static_cast<std::size_t>(picture) & 1]; }

  private:
    void Show(int picture, const std::string& file);
    // The face of the card at the pile position, or the empty pile's picture.
    std::string PictureAt(int position) const;
    int LastPosition() const;

    std::int16_t deck_;
    int current_ = 0;
    int menuPosition_ = 0;
    std::array<std::string, 2> shown_;
};
