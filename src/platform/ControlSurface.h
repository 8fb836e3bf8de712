// The surface our own controls draw on: a child window that keeps what was drawn on it (it is
// never redrawn from state), with a background picture, a back colour and a mask. With back style
// 0 (transparent) the surface shows and takes the mouse only where its mask picture differs from
// its mask colour: elsewhere the window below shows through and receives the clicks. Geometry is
// in twips, at 15 twips per pixel; drawing is in pixels.
#pragma once

#include "platform/Picture.h"

#include <functional>
#include <memory>
#include <string>

namespace platform {

struct NativeWidget;
struct DragEvent;

// Buttons: 1 left, 2 right, 4 middle. Shift: 1 Shift, 2 Ctrl, 4 Alt. X and Y in pixels from the
// surface's top-left corner.
struct MouseEvent {
    int button = 0;
    int shift = 0;
    float x = 0;
    float y = 0;
};

// While one lives, the pointer shows the hourglass over every window of the program: a long
// piece of work that holds the event loop up says it is busy.
class BusyPointer {
  public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    // Whether one lives now.
    static bool Shown();
};

class ControlSurface {
  public:
    // A visible surface inside a parent window (a form's or another surface's handle), or a
    // hidden window of its own when there is none.
    explicit ControlSurface(NativeWidget* parent = nullptr);
    ~ControlSurface();
    ControlSurface(const ControlSurface&) = delete;
    ControlSurface& operator=(const ControlSurface&) = delete;

    // The handle to make other surfaces children of this one.
    NativeWidget* Handle() const;
    // Moves the surface into another container (a surface or a form's client area), keeping its
    // position, now counted in the new container, its look and its visibility.
    void SetContainer(NativeWidget* parent);

    // Geometry in twips. Sizes become whole pixels, rounded half to even; reads give pixels x 15.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(double twips);
    void SetTop(double twips);
    void SetWidth(double twips);
    void SetHeight(double twips);
    void Move(double left, double top);
    void Move(double left, double top, double width, double height);
    // The inner size in pixels (the surface has no border).
    int ScaleWidth() const;
    int ScaleHeight() const;
    void SetSizePixels(int width, int height);

    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    void BringToFront();
    void SendToBack();
    std::string Tag() const;
    void SetTag(const std::string& tag);
    std::string ToolTipText() const;
    void SetToolTipText(const std::string& text);
    // The control's name as the window's code knows it ("crd(5)", "BasePict"): what the window
    // probe of the end-to-end tests reports.
    std::string Name() const;
    void SetName(const std::string& name);
    // What the control says (a button's caption), for assistive tools and the window probe.
    void SetAccessibleText(const std::string& text);
    // The pointer's shape over the surface, by its number: 0 the default, 1 arrow, 2 cross,
    // 3 I-beam, 5 and 15 size all, 6 size NE-SW, 7 size N-S, 8 size NW-SE, 9 size W-E, 10 up
    // arrow, 11 hourglass, 12 no drop, 13 arrow and hourglass, 14 arrow and question mark, 99 the
    // icon (a picture; the default without one). Other numbers (4 too) give the default.
    void SetMousePointer(int shape, const Picture& icon = Picture());
    // The shape number last set (0 at first).
    int MousePointer() const;

    // What is drawn: it keeps its size equal to the inner size (without the halos); when the
    // surface grows, the new part takes the back colour. Call Refresh after drawing on it. A
    // placed picture (SetPictureAt) is drawn as it is, where it lies: the const view gives it so,
    // while drawing on it first makes a drawing of the surface's size.
    Picture& Drawing();
    const Picture& Drawing() const;
    // The drawing as it is, or a placed one as a picture of the inner size, in its place.
    Picture ShownDrawing() const;
    void Refresh();
    // Shows the drawing at once, for a look that must be seen before the program goes on.
    void RefreshNow();
    // Clears the drawing to the back colour and draws the background picture over it.
    void Clear();

