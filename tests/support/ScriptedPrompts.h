#pragma once

#include "core/Prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

// Prompts for tests: records every message box and answers every file question
// from a queue, so tests assert on exact texts without blocking. Installed for
// its lifetime.
class ScriptedPrompts final : public IPrompts
{
public:
    struct Message
    {
        QObject *owner;
        QString text;
        QString caption;
        MessageIcon icon;
    };

    ScriptedPrompts();
    ~ScriptedPrompts() override;

    void MessageBox(QObject *owner, const QString &text, const QString &caption,
                    MessageIcon icon) override;
    bool GetOpenFileName(QString &path, const QString &defaultExtension,
                         const QString &filter) override;
    // Records the question as a message and answers it from yesNoAnswers
    // (No when the queue is empty).
    bool AskYesNo(QObject *owner, const QString &text, const QString &caption, MessageIcon icon) override;

    // Answers for the next file questions, in order; an empty string cancels.
    // With the queue empty, a question is answered with a cancel.
    void QueueFile(const QString &path) { fileAnswers.append(path); }

    // Texts of the recorded messages, in order.
    QStringList Texts() const;
    // "caption|text" of each recorded message, in order.
    QStringList Summaries() const;
    void Reset();

    QList<Message> messages;
    QStringList fileAnswers;
    QList<bool> yesNoAnswers;

private:
    IPrompts *m_previous;
};
