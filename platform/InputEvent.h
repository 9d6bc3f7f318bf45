// Window input as data: every event of a window that reaches a form's handlers is an
// InputEvent, and reaches them through deliver(). A recording taps that one door to see every
// event; a replay delivers the recorded events itself and keeps the real window's out.
#pragma once

#include <string>

#include "platform/Form.h"

namespace plat {

class IWindowSystem;

enum class InputKind {
    MouseDown,     // a mouse button went down over a control
    MouseMove,     // the pointer moved over a control
    MouseUp,       // a mouse button went up over a control
    Click,         // a control was clicked (a check box then holds `value`)
    FormMouseMove, // the pointer moved over the form's own background
    KeyDown,       // a key went down while the form's window had the keyboard
    Close,         // the player asked to close the form's window
};

struct InputEvent {
    InputKind kind = InputKind::Click;
    std::string control; // the control's name (control events only)
    int index = -1;      // its index in a control array, -1 when not in one
    int button = 0;      // mouse button code (kLeftButton...) or the virtual-key code
    int shift = 0;       // shift mask
    float x = 0, y = 0;  // pointer position in the control's (or form's) pixels
    int value = -1;      // a check box's value after a click, -1 for other controls

    static InputEvent mouse(InputKind kind, const Control& c, int button, int shift, float x,
                            float y) {
        return {kind, c.name, c.index, button, shift, x, y, -1};
    }
    static InputEvent click(const Control& c, int value = -1) {
        return {InputKind::Click, c.name, c.index, 0, 0, 0, 0, value};
    }
    static InputEvent formMouseMove(int button, int shift, float x, float y) {
        return {InputKind::FormMouseMove, {}, -1, button, shift, x, y, -1};
    }
    static InputEvent keyDown(int keyCode, int shift) {
        return {InputKind::KeyDown, {}, -1, keyCode, shift, 0, 0, -1};
    }
    static InputEvent close() { return {InputKind::Close, {}, -1, 0, 0, 0, 0, -1}; }

    bool operator==(const InputEvent&) const = default;
};

// Sees every event deliver() is given, before the form does.
class InputTap {
  public:
    virtual ~InputTap() = default;
    // False keeps the event from the form.
    virtual bool passes(Form& form, const InputEvent& event) = 0;
};

// The tap deliver() consults; nullptr for none. Returns the one it replaces.
InputTap* setInputTap(InputTap* tap);

// Hands a window's event to the form, through the tap. Returns true when the form had a use
// for it: a key its onKeyDown took, a close granted, or a handler that ran. A close request
// unloads the form through `windows` (its close query decides), so it needs one.
bool deliver(Form& form, const InputEvent& event, IWindowSystem* windows = nullptr);

// The same without the tap: for the one who replays recorded events.
bool applyInput(Form& form, const InputEvent& event, IWindowSystem* windows);

// The control of a form with this name and index, nullptr when it has none.
Control* findControl(const Form& form, const std::string& name, int index);

} // namespace plat
