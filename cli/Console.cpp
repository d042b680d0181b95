#include "Console.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

QString g_file;
bool g_quiet = false;
bool g_wrongCommandLine = false;

// Whether a line of a message only names file (the framework's file-error
// reports put the full path on a line of its own, ended by ':').
bool NamesFile(const QString &line, const QString &file)
{
    if (file.isEmpty() || !line.endsWith(QLatin1Char(':')))
        return false;
    const QString named = line.chopped(1);
    return named == file || named == QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
}

// A message box may hold several lines; on a terminal each message is one
// line, and the file it names is already at its start. "Failed to open
// document.\n\n/abs/Hero.d2s:\nNo such file or directory" becomes "Failed to
// open document: No such file or directory".
QString OneLine(const QString &text, const QString &file)
{
    QString line;
    bool reasonFollows = false;
    for (const QString &part : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString trimmed = part.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (NamesFile(trimmed, file)) {
            reasonFollows = true;
            continue;
        }
        if (reasonFollows && !line.isEmpty()) {
            if (line.endsWith(QLatin1Char('.')))
                line.chop(1);
            line += QStringLiteral(": ");
        } else if (!line.isEmpty()) {
            line += QLatin1Char(' ');
        }
        line += trimmed;
        reasonFollows = false;
    }
    return line;
}

void Write(std::FILE *stream, const QString &line)
{
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

CliPrompts::CliPrompts()
    : m_previous(SetPrompts(this))
{
}

CliPrompts::~CliPrompts()
{
    std::fflush(stdout);
    SetPrompts(m_previous);
}

void CliPrompts::MessageBox(QObject *, const QString &text, const QString &, MessageIcon)
{
    // Results on standard output come first when both go to one terminal.
    std::fflush(stdout);
    Write(stderr, ErrorLine(g_file, text));
}

bool CliPrompts::GetOpenFileName(QString &, const QString &, const QString &)
{
    return false;
}

FileContext::FileContext(const QString &path)
    : m_previous(g_file)
{
    g_file = path;
}

FileContext::~FileContext()
{
    g_file = m_previous;
}

QString ErrorLine(const QString &file, const QString &text)
{
    QString line = QStringLiteral("brennicor-cli: ");
    if (!file.isEmpty())
        line += file + QStringLiteral(": ");
    return line + OneLine(text, file);
}

void Report(const QString &caption, const QString &text)
{
    Prompts().MessageBox(nullptr, text, caption, MessageIcon::Stop);
}

void ReportWrongCommandLine(const QString &text)
{
    g_wrongCommandLine = true;
    Report(QString(), text);
}

bool CommandLineWasWrong()
{
    return g_wrongCommandLine;
}

void PrintLine(const QString &line)
{
    if (!g_quiet)
        Write(stdout, line);
}

void SetQuiet(bool quiet)
{
    g_quiet = quiet;
}
