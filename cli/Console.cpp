#include "Console.h"

#include <QStringList>

#include <cstdio>

namespace {

QString g_file;

// A message box may hold several lines (the file-error reports name the file
// on a line of its own); on a terminal each message stays on one line.
QString OneLine(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QLatin1Char(' ')).trimmed();
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

void CliPrompts::MessageBox(QObject *, const QString &text, const QString &caption, MessageIcon)
{
    // Results on standard output come first when both go to one terminal.
    std::fflush(stdout);
    QString line = caption + QStringLiteral(": ") + OneLine(text);
    if (!g_file.isEmpty())
        line.prepend(g_file + QStringLiteral(": "));
    Write(stderr, line);
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

void Report(const QString &caption, const QString &text)
{
    Prompts().MessageBox(nullptr, text, caption, MessageIcon::Stop);
}

void PrintLine(const QString &line)
{
    Write(stdout, line);
}
