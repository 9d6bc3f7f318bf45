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
    parser.addOptions({help, version, scale, fullScreen, seed});
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
    return c;
}

} // namespace plat::qt
