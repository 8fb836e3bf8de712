// The design tool bar of a design session: the seat whose area the next drag on the table draws,
// that seat's markers, a default numerical marker, and saving the arranged table into the game's
// definition. Also the mouse of the bare table while an area is drawn.
#pragma once

#include "controls/cSfCb.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "state/LayoutMgmt.h"
#include "state/TableState.h"

#include <array>
#include <cstdint>
#include <memory>

class MainForm;

class DesignToolBarForm {
  public:
    explicit DesignToolBarForm(MainForm& table);
    ~DesignToolBarForm();
    DesignToolBarForm(const DesignToolBarForm&) = delete;
    DesignToolBarForm& operator=(const DesignToolBarForm&) = delete;

    platform::Form form;
    // Option 0 chooses no seat; option p (1 to 7) seat p, in the seat's colour.
    platform::OptionButton* plaSelected(int seat) const;
    controls::cSfCb GraphMrk{form.Handle()};
    controls::cSfCb NewMarkerNumBtn{form.Handle()};
    controls::cSfCb Save{form.Handle()};

    // The area of the chosen seat becomes the one the next drag draws, outlined in its colour and
    // shown; false when no seat is chosen.
    bool SetPlayerArea();
    // The area (seat - 1) the drag draws; it stays until another seat is chosen and drawn.
    std::int16_t PlayerAreaBeingPlaced() const { return placedArea_; }
    // The seat chosen (1 to the player count); 0 when none is.
    int ChosenSeat() const;

    void plaSelected_Click(int seat);
    void GraphMrk_Click();
    void Save_Click();

  private:
    void Form_Load();
    void PlaceButtons(int seats);

    MainForm& table_;
    std::array<std::unique_ptr<platform::OptionButton>, kMaxPlayers + 1> options_;
    std::int16_t placedArea_ = 0;
};

// Loads the design tool bar of the table window when needed and shows it.
void ShowDesignToolBar(MainForm& table);

// What the table's controls show, for the layout writer.
TableLayout TableLayoutOf(MainForm& table);

// The bare table's mouse in a design session. A press starts the chosen seat's area at the
// point, unless one is being drawn already; `drawing` tells whether an area is being drawn.
void DesignArea_MouseDown(MainForm& table, bool& drawing, float x, float y);
// While an area is drawn it reaches to the mouse, which only grows it right and down from where
// the press started: a mouse left of or above that corner changes nothing.
void DesignArea_MouseMove(MainForm& table, bool drawing, float x, float y);
