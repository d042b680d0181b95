#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for.
struct CCommandLineInfo
{
    enum class Action {
        Run,      // start the editor
        Help,     // print the usage text and exit
        Version,  // print the version and exit
        Error,    // print m_strError and exit with status 2
    };

    Action m_action = Action::Run;
    // "Embedding" or "Automation" was given: started for an automation client.
    bool m_bRunAutomated = false;
    // The character file to open once the window is up, or empty.
    QString m_strFileName;
    QString m_strError;
};

// Reads the arguments that follow the program name. The automation options are
// introduced by "/" or "-" and may be written in any case; "--" ends the
// options, so that a file whose name looks like one can still be opened.
CCommandLineInfo ParseCommandLine(const QStringList &arguments);

// Whether the arguments ask for the help or the version text, which is answered
// before the windowing system is touched.
bool WantsHelpOrVersion(const QStringList &arguments);

QString UsageText(const QString &programName);
QString VersionText(const QString &programName);
