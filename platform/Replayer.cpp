#include "platform/Replayer.h"

#include <cstdlib>

#include "platform/Excerpt.h"

namespace plat {

namespace {

const char* kindName(RecordedLine::Kind kind) {
    switch (kind) {
    case RecordedLine::Clock: return "a clock reading";
    case RecordedLine::Key: return "a key reading";
    case RecordedLine::Active: return "an activation reading";
    case RecordedLine::Pumps: return "a pass of the message pump";
    case RecordedLine::Event: return "an input event";
    case RecordedLine::Box: return "a message box";
    case RecordedLine::Frame: return "a frame";
    case RecordedLine::Reload: return "the folder read again";
    case RecordedLine::End: return "the game's end";
    }
    return "?";
}

constexpr std::uint32_t kLongestPause = 2000; // ms a paced replay waits at most in one go

} // namespace

Replayer::Replayer(Services& inner, Recording recording, ReplayOptions options)
    : SessionSeams(inner), rec_(std::move(recording)), options_(std::move(options)) {
    inner.random.fixSeed(rec_.header.seed);
}

void Replayer::writeEnd() {
    if (ended_) return;
    ended_ = true;
    *options_.out << "end frame=" << frames_ << " digest=" << digestText(digest_ ? digest_() : 0)
                  << '\n';
    options_.out->flush();
}

void Replayer::usedUp() {
    writeEnd();
    inner_.process.exitNow(kExitOk);
    std::abort(); // an exitNow that returned
}

void Replayer::stopAtReload(const RecordedLine& r) {
    *options_.err << "replay stops at frame " << r.number
                  << ": the quest folder was read again while recording\n";
    options_.err->flush();
    usedUp();
}

void Replayer::drift(const std::string& what) {
    const int line = next_ < rec_.lines.size() ? rec_.lines[next_].line : 0;
    *options_.err << excerpt(options_.fileName, kWhole) << ":" << line
                  << ": the replay drifted in frame " << frames_ << ": " << what << '\n';
    options_.err->flush();
    options_.out->flush();
    inner_.process.exitNow(kExitReplayDrifted);
    std::abort();
}

const RecordedLine& Replayer::take(RecordedLine::Kind kind) {
    if (next_ >= rec_.lines.size()) usedUp();
    const RecordedLine& r = rec_.lines[next_];
    // Whatever the game asks next, the recording no longer tells what it got.
    if (r.kind == RecordedLine::Reload) stopAtReload(r);
    if (r.kind != kind) {
        drift(std::string("the game took ") + kindName(kind) + " where the recording has " +
              kindName(r.kind));
    }
    ++next_;
    return r;
}

void Replayer::pace() {
    if (!options_.paced) return;
    const std::uint32_t real = inner_.clock.timeGetTime();
    if (!paceStarted_) {
        paceStarted_ = true;
        realStart_ = real;
        recordedStart_ = tick_;
        return;
    }
    const std::uint32_t due = tick_ - recordedStart_;
    if (due > real - realStart_ + kLongestPause) realStart_ = real + kLongestPause - due;
    for (std::uint32_t now = real; now - realStart_ < due; now = inner_.clock.timeGetTime())
        inner_.windows.waitEvents(due - (now - realStart_));
}

std::uint32_t Replayer::timeGetTime() {
    if (ended_ && next_ >= rec_.lines.size()) return tick_;
    tick_ += take(RecordedLine::Clock).number;
    pace();
    return tick_;
}

bool Replayer::watch(Watched& w, RecordedLine::Kind kind, int key, const std::string& form) {
    if (next_ >= rec_.lines.size()) {
        if (!ended_) usedUp();
        return w.value;
    }
    const RecordedLine& r = rec_.lines[next_];
    const bool mine =
        r.kind == kind &&
        (kind == RecordedLine::Key ? r.number == static_cast<std::uint32_t>(key) : r.form == form);
    if (!mine || w.readings < r.unchanged) {
        ++w.readings;
        return w.value;
    }
    if (w.readings > r.unchanged) {
        drift(std::string(kindName(kind)) + " changed after " + std::to_string(w.readings) +
              " readings, in the recording after " + std::to_string(r.unchanged));
    }
    ++next_;
    w.value = r.held;
    w.readings = 0;
    return w.value;
}

bool Replayer::isHeld(int virtualKey) {
    return watch(keys_.try_emplace(virtualKey, Watched{false}).first->second, RecordedLine::Key,
                 virtualKey, {});
}

bool Replayer::isActive(const Form& form) {
    return watch(active_.try_emplace(form.name, Watched{true}).first->second, RecordedLine::Active,
                 0, form.name);
}

void Replayer::doEvents() {
    if (options_.paced) inner_.windows.doEvents(); // the real window keeps painting
    if (ended_ && next_ >= rec_.lines.size()) return;
    while (next_ < rec_.lines.size() && rec_.lines[next_].kind == RecordedLine::Event) {
        const RecordedLine& r = rec_.lines[next_++];
        const auto form = forms_.find(r.form);
        if (form == forms_.end())
            drift("an input event for the form " + excerpt(r.form) + ", not shown");
        applyInput(*form->second, r.event, &inner_.windows);
    }
    // A `p` line stays the next one until its passes are all taken.
    if (pumpsLeft_ == 0) {
        pumpsLeft_ = take(RecordedLine::Pumps).number;
        --next_;
    }
    if (--pumpsLeft_ == 0) ++next_;
}

MsgResult Replayer::messageBox(const std::u16string& text, const std::u16string& title, MsgButtons,
                               MsgIcon) {
    if (options_.showBox) options_.showBox(text, title);
    if (ended_ && next_ >= rec_.lines.size()) return MsgResult::Ok;
    return static_cast<MsgResult>(take(RecordedLine::Box).number);
}

void Replayer::show(Form& form) {
    forms_[form.name] = &form;
    inner_.windows.show(form);
}

void Replayer::frameBegins(const StateDigest& digest) {
    digest_ = digest;
    const RecordedLine& r = take(RecordedLine::Frame);
    ++frames_;
    if (r.digest && *r.digest != digest()) {
        drift("the state digest is " + digestText(digest()) + ", the recording's " +
              digestText(*r.digest));
    }
}

void Replayer::gameEnds(const StateDigest& digest) {
    digest_ = digest;
    if (ended_) return;
    if (next_ < rec_.lines.size()) {
        const RecordedLine& r = take(RecordedLine::End);
        if (r.number != frames_ || *r.digest != digest()) {
            drift("the game ended with the digest " + digestText(digest()) +
                  ", the recording in frame " + std::to_string(r.number) + " with " +
                  digestText(*r.digest));
        }
    }
    writeEnd();
    digest_ = nullptr; // the state goes away after this
}

bool Replayer::passes(Form&, const InputEvent& event) {
    // Only the recorded input reaches the forms; closing the real window ends the replay.
    if (event.kind == InputKind::Close) usedUp();
    return false;
}

void Replayer::exitNow(int code) {
    writeEnd();
    inner_.process.exitNow(code);
    std::abort();
}

} // namespace plat
