#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

namespace Format::Items {
class ItemTables;
}

// One run of a subcommand as the command line gives it, and how its operands
// are read. Every command reads its operands here; the parsing of the whole
// command line (Arguments.h) comes before.

// Exit status of the tool: 0 when everything asked for was done, 1 when any
// step failed (nothing has then been written), 2 when the command line itself
// is wrong.
enum ExitStatus { ExitSuccess = 0, ExitFailure = 1, ExitUsage = 2 };

// One run of a subcommand: its operands in order and the options given
// (without their leading "--").
struct Invocation
{
    QString command;
    QStringList operands;
    QSet<QString> options;
    // The tables of --game-data DIR, read before the command runs; null for the built-in ones.
    std::shared_ptr<const Format::Items::ItemTables> gameData;

    [[nodiscard]] bool Has(const char *option) const { return options.contains(QLatin1String(option)); }
};

// A subcommand as the command line knows it.
struct Command
{
    const char *name;
    const char *synopsis; // operands and options, after the command's name
    QString summary;      // one line, for the list of commands
    QString details;      // the rest of its --help
    const char *options;  // the options it takes, blank-separated, without "--"
    int minOperands;
    int maxOperands; // -1: no limit
    int (*run)(const Invocation &);
};

// The tool's name, as its messages give it.
QString ProgramName();

// Splits the operands into the files (all but the last `trailing`) and the
// rest; false, after saying so, when no file is left.
bool SplitFiles(const Invocation &invocation, int trailing, QStringList &files, QStringList &rest);

// An unsigned decimal number of 0 to 4294967295 as the command line reads
// it (ParseWholeUnsigned), with the refusal reported under caption: the window's
// "Please enter a positive integer." for a text that is no number.
bool ReadUnsigned(const QString &caption, const QString &what, const QString &text, quint32 &value);
