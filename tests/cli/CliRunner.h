#pragma once

// Runs the real brennicor-cli, as a user or a script runs it: what it printed,
// and its exit status (-1 when it did not start or did not end normally).

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
    if (!process.waitForFinished(120000))
        process.kill();
    process.waitForFinished();
    return {process.error() == QProcess::UnknownError ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()), QString::fromLocal8Bit(process.readAllStandardError())};
}
