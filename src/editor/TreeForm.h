// The "Game Tree" window: the game being edited as an outline (players and their decks, common
// decks, reports), from which a double-click jumps to that place of the editor.
#pragma once

#include "platform/Form.h"
#include "platform/Lists.h"

#include <memory>
#include <string>
#include <vector>

namespace wizard {

class TreeForm {
  public:
    TreeForm();
    ~TreeForm();
    TreeForm(const TreeForm&) = delete;
    TreeForm& operator=(const TreeForm&) = delete;

    // Builds the outline of the game file for `players` players, then shows the window modally.
    // Afterwards JumpStep is the step chosen, -1 when the window was closed without a choice.
    void Open(const std::string& file, int players);
    // Lists the outline without showing the window.
    void Build(const std::string& file, int players);
    // A double-click on line `index`: notes the jump and closes.
    void Choose(int index);

    int JumpStep = -1;
    // The chosen deck's owner (a player, -1 for a common deck), or the chosen report's index.
    int JumpOwner = -1;
    // The chosen player's number, or the chosen deck's number.
    int JumpNumber = 0;

    platform::Form form_;
    std::unique_ptr<platform::ListBox> GameList;

  private:
    struct Jump {
        int owner = 0;
        int number = 0;
        int step = 0;
    };
    void AddPanel(const std::string& text, int step);
    void AddJump(const std::string& text, Jump jump);
    // Grows with the outline: a legal game has more places than any fixed table would hold.
    std::vector<Jump> jumps_;
};

} // namespace wizard
