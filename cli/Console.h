#pragma once

#include "core/Prompts.h"

#include <QString>

// Where the tool talks to its user. Every message box of the document and the
// framework (a file that cannot be read or written, "Open a document first!")
// becomes one line "caption: text" on standard error, with the same caption
// and text the window shows; the tool's own errors take the same form. While
// a command works on one of several files, the line starts with that file.
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

// Reports an error as a message box of the program would: "caption: text".
void Report(const QString &caption, const QString &text);

// One line of the command's result on standard output.
void PrintLine(const QString &line);
