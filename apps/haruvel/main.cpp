// Haruvel: the quarter-view field demo. Wires the Qt window system and the real clock and
// process to the field program and runs its window's load handler, which returns when the
// program ends.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "field/frmMain.h"
#include "field/mdlMain.h"
#include "platform/PosixClock.h"
#include "platform/PosixProcess.h"
#include "platform/qt/QtKeyboard.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtWindowSystem.h"

namespace {

bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "haruvel: no display found (DISPLAY is not set); "
                     "run it under a virtual one with: xvfb-run -a -s \"-screen 0 "
                     "1280x1024x24\" %s\n",
                     argc > 0 ? argv[0] : "haruvel");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("haruvel"));

    plat::PosixClock clock;
    plat::qt::QtKeyboard keyboard;
    plat::qt::QtWindowSystem windows(&keyboard);
    plat::PosixProcess process;
    plat::qt::QtTextRenderer text;
    plat::Random random(std::random_device{}());
    plat::Services sv{clock, keyboard, windows, process, text, random};

    field::frmMain form(sv);
    mdlMain::frmMain_Load(form, sv);
    return 0;
}
