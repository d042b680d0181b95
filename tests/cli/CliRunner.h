#pragma once

// Runs the real brennicor-cli, as a user or a script runs it, and gives back
// what it printed and its exit status.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

struct CliResult
{
    int exitCode = -1; // -1 when the program did not end normally
    QString out;
    QString err;
};

inline CliResult RunCli(const QStringList &arguments, const QString &workingDirectory = QString())
{
    QProcess process;
    process.setProgram(QStringLiteral(QUARVINEL_CLI));
    process.setArguments(arguments);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start();
    CliResult result;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("brennicor-cli did not finish");
        return result;
    }
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}
