// The table window of a running game: the table surface with its scroll bars and size grip, the
// card, deck and discard-pile image controls, the seats' names and areas, and the card balloon.
// It is the model's view while it lives, and the window the table's procedures act on.
#pragma once

#include "common/Placement.h"
#include "controls/CInfoTip.h"
#include "controls/TranspImg.h"
#include "controls/cpvButton.h"
#include "controls/zLabelA.h"
#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Graphics.h"
#include "platform/ScrollBar.h"
#include "platform/Timer.h"
#include "state/TableView.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CardActions;
class CardInfoForm;
class DesignToolBarForm;
class DiceRollerForm;
class LogForm;
class NotesForm;
class ReportForm;
class TableKeys;
class TableMarkers;
class ToolBarForm;

class MainForm : public TableView {
  public:
    // Makes the window and runs its load: the designed elements, the seat labels and areas, the
    // tooltip timer. It becomes the model's view and the table window until it goes.
    MainForm();
    ~MainForm() override;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    platform::Form& Window() { return form_; }

  private:
    platform::Form form_;

  public:
    // The table surface: every card, deck, pile and area is its child; its Left and Top are the
    // negative scroll offsets.
    platform::PictureBox BasePict;
    platform::ScrollBar hsb;
    platform::ScrollBar vsb;
    platform::Frame EmptyFrame;
    platform::PictureBox corner;
    platform::Label QuickMsg;
    // The information panel: a plain surface in its own colour, the container of its parts.
    platform::PictureBox InfoPanel;
    // The information panel's parts: the zoomed card, its description, the hand labels and their
    // card icons (12 per seat, seat p's from (p - 1) x 12).
    controls::TranspImg ZoomImg;
    platform::Label CardInfoLabel;
    platform::ControlArray<platform::Label> HandLabel;
    platform::ControlArray<platform::Image> HandIcon;
    platform::Timer ToolTipTimer;
    platform::ControlArray<platform::Shape> PlayerArea;
    platform::ControlArray<platform::Label> SideName;
    platform::ControlArray<controls::TranspImg> DeckImg;
    platform::ControlArray<controls::TranspImg> DiscardImg;
    platform::ControlArray<controls::TranspImg> crd;
    // The markers on the table: numerical marker m is markerNum(m), image marker record n is
    // mrk(n - 1). Element 0 of each is designed; a marker's Tag names the card control it lies on.
    platform::ControlArray<controls::zLabelA> markerNum;
    platform::ControlArray<controls::TranspImg> mrk;
    std::shared_ptr<controls::CInfoTip> CTip;
    // The window's buttons; LayoutToolBar places them in the information panel.
    controls::cpvButton addNumMarker;
    controls::cpvButton addGraphMakerBtn;
    controls::cpvButton diceRollerBtn;
    controls::cpvButton showNotesBtn;
    controls::cpvButton saveGameBtn;
    controls::cpvButton reportBtn;
    controls::cpvButton EndGameBtn;
    controls::cpvButton showHandAreaBtn;
    // The table's own windows, each made when first asked for.
    std::unique_ptr<CardInfoForm> CardInfo;
    std::unique_ptr<DiceRollerForm> DiceRoller;
    std::unique_ptr<ReportForm> Reports;
    std::unique_ptr<LogForm> Log;
    std::unique_ptr<NotesForm> Notes;

    // What the table asks of the program's other windows. Each is called when set; until the
    // window that answers it exists, nothing happens.
    struct OtherWindows {
        std::function<void()> hideMarkerList; // before any button acts
        std::function<void()> showSaveForm;   // modal
        std::function<void()> showSeatIds;    // the arbitrator's seat ID editor, modeless
        // The chat window of direct play, modeless; a text that is not empty replaces what its
        // message box holds.
        std::function<void(const std::string& text)> showChat;
        std::function<void()> showHandForm;        // the hand window of a game that keeps hands there
        std::function<void()> unloadDesignToolBar; // closing the table in a design session
        std::function<void()> unloadToolBar;       // closing it otherwise, with the hand window
        std::function<void()> unloadHandForm;
        std::function<void()> unloadMarkerForm;
        std::function<void()> unloadConnection; // closing it in direct play
        std::function<void()> showGameList;     // the last step of closing the table
        // A numerical marker of a value at a place (top, left); its index, -1 when none was made.
        std::function<int(const std::string& value, int top, int left)> newNumMarker;
    } Others;
    // The markers' menus, dialogs and mouse handlers, and the marker picker.
    std::unique_ptr<TableMarkers> Markers;

