// Replays a recording: stands in for the real seams (see SessionSeams) and answers every
// reading from the recording, delivers the recorded input events in the passes of the message
// pump they came in, and checks the game's state digests. The real window's input is kept from
// the forms; a close request of the real window ends the replay.
//
// The replay ends the process through IProcess::exitNow: with 0 when the recording is used up
// (after "end frame=<n> digest=<hex>" on `out`) or reaches the frame where the game read its
// folder again (a line on `err` first, naming that frame), with 3 when the game drifts from it (one line
// on `err` naming the frame). When the game itself ends, the end line is written and the game
// goes on to its own end.
#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <string>

#include "platform/Recording.h"
#include "platform/SessionSeams.h"

namespace plat {

struct ReplayOptions {
    std::string fileName; // the recording's, for messages
    std::ostream* out;    // the end line
    std::ostream* err;    // the drift
    // In a window: the replay keeps the recorded pace (long pauses shortened) and pumps the
    // real window. Headless: as fast as it goes.
    bool paced = false;
    // Each message box as it comes up, instead of a modal box (its answer is the recorded one).
    std::function<void(const std::u16string& text, const std::u16string& title)> showBox;
};

class Replayer : public SessionSeams {
  public:
    // Starts the random source from the recording's seed. Hand the game services().
    Replayer(Services& inner, Recording recording, ReplayOptions options);

    std::uint32_t timeGetTime() override;
    void sleep(std::uint32_t) override {}
    bool isHeld(int virtualKey) override;
    void doEvents() override;
    void waitEvents(std::uint32_t) override { doEvents(); }
    bool isActive(const Form& form) override;
    MsgResult messageBox(const std::u16string& text, const std::u16string& title,
                         MsgButtons buttons, MsgIcon icon) override;
    void show(Form& form) override;
    void frameBegins(const StateDigest& digest) override;
    void gameEnds(const StateDigest& digest) override;
    bool passes(Form& form, const InputEvent& event) override;
    [[noreturn]] void exitNow(int code) override; // the game's own end: the end line first

    long long frames() const { return frames_; }
    // Writes the end line unless it is written: for a game that ended without saying so.
    void writeEnd();

  private:
    struct Watched {
        bool value;
        std::uint32_t readings = 0; // since its last line
    };
    // The next line, which must be of this kind; ends the replay when there is none.
    const RecordedLine& take(RecordedLine::Kind kind);
    bool watch(Watched& w, RecordedLine::Kind kind, int key, const std::string& form);
    [[noreturn]] void drift(const std::string& what);
    [[noreturn]] void usedUp();
    [[noreturn]] void stopAtReload(const RecordedLine& r);
    void pace();

    Recording rec_;
    ReplayOptions options_;
    std::size_t next_ = 0;
    std::uint32_t pumpsLeft_ = 0; // of the `p` line at next_
    std::uint32_t tick_ = 0;
    long long frames_ = 0;
    StateDigest digest_;
    bool ended_ = false; // the game ended, or the end line is written
    std::map<int, Watched> keys_;
    std::map<std::string, Watched> active_;
    std::map<std::string, Form*> forms_;
    // Pace: the real tick and the recorded one that match.
    bool paceStarted_ = false;
    std::uint32_t realStart_ = 0, recordedStart_ = 0;
};

} // namespace plat
