#include "platform/qt/QtProgram.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "platform/PosixClock.h"
#include "platform/PosixProcess.h"
#include "platform/qt/QtKeyboard.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtWindowSystem.h"

namespace plat::qt {

namespace {

bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

} // namespace

int runProgram(int argc, char** argv, const char* name,
               const std::function<void(Services&)>& startUp) {
    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "%s: no display found (DISPLAY is not set); "
                     "run it under a virtual one with: xvfb-run -a -s \"-screen 0 "
                     "1280x1024x24\" %s\n",
                     name, argc > 0 ? argv[0] : name);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(name));

    PosixClock clock;
    QtKeyboard keyboard;
    QtWindowSystem windows(&keyboard);
    PosixProcess process;
    QtTextRenderer text;
    Random random(std::random_device{}());
    Services sv{clock, keyboard, windows, process, text, random};
    startUp(sv);
    return 0;
}

} // namespace plat::qt
