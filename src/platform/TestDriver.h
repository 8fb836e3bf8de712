// Drives the windows as a user would, for tests of every folder: mouse and keys at points in
// twips, menu choices by caption, scripted answers to dialogs and pop-up menus, pictures of what
// a window shows, and the timers' clock (Timer.h). Runs on the offscreen platform.
#pragma once

#include "platform/Control.h"
#include "platform/ControlSurface.h"
#include "platform/Form.h"
#include "platform/Picture.h"
#include "platform/Seams.h"
#include "platform/Timer.h"
#include "platform/Twips.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::testdriver {

// Mouse events at a point in twips of a control, a form's client area or a surface, delivered
// through the window as the window system delivers them: whatever shows at that point receives
// them. While a drag is in progress, moves and the release go to the drag. Buttons: 1 left,
// 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt. False when the window is not shown.
bool MouseDown(const Control& control, int button, int shift, int x, int y);
bool MouseMove(const Control& control, int buttons, int shift, int x, int y);
bool MouseUp(const Control& control, int button, int shift, int x, int y);
bool MouseDown(const Form& form, int button, int shift, int x, int y);
bool MouseMove(const Form& form, int buttons, int shift, int x, int y);
bool MouseUp(const Form& form, int button, int shift, int x, int y);
bool MouseDown(const ControlSurface& surface, int button, int shift, int x, int y);
bool MouseMove(const ControlSurface& surface, int buttons, int shift, int x, int y);
bool MouseUp(const ControlSurface& surface, int button, int shift, int x, int y);

// A left click (press and release); without a point, at the control's centre.
bool Click(const Control& control);
bool Click(const Control& control, int x, int y);
bool Click(const Form& form, int x, int y);
bool DoubleClick(const Control& control);
bool DoubleClick(const Control& control, int x, int y);
bool DoubleClick(const Form& form, int x, int y);

// Keys go to the focused control of the form (or the form itself): a key down and up with its
// virtual key code (Keys.h) and shift mask.
bool PressKey(const Form& form, int keyCode, int shift = 0);
bool KeyDown(const Form& form, int keyCode, int shift = 0);
bool KeyUp(const Form& form, int keyCode, int shift = 0);
// Gives the control the focus and types the text into it, character by character.
bool TypeText(const Control& control, const std::string& text);

// Chooses a visible, enabled item of the form's menus by its caption; false when none is.
bool ChooseMenu(Form& form, const std::string& caption);
// The user presses the form's close box; false when the form refuses to close.
bool PressCloseBox(Form& form);

// What a window or control shows.
Picture Grab(const Form& form);
Picture Grab(const Control& control);

// While it lives, windows open on a desktop of this work area (twips), and each is framed, once
// shown, by a frame of these widths (pixels) as a window manager would frame it.
class SimulatedDesktop {
  public:
    SimulatedDesktop(TwipRect workArea, int frameLeft, int frameTop, int frameRight, int frameBottom);
    ~SimulatedDesktop();
    SimulatedDesktop(const SimulatedDesktop&) = delete;
    SimulatedDesktop& operator=(const SimulatedDesktop&) = delete;
};

// While it lives, every dialog, question, chooser, pop-up menu and modal form is answered from
// this script, in the order the answers were given, and recorded. A dialog without a fitting
// answer gets its Cancel answer (No, nothing chosen, the modal form hidden) and is noted as a
// problem.
class DialogScript {
  public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& AnswerYesNo(bool yes);
    // nullopt presses Cancel.
    DialogScript& AnswerInput(std::optional<std::string> text);
    DialogScript& AnswerFile(std::optional<std::string> path);
    DialogScript& AnswerColour(std::optional<Colour> colour);
    // The caption of the item to choose; "" dismisses the menu.
    DialogScript& AnswerPopup(const std::string& caption);
    // What the user does while the form is shown modally (clicks, typing); the form is hidden
    // afterwards if the actions left it open.
    DialogScript& AnswerModal(std::function<void(Form&)> actions);

    // Messages shown, and questions asked (yes/no and input prompts), in order.
    const std::vector<std::string>& Messages() const { return messages_; }
    const std::vector<std::string>& Questions() const { return questions_; }
    const std::vector<FileRequest>& FileRequests() const { return files_; }
    // Real file names the viewer was asked to open.
    const std::vector<std::string>& Documents() const { return documents_; }
    // Dialogs that found no fitting answer, choices that could not be made, and answers left.
    std::vector<std::string> Problems() const;

  private:
    enum class Kind { YesNo, Input, File, Colour, Popup, Modal };
    struct Answer {
        Kind kind;
        bool yes = false;
        std::optional<std::string> text;
        std::optional<Colour> colour;
        std::function<void(Form&)> actions;
    };
    std::optional<Answer> Next(Kind kind, const std::string& what);
    static const char* NameOf(Kind kind);

    std::deque<Answer> answers_;
    std::vector<std::string> messages_, questions_, documents_, problems_;
    std::vector<FileRequest> files_;
    MessageHandler oldMessage_;
    QuestionHandler oldQuestion_;
    InputHandler oldInput_;
    FileHandler oldFile_;
    ColourHandler oldColour_;
    DocumentHandler oldDocument_;
    ModalHandler oldModal_;
    PopupHandler oldPopup_;
};

} // namespace platform::testdriver
