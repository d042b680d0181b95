#pragma once

// Runs the real brennicor-cli (or a shell that runs it), as a user or a script
// runs it: what it printed, and its exit status (-1 when it did not start or
// did not end normally).

#include <QProcess>
#include <QStringList>

struct CliResult
{
    int exitCode = -1;
    QString out;
    QString err;
    QStringList calls; // the fault shim's log of file-system calls, when it ran
};

inline CliResult RunCli(const QStringList &arguments, const QString &workingDirectory = QString(),
                        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
                        const QString &program = QStringLiteral(QUARVINEL_CLI))
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        process.kill();
    process.waitForFinished();
    return {process.error() == QProcess::UnknownError ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()), QString::fromLocal8Bit(process.readAllStandardError()), {}};
}
