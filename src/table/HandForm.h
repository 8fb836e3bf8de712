// The hand window of a game that keeps hands outside the table: the local player's hand cards,
// arranged freely, zoomed, explained, discarded, or dragged onto the table face up or face down.
#pragma once

#include "controls/CInfoTip.h"
#include "controls/TranspImg.h"
#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Graphics.h"
#include "platform/Menu.h"
#include "platform/Timer.h"

#include <cstdint>
#include <memory>
#include <string>

// Elements of the hand window's card array in use, element 0 included; the next card that enters
// the window takes element HandControlCount.
extern std::int16_t HandControlCount;
// A card dragged from the hand window onto the table: the point where it was grabbed (twips of
// the card, HandGrabX -1 until the drag first passes over it) and whether it lands face down.
extern std::int16_t HandGrabX;
extern std::int16_t HandGrabY;
extern bool HandDropFaceDown;

class HandForm {
  public:
    HandForm();
    ~HandForm();
    HandForm(const HandForm&) = delete;
    HandForm& operator=(const HandForm&) = delete;

    platform::Form form;
    // The card area; the cards lie on it.
    platform::PictureBox BasePict{form.Handle()};
    platform::ControlArray<controls::TranspImg> crd;
    platform::Timer ToolTipTimer;
    std::shared_ptr<controls::CInfoTip> CTipH;
    platform::Menu ActionsMenu;
    platform::Menu Move2Desktop{ActionsMenu, "Move to desktop"};
    platform::Menu InfoMenuItem{ActionsMenu, "Info"};
    platform::Menu Move2DesktopFaceDown{ActionsMenu, "Move to desktop Face Down"};
    platform::Menu DiscardAction{ActionsMenu, "Discard"};

    // Loads an element for one more card (the next one, HandControlCount) and returns its index.
    std::int16_t NewElement();
    // The element's card (its Tag); 0 when the element shows none.
    std::int16_t CardOfElement(int element) const;

    void FillHandWindow();
    void ArrangeHandCards();
    // Discards the card of the menu element, as its menu item does.
    void DiscardCardProcedure();
    // The records of a hand card going onto its deck's discard pile; the other side runs it too.
    static void DiscardCardProcedure_body(std::int16_t card);

    // The menu element's drag onto the table begins, face up or face down.
    void StartDragToTable(bool faceDown);
    // The element that shows the card gives it up (the card left the hand).
    void ReleaseElementOf(std::int16_t card);
    // The element whose drag onto the table began last; -1 none.
    int DesktopDragElement() const { return desktopDrag_; }

    void ToolTipTimer_Timer();
    void ShowHandCardTip(const std::string& text, const std::string& title);
    void HideHandCardTip();

    // The element being dragged inside the window, and the one the menu was opened on; -1 none.
    int DraggedElement() const { return dragged_; }
    int MenuElement() const { return menuElement_; }
    void SetMenuElement(int element) { menuElement_ = element; }
    const std::string& HoveredCard() const { return hovered_; }

  private:
    void Form_Load();
    void Form_Unload();
    void WireElement(int index, controls::TranspImg& element);
    void crd_MouseDown(int index, int button, int shift, platform::PixelPoint at);
    void crd_MouseMove(int index, platform::PixelPoint at);
    void crd_MouseUp();
    void crd_DblClick(int index);

    int dragged_ = -1;
    bool sendToBack_ = false;
    platform::PixelPoint grab_{};
    int menuElement_ = -1;
    int desktopDrag_ = -1;
    std::string hovered_;
    std::string lastTip_;
};

// The hand window, made and loaded (its cards filled in from the card table) when needed.
HandForm& HandWindow();
// The hand window while it is loaded; nullptr otherwise.
HandForm* LoadedHandWindow();
// Shows the hand window (the table's hand button and keys, a draw into the hand).
void ShowHandForm();
// Closes it, keeping its place and size for its next opening in this game.
void UnloadHandForm();
// The window goes with the table that owns its game.
void DestroyHandForm();
// A new game on the table: the window closes and opens next at its first place.
void ForgetHandForm();
