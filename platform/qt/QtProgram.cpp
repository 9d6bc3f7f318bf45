#include "platform/qt/QtProgram.h"

#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>

#include "platform/PausableClock.h"
#include "platform/PosixClock.h"
#include "platform/PosixProcess.h"
#include "platform/Recorder.h"
#include "platform/Replayer.h"
#include "platform/qt/QtKeyboard.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtTranslator.h"

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
constexpr int kShownBoxMs = 2000; // a replayed message box stays up this long

using StartUp = std::function<void(Services&, QtWindowSystem&, const Options&)>;

QStringList argumentList(int argc, char** argv, const ProgramInfo& info) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty()) arguments << QString::fromUtf8(info.name);
    return arguments;
}

// A recording to replay is read and checked whole before anything else happens; it names the
// scenario to play. False (the reason on standard error) when it cannot be replayed.
bool loadReplay(Options& options, const ProgramInfo& info, std::optional<Recording>& recording) {
    if (options.replay.empty()) return true;
    RecordingRead read = readRecording(options.replay, info.name);
    if (!read.recording) {
        std::fprintf(stderr, "%s\n", read.error.c_str());
        return false;
    }
    recording = std::move(read.recording);
    options.scenario = recording->header.scenario;
    return true;
}

void goOffscreen() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error is for the drift alone: the offscreen platform's notes stay out.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& m) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(m));
    });
}

// The zoom the player chose last time, unless the command line names one.
Display displayFor(const Options& options, const ProgramInfo& info, QSettings& settings) {
    Display display;
    display.zoom = options.scale != 0 ? options.scale : settings.value(kZoomKey, 1).toInt();
    display.fullScreen = options.fullScreen;
    display.programName = QString::fromUtf8(info.name);
    display.programTitle = QString::fromUtf8(info.title);
    display.zoomChanged = [&settings](int zoom) { settings.setValue(kZoomKey, zoom); };
    return display;
}

void seedRandom(Random& random, const Options& options) {
    if (options.seed) {
        random.fixSeed(*options.seed);
    } else {
        random.reseed(std::random_device{}());
    }
}

int playReplay(Services& sv, QtWindowSystem& windows, Recording recording, const Options& options,
               const StartUp& startUp) {
    // Each box's text goes to standard output; a window shows it for a moment, unanswered.
    const bool headless = options.headless;
    auto showBox = [&windows, headless](const std::u16string& body, const std::u16string& title) {
        std::printf("%s\n", withLineFeeds(body).toUtf8().constData());
        std::fflush(stdout);
        if (!headless) windows.showNote(body, title, kShownBoxMs);
    };
    Replayer replayer(sv, std::move(recording),
                      {options.replay, &std::cout, &std::cerr, !headless, showBox});
    startUp(replayer.services(), windows, options);
    replayer.writeEnd();
    return kExitOk;
}

int playRecorded(Services& sv, QtWindowSystem& windows, const Options& options,
                 const ProgramInfo& info, const StartUp& startUp) {
    std::ofstream file(options.record, std::ios::binary | std::ios::trunc);
    if (!file) {
        std::fprintf(stderr, "%s: cannot write the recording %s\n", info.name,
                     options.record.c_str());
        return kExitRefused;
    }
    std::random_device device;
    const std::uint64_t seed =
        options.seed ? *options.seed : (std::uint64_t{device()} << 32) | device();
    Recorder recorder(sv, file, {info.name, info.version, options.scenario, seed});
    startUp(recorder.services(), windows, options);
    recorder.flush();
    if (recorder.failed()) {
        std::fprintf(stderr,
                     "%s: the recording %s could not be written from frame %lld on; "
                     "it ends there\n",
                     info.name, options.record.c_str(), recorder.lostFromFrame());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

int runProgram(int argc, char** argv, const ProgramInfo& info, const StartUp& startUp,
               const std::function<int(const Options&)>& check) {
    const CommandLine command = parseCommandLine(argumentList(argc, argv, info), info);
    std::fputs(command.out.c_str(), stdout);
    std::fputs(command.err.c_str(), stderr);
    if (command.exitCode >= 0) return command.exitCode;
    if (command.options.check) return check ? check(command.options) : kExitRefused;

    Options options = command.options;
    std::optional<Recording> recording;
    if (!loadReplay(options, info, recording)) return kExitRefused;
    if (options.headless) goOffscreen();
    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "%s: no display found (DISPLAY is not set); "
                     "run it under a virtual one with: xvfb-run -a -s \"-screen 0 "
                     "1280x1024x24\" %s\n",
                     info.name, argc > 0 ? argv[0] : info.name);
        return kExitRefused;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(info.name));
    QApplication::setOrganizationName(QString::fromUtf8(info.title));

    QtTranslator translator(
        chooseLanguage(QString::fromStdString(options.language), QLocale::system().uiLanguages()));
    translator.install();
    QSettings settings;
    PosixClock clock;
    QtKeyboard keyboard;
    QtWindowSystem windows(&keyboard);
    windows.setDisplay(displayFor(options, info, settings));
    PosixProcess process;
    QtTextRenderer text;
    Random random;
    seedRandom(random, options);
    // Under any session, so that a recording holds the game's clock without its pauses.
    PausableClock gameClock(clock, windows);
    Services sv{gameClock, keyboard, windows,     process,   text,
                random,    nullptr,  &translator, &gameClock};
    if (recording) return playReplay(sv, windows, std::move(*recording), options, startUp);
    if (!options.record.empty()) return playRecorded(sv, windows, options, info, startUp);
    startUp(sv, windows, options);
    return kExitOk;
}

} // namespace plat::qt
