#pragma once

#include "core/Prompts.h"

#include <QString>

// Where the tool talks to its user. Every message box of the document and the
// framework (a file that cannot be read or written, "Open a document first!")
// and every error of the tool itself becomes one line on standard error:
//
//     brennicor-cli: FILE: what went wrong
//
// where FILE is the file the command was working on (left out when the error
// is about no file). The window's caption is not repeated: on the command line
// the command is known. Results go to standard output, unless --quiet asked
// for the exit status alone.
class CliPrompts final : public IPrompts
{
public:
    // Installs itself for its lifetime.
    CliPrompts();
    ~CliPrompts() override;
    CliPrompts(const CliPrompts &) = delete;
    CliPrompts &operator=(const CliPrompts &) = delete;

    void MessageBox(QObject *owner, const QString &text, const QString &caption,
                    MessageIcon icon) override;
    // Built from the error's parts in the command line's own words, never
    // from the window's sentence.
    void ReportFileError(const FileError &error) override;
    // The tool names its files on its command line; it never asks for one.
    bool GetOpenFileName(QString &path, const QString &defaultExtension,
                         const QString &filter) override;

private:
    IPrompts *m_previous;
};

// Names the file that the messages reported while it lives are about.
class FileContext
{
public:
    explicit FileContext(const QString &path);
    ~FileContext();
    FileContext(const FileContext &) = delete;
    FileContext &operator=(const FileContext &) = delete;

private:
    QString m_previous;
};

// Reports an error as a message box of the program would; the caption names
// the window's command and is not printed.
void Report(const QString &caption, const QString &text);

// Reports an error in the command line itself (an unknown field, say): the
// run then ends with the status of a wrong command line, 2.
void ReportWrongCommandLine(const QString &text);
[[nodiscard]] bool CommandLineWasWrong();

// One line of the command's result on standard output; nothing when quiet.
void PrintLine(const QString &line);
// Part of the result as it stands, UTF-8, with no line end added; nothing when quiet.
void PrintText(QByteArrayView text);
void SetQuiet(bool quiet);

// Text read from a file (a character's name), made safe and unambiguous to
// print: each control character (U+0000 to U+001F and U+007F to U+009F,
// which a terminal could take as a command) becomes \u and four lower-case
// hex digits, in the form of a JSON escape ("a\u001bb"), and a backslash
// becomes two. Every other character stays as it is.
[[nodiscard]] QString Printable(QStringView text);

// The one line an error becomes on standard error, for text about file
// (empty when about no file).
[[nodiscard]] QString ErrorLine(const QString &file, const QString &text);
