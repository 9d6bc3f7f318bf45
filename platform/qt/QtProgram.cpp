#include "platform/qt/QtProgram.h"

#include <QApplication>
#include <QSettings>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "platform/PosixClock.h"
#include "platform/PosixProcess.h"
#include "platform/qt/QtKeyboard.h"
#include "platform/qt/QtText.h"

namespace plat::qt {

namespace {

bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

constexpr const char* kZoomKey = "window/zoom";

} // namespace

int runProgram(int argc, char** argv, const ProgramInfo& info,
               const std::function<void(Services&, QtWindowSystem&, const Options&)>& startUp,
               const std::function<int(const Options&)>& check) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty()) arguments << QString::fromUtf8(info.name);
    const CommandLine command = parseCommandLine(arguments, info);
    std::fputs(command.out.c_str(), stdout);
    std::fputs(command.err.c_str(), stderr);
    if (command.exitCode >= 0) return command.exitCode;
    if (command.options.check) return check ? check(command.options) : 2;

    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "%s: no display found (DISPLAY is not set); "
                     "run it under a virtual one with: xvfb-run -a -s \"-screen 0 "
                     "1280x1024x24\" %s\n",
                     info.name, argc > 0 ? argv[0] : info.name);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(info.name));
    QApplication::setOrganizationName(QString::fromUtf8(info.title));

    // The zoom the player chose last time, unless the command line names one.
    QSettings settings;
    Display display;
    display.zoom =
        command.options.scale != 0 ? command.options.scale : settings.value(kZoomKey, 1).toInt();
    display.fullScreen = command.options.fullScreen;
    display.programName = QString::fromUtf8(info.name);
    display.programTitle = QString::fromUtf8(info.title);
    display.zoomChanged = [&settings](int zoom) { settings.setValue(kZoomKey, zoom); };

    PosixClock clock;
    QtKeyboard keyboard;
    QtWindowSystem windows(&keyboard);
    windows.setDisplay(std::move(display));
    PosixProcess process;
    QtTextRenderer text;
    Random random;
    if (command.options.seed) {
        random.fixSeed(*command.options.seed);
    } else {
        random.reseed(std::random_device{}());
    }
    Services sv{clock, keyboard, windows, process, text, random};
    startUp(sv, windows, command.options);
    return 0;
}

} // namespace plat::qt
