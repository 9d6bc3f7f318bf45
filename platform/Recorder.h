// Records a session: stands in for the real seams (see SessionSeams), passes every reading on,
// and writes it to a stream in the recording format (see Recording.h) as it happens. The
// stream is flushed at least once a second of the clock, before every message box, with every
// digest and when the game ends.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/Recording.h"
#include "platform/SessionSeams.h"

namespace plat {

class Recorder : public SessionSeams {
  public:
    // Starts the random source from the header's seed, writes the header and taps every input
    // event delivered from now on. Hand the game services().
    Recorder(Services& inner, std::ostream& out, const RecordingHeader& header);
    ~Recorder() override; // writes what is pending and flushes

    std::uint32_t timeGetTime() override;
    bool isHeld(int virtualKey) override;
    void doEvents() override;
    void waitEvents(std::uint32_t ms) override;
    bool isActive(const Form& form) override;
    MsgResult messageBox(const std::u16string& text, const std::u16string& title,
                         MsgButtons buttons, MsgIcon icon) override;
    void frameBegins(const StateDigest& digest) override;
    void gameEnds(const StateDigest& digest) override;
    void folderReadAgain() override;
    bool passes(Form& form, const InputEvent& event) override;
    [[noreturn]] void exitNow(int code) override; // flushes first

    void flush();
    // True once a write or flush failed (disk full, file gone): the recording on disk stops
    // at `lostFromFrame()`, while the game goes on.
    bool failed() const { return failed_; }
    long long lostFromFrame() const { return lostFrom_; }

  private:
    // A reading kept only when it changes: its last value and the readings since its line.
    struct Watched {
        bool value;
        std::uint32_t unchanged = 0;
    };
    // The stream for the next line, with the pending pumps written before it. Lines are
    // streamed piece by piece: recording a frame allocates nothing.
    std::ostream& line();
    // Writes `kind which held unchanged` when the reading differs from the last one kept.
    void watch(Watched& w, bool now, char kind, std::string_view which);

    std::ostream& out_;
    std::uint32_t lastTick_ = 0;
    std::uint32_t lastFlush_ = 0;
    bool flushTickSet_ = false;
    std::uint32_t pumps_ = 0; // passes of the pump not yet written
    long long frames_ = 0;
    bool ended_ = false;
    bool failed_ = false;
    long long lostFrom_ = 0;
    std::map<int, Watched> keys_;
    std::map<std::string, Watched> active_;
};

} // namespace plat