    // The background picture: setting it redraws the drawing from it.
    const Picture& GetPicture() const;
    void SetPicture(const Picture& picture);
    // A picture smaller than the surface, shown with its top-left corner at (left, top) pixels
    // and shared as it is: nothing shows round it (the mask colour with back style 0, else the
    // back colour). A hundred cards showing one face hold that face once, not a hundred frames.
    void SetPictureAt(const Picture& picture, int left, int top);
    int PictureLeft() const;
    int PictureTop() const;
    // The picture as it is, or a placed one as a picture of the inner size, in its place.
    Picture ShownPicture() const;
    // The background picture becomes what is drawn now.
    void TakeDrawingAsPicture();

    const Picture& MaskPicture() const;
    void SetMaskPicture(const Picture& picture);
    // The picture, where it lies, is its own mask.
    void MaskWithPicture();
    Colour MaskColor() const;
    void SetMaskColor(Colour c);
    // 0 transparent (masked), 1 opaque.
    int BackStyle() const;
    void SetBackStyle(int style);
    Colour BackColor() const;
    void SetBackColor(Colour c);

    // True when the point (pixels) is a pixel the surface shows and takes clicks on: with back
    // style 0, a pixel of the mask picture that is not the mask colour, or of a halo.
    bool ShowsPixel(int x, int y) const;

    // A selection halo: a ring in `colour` (a system colour shows as it is when painted) round
    // everything the surface shows now, its outline stretched from (width - 1) onto (width + 5)
    // pixels; the surface grows by 5 pixels a side (nothing on a surface under 2 pixels). The
    // ring shows and takes clicks like the picture; the drawing stays as it is. Another halo goes
    // round the first. A new size, or ClearHalos, takes every halo away.
    void AddHalo(Colour colour);
    void ClearHalos();
    int HaloCount() const;

    // What the window shows, child surfaces included, as a picture.
    Picture Grab() const;

    // Starts an in-process drag of this surface (see Control::Drag).
    void Drag();

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(const MouseEvent&)> OnMouseDown;
    std::function<void(const MouseEvent&)> OnMouseMove;
    std::function<void(const MouseEvent&)> OnMouseUp;
    // A drag passing over the surface or dropped on it, at a point in twips.
    std::function<void(const DragEvent&)> OnDragOver;
    std::function<void(const DragEvent&)> OnDragDrop;
    // The pointer came over the surface (with the shift state then) or left it.
    std::function<void(int shift)> OnMouseEnter;
    std::function<void()> OnMouseLeave;
    // The size changed, whoever changed it.
    std::function<void()> OnResize;

    // Keys, for a surface that takes the focus. Key codes are the window system's virtual key
    // codes (13 Enter, 27 Escape, 32 Space, 65 A); an auto-repeated key arrives as further key
    // downs without key ups between them. A key press carries the ANSI character typed.
    void SetTakesFocus(bool takes);
    bool HasFocus() const;
    // Brings the surface's window forward and gives the surface the focus; the window system
    // may deliver both once pending events run.
    void SetFocus();
    std::function<void(int keyCode, int shift)> OnKeyDown;
    std::function<void(int keyCode, int shift)> OnKeyUp;
    std::function<void(int keyAscii)> OnKeyPress;
    std::function<void()> OnGotFocus;
    std::function<void()> OnLostFocus;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// A left click at a point (pixels) of a top-level surface's window, delivered the way the window
// system delivers it: to whichever surface shows a pixel there. Shows the window if needed.
void ClickAt(ControlSurface& window, int x, int y);

// One step of the mouse at a point of a top-level surface's window, as the window system
// delivers it: a press goes to the surface under the point; moves and the release go to it until
// the buttons are up, wherever the pointer is; a move with no button held goes to the surface
// under the pointer, which sees the pointer enter, and the one it left sees it leave.
enum class MouseAction { Press, Move, Release };
void MouseAt(ControlSurface& window, MouseAction action, int x, int y, int button = 1);

// A key going down (or repeating while held) or coming up on a surface, as the window system
// delivers it to the surface with the focus; `keyCode` as in OnKeyDown.
enum class KeyAction { Down, Repeat, Up };
void KeyAt(ControlSurface& surface, KeyAction action, int keyCode);

} // namespace platform
