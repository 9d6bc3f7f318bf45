#include "platform/Recorder.h"

#include <charconv>
#include <cstdlib>

namespace plat {

Recorder::Recorder(Services& inner, std::ostream& out, const RecordingHeader& header)
    : SessionSeams(inner), out_(out) {
    inner.random.fixSeed(header.seed);
    out_ << headerText(header);
    flush();
}

Recorder::~Recorder() {
    flush();
}

std::ostream& Recorder::line() {
    if (pumps_ > 0) {
        out_ << "p " << pumps_ << '\n';
        pumps_ = 0;
    }
    return out_;
}

void Recorder::flush() {
    if (pumps_ > 0) {
        out_ << "p " << pumps_ << '\n';
        pumps_ = 0;
    }
    out_.flush();
    if (!out_ && !failed_) {
        failed_ = true;
        lostFrom_ = frames_;
    }
}

std::uint32_t Recorder::timeGetTime() {
    const std::uint32_t now = inner_.clock.timeGetTime();
    line() << "t " << now - lastTick_ << '\n';
    lastTick_ = now;
    if (!flushTickSet_) {
        lastFlush_ = now;
        flushTickSet_ = true;
    } else if (now - lastFlush_ >= 1000) {
        flush();
        lastFlush_ = now;
    }
    return now;
}

void Recorder::watch(Watched& w, bool now, char kind, std::string_view which) {
    if (now == w.value) {
        ++w.unchanged;
        return;
    }
    line() << kind << ' ' << which << (now ? " 1 " : " 0 ") << w.unchanged << '\n';
    w.value = now;
    w.unchanged = 0;
}

bool Recorder::isHeld(int virtualKey) {
    const bool held = inner_.keyboard.isHeld(virtualKey);
    char key[16];
    const char* end = std::to_chars(key, key + sizeof key, virtualKey).ptr;
    watch(keys_.try_emplace(virtualKey, Watched{false}).first->second, held, 'k',
          std::string_view(key, end - key));
    return held;
}

bool Recorder::isActive(const Form& form) {
    const bool active = inner_.windows.isActive(form);
    watch(active_.try_emplace(form.name, Watched{true}).first->second, active, 'a', form.name);
    return active;
}

void Recorder::doEvents() {
    inner_.windows.doEvents();
    ++pumps_;
}

void Recorder::waitEvents(std::uint32_t ms) {
    inner_.windows.waitEvents(ms);
    ++pumps_;
}

bool Recorder::passes(Form& form, const InputEvent& event) {
    line() << eventText(form.name, event) << '\n';
    return true;
}

MsgResult Recorder::messageBox(const std::u16string& text, const std::u16string& title,
                               MsgButtons buttons, MsgIcon icon) {
    flush(); // the player may take long over it
    const MsgResult answer = inner_.windows.messageBox(text, title, buttons, icon);
    line() << "m " << static_cast<int>(answer) << '\n';
    flush(); // the answer may end the program
    return answer;
}

void Recorder::frameBegins(const StateDigest& digest) {
    ++frames_;
    if (frames_ % kDigestEvery != 0) {
        line() << "f\n";
        return;
    }
    line() << "f " << digestText(digest()) << '\n';
    flush();
}

void Recorder::folderReadAgain() {
    line() << "reload " << frames_ << '\n';
    flush();
}

void Recorder::gameEnds(const StateDigest& digest) {
    if (ended_) return;
    ended_ = true;
    line() << "end " << frames_ << ' ' << digestText(digest()) << '\n';
    flush();
}

void Recorder::exitNow(int code) {
    flush();
    inner_.process.exitNow(code);
    std::abort(); // an exitNow that returned
}

} // namespace plat
