#include "platform/qt/CommandLine.h"

#include <QCommandLineParser>

namespace plat::qt {

namespace {

CommandLine refuse(const ProgramInfo& info, const QString& why) {
    CommandLine c;
    c.exitCode = 2;
    c.err = std::string(info.name) + ": " + why.toStdString() + " (see " + info.name + " --help)\n";
    return c;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments, const ProgramInfo& info) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(info.summary));
    // Help and version are added by hand: Qt's own help option would also offer Qt's options,
    // which these programs do not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and leave."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and leave."));
    const QCommandLineOption scale(
        QStringLiteral("scale"),
        QStringLiteral("Show the window N times as large, N from 1 to 4 (default: the factor "
                       "chosen with Ctrl+Plus and Ctrl+Minus last time)."),
        QStringLiteral("N"));
    const QCommandLineOption fullScreen(QStringLiteral("fullscreen"),
                                        QStringLiteral("Start in fullscreen (F11 switches)."));
    const QCommandLineOption seed(
        QStringLiteral("seed"),
        QStringLiteral("Start the random source from N: the same seed and the same input "
                       "give the same run."),
        QStringLiteral("N"));
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral("Record the session to FILE: everything the game reads (clock, keys, "
                       "mouse, window, message boxes) and the seed, written as it happens."),
        QStringLiteral("FILE"));
    const QCommandLineOption replay(
        QStringLiteral("replay"),
        QStringLiteral("Play the recording FILE back with its scenario and seed: keyboard and "
                       "mouse are ignored but for F11, F12 and Esc; closing the window ends it. "
                       "Exit code 2 for a bad recording, 3 when the game drifts from it."),
        QStringLiteral("FILE"));
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("With --replay: no window, as fast as it goes; prints each message box's "
                       "text and at the end 'end frame=<n> digest=<hex>'. Needs no display."));
    parser.addOptions({help, version, scale, fullScreen, seed, record, replay, headless});
    const QCommandLineOption scenario(
        QStringLiteral("scenario"),
        QStringLiteral("Play the quest in the scenario folder DIR instead of the built-in one."),
        QStringLiteral("DIR"));
    const QCommandLineOption check(
        QStringLiteral("check"),
        QStringLiteral("With --scenario: only read and check the folder; exit 0 when it is "
                       "valid, 1 with every error on standard error. Needs no display."));
    if (info.takesScenario) parser.addOptions({scenario, check});

    if (!parser.parse(arguments)) return refuse(info, parser.errorText());
    CommandLine c;
    if (parser.isSet(help)) {
        // The usage line names the program itself, whatever the parser found to call it.
        QString text = parser.helpText();
        text = QStringLiteral("Usage: %1 [options]").arg(QString::fromUtf8(info.name)) +
               text.mid(text.indexOf(QLatin1Char('\n')));
        c.out = text.toStdString() + "\n" + info.keys;
        c.exitCode = 0;
        return c;
    }
    if (parser.isSet(version)) {
        c.out = std::string(info.name) + " " + info.version + "\n";
        c.exitCode = 0;
        return c;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return refuse(info, QStringLiteral("unexpected argument '%1'.")
                                .arg(parser.positionalArguments().constFirst()));
    }
    if (parser.isSet(scale)) {
        bool ok = false;
        const int n = parser.value(scale).toInt(&ok);
        if (!ok || n < 1 || n > 4) {
            return refuse(info, QStringLiteral("--scale takes a whole number from 1 to 4, not "
                                               "'%1'.")
                                    .arg(parser.value(scale)));
        }
        c.options.scale = n;
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        const qulonglong n = parser.value(seed).toULongLong(&ok);
        if (!ok) {
            return refuse(info, QStringLiteral("--seed takes a whole number from 0 to "
                                               "18446744073709551615, not '%1'.")
                                    .arg(parser.value(seed)));
        }
        c.options.seed = n;
    }
    c.options.fullScreen = parser.isSet(fullScreen);
    if (info.takesScenario) {
        c.options.scenario = parser.value(scenario).toStdString();
        c.options.check = parser.isSet(check);
        if (c.options.check && c.options.scenario.empty()) {
            return refuse(info, QStringLiteral("--check needs --scenario DIR."));
        }
    }
    c.options.record = parser.value(record).toStdString();
    c.options.replay = parser.value(replay).toStdString();
    c.options.headless = parser.isSet(headless);
    const bool replaying = parser.isSet(replay);
    if ((parser.isSet(record) && c.options.record.empty()) ||
        (replaying && c.options.replay.empty())) {
        return refuse(info, QStringLiteral("--record and --replay take a file name."));
    }
    if (parser.isSet(record) && replaying) {
        return refuse(info, QStringLiteral("--record and --replay do not go together."));
    }
    if (c.options.headless && !replaying) {
        return refuse(info, QStringLiteral("--headless needs --replay FILE."));
    }
    // The recording knows its scenario and seed; --check plays nothing.
    for (const QCommandLineOption* o : {&seed, &scenario, &check}) {
        if (o != &seed && !info.takesScenario) break;
        if (replaying && parser.isSet(*o)) {
            return refuse(info, QStringLiteral("--replay takes no --%1: the recording has it.")
                                    .arg(o->names().constFirst()));
        }
    }
    if (c.options.check && parser.isSet(record)) {
        return refuse(info, QStringLiteral("--check plays nothing to record."));
    }
    return c;
}

} // namespace plat::qt
