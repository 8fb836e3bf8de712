// The stock controls of a form: label, text box, command button, check box, option button and
// frame, with the members the windows use. Each is made inside a parent: a form's Handle(), or a
// frame's or picture box's.
#pragma once

#include "platform/Control.h"
#include "platform/Twips.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

// A label shows its container's background unless it is given a back colour of its own.
class Label : public Control {
  public:
    explicit Label(NativeWidget* parent);
    ~Label() override;
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // 0 left, 1 right, 2 centre.
    int Alignment() const;
    void SetAlignment(int alignment);
    // The label grows or shrinks to its caption.
    void SetAutoSize(bool autoSize);
    void SetWordWrap(bool wrap);
    // 0 transparent, 1 opaque: a label given a back colour fills itself with it.
    void SetBackStyle(int style);
    void CopyDesign(const Control& base) override;

  private:
    bool autoSize_ = false;
};

class TextBox : public Control {
  public:
    // A multi-line box wraps and takes Enter as a line break.
    TextBox(NativeWidget* parent, bool multiLine = false);
    ~TextBox() override;
    std::string Text() const;
    void SetText(const std::string& text);
    bool MultiLine() const { return multiLine_; }
    // At most this many characters (0 = no limit).
    int MaxLength() const;
    void SetMaxLength(int length);
    bool Locked() const;
    void SetLocked(bool locked);
    void SetPasswordChar(char c);
    // The selection, in characters from the start.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    std::string SelText() const;
    // Replaces the selection (or inserts at the caret).
    void SetSelText(const std::string& text);
    // The whole text is selected whenever the box gets the focus (by the mouse too), and at a
    // click while the user has not changed it, so that typing replaces it.
    void SetSelectAllOnFocus(bool select);
    void CopyDesign(const Control& base) override;

    // The text changed, by typing or by code.
    std::function<void()> OnChange;

    struct Impl;

  private:
    bool multiLine_;
    std::unique_ptr<Impl> impl_;
};

class CommandButton : public Control {
  public:
    explicit CommandButton(NativeWidget* parent);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // The default button answers Enter anywhere in its form, the cancel button Esc; one of each
    // per form.
    bool Default() const;
    void SetDefault(bool isDefault);
    bool Cancel() const;
    void SetCancel(bool isCancel);
    void CopyDesign(const Control& base) override;
};

class CheckBox : public Control {
  public:
    explicit CheckBox(NativeWidget* parent);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // 0 unchecked, 1 checked, 2 greyed. Changing it raises Click.
    int Value() const;
    void SetValue(int value);
    void CopyDesign(const Control& base) override;
};

// Option buttons in the same parent exclude each other.
class OptionButton : public Control {
  public:
    explicit OptionButton(NativeWidget* parent);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // Choosing it (by the user or by code) raises Click.
    bool Value() const;
    void SetValue(bool value);
    void CopyDesign(const Control& base) override;
};

// A frame groups controls under a caption; they take its Handle() as their parent.
class Frame : public Control {
  public:
    explicit Frame(NativeWidget* parent);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    void CopyDesign(const Control& base) override;
};

// The area of a container (a form's client area, a frame, a picture box): its size in twips, at
// 0, 0.
TwipRect AreaOf(NativeWidget* container);
// Where the controls inside a container show, in twips of the container: every visible control
// that holds no visible control itself, at any depth (a frame's controls rather than the frame),
// a label by the part its text takes. The controls `except` are left out with all they hold.
std::vector<TwipRect> ControlRectsIn(NativeWidget* container, const std::vector<NativeWidget*>& except);

} // namespace platform
