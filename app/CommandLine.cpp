#include "CommandLine.h"

#include "resources/Resources.h"

#include <QCommandLineParser>

namespace {

bool IsAutomationOption(const QString &argument)
{
    if (argument.size() < 2 || (argument[0] != QLatin1Char('-') && argument[0] != QLatin1Char('/')))
        return false;
    const QStringView name = QStringView(argument).mid(1);
    return name.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0;
}

QCommandLineOption Hidden(const QStringList &names, bool takesValue = false)
{
    QCommandLineOption option(names);
    if (takesValue)
        option.setValueName(QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

// Qt's own options (the GUI application takes them out of the command line
// itself); known here so that they are not refused before it sees them.
void AddQtOptions(QCommandLineParser &parser)
{
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                             "geometry", "qwindowicon", "icon", "qwindowtitle", "title", "session", "display",
                             "name", "style", "stylesheet", "qmljsdebugger"})
        parser.addOption(Hidden({QString::fromLatin1(name)}, true));
    for (const char *name : {"reverse", "nograb", "dograb", "widgetcount", "testability"})
        parser.addOption(Hidden({QString::fromLatin1(name)}));
}

CCommandLineInfo Refused(const QString &error)
{
    CCommandLineInfo info;
    info.m_action = CCommandLineInfo::Action::Error;
    info.m_strError = error;
    return info;
}

} // namespace

bool WantsHelpOrVersion(const QStringList &arguments)
{
    const CCommandLineInfo info = ParseCommandLine(arguments);
    return info.m_action == CCommandLineInfo::Action::Help || info.m_action == CCommandLineInfo::Action::Version;
}

namespace {

// The argument that named an unknown option, as the user wrote it.
QString WrittenOption(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--"))
            break;
        for (const QString &dashes : {QStringLiteral("-"), QStringLiteral("--")}) {
            if (argument == dashes + name || argument.startsWith(dashes + name + QLatin1Char('=')))
                return argument.section(QLatin1Char('='), 0, 0);
        }
    }
    return QStringLiteral("-") + name;
}

} // namespace

CCommandLineInfo ParseCommandLine(const QStringList &arguments)
{
    // The automation options keep the spelling of other systems ("/Automation",
    // "-embedding", in any case), which no parser knows: they are taken out
    // before the rest is parsed.
    CCommandLineInfo info;
    QStringList rest{QStringLiteral("brennicor")};
    bool optionsEnded = false;
    for (const QString &argument : arguments) {
        if (!optionsEnded && argument == QLatin1String("--"))
            optionsEnded = true;
        else if (!optionsEnded && argument == QLatin1String("-"))
            return Refused(QStringLiteral("unknown option '-'"));
        if (!optionsEnded && IsAutomationOption(argument))
            info.m_bRunAutomated = true;
        else
            rest.append(argument);
    }

    QCommandLineParser parser;
    // Qt's options are written with one dash and a long name (-platform).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({help, version});
    AddQtOptions(parser);
    if (!parser.parse(rest)) {
        const QStringList unknown = parser.unknownOptionNames();
        return Refused(unknown.isEmpty() ? parser.errorText()
                                         : QStringLiteral("unknown option '%1'").arg(WrittenOption(arguments, unknown.first())));
    }

    if (parser.isSet(help)) {
        info.m_action = CCommandLineInfo::Action::Help;
        return info;
    }
    if (parser.isSet(version)) {
        info.m_action = CCommandLineInfo::Action::Version;
        return info;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return Refused(QStringLiteral("only one character file can be opened, '%1' is one too many").arg(files.at(1)));
    if (files.size() == 1 && files.first().isEmpty())
        return Refused(QStringLiteral("empty file name"));
    info.m_strFileName = files.value(0);
    return info;
}

QString UsageText(const QString &programName)
{
    return QStringLiteral(
               "Usage: %1 [OPTION]... [FILE]\n"
               "Edit a Diablo 2 character file (*.d2s). With FILE, the editor opens it as soon\n"
               "as its window is up.\n"
               "\n"
               "  -h, --help        show this help and exit\n"
               "      --version     show the version and exit\n"
               "  -Automation, /Automation, -Embedding, /Embedding\n"
               "                    start for an automation client on the session bus (in any\n"
               "                    case); the bus passes this when a client asks for the editor\n"
               "  --                end of the options: what follows is the FILE\n"
               "\n"
               "Every start without these options lets the session bus start the editor for\n"
               "automation clients: it writes\n"
               "$XDG_DATA_HOME/dbus-1/services/Brennicor.Application.service.\n"
               "Qt's own options (-platform, -style, ...) are accepted as well.\n")
        .arg(programName);
}

QString VersionText(const QString &programName)
{
    return QStringLiteral("%1 %2 (%3)\n").arg(programName, QStringLiteral(QUARVINEL_VERSION), QLatin1String(kShownVersion));
}
