// The members every stock control of a form shares: geometry in twips, visibility, `Tag`,
// `Index`, colours, font, focus, mouse and key events, and the in-process drag between windows.
#pragma once

#include "platform/ControlSurface.h"
#include "platform/Fonts.h"
#include "platform/Picture.h"

#include <functional>
#include <memory>
#include <string>

namespace platform {

// A drag passing over a control or dropped on it. Source is the handle of the control (or
// surface) the drag began on; x and y are twips from the target's top-left corner.
struct DragEvent {
    NativeWidget* source = nullptr;
    double x = 0;
    double y = 0;
    // 0 the drag enters the target, 1 it leaves it, 2 it moves over it.
    int state = 2;
};

// A control lives inside its form: it must not outlive the form (declare controls after their
// form, as members of the window that owns both).
class Control {
  public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The control's window: the parent of the controls a frame or picture box contains, and
    // what a drag's source is compared with.
    NativeWidget* Handle() const;
    NativeWidget* ParentHandle() const;

    // Geometry in twips of the parent's client area, kept as whole pixels of 15 twips.
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

    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    const std::string& Tag() const;
    void SetTag(const std::string& tag);
    // The element's index in its control array; -1 for a control that is not in one.
    int Index() const;
    void SetIndex(int index);
    std::string ToolTipText() const;
    void SetToolTipText(const std::string& text);
    // The control's name as the window's code knows it, for the window probe (ControlSurface.h).
    std::string Name() const;
    void SetName(const std::string& name);
    Font GetFont() const;
    void SetFont(const Font& font);
    // Colours as definitions hold them, or system colours (&H80000000 plus an index) that are
    // resolved when the control is drawn.
    Colour ForeColor() const;
    void SetForeColor(Colour c);
    Colour BackColor() const;
    void SetBackColor(Colour c);

    void SetFocus();
    bool HasFocus() const;
    // Above (true) or below every sibling.
    void ZOrder(bool toFront);
    void Refresh();

    // Starts a drag of this control: until the mouse button is released, the control under the
    // pointer receives OnDragOver, and the one under the release receives OnDragDrop.
    void Drag();
    void CancelDrag();

    // What a new element of a control array takes over from the array's first element:
    // everything but visibility and index.
    virtual void CopyDesign(const Control& base);

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    // X and Y in twips from the control's top-left corner.
    std::function<void(const MouseEvent&)> OnMouseDown;
    std::function<void(const MouseEvent&)> OnMouseMove;
    std::function<void(const MouseEvent&)> OnMouseUp;
    std::function<void(int keyCode, int shift)> OnKeyDown;
    std::function<void(int keyCode, int shift)> OnKeyUp;
    // The typed character (ANSI); setting it to 0 swallows the key.
    std::function<void(int& keyAscii)> OnKeyPress;
    std::function<void(const DragEvent&)> OnDragDrop;
    std::function<void(const DragEvent&)> OnDragOver;
    // The focus left the control for another control of the program (not when another window of
    // the system or a pop-up took it); a handler may give it back with SetFocus.
    std::function<void()> OnLostFocus;

    struct Base;
    Base& Internals() const { return *base_; }

  protected:
    // Takes over a widget made by the derived control. A passive control (label, frame, picture
    // box) takes the mouse itself and raises Click; an active one leaves the mouse to the widget
    // and raises Click from what the widget reports.
    Control(NativeWidget* widget, bool passive);
    void RaiseClick();

  private:
    std::unique_ptr<Base> base_;
};

} // namespace platform
