// The floating game tool bar of the table window: reports, dice, the end of the game, markers,
// new cards, the log or notes, saving and the seats' areas. Like the design tool bar it stands
// docked near the table window's top right corner, owned by it.
#pragma once

#include "controls/cSfCb.h"
#include "platform/Form.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class MainForm;
class NewCardForm;

// The size of a tool bar button and the room between two (twips).
constexpr int kToolButtonWidth = 900;
constexpr int kToolButtonHeight = 360;
constexpr int kToolButtonGap = 30;

// Where a tool bar of the size docks by the table window (all in screen twips): 500 twips below
// the window's top and 300 in from its right edge, unless it would cover one of the `covered`
// places there; then the nearest place on the screen's work area that covers none; when there is
// none, at that edge all the same.
platform::TwipRect ToolBarDock(const platform::TwipRect& table, int width, int height,
                               const platform::TwipRect& screen,
                               const std::vector<platform::TwipRect>& covered);
// What a tool bar must not cover, on the screen (twips): the table's piles, cards, markers and
// seats' areas and the information panel, as far as the table window shows them, and the window's
// title bar.
std::vector<platform::TwipRect> TablePlacesOnScreen(MainForm& table);
// Makes a tool bar an owned window of the table window, docked by it.
void DockToolBar(platform::Form& bar, MainForm& table);

// Gives a tool bar button its caption and look, at a place of its bar (twips); in columns of
// buttons `columns` wide.
void DressToolButton(controls::cSfCb& button, const std::string& caption, int left, int top, int columns = 1);

class ToolBarForm {
  public:
    explicit ToolBarForm(MainForm& table);
    ~ToolBarForm();
    ToolBarForm(const ToolBarForm&) = delete;
    ToolBarForm& operator=(const ToolBarForm&) = delete;

    platform::Form form;
    controls::cSfCb cSfCb1{form.Handle()};
    controls::cSfCb diceBtn{form.Handle()};
    controls::cSfCb EndGameBtn{form.Handle()};
    controls::cSfCb GraphMrk{form.Handle()};
    controls::cSfCb newCrdBtn{form.Handle()};
    controls::cSfCb NewMarkerNumBtn{form.Handle()};
    controls::cSfCb notesBtn{form.Handle()};
    controls::cSfCb Save{form.Handle()};
    controls::cSfCb ShowHand{form.Handle()};

    // The marker picker for the local seat.
    void GraphMrk_Click();
    void diceBtn_Click();
    void newCrdBtn_Click();
    void notesBtn_Click();

  private:
    void Form_Load();

    MainForm& table_;
    std::unique_ptr<NewCardForm> newCard_;
};

// Loads the game tool bar of the table window when needed and shows it.
void ShowToolBar(MainForm& table);

// Whether the information panel carries the table window's buttons, so that a game needs no
// floating tool bar: a panel that is there and shows the tool bar.
bool PanelCarriesToolBar();
// The tool bar a table opens with, once it shows: the design tool bar in a design session, else
// the game tool bar unless the information panel carries its buttons.
void ShowTableToolBar(MainForm& table);

// The new card of the dialog on the acting side: the card is added (CreateNewCard), laid face up
// in the middle of the table's visible part and sent to the other side in direct play. Its number,
// 0 when it was refused.
std::int16_t AddNewCardDuringPlay(MainForm& table, std::int16_t deck, const std::string& line);
// Lays an added card on a new control of the table: face up, on top, in the middle of what the
// table window shows. The control's index.
std::int16_t PlaceNewCard_body(MainForm& table, std::int16_t card);
