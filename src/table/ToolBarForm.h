// The floating game tool bar of the table window: reports, dice, the end of the game, markers,
// new cards, the log or notes, saving and the seats' areas. Like the design tool bar it stands
// docked near the table window's top right corner, owned by it.
#pragma once

#include "controls/cSfCb.h"
#include "platform/Form.h"

#include <cstdint>
#include <memory>
#include <string>

class MainForm;
class NewCardForm;

// The size of a tool bar button and the room between two (twips).
constexpr int kToolButtonWidth = 900;
constexpr int kToolButtonHeight = 360;
constexpr int kToolButtonGap = 30;

// Makes a tool bar an owned window of the table window, 500 twips below the table window's top
// and 300 twips in from its right edge.
void DockToolBar(platform::Form& bar, platform::Form& table);

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

// The new card of the dialog on the acting side: the card is added (CreateNewCard), laid face up
// in the middle of the table's visible part and sent to the other side in direct play. Its number,
// 0 when it was refused.
std::int16_t AddNewCardDuringPlay(MainForm& table, std::int16_t deck, const std::string& line);
// Lays an added card on a new control of the table: face up, on top, in the middle of what the
// table window shows. The control's index.
std::int16_t PlaceNewCard_body(MainForm& table, std::int16_t card);
