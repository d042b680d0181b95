#include "core/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

class StderrPrompts final : public IPrompts
{
public:
    void MessageBox(QObject *, const QString &text, const QString &caption, MessageIcon) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    }

    bool GetOpenFileName(QString &, const QString &, const QString &) override { return false; }
};

StderrPrompts g_stderrPrompts;

const char *const kFailedToOpen = "Failed to open document.";
const char *const kFailedToSave = "Failed to save document.";
IPrompts *g_prompts = nullptr;

} // namespace

IPrompts &Prompts()
{
    return g_prompts ? *g_prompts : static_cast<IPrompts &>(g_stderrPrompts);
}

IPrompts *SetPrompts(IPrompts *prompts)
{
    IPrompts *previous = g_prompts;
    g_prompts = prompts;
    return previous;
}

QString AfxGetAppTitle()
{
    const QString name = QCoreApplication::applicationName();
    if (!name.isEmpty())
        return name;
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void AfxMessageBox(const QString &text, MessageIcon icon)
{
    Prompts().MessageBox(nullptr, text, AfxGetAppTitle(), icon);
}

QString FileErrorText(const FileError &error)
{
    QString text = QString::fromLatin1(error.action == FileError::Action::Open ? kFailedToOpen : kFailedToSave);
    if (!error.reason.isEmpty())
        text += QStringLiteral("\n\n%1:\n%2").arg(QDir::toNativeSeparators(error.file), error.reason);
    return text;
}

void IPrompts::ReportFileError(const FileError &error)
{
    MessageBox(nullptr, FileErrorText(error), AfxGetAppTitle(), MessageIcon::Exclamation);
}
