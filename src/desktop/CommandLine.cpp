#include "CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

namespace {
// Options that QGuiApplication and its platform plugins take out of argv themselves.
constexpr const char *qtValueOptions[] = {"platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                          "geometry", "qwindowtitle", "title", "qwindowicon", "icon", "session",
                                          "name", "qmljsdebugger"};
constexpr const char *qtFlagOptions[] = {"reverse", "nograb", "dograb", "sync", "testability"};
} // namespace

CommandLine::Outcome CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Qt's own options are single-dash words: -platform, not -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Hold the button for as long as you can: the time held is counted, the best is kept."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption({QStringLiteral("platform"), QStringLiteral("Qt's display plugin: wayland or xcb."),
                      QStringLiteral("name")});
    parser.addOption({QStringLiteral("display"), QStringLiteral("The X11 display to use."),
                      QStringLiteral("display")});
    for (const char *name : qtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : qtFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    // Qt names the program in the usage only once an application exists, which is too late here.
    const QString program = arguments.isEmpty() ? QStringLiteral("brinmor") : QFileInfo(arguments[0]).fileName();
    const QString usage = parser.helpText().replace(QStringLiteral("<executable_name>"), program);
    if (!parser.parse(arguments))
        return {false, 2, {}, program + QStringLiteral(": ") + parser.errorText() + u'\n' + usage};
    if (!parser.positionalArguments().isEmpty())
        return {false, 2, {},
                program + QStringLiteral(": unexpected argument '") + parser.positionalArguments().constFirst()
                    + QStringLiteral("'.\n") + usage};
    if (parser.isSet(help))
        return {false, 0, usage, {}};
    if (parser.isSet(version))
        return {false, 0, program + u' ' + QStringLiteral(BRINMOR_VERSION) + u'\n', {}};
    return {};
}

int CommandLine::handle(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Outcome outcome = parse(arguments);
    std::fputs(outcome.out.toLocal8Bit().constData(), stdout);
    std::fputs(outcome.err.toLocal8Bit().constData(), stderr);
    return outcome.run ? -1 : outcome.status;
}
