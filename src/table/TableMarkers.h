// The markers of the table window: numerical markers (labels that show a number, stepped from
// their menu and edited in a small dialog) and image markers (pictures of a marker kind, flipped
// through their faces and turned by their kind's step), created, dragged and deleted by the
// players, by the dice and by the game's default set-up. The procedures named after actions
// (NewMarkerNumProc, AddGraphMarker, ...) are the bodies: they neither check nor send; the
// handlers of the window's controls and menus check, run a body and send.
#pragma once

#include "platform/Form.h"
#include "platform/Menu.h"
#include "state/TableView.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class MainForm;
class MarkerForm;
namespace controls {
class TranspImg;
class zLabelA;
} // namespace controls
namespace platform {
class TextBox;
class Label;
} // namespace platform

// Creates numerical marker NextNumMarker - 1 with the value (the game's baseMarker when empty)
// and the label ("label: value"), at top, left (twips; top -1: the middle of the window). Its
// index; -1, with a message, when the game's 300 markers are used up.
std::int16_t NewMarkerNumProc(const std::string& value, std::int16_t top, std::int16_t left,
                              const std::string& label);
// Gives a numerical marker the game's [NUMERICAL MARKERS] fontsize and fontname, each when set.
void ApplyNumMarkerFont(controls::zLabelA& marker);
// Tells the other side of a new numerical marker of that value and where it lies (a received one
// would otherwise land in the middle of the other side's window), and lays it on the card under
// it as the other side does.
void SendNumMarkerCreated(std::int16_t index, const std::string& value);
// Removes numerical marker `index`; its index is not handed out again.
void DeleteMarkerProc(std::int16_t index);
// The caption stepped by `step`: the number after the first ": " (or the whole caption) read as
// far as it is a number, plus the step, in its shortest decimal form.
std::string SteppedCaption(const std::string& caption, double step);

// Creates an image marker of a kind for a seat (-1: the local seat) at top, left (twips: where the
// picture itself lands; top -1: the middle of the window), showing its first back face when
// `back`. Its record number; 0 (with a message) when the kind or its picture is missing or the
// game's 300 image markers are used up.
std::int16_t AddGraphMarker(std::int16_t kind, std::int16_t player, std::int16_t top, std::int16_t left,
                            bool back);
// Where the picture of image marker record n lies, in twips: the place that, given to
// AddGraphMarker, puts a new marker's control where this one's lies (the control is a larger
// frame around its picture). What the other side is sent of a new marker; nullopt without one.
std::optional<MarkerPlace> ImageMarkerPicturePlace(std::int16_t n);
// Removes the image marker of control `index` (record index + 1).
void DeleteGraphicalMarkerProc(std::int16_t index);
// Flips the image marker of control MenuMarker: to its next face, or between front and back.
void FlipMrk_Procedure();
// Turns image marker record n by its kind's step ("L" to the left, anything else to the right),
// or, with keep, shows its stored angle again.
void RotateGraphMarker(std::int16_t n, bool keep, const std::string& direction);
bool HasSeveralBackFaces(std::int16_t n);
void NextMarkerFace(std::int16_t n);

// Creates the markers of the game's [Setup Default] section, then sets the menu captions.
void PlaceDefaultMarkers();
// "Increase by <n>" and "Decrease by <n>" with the game's maximum increment.
void SetIncrementMenus();
// Every marker control of the table goes: the table starts empty.
void ClearMarkerControls();

// The table window's marker menus, the property dialog and the mouse handlers of its marker
// controls. The table window makes one and keeps it for its life.
class TableMarkers {
  public:
    explicit TableMarkers(MainForm& table);
    ~TableMarkers();
    TableMarkers(const TableMarkers&) = delete;
    TableMarkers& operator=(const TableMarkers&) = delete;

    platform::Menu MakerNumMenu;
    platform::Menu Increase1;
    platform::Menu IncreaseMax;
    platform::Menu Decrease1;
    platform::Menu DecreaseMax;
    platform::Menu DeleteMarkerNum;
    platform::Menu MrkMenu;
    platform::Menu FlipMrk;
    platform::Menu DeleteMrk;
    platform::Menu MrkIncrementRotate;
    platform::Menu MrkIncrementRotateLeft;

    // The index of the marker whose menu or property dialog is open; -1 when none. A received
    // flip or turn sets it before it runs the body.
    std::int16_t MenuMarker = -1;

    // The window's buttons: a new default numerical marker, and the marker picker.
    void addNumMarker_Click();
    void addGraphMakerBtn_Click();

    void markerNum_MouseDown(int index, int button, float x, float y);
    void markerNum_MouseMove(int index, float x, float y);
    void markerNum_MouseUp(int index);
    void markerNum_DblClick(int index);
    void mrk_MouseDown(int index, int button, float x, float y);
    void mrk_MouseMove(int index, float x, float y);
    void mrk_MouseUp(int index);

    // The marker picker window, made when first used.
    MarkerForm& Picker();

    // The property dialog of a numerical marker, while it is open.
    struct PropertyDialog;
    PropertyDialog* MarkerPropForm() { return propForm_.get(); }

  private:
    void WireNumMarker(int index, controls::zLabelA& label);
    void WireImageMarker(int index, controls::TranspImg& marker);
    void StepMarker(double step);
    void RotateMarker(bool toLeft);
    void FlipMrk_Click();
    void DeleteMrk_Click();
    void DeleteMarkerNum_Click();
    // A click that did not move an AUTOFLIP image marker flips it, unless its owner keeps it.
    void AutoFlipClicked(int index);

    MainForm& table_;
    // The drag of one marker of either kind: its kind (2 or 3), where the pointer took it (twips
    // for a numerical marker, pixels for an image marker) and whether it moved.
    std::int16_t dragKind_ = 0;
    float grabX_ = 0;
    float grabY_ = 0;
    bool moved_ = false;
    // A LOCKED image marker pressed with the left button in a game: it is not dragged, but its
    // release is still a click (-1: none pressed).
    int pressedLocked_ = -1;
    std::unique_ptr<PropertyDialog> propForm_;
    std::unique_ptr<MarkerForm> picker_;
};

struct TableMarkers::PropertyDialog {
    platform::Form form;
    std::unique_ptr<platform::Label> labelCaption;
    std::unique_ptr<platform::Label> valueCaption;
    std::unique_ptr<platform::TextBox> labelTxt;
    std::unique_ptr<platform::TextBox> ValueTxt;
};
