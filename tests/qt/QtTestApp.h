// The one QApplication a widget test program needs, made on first use. It is never destroyed:
// tearing it down among the other statics at exit crashes.
#pragma once

#include <QApplication>

#include "platform/qt/QtWindowSystem.h"
#include "platform/testing/TestSeams.h"

inline QApplication& qtTestApp() {
    static int argc = 1;
    static char name[] = "test_qt";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The real window system with the virtual clock: waits advance virtual time, then handle
// whatever the window has queued.
class VirtualTimeWindows : public plat::IWindowSystem {
  public:
    VirtualTimeWindows(plat::qt::QtWindowSystem& qt, plat::IClock& clock)
        : qt_(qt), clock_(clock) {}
    void doEvents() override { qt_.doEvents(); }
    void waitEvents(std::uint32_t ms) override {
        clock_.sleep(ms);
        qt_.doEvents();
    }
    bool isActive(const plat::Form&) override { return true; }
    // Boxes the scripts show are answered by the script, never by a person.
    plat::MsgResult messageBox(const std::u16string& t, const std::u16string& ti,
                               plat::MsgButtons b, plat::MsgIcon i) override {
        return boxes.messageBox(t, ti, b, i);
    }
    plat::testing::ScriptedWindowSystem boxes;
    void show(plat::Form& f) override { qt_.show(f); }
    bool unload(plat::Form& f) override { return qt_.unload(f); }
    void unloadAll() override { qt_.unloadAll(); }
    void repaint(plat::PictureBox& b) override { qt_.repaint(b); }
    void sync(plat::Form& f) override { qt_.sync(f); }

  private:
    plat::qt::QtWindowSystem& qt_;
    plat::IClock& clock_;
};
