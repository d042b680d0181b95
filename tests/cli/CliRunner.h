#pragma once

// Runs the real brennicor-cli, as a user or a script runs it, and gives back
// what it printed and its exit status (-1 when it did not end normally).

#include <QProcess>
#include <QStringList>

struct CliResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

inline CliResult RunCli(const QStringList &arguments, const QString &workingDirectory = QString())
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(QUARVINEL_CLI), arguments);
    CliResult result;
    if (!process.waitForFinished(120000))
        process.kill();
    process.waitForFinished();
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}
