// The seams of a recorded or replayed session: one object stands in for the clock, the
// keyboard, the window system and the process of the real ones, watches the game's frames, and
// taps the window's input. What it does not override goes straight to the real seams.
#pragma once

#include <cstdlib>

#include "platform/InputEvent.h"
#include "platform/Seams.h"

namespace plat {

class SessionSeams : public IClock,
                     public IKeyboard,
                     public IWindowSystem,
                     public IProcess,
                     public ISession,
                     public InputTap {
  public:
    explicit SessionSeams(Services& inner)
        : inner_(inner), services_{*this,      *this,        *this, inner.process,
                                   inner.text, inner.random, this,  inner.translator,
                                   inner.pause} {
        oldTap_ = setInputTap(this);
    }
    ~SessionSeams() override { setInputTap(oldTap_); }
    SessionSeams(const SessionSeams&) = delete;
    SessionSeams& operator=(const SessionSeams&) = delete;

    // The services to hand the game: these seams, the real text renderer and random source.
    Services& services() { return services_; }

    std::uint32_t timeGetTime() override { return inner_.clock.timeGetTime(); }
    void beginPeriod() override { inner_.clock.beginPeriod(); }
    void endPeriod() override { inner_.clock.endPeriod(); }
    void sleep(std::uint32_t ms) override { inner_.clock.sleep(ms); }

    bool isHeld(int virtualKey) override { return inner_.keyboard.isHeld(virtualKey); }

    void doEvents() override { inner_.windows.doEvents(); }
    void waitEvents(std::uint32_t ms) override { inner_.windows.waitEvents(ms); }
    bool isActive(const Form& form) override { return inner_.windows.isActive(form); }
    MsgResult messageBox(const std::u16string& text, const std::u16string& title,
                         MsgButtons buttons, MsgIcon icon) override {
        return inner_.windows.messageBox(text, title, buttons, icon);
    }
    void show(Form& form) override { inner_.windows.show(form); }
    bool unload(Form& form) override { return inner_.windows.unload(form); }
    void unloadAll() override { inner_.windows.unloadAll(); }
    void repaint(PictureBox& box) override { inner_.windows.repaint(box); }
    void sync(Form& form) override { inner_.windows.sync(form); }

    std::string exeFolder() override { return inner_.process.exeFolder(); }
    std::string exeName() override { return inner_.process.exeName(); }
    Version version() override { return inner_.process.version(); }
    LocalTime localTime() override { return inner_.process.localTime(); }
    bool appendToFile(const std::string& path, std::string_view bytes) override {
        return inner_.process.appendToFile(path, bytes);
    }
    [[noreturn]] void exitNow(int code) override {
        inner_.process.exitNow(code);
        std::abort(); // an exitNow that returned
    }

  protected:
    Services& inner_;
    Services services_;

  private:
    InputTap* oldTap_ = nullptr;
};

} // namespace plat
