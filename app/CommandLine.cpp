#include "CommandLine.h"

namespace {

bool IsAutomationOption(const QString &argument)
{
    if (argument.size() < 2 || (argument[0] != QLatin1Char('-') && argument[0] != QLatin1Char('/')))
        return false;
    const QStringView name = QStringView(argument).mid(1);
    return name.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0;
}

bool IsHelp(const QString &argument)
{
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

bool IsVersion(const QString &argument)
{
    return argument == QLatin1String("--version");
}

} // namespace

bool WantsHelpOrVersion(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--"))
            break;
        if (IsHelp(argument) || IsVersion(argument))
            return true;
    }
    return false;
}

CCommandLineInfo ParseCommandLine(const QStringList &arguments)
{
    CCommandLineInfo info;
    bool optionsEnded = false;
    bool haveFile = false;
    for (const QString &argument : arguments) {
        if (!optionsEnded) {
            if (argument == QLatin1String("--")) {
                optionsEnded = true;
                continue;
            }
            if (IsAutomationOption(argument)) {
                info.m_bRunAutomated = true;
                continue;
            }
            if (IsHelp(argument)) {
                info.m_action = CCommandLineInfo::Action::Help;
                return info;
            }
            if (IsVersion(argument)) {
                info.m_action = CCommandLineInfo::Action::Version;
                return info;
            }
            // A leading "/" is an absolute path unless it names an automation
            // option; a leading "-" is always an option.
            if (argument.startsWith(QLatin1Char('-'))) {
                info.m_action = CCommandLineInfo::Action::Error;
                info.m_strError = QStringLiteral("unknown option '%1'").arg(argument);
                return info;
            }
        }
        if (argument.isEmpty()) {
            info.m_action = CCommandLineInfo::Action::Error;
            info.m_strError = QStringLiteral("empty file name");
            return info;
        }
        if (haveFile) {
            info.m_action = CCommandLineInfo::Action::Error;
            info.m_strError = QStringLiteral("only one character file can be opened, '%1' is one too many")
                                  .arg(argument);
            return info;
        }
        haveFile = true;
        info.m_strFileName = argument;
    }
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
    return QStringLiteral("%1 %2\n").arg(programName, QStringLiteral(QUARVINEL_VERSION));
}
