#include "Arguments.h"

#include "SetCommand.h"

#include "Commands.h"
#include "Console.h"
#include "document/PanelFields.h"
#include "document/format/items/ItemTables.h"
#include "VersionGuard.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

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
    QString summary = command.summary;
    summary[0] = summary[0].toUpper();
    PrintLine(summary + QLatin1Char('.'));
    PrintLine(QString());
    PrintLine(command.details.trimmed());
    if (OptionsOf(command).contains(QLatin1String("force")))
        PrintLine(QStringLiteral("  --force      also change a file of a version the tool does not edit"));
    PrintLine(QString());
    PrintLine(QStringLiteral("  -q, --quiet    print no results; only the exit status tells"));
}

void PrintGeneralHelp()
{
    PrintLine(QStringLiteral("Usage: %1 [-q] COMMAND [ARGUMENTS...]").arg(ProgramName()));
    PrintLine(QString());
    PrintLine(QStringLiteral("Reads and changes Diablo 2 character files (*.d2s) from the command line, with the"));
    PrintLine(QStringLiteral("same rules as the QUARVINEL window. A command that changes files works on all of them"));
    PrintLine(QStringLiteral("in memory first and saves them only when every step succeeded; each file is replaced"));
    PrintLine(QStringLiteral("atomically. A command that only reads (show, items, get, find, diff) does what it"));
    PrintLine(QStringLiteral("can and reports each file it could not read."));
    PrintLine(QString());
    PrintLine(QStringLiteral("Commands:"));
    for (const Command &command : Commands())
        PrintLine(QStringLiteral("  %1%2").arg(QLatin1String(command.name), -17).arg(command.summary));
    PrintLine(QString());
    PrintLine(QStringLiteral(
        "File versions (the 32-bit value at offset 4):\n"
        "  71               edited at fixed offsets (game versions 1.00 to 1.06)\n"
        "  87, 89           rebuilt on every change (1.07, 1.08)\n"
        "  92, 96, 97, 98, 99, 105\n"
        "                   rebuilt on every change with a new file size and checksum\n"
        "                   (1.09, 1.10 to 1.14d, the remastered game)\n"
        "  any other        held as read for get, put, find and diff; changed only with --force,\n"
        "                   as is a later file whose sections are not where its version keeps them\n"
        "Edited in each: name, class, level, the panel's numbers, skills, quests, acts,\n"
        "difficulties and waypoints; an expansion character also has Act5 and may be a\n"
        "Druid or an Assassin, a version-105 character of \"Reign of the Warlock\" a Warlock."));
    PrintLine(QString());
    PrintLine(QStringLiteral("Options:"));
    PrintLine(QStringLiteral("  -q, --quiet      print no results; only the exit status and errors tell"));
    PrintLine(QStringLiteral("  -h, --help       show this help, or a command's with COMMAND --help"));
    PrintLine(QStringLiteral("      --version    show the version"));
    PrintLine(QStringLiteral("      --game-data DIR"));
    PrintLine(QStringLiteral("                   read items with the game's tables in DIR (a mod's, or the game's"));
    PrintLine(QStringLiteral("                   own data/global/excel: Armor.txt, ItemStatCost.txt, ...) in place"));
    PrintLine(QStringLiteral("                   of the built-in ones, for every file version; a folder lacking a"));
    PrintLine(QStringLiteral("                   table or a column is refused before any file is read"));
    PrintLine(QString());
    PrintLine(QStringLiteral("Errors go to standard error as \"%1: FILE: what went wrong\".").arg(ProgramName()));
    PrintLine(QStringLiteral("Exit status: 0 done, 1 a step failed (a changing command then wrote nothing),"));
    PrintLine(QStringLiteral("2 wrong command line (an unknown command, option or field). find: 1 when the"));
    PrintLine(QStringLiteral("value is found nowhere. diff: 0 same, 1 different, 2 trouble."));
}

