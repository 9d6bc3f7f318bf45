#include "platform/PausableClock.h"

namespace plat {

PausableClock::~PausableClock() {
    if (held()) setInputTap(outerTap_);
}

std::uint32_t PausableClock::timeGetTime() {
    // Unsigned differences: the tick may wrap inside a pause.
    return (held() ? heldAt_ : real_.timeGetTime()) - left_;
}

void PausableClock::hold() {
    if (holds_++ > 0) return;
    heldAt_ = real_.timeGetTime();
    // The tap goes on top only for the hold: a recording or replay made later takes its place
    // as usual, and a recording's tap is asked (about a close) while held.
    outerTap_ = setInputTap(this);
}

void PausableClock::release() {
    if (holds_ == 0 || --holds_ > 0) return;
    setInputTap(outerTap_);
    outerTap_ = nullptr;
    left_ += real_.timeGetTime() - heldAt_;
}

bool PausableClock::passes(Form& form, const InputEvent& event) {
    if (event.kind != InputKind::Close) return false;
    return outerTap_ == nullptr || outerTap_->passes(form, event);
}

} // namespace plat
