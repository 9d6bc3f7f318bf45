// The narrow services the game logic asks of the outside world. Real implementations live in
// platform/qt (window system, text) and platform/Posix* (clock, process); test implementations
// in platform/testing.
//
// How failures travel in platform/ (nothing here throws across a library boundary):
// - A seam or surface operation that can fail answers bool (appendToFile, unload, maskedCopy)
//   and leaves its target as it was; the text renderer keeps the old platform call's int
//   answer, 1 for drawn, which common::textOut turns into bool.
// - A reader that can refuse its input answers the value or, instead, one line saying why
//   (RecordingRead: "file:line: what"); the program start prints that line.
// - A writer that fails part-way keeps going and remembers where it failed (Recorder::failed).
// - A desktop action that fails (the F12 screenshot) says why on standard error and in the
//   window title; the game goes on.
// - The programs end with one of the exit codes below, the reason on standard error; the
//   game's own errors never end the process (they go through common::reportError).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Random.h"
#include "platform/Session.h"
#include "platform/Surface.h"

namespace plat {

// Process exit codes of both programs.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;        // --check found errors, or a recording lost frames
inline constexpr int kExitRefused = 2;       // bad command line or recording, no display
inline constexpr int kExitReplayDrifted = 3; // the game did not do what the recording says

class Form;
class PictureBox;
class ITranslator;   // platform/Translator.h
class PausableClock; // platform/PausableClock.h

// Millisecond clock with a 32-bit tick that wraps, the 1 ms timer period, and a 1 ms sleep.
class IClock {
  public:
    virtual ~IClock() = default;
    virtual std::uint32_t timeGetTime() = 0;
    virtual void beginPeriod() = 0; // raise the timer resolution to 1 ms
    virtual void endPeriod() = 0;   // restore it
    virtual void sleep(std::uint32_t ms) = 0;
};

// Virtual-key codes the programs read.
namespace vk {
constexpr int LButton = 1;
constexpr int Enter = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Numpad0 = 96; // keypad digits are 96..105
constexpr int numpad(int digit) {
    return Numpad0 + digit;
}
} // namespace vk

// Asynchronous key state: is the key with this virtual-key code held right now.
class IKeyboard {
  public:
    virtual ~IKeyboard() = default;
    virtual bool isHeld(int virtualKey) = 0;
};

enum class MsgButtons { Ok, YesNoCancel };
enum class MsgIcon { None, Critical };
enum class MsgResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// Forms, message boxes and the message pump.
class IWindowSystem {
  public:
    virtual ~IWindowSystem() = default;
    // One pass through the pending window messages, never blocking. Window events (mouse,
    // buttons, close queries) run only in here.
    virtual void doEvents() = 0;
    // Waits for window events for at most `ms` milliseconds, then handles them like doEvents.
    // A loop that would otherwise sleep 1 ms at a time may wait here instead.
    virtual void waitEvents(std::uint32_t ms) = 0;
    // Whether this form's window is the active one (GetActiveWindow).
    virtual bool isActive(const Form& form) = 0;
    // Modal message box. An empty title means the application's default title.
    virtual MsgResult messageBox(const std::u16string& text, const std::u16string& title,
                                 MsgButtons buttons, MsgIcon icon) = 0;
    // Shows a form modeless; the form's controls become real widgets.
    virtual void show(Form& form) = 0;
    // Unloads a form: its close query runs first and may cancel. Returns true if unloaded.
    virtual bool unload(Form& form) = 0;
    // Unloads every open form of the program (each one's close query runs).
    virtual void unloadAll() = 0;
    // Asks the window of a picture box to show its surface's current contents.
    virtual void repaint(PictureBox& box) = 0;
    // Applies a form's changed geometry or control state to its window (after the model
    // changed sizes, captions or visibility).
    virtual void sync(Form& form) = 0;
};

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct Version {
    int major = 0, minor = 0, revision = 0;
};

// The running program and its files.
class IProcess {
  public:
    virtual ~IProcess() = default;
    virtual std::string exeFolder() = 0; // folder of the executable, without a trailing slash
    virtual std::string exeName() = 0;   // file name without extension
    virtual Version version() = 0;
    virtual LocalTime localTime() = 0;
    // Appends bytes to a file, creating it if needed. False when they could not all be written;
    // the file then keeps what it held before.
    virtual bool appendToFile(const std::string& path, std::string_view bytes) = 0;
    // Ends the process at once (no close query, nothing saved).
    [[noreturn]] virtual void exitNow(int code) = 0;
};

// Single-line text onto a surface with the surface's font and colours.
class ITextRenderer {
  public:
    virtual ~ITextRenderer() = default;
    // Draws the UTF-8 text at (x, y). Returns the platform's result (1 success).
    virtual int textOut(Surface& surface, int x, int y, std::string_view utf8) = 0;
};

// Everything the logic may touch outside itself, passed by reference.
struct Services {
    IClock& clock;
    IKeyboard& keyboard;
    IWindowSystem& windows;
    IProcess& process;
    ITextRenderer& text;
    Random& random;
    ISession* session = nullptr;             // set while a session is recorded or replayed
    const ITranslator* translator = nullptr; // the player's language; none: texts as written
    // The game's clock under any session, when it can be paused (a debugger waits on it).
    PausableClock* pause = nullptr;
};

} // namespace plat
