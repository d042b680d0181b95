#include "support/ScriptedPrompts.h"

ScriptedPrompts::ScriptedPrompts()
    : m_previous(SetPrompts(this))
{
}

ScriptedPrompts::~ScriptedPrompts()
{
    SetPrompts(m_previous);
}

void ScriptedPrompts::MessageBox(QObject *owner, const QString &text, const QString &caption,
                                 MessageIcon icon)
{
    messages.append({owner, text, caption, icon});
}

bool ScriptedPrompts::AskYesNo(QObject *owner, const QString &text, const QString &caption, MessageIcon icon)
{
    MessageBox(owner, text, caption, icon);
    return !yesNoAnswers.isEmpty() && yesNoAnswers.takeFirst();
}

bool ScriptedPrompts::GetOpenFileName(QString &path, const QString &defaultExtension,
                                      const QString &filter)
{
    Q_UNUSED(defaultExtension);
    Q_UNUSED(filter);
    const QString answer = fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    if (!answer.isEmpty())
        path = answer;
    return !answer.isEmpty();
}

QStringList ScriptedPrompts::Texts() const
{
    QStringList texts;
    for (const Message &m : messages)
        texts.append(m.text);
    return texts;
}

QStringList ScriptedPrompts::Summaries() const
{
    QStringList out;
    for (const Message &m : messages)
        out.append(m.caption + QLatin1Char('|') + m.text);
    return out;
}

void ScriptedPrompts::Reset()
{
    messages.clear();
    fileAnswers.clear();
}
