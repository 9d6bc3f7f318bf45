// Forms as models: plain records of the controls' state and their event handlers. The game
// logic reads and writes these only; platform/qt mirrors them as real widgets and forwards
// the window's events to the handlers.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Surface.h"

namespace plat {

enum class ControlKind {
    PictureBox,
    Label,
    CheckBox,
    OptionButton,
    Button,
    TextBox,
    Frame,
    ListBox
};

// Mouse buttons as the handlers receive them.
enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

class Control {
  public:
    Control(ControlKind kind, std::string name, int index = -1)
        : kind(kind), name(std::move(name)), index(index) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const ControlKind kind;
    const std::string name;       // the control's name, e.g. "gameView"
    const int index;              // index inside a control array, -1 when not in one
    Control* container = nullptr; // the frame it sits in (positions are relative to it)
    int left = 0, top = 0, width = 0, height = 0; // pixels
    bool visible = true;
    bool enabled = true;
    std::u16string caption; // caption or text, where the control has one
    // A control of a tool beside the game (the script inspector): its clicks reach its
    // handlers straight, never through the recorded input, so that a replay can be paused too.
    bool tool = false;

    // Handlers; empty ones are not called.
    std::function<void()> onClick;
    std::function<void(int button, int shift, float x, float y)> onMouseDown;
    std::function<void(int button, int shift, float x, float y)> onMouseMove;
    std::function<void(int button, int shift, float x, float y)> onMouseUp;
};

// A picture box: a persistent surface the size of the control, with a back colour. Its
// contents always persist and are repainted by the window, so it has no redraw switch.
class PictureBox : public Control {
  public:
    explicit PictureBox(std::string name, int index = -1)
        : Control(ControlKind::PictureBox, std::move(name), index) {}
    Surface surface;

    // Resizes the control and its surface together; the surface is cleared to the back colour.
    void setSize(int w, int h) {
        width = w;
        height = h;
        surface.resize(w, h);
        surface.clear();
    }
    void setBackColor(Color c) {
        surface.setBackColor(c);
        surface.clear();
    }
    Color backColor() const { return surface.backColor(); }
    void cls() { surface.clear(); }
};

class Label : public Control {
  public:
    explicit Label(std::string name, int index = -1)
        : Control(ControlKind::Label, std::move(name), index) {}
    Color backColor = kWhite;
    Color foreColor = kBlack;
    bool transparent = false;
};

class CheckBox : public Control {
  public:
    explicit CheckBox(std::string name, int index = -1)
        : Control(ControlKind::CheckBox, std::move(name), index) {}
    int value = 0; // 0 unticked, 1 ticked
};

class OptionButton : public Control {
  public:
    explicit OptionButton(std::string name, int index = -1)
        : Control(ControlKind::OptionButton, std::move(name), index) {}
    bool value = false;
};

class Button : public Control {
  public:
    explicit Button(std::string name, int index = -1)
        : Control(ControlKind::Button, std::move(name), index) {}
    bool highlighted = false; // the keyboard cursor rests on it: Enter chooses it
};

class TextBox : public Control {
  public:
    explicit TextBox(std::string name, int index = -1)
        : Control(ControlKind::TextBox, std::move(name), index) {}
    bool multiLine = true;
    bool locked = true;
    // The text lives in `caption`; line breaks are CR LF as the programs write them.
};

// Rows of text, one line each, that a click picks from. The view marks the `selected` row and
// keeps it in sight; a click on a row goes to onRowClick with the row's number.
class ListBox : public Control {
  public:
    explicit ListBox(std::string name, int index = -1)
        : Control(ControlKind::ListBox, std::move(name), index) {}
    // The same rows again change nothing: the view repaints only what a new version brings.
    void setRows(std::vector<std::u16string> rows) {
        if (rows == rows_) return;
        rows_ = std::move(rows);
        ++version_;
    }
    const std::vector<std::u16string>& rows() const { return rows_; }
    std::uint64_t version() const { return version_; }
    int selected = -1; // -1: none
    std::function<void(int row)> onRowClick;

  private:
    std::vector<std::u16string> rows_;
    std::uint64_t version_ = 0;
};

class Frame : public Control {
  public:
    explicit Frame(std::string name, int index = -1)
        : Control(ControlKind::Frame, std::move(name), index) {}
};

// Puts a control at (left, top) within its container, width x height pixels. Every form places
// its controls through this, directly or through its control table.
inline void place(Control& c, int left, int top, int width, int height) {
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
}

// One row of a form's control table: the control, the control it lies in (none: the form
// itself), its place in pixels, its caption, and whether it is shown at start.
struct ControlRow {
    Control* control;
    Control* container;
    int left, top, width, height;
    std::u16string_view caption = {};
    bool visible = true;
};

// A window. Sizes of the window itself are kept in twips, as the programs compute with them;
// controls are in pixels.
class Form {
  public:
    explicit Form(std::string name) : name(std::move(name)) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string name;
    std::u16string caption;
    int twipsPerPixelX = 15;
    int twipsPerPixelY = 15;
    int widthTwips = 0;   // outer width
    int heightTwips = 0;  // outer height
    int borderWidth = 4;  // one side border in pixels (reported by the window system)
    int titleHeight = 23; // caption bar height in pixels (reported by the window system)
    bool visible = false;
    bool loaded = false;

    // Inner (client) size in pixels derived from the outer size.
    int scaleWidth() const { return widthTwips / twipsPerPixelX - 2 * borderWidth; }
    int scaleHeight() const { return heightTwips / twipsPerPixelY - titleHeight - 2 * borderWidth; }

    // All controls, in creation order; the view builds widgets from this list.
    const std::vector<Control*>& controls() const { return controls_; }

    // The pointer moved over the form's own background, outside every control.
    std::function<void(int button, int shift, float x, float y)> onMouseMove;
    // A key went down while the window had the keyboard (virtual-key code, shift mask as the
    // mouse handlers receive it). Returns true when the form had a use for the key.
    std::function<bool(int keyCode, int shift)> onKeyDown;
    // F1..F10 (1..10) for the form's tools: the window keeps these keys from the game's input
    // and from a recording. Returns true when the form had a use for the key.
    std::function<bool(int number)> onFunctionKey;

    // Close query: the window system asks before unloading. Set cancel to keep the form.
    virtual void queryUnload(bool& cancel) { cancel = false; }
    // Called once the form has been unloaded.
    virtual void unloaded() {}

  protected:
    template <typename C> C& add(C& c) {
        controls_.push_back(&c);
        return c;
    }
    // Adds a table's controls in its order, each set up as its row says.
    void addControls(std::initializer_list<ControlRow> rows) {
        for (const ControlRow& row : rows) {
            Control& c = add(*row.control);
            c.container = row.container;
            place(c, row.left, row.top, row.width, row.height);
            c.caption = row.caption;
            c.visible = row.visible;
        }
    }

  private:
    std::vector<Control*> controls_;
};

// One side border of a form in pixels.
inline int fGetBorderWidth(const Form& f) {
    return (f.widthTwips / f.twipsPerPixelX - f.scaleWidth()) / 2;
}
// Caption bar height of a form in pixels.
inline int fGetTitleHeight(const Form& f) {
    return f.heightTwips / f.twipsPerPixelY - f.scaleHeight() - 2 * fGetBorderWidth(f);
}

} // namespace plat
