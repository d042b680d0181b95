#include "Console.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

QString g_file;
bool g_quiet = false;
bool g_wrongCommandLine = false;

// A message box may hold several lines; on a terminal each message is one line.
QString OneLine(const QString &text)
{
    QStringList parts;
    for (const QString &part : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty())
            parts.append(trimmed);
    }
    return parts.join(QLatin1Char(' '));
}

// What was being done, in the command line's own words.
QString ActionText(FileError::Action action)
{
    return action == FileError::Action::Open ? QStringLiteral("Failed to open document")
                                             : QStringLiteral("Failed to save document");
}

// Whether path is the file the command is working on, as given or absolute.
bool IsContextFile(const QString &path)
{
    if (g_file.isEmpty())
        return false;
    const QString named = QDir::toNativeSeparators(path);
    return named == g_file || named == QDir::toNativeSeparators(QFileInfo(g_file).absoluteFilePath());
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

// "Failed to open document: No such file or directory" for the file the line
// already names; another file (a backup, say) is named after the action.
void CliPrompts::ReportFileError(const FileError &error)
{
    QString text = ActionText(error.action);
    if (error.reason.isEmpty())
        text += QLatin1Char('.');
    else if (IsContextFile(error.file))
        text += QStringLiteral(": ") + OneLine(error.reason);
    else
        text += QStringLiteral(". %1: %2").arg(QDir::toNativeSeparators(error.file), OneLine(error.reason));
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
    return line + OneLine(text);
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

void PrintText(QByteArrayView text)
{
    if (!g_quiet)
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
}

void SetQuiet(bool quiet)
{
    g_quiet = quiet;
}

QString Printable(QStringView text)
{
    QString printable;
    printable.reserve(text.size());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'\\')
            printable += QStringLiteral("\\\\");
        else if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F))
            printable += QStringLiteral("\\u%1").arg(unsigned(unit), 4, 16, QLatin1Char('0'));
        else
            printable += c;
    }
    return printable;
}