int UsageError(const QString &text, const Command *command = nullptr)
{
    const QString hint = command ? QStringLiteral(" Try '%1 %2 --help'.").arg(ProgramName(), QLatin1String(command->name))
                                 : QStringLiteral(" Try '%1 --help'.").arg(ProgramName());
    ReportWrongCommandLine(text + hint);
    return ExitUsage;
}

// The words the shell's completion offers, one a line: the commands, or the
// fields that set takes (a skill is "skill:" and its name).
int PrintCompletionWords(const QString &kind)
{
    if (kind == QLatin1String("commands")) {
        for (const Command &command : Commands())
            PrintLine(QLatin1String(command.name));
    } else if (kind == QLatin1String("fields")) {
        for (const PanelField &field : kPanelFields)
            PrintLine(QLatin1String(field.key));
        for (const char *other : {"level", "class", "skill:"})
            PrintLine(QLatin1String(other));
        for (const QString &status : StatusFieldKeys())
            PrintLine(status);
    } else {
        return UsageError(QStringLiteral("no completion words \"%1\".").arg(kind));
    }
    return ExitSuccess;
}

} // namespace

int RunCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption quiet(QStringList{QStringLiteral("q"), QStringLiteral("quiet")});
    QCommandLineOption completion(QStringLiteral("completion-words"), QString(), QStringLiteral("commands|fields"));
    completion.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption gameData(QStringLiteral("game-data"), QString(), QStringLiteral("DIR"));
    parser.addOptions({help, version, quiet, completion, gameData});
    const QStringList withProgram = QStringList{ProgramName()} + arguments;

    // A first pass finds the command, whose options the second pass knows.
    parser.parse(withProgram);
    const QStringList words = parser.positionalArguments();
    const bool helpCommand = words.value(0) == QLatin1String("help");
    const Command *command = FindCommand(words.value(helpCommand ? 1 : 0));
    QStringList allowed;
    if (command && !helpCommand)
        allowed = OptionsOf(*command);
    for (const QString &option : allowed)
        parser.addOption(QCommandLineOption(option));
    if (!parser.parse(withProgram))
        return UsageError(parser.errorText(), helpCommand ? nullptr : command);
    SetQuiet(parser.isSet(quiet));

    if (parser.isSet(completion))
        return PrintCompletionWords(parser.value(completion));
    if (parser.isSet(version)) {
        PrintLine(ProgramName() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
        return ExitSuccess;
    }
    if (helpCommand || parser.isSet(help)) {
        const QString named = words.value(helpCommand ? 1 : 0);
        if (command)
            PrintCommandHelp(*command);
        else if (named.isEmpty())
            PrintGeneralHelp();
        else
            return UsageError(QStringLiteral("unknown command \"%1\".").arg(named));
        return ExitSuccess;
    }
    if (words.isEmpty())
        return UsageError(QStringLiteral("no command given."));
    if (!command)
        return UsageError(QStringLiteral("unknown command \"%1\".").arg(words.first()));

    Invocation invocation;
    invocation.command = words.first();
    invocation.operands = words.mid(1);
    for (const QString &option : allowed) {
        if (parser.isSet(option))
            invocation.options.insert(option);
    }

    const int count = int(invocation.operands.size());
    if (count < command->minOperands)
        return UsageError(QStringLiteral("too few arguments."), command);
    if (command->maxOperands >= 0 && count > command->maxOperands)
        return UsageError(QStringLiteral("too many arguments."), command);
    // A folder of tables is read whole before any file is: one it cannot be
    // read from fails the run, as a file that cannot be read does.
    if (parser.isSet(gameData)) {
        const QString dir = parser.value(gameData);
        QString error;
        invocation.gameData = Format::Items::ItemTables::FromFolder(dir, &error);
        if (!invocation.gameData) {
            const FileContext about(dir);
            Report(QString(), error);
            return ExitFailure;
        }
    }
    VersionGuard::ChooseFor(*command, invocation);
    const int status = command->run(invocation);
    return CommandLineWasWrong() ? ExitUsage : status;
}
