#include "core/Prompts.h"

#include <QCoreApplication>
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
