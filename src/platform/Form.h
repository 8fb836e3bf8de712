// A top-level window of the program (a form): caption, geometry in twips, window state, menus,
// modal and modeless show, owned tool windows, the close box, and the form's own key and mouse
// events. A form is loaded when first shown and unloaded when closed; the object lives on, so
// that showing it again loads it afresh.
#pragma once

#include "platform/Control.h"
#include "platform/Menu.h"
#include "platform/Picture.h"
#include "platform/Twips.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// The window states of `WindowState`.
enum class WindowState { Normal = 0, Minimised = 1, Maximised = 2 };

// Why a form is being unloaded, as OnQueryUnload receives it.
enum class UnloadMode { CloseBox = 0, Code = 1, AppEnding = 2 };

class Form {
  public:
    Form();
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The client area below the menu bar: the parent of the form's controls.
    NativeWidget* Handle() const;
    // The menu bar; its items are the form's top-level menus.
    Menu& Menus();

    void SetCaption(const std::string& caption);
    std::string Caption() const;

    // The window's outer position and size in twips, its frame included. A size set before the
    // window system has framed the window is kept as the outer size once the frame is known: a
    // window restored from a saved size opens at exactly that size.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int twips);
    void SetTop(int twips);
    void SetWidth(int twips);
    void SetHeight(int twips);
    void Move(int left, int top);
    void Move(int left, int top, int width, int height);
    void Resize(int widthTwips, int heightTwips);
    // The client area's size in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;
    // Sizes the window so that its client area takes this size, whatever the frame adds.
    void SetClientSize(int widthTwips, int heightTwips);
    // Sizes the client area to the controls it holds (those not hidden), with the margin right of
    // and below the furthest: the window fits its content whether a window manager frames it or
    // not, where an outer size would leave the frame's room empty without one.
    void FitToContent(int marginTwips);
    // The client area's rectangle on the screen, in twips.
    TwipRect ClientArea() const;
    // The work area of the screen the window stands on (the screen less the desktop's panels), in
    // twips: where the window opens whole.
    TwipRect ScreenArea() const;

    // Whether the window system has told the frame around the window since it was made (never
    // without a window manager, which draws no frame).
    bool FrameKnown() const;

    WindowState State() const;
    void SetState(WindowState state);

    bool Loaded() const;
    // Runs OnLoad once until the form is unloaded again.
    void Load();
    // Loads the form when needed and shows it without waiting. A window that was hidden opens
    // wholly on the screen's work area (cut to its size when it is larger); one that the code did
    // not place since it loaded opens centred over the window that opened it (the active window,
    // or an owned window's owner), or on the screen's middle when none is active. The same holds
    // for ShowModal.
    void Show();
    // Shows the form as Show does but leaves the active window active: a tool bar that opens
    // beside the table must not take the keys the player is typing on the table.
    void ShowInactive();
    // Shows the form modally and returns once it is hidden or unloaded. Tests answer it through
    // the modal seam (Seams.h) instead of waiting.
    void ShowModal();
    void Hide();
    bool Visible() const;
    // Asks OnQueryUnload and OnUnload; false when either cancels. The form is hidden and will
    // load afresh when shown again.
    bool Unload();
    // Closes the window as its close box does (the program ends with its last window); false
    // when the form refuses.
    bool Close();

    // An owned tool window stays above its owner (raising or activating the owner raises it
    // too) and is minimised with it; nullptr frees it.
    void SetOwner(Form* owner);
    // The form that owns this one; nullptr for none.
    Form* Owner() const;
    // The outer rectangles (twips) of the owned windows that show now.
    std::vector<TwipRect> OwnedWindows() const;
    // The form sees key events before its controls.
    bool KeyPreview() const;
    void SetKeyPreview(bool preview);
    Colour BackColor() const;
    void SetBackColor(Colour c);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // Brings the form to the front and makes it the active window.
    void Activate();
    bool IsActive() const;

    // Shows the pop-up menu (the children of `menu`) at the pointer and waits until an item is
    // chosen, whose OnClick then runs, or the menu is dismissed. False when nothing was chosen.
    bool PopupMenu(Menu& menu);

    // What the window's client area shows.
    Picture Grab() const;

    std::function<void()> OnLoad;
    std::function<void()> OnResize;
    std::function<void()> OnActivate;
    // The window manager has framed the shown window, or framed it anew: the client area moved.
    std::function<void()> OnFramed;
    // Setting cancel keeps the form loaded.
    std::function<void(bool& cancel, UnloadMode mode)> OnQueryUnload;
    std::function<void(bool& cancel)> OnUnload;
    std::function<void(int keyCode, int shift)> OnKeyDown;
    std::function<void(int keyCode, int shift)> OnKeyUp;
    std::function<void(int& keyAscii)> OnKeyPress;
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    // X and Y in twips of the client area.
    std::function<void(const MouseEvent&)> OnMouseDown;
    std::function<void(const MouseEvent&)> OnMouseMove;
    std::function<void(const MouseEvent&)> OnMouseUp;
    std::function<void(const DragEvent&)> OnDragDrop;
    std::function<void(const DragEvent&)> OnDragOver;

    struct Impl;
    Impl& Internals() const { return *impl_; }

  private:
    std::unique_ptr<Impl> impl_;
};

// The application's active form, or nullptr when none of its forms is active.
Form* ActiveForm();

} // namespace platform
