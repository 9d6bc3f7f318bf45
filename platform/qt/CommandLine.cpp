#include "platform/qt/CommandLine.h"

#include <QCommandLineParser>

#include "platform/Seams.h"

namespace plat::qt {

namespace {

CommandLine refuse(const ProgramInfo& info, const QString& why) {
    CommandLine c;
    c.exitCode = kExitRefused;
    c.err = std::string(info.name) + ": " + why.toStdString() + " (see " + info.name + " --help)\n";
    return c;
}

// Every option the programs know; the scenario ones are offered only where the program takes
// a scenario.
struct OptionSet {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and leave.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and leave.")};
    QCommandLineOption scale{
        QStringLiteral("scale"),
        QStringLiteral("Show the window N times as large, N from 1 to 4 (default: the factor "
                       "chosen with Ctrl+Plus and Ctrl+Minus last time)."),
        QStringLiteral("N")};
    QCommandLineOption fullScreen{QStringLiteral("fullscreen"),
                                  QStringLiteral("Start in fullscreen (F11 switches).")};
    QCommandLineOption seed{
        QStringLiteral("seed"),
        QStringLiteral("Start the random source from N: the same seed and the same input "
                       "give the same run."),
        QStringLiteral("N")};
    QCommandLineOption record{
        QStringLiteral("record"),
        QStringLiteral("Record the session to FILE: everything the game reads (clock, keys, "
                       "mouse, window, message boxes) and the seed, written as it happens."),
        QStringLiteral("FILE")};
    QCommandLineOption replay{
        QStringLiteral("replay"),
        QStringLiteral("Play the recording FILE back with its scenario and seed: keyboard and "
                       "mouse are ignored but for F11, F12 and Esc; closing the window ends it. "
                       "Exit code 2 for a bad recording, 3 when the game drifts from it."),
        QStringLiteral("FILE")};
    QCommandLineOption headless{
        QStringLiteral("headless"),
        QStringLiteral("With --replay: no window, as fast as it goes; prints each message box's "
                       "text and at the end 'end frame=<n> digest=<hex>'. Needs no display.")};
    QCommandLineOption language{
        QStringLiteral("lang"),
        QStringLiteral("Show the game's texts in LANG: ja (Japanese) or en (English). Default: "
                       "the desktop's language (LANGUAGE, LC_ALL, LANG); any other falls back "
                       "to English. The language changes no rule: a recording replays in either."),
        QStringLiteral("LANG")};
    QCommandLineOption scenario{
        QStringLiteral("scenario"),
        QStringLiteral("Play the quest in the scenario folder DIR instead of the built-in one."),
        QStringLiteral("DIR")};
    QCommandLineOption check{
        QStringLiteral("check"),
        QStringLiteral("With --scenario: only read and check the folder; exit 0 when it is "
                       "valid, 1 with every error on standard error. Needs no display.")};
    QCommandLineOption watch{
        QStringLiteral("watch"),
        QStringLiteral("With --scenario: read the folder again whenever a file in it changes. "
                       "A folder without errors replaces the scripts at the next frame; errors "
                       "show in the window title and change nothing.")};
    QCommandLineOption trace{
        QStringLiteral("trace"),
        QStringLiteral("Write a line for every command the scripts run to FILE: the frame, the "
                       "run, FILE:LINE, the command as written and the registers it changed."),
        QStringLiteral("FILE")};
    QCommandLineOption breakAt{
        QStringLiteral("break"),
        QStringLiteral("Pause the game before a command written on LINE of FILE (as the scripts' "
                       "file is named, e.g. scripts.tkl), or on the next line with one. "
                       "Repeatable."),
        QStringLiteral("FILE:LINE")};
};

void offerOptions(QCommandLineParser& parser, const OptionSet& o, const ProgramInfo& info) {
    parser.setApplicationDescription(QString::fromUtf8(info.summary));
    // Help and version are added by hand: Qt's own help option would also offer Qt's options,
    // which these programs do not take.
    parser.addOptions({o.help, o.version, o.scale, o.fullScreen, o.language, o.seed, o.record,
                       o.replay, o.headless});
    if (info.takesScenario) parser.addOptions({o.scenario, o.check, o.watch, o.trace, o.breakAt});
}

// --help or --version: the text to print and exit code 0; nothing when neither is asked for.
std::optional<CommandLine> helpOrVersion(QCommandLineParser& parser, const OptionSet& o,
                                         const ProgramInfo& info) {
    CommandLine c;
    c.exitCode = kExitOk;
    if (parser.isSet(o.help)) {
        // The usage line names the program itself, whatever the parser found to call it.
        QString text = parser.helpText();
        text = QStringLiteral("Usage: %1 [options]").arg(QString::fromUtf8(info.name)) +
               text.mid(text.indexOf(QLatin1Char('\n')));
        c.out = text.toStdString() + "\n" + info.keys;
        return c;
    }
    if (parser.isSet(o.version)) {
        c.out = std::string(info.name) + " " + info.version + "\n";
        return c;
    }
    return std::nullopt;
}

// Reads --scale, --seed and --lang into `options`; answers what is wrong with them, empty when nothing.
QString readValues(const QCommandLineParser& parser, const OptionSet& o, Options& options) {
    if (parser.isSet(o.scale)) {
        bool ok = false;
        const int n = parser.value(o.scale).toInt(&ok);
        if (!ok || n < 1 || n > 4) {
            return QStringLiteral("--scale takes a whole number from 1 to 4, not '%1'.")
                .arg(parser.value(o.scale));
        }
        options.scale = n;
    }
    if (parser.isSet(o.seed)) {
        bool ok = false;
        const qulonglong n = parser.value(o.seed).toULongLong(&ok);
        if (!ok) {
            return QStringLiteral("--seed takes a whole number from 0 to "
                                  "18446744073709551615, not '%1'.")
                .arg(parser.value(o.seed));
        }
        options.seed = n;
    }
    if (parser.isSet(o.language)) {
        const QString lang = parser.value(o.language);
        if (lang != QLatin1String("ja") && lang != QLatin1String("en"))
            return QStringLiteral("--lang takes ja or en, not '%1'.").arg(lang);
        options.language = lang.toStdString();
    }
    return {};
}

// Reads every --break FILE:LINE into `options`; answers what is wrong with one, empty when
// nothing.
QString readBreaks(const QCommandLineParser& parser, const OptionSet& o, Options& options) {
    for (const QString& given : parser.values(o.breakAt)) {
        const qsizetype colon = given.lastIndexOf(QLatin1Char(':'));
        bool ok = false;
        const int line = colon > 0 ? given.mid(colon + 1).toInt(&ok) : 0;
        if (!ok || line < 1)
            return QStringLiteral("--break takes FILE:LINE (e.g. scripts.tkl:12), not '%1'.")
                .arg(given);
        options.breaks.emplace_back(given.left(colon).toStdString(), line);
    }
    if (!options.breaks.empty() && parser.isSet(o.check))
        return QStringLiteral("--check plays nothing to break in.");
    return {};
}

// The options that do not go together; answers the first clash found, empty when none.
QString findClash(const QCommandLineParser& parser, const OptionSet& o, const Options& options,
                  const ProgramInfo& info) {
    const bool recording = parser.isSet(o.record);
    const bool replaying = parser.isSet(o.replay);
    if (info.takesScenario && options.check && options.scenario.empty())
        return QStringLiteral("--check needs --scenario DIR.");
    if ((recording && options.record.empty()) || (replaying && options.replay.empty()))
        return QStringLiteral("--record and --replay take a file name.");
    if (recording && replaying) return QStringLiteral("--record and --replay do not go together.");
    if (options.headless && !replaying) return QStringLiteral("--headless needs --replay FILE.");
    // A pause waits for Continue, which only a window can give.
    if (options.headless && !options.breaks.empty())
        return QStringLiteral("--break needs a window: it does not go with --headless.");
    // The recording knows its scenario and seed; --check plays nothing.
    for (const QCommandLineOption* given : {&o.seed, &o.scenario, &o.check}) {
        if (given != &o.seed && !info.takesScenario) break;
        if (replaying && parser.isSet(*given)) {
            return QStringLiteral("--replay takes no --%1: the recording has it.")
                .arg(given->names().constFirst());
        }
    }
    if (options.check && recording) return QStringLiteral("--check plays nothing to record.");
    if (options.watch && (options.scenario.empty() || options.check))
        return QStringLiteral("--watch needs --scenario DIR to play.");
    // A folder read again in the middle of a session is nothing a replay could repeat.
    if (options.watch && recording)
        return QStringLiteral("--watch and --record do not go together.");
    if (info.takesScenario && parser.isSet(o.trace) && options.trace.empty())
        return QStringLiteral("--trace takes a file name.");
    return {};
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments, const ProgramInfo& info) {
    QCommandLineParser parser;
    const OptionSet o;
    offerOptions(parser, o, info);
    if (!parser.parse(arguments)) return refuse(info, parser.errorText());
    if (std::optional<CommandLine> leave = helpOrVersion(parser, o, info)) return *leave;
    if (!parser.positionalArguments().isEmpty()) {
        return refuse(info, QStringLiteral("unexpected argument '%1'.")
                                .arg(parser.positionalArguments().constFirst()));
    }
    CommandLine c;
    if (const QString wrong = readValues(parser, o, c.options); !wrong.isEmpty())
        return refuse(info, wrong);
    c.options.fullScreen = parser.isSet(o.fullScreen);
    if (info.takesScenario) {
        c.options.scenario = parser.value(o.scenario).toStdString();
        c.options.check = parser.isSet(o.check);
        c.options.watch = parser.isSet(o.watch);
        c.options.trace = parser.value(o.trace).toStdString();
        if (const QString wrong = readBreaks(parser, o, c.options); !wrong.isEmpty())
            return refuse(info, wrong);
    }
    c.options.record = parser.value(o.record).toStdString();
    c.options.replay = parser.value(o.replay).toStdString();
    c.options.headless = parser.isSet(o.headless);
    if (const QString clash = findClash(parser, o, c.options, info); !clash.isEmpty())
        return refuse(info, clash);
    return c;
}

} // namespace plat::qt
