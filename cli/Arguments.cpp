#include "Arguments.h"

#include "Commands.h"
#include "Console.h"

#include <QCoreApplication>

namespace {

QString ProgramName()
{
    return QStringLiteral("brennicor-cli");
}

const Command *FindCommand(const QString &name)
{
    for (const Command &command : Commands()) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

QStringList OptionsOf(const Command &command)
{
    return QString::fromLatin1(command.options).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

void PrintCommandHelp(const Command &command)
{
    PrintLine(QStringLiteral("Usage: %1 %2 %3").arg(ProgramName(), QLatin1String(command.name),
                                                    QLatin1String(command.synopsis)));
    PrintLine(QString());
    QString summary = QString::fromLatin1(command.summary);
    summary[0] = summary[0].toUpper();
    PrintLine(summary + QLatin1Char('.'));
    PrintLine(QString());
    PrintLine(QString::fromLatin1(command.details).trimmed());
}

void PrintGeneralHelp()
{
    PrintLine(QStringLiteral("Usage: %1 COMMAND [ARGUMENTS...]").arg(ProgramName()));
    PrintLine(QString());
    PrintLine(QStringLiteral("Reads and changes Diablo 2 character files (*.d2s) from the command line, with the"));
    PrintLine(QStringLiteral("same rules as the QUARVINEL window. A command that changes files works on all of them"));
    PrintLine(QStringLiteral("in memory first and saves them only when every step succeeded; each file is replaced"));
    PrintLine(QStringLiteral("atomically."));
    PrintLine(QString());
    PrintLine(QStringLiteral("Commands:"));
    for (const Command &command : Commands())
        PrintLine(QStringLiteral("  %1%2").arg(QLatin1String(command.name), -17).arg(QLatin1String(command.summary)));
    PrintLine(QString());
    PrintLine(QStringLiteral("'%1 COMMAND --help' tells more about a command.").arg(ProgramName()));
    PrintLine(QStringLiteral("Exit status: 0 done, 1 a step failed (nothing written), 2 wrong command line."));
}

int UsageError(const QString &text, const Command *command = nullptr)
{
    const QString caption = command ? ProgramName() + QLatin1Char(' ') + QLatin1String(command->name)
                                    : ProgramName();
    const QString hint = command ? QStringLiteral(" Try '%1 %2 --help'.").arg(ProgramName(), QLatin1String(command->name))
                                 : QStringLiteral(" Try '%1 --help'.").arg(ProgramName());
    Report(caption, text + hint);
    return ExitUsage;
}

} // namespace

int RunCommandLine(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return UsageError(QStringLiteral("no command given."));
    const QString &first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        if (arguments.size() > 1) {
            if (const Command *command = FindCommand(arguments.at(1))) {
                PrintCommandHelp(*command);
                return ExitSuccess;
            }
            return UsageError(QStringLiteral("unknown command \"%1\".").arg(arguments.at(1)));
        }
        PrintGeneralHelp();
        return ExitSuccess;
    }
    if (first == QLatin1String("--version")) {
        PrintLine(ProgramName() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
        return ExitSuccess;
    }

    const Command *command = FindCommand(first);
    if (!command)
        return UsageError(QStringLiteral("unknown command \"%1\".").arg(first));

    Invocation invocation;
    invocation.command = first;
    const QStringList allowed = OptionsOf(*command);
    bool optionsEnded = false;
    for (qsizetype k = 1; k < arguments.size(); ++k) {
        const QString &argument = arguments.at(k);
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            PrintCommandHelp(*command);
            return ExitSuccess;
        } else if (!optionsEnded && argument.startsWith(QLatin1String("--"))) {
            const QString option = argument.mid(2);
            if (!allowed.contains(option))
                return UsageError(QStringLiteral("unknown option \"%1\".").arg(argument), command);
            invocation.options.insert(option);
        } else {
            invocation.operands.append(argument);
        }
    }

    const int count = int(invocation.operands.size());
    if (count < command->minOperands)
        return UsageError(QStringLiteral("too few arguments."), command);
    if (command->maxOperands >= 0 && count > command->maxOperands)
        return UsageError(QStringLiteral("too many arguments."), command);
    return command->run(invocation);
}

bool SplitFiles(const Invocation &invocation, int trailing, QStringList &files, QStringList &rest)
{
    const qsizetype fileCount = invocation.operands.size() - trailing;
    if (fileCount <= 0) {
        Report(ProgramName() + QLatin1Char(' ') + invocation.command, QStringLiteral("no file given."));
        return false;
    }
    files = invocation.operands.mid(0, fileCount);
    rest = invocation.operands.mid(fileCount);
    return true;
}

NumberParse ParseUnsigned(const QString &text, quint32 &value)
{
    const QString trimmed = text.trimmed();
    qsizetype k = 0;
    if (k < trimmed.size() && trimmed.at(k) == QLatin1Char('+'))
        ++k;
    if (k == trimmed.size())
        return NumberParse::NotANumber;
    quint64 number = 0;
    bool tooLarge = false;
    for (; k < trimmed.size(); ++k) {
        const QChar c = trimmed.at(k);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return NumberParse::NotANumber;
        number = number * 10 + quint64(c.unicode() - '0');
        if (number > 0xFFFFFFFFull) {
            tooLarge = true;
            number = 0xFFFFFFFFull;
        }
    }
    if (tooLarge)
        return NumberParse::TooLarge;
    value = quint32(number);
    return NumberParse::Ok;
}

bool ReadUnsigned(const QString &caption, const QString &what, const QString &text, quint32 &value)
{
    switch (ParseUnsigned(text, value)) {
    case NumberParse::Ok:
        return true;
    case NumberParse::NotANumber:
        Report(caption, QStringLiteral("%1 \"%2\": Please enter a positive integer.").arg(what, text));
        return false;
    case NumberParse::TooLarge:
        Report(caption, QStringLiteral("%1 %2 is larger than 4294967295.").arg(what, text.trimmed()));
        return false;
    }
    return false;
}
