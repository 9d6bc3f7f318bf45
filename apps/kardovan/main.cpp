// Kardovan: the card-battle demo. Wires the Qt window system and the real clock and process to
// the battle program and runs the select window's load handler, which returns when the battle
// is over.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "battle/frmSelectChar.h"
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
                     "kardovan: no display found (DISPLAY is not set); "
                     "run it under a virtual one with: xvfb-run -a -s \"-screen 0 "
                     "1280x1024x24\" %s\n",
                     argc > 0 ? argv[0] : "kardovan");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kardovan"));

    plat::PosixClock clock;
    plat::qt::QtKeyboard keyboard;
    plat::qt::QtWindowSystem windows(&keyboard);
    plat::PosixProcess process;
    plat::qt::QtTextRenderer text;
    plat::Random random(std::random_device{}());
    plat::Services sv{clock, keyboard, windows, process, text, random};

    battle::frmSelectChar select(sv);
    select.load();
    // A battle that ended on an error leaves its window open; the program ends all the same.
    windows.unloadAll();
    return 0;
}