    // The card under the mouse (its number as text), "" over bare table.
    std::string HoveredCard;

    // The card, deck and pile menus and actions, and the mouse on cards and piles.
    std::unique_ptr<CardActions> cardActions;

    // The keyboard, and the floating tool bars made when first shown.
    std::unique_ptr<TableKeys> Keys;
    std::unique_ptr<ToolBarForm> ToolBar;
    std::unique_ptr<DesignToolBarForm> DesignToolBar;
    // Shows the seats' areas that are hidden and hides those that show.
    void ToggleHandAreas();

    // Loads the table background; the surface takes the picture's size.
    void LoadBasePicture(const std::string& path);
    // Sizes the bare surface (twips) when the game has no background picture.
    void SetBareTable(int heightTwips, int widthTwips);
    // Lays out the scroll bars, their corner and the size grip for the window and table sizes.
    void setSB();
    // The buttons' actions.
    void diceRollerBtn_Click();
    void reportBtn_Click();
    void saveGameBtn_Click();
    void showHandAreaBtn_Click();
    void showNotesBtn_Click();
    // A right click on the quick-result label makes the result a numerical marker at its place.
    void QuickMsg_MouseUp(int button);
    void ShowTip(const std::string& text, const std::string& title);
    void CTip_Hide();
    // One tick of the card balloon's timer.
    void ToolTipTimer_Timer();

    // The view of the model.
    std::optional<CardPictureRect> CardControlPicture(int control) override;
    // The picture rectangle of a card control at hand.
    static CardPictureRect CardPictureOf(const controls::TranspImg& card);
    // The same as a rectangle of the table, for what a drag may do with it.
    static platform::TwipRect PictureRectOf(const controls::TranspImg& image);
    // The part of a move by dx, dy twips that keeps a rectangle of the table on the table's
    // surface: what is dragged on the table stays where the scroll bars reach it.
    Shift ShiftOnTable(const platform::TwipRect& item, int dx, int dy) const;
    // The place nearest to a rectangle of the table where the player sees all of it: in the part
    // of the table the window shows on the screen, clear of the game's windows over the table.
    // nullopt when no such place is free.
    std::optional<platform::TwipRect> PlaceInView(const platform::TwipRect& item);
    bool ControlExists(std::int16_t kind, std::int16_t control) override;
    void BringControlToFront(std::int16_t kind, std::int16_t control) override;
    // The surface of a control of a stacking-order kind; nullptr when it is not loaded.
    platform::ControlSurface* ControlSurfaceOf(std::int16_t kind, int control);
    void PlayerAreaChanged(int area) override;
    void DeckShuffled(std::int16_t deck) override;
    void ShowCopyrightPicture(const std::string& path) override;
    // Passes a local roll on in direct play, and the image marker it placed with its place.
    void DiceRolled(std::int16_t die, const std::string& text, std::int16_t markerKind,
                    std::int16_t markerOwner, const std::optional<MarkerPlace>& marker) override;
    std::optional<MarkerPlace> PlaceImageMarker(std::int16_t kind, std::int16_t owner, int x, int y,
                                                bool dicePlaced) override;

  private:
    void Form_Resize();
    void Form_QueryUnload();
    void Form_Unload();
    void ScrollTo();
    // Wires the events of a card control with its index.
    void WireCard(int index, controls::TranspImg& card);
    void PlaceSideName(int area);

    void corner_MouseDown(const platform::MouseEvent& e);
    void corner_MouseMove(const platform::MouseEvent& e);

    TableView* previousView_ = nullptr;
    // The size grip is being dragged from this point of the grip (twips).
    bool gripDrag_ = false;
    float gripStartX_ = 0;
    float gripStartY_ = 0;
    std::string lastTipCard_;
    // How many twips one step of a scroll bar moves: 1 unless the table exceeds the bar's range.
    int hScale_ = 1;
    int vScale_ = 1;
};

// The table window in use; nullptr when none is open.
MainForm* TableWindow();

// Makes a window of the running game (the hand, the marker picker, the log, the dice, the
// reports, the chat) an owned window of the table, so that clicking the table never buries it:
// a window manager keeps it above the table and minimises it with it. Nothing without a table.
void KeepAboveTable(platform::Form& window);
