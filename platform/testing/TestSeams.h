// Test implementations of the seams: a virtual clock where sleeping advances time, scripted
// keys, a window system that records and answers message boxes from a script, a process in a
// temporary folder, and a text recorder. No display, no real time.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Seams.h"

namespace plat::testing {

class VirtualClock : public IClock {
  public:
    explicit VirtualClock(std::uint32_t start = 100000) : now_(start) {}
    std::uint32_t timeGetTime() override { return now_; }
    void beginPeriod() override { ++periodDepth; }
    void endPeriod() override { --periodDepth; }
    void sleep(std::uint32_t ms) override { advance(ms); }
    void advance(std::uint32_t ms) {
        now_ += ms;
        if (onAdvance) onAdvance(now_);
    }
    void set(std::uint32_t t) { now_ = t; }
    int periodDepth = 0;
    std::function<void(std::uint32_t now)> onAdvance; // called after every advance

  private:
    std::uint32_t now_;
};

class ScriptedKeyboard : public IKeyboard {
  public:
    bool isHeld(int virtualKey) override { return held_.count(virtualKey) != 0; }
    void press(int virtualKey) { held_.insert(virtualKey); }
    void release(int virtualKey) { held_.erase(virtualKey); }
    void releaseAll() { held_.clear(); }

  private:
    std::set<int> held_;
};

// One message box as the program showed it.
struct RecordedBox {
    std::u16string text;
    std::u16string title;
    MsgButtons buttons;
    MsgIcon icon;
    MsgResult answer;
};

class ScriptedWindowSystem : public IWindowSystem {
  public:
    void doEvents() override;
    void waitEvents(std::uint32_t ms) override;
    bool isActive(const Form& form) override;
    MsgResult messageBox(const std::u16string& text, const std::u16string& title,
                         MsgButtons buttons, MsgIcon icon) override;
    void show(Form& form) override;
    bool unload(Form& form) override;
    void unloadAll() override;
    void repaint(PictureBox& box) override { ++repaints[&box]; }
    void sync(Form& form) override { ++syncs[&form]; }

    // What the window system does at each message-processing point (inject mouse moves,
    // close queries, key changes...). Called once per doEvents.
    std::function<void()> onEvents;
    // Answers for message boxes, in order; when empty, `defaultAnswer` (or OK for OK boxes).
    std::deque<MsgResult> answers;
    std::function<MsgResult(const RecordedBox&)> responder; // takes precedence when set
    MsgResult defaultAnswer = MsgResult::Ok;
    bool active = true;                         // whether the program's window is active
    std::function<bool(const Form&)> activeFor; // overrides `active` when set
    std::vector<RecordedBox> boxes;
    std::vector<Form*> shown;
    std::vector<Form*> unloaded;
    std::map<PictureBox*, int> repaints;
    std::map<Form*, int> syncs;
    long long pumps = 0;
    IClock* clock = nullptr; // when set, waitEvents advances it
};

class TempProcess : public IProcess {
  public:
    // Makes a fresh temporary folder as the executable's folder; ends the program (failing the
    // test) when it cannot.
    TempProcess();
    ~TempProcess() override;
    std::string exeFolder() override { return folder; }
    std::string exeName() override { return name; }
    Version version() override { return ver; }
    LocalTime localTime() override { return time; }
    bool appendToFile(const std::string& path, std::string_view bytes) override;
    [[noreturn]] void exitNow(int code) override;

    std::string folder;
    std::string name = "haruvel";
    Version ver{1, 0, 0};
    LocalTime time{2024, 1, 31, 13, 5, 9};
    // Reads a whole file of the folder ("" when missing).
    std::string readFile(const std::string& fileName) const;

  private:
    std::string made_; // the folder it made and removes
};

// Thrown by TempProcess::exitNow so a test can see that the program ended at once.
struct ProcessExit {
    int code;
};

class RecordingText : public ITextRenderer {
  public:
    struct Call {
        int x, y;
        std::string text;
    };
    int textOut(Surface& surface, int x, int y, std::string_view utf8) override;
    std::vector<Call> calls;
    int result = 1;
};

// A bundle of all test seams with a fixed seed.
struct TestServices {
    VirtualClock clock;
    ScriptedKeyboard keyboard;
    ScriptedWindowSystem windows;
    TempProcess process;
    RecordingText text;
    Random random{12345};
    Services services{clock, keyboard, windows, process, text, random};
    TestServices() { windows.clock = &clock; }
};

} // namespace plat::testing
