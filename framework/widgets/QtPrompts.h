#pragma once

#include "core/Prompts.h"

// The real prompts: QMessageBox and Qt's own file dialog.
class QtPrompts final : public IPrompts
{
public:
    void MessageBox(QObject *owner, const QString &text, const QString &caption,
                    MessageIcon icon) override;
    bool GetOpenFileName(QString &path, const QString &defaultExtension,
                         const QString &filter) override;
    bool AskYesNo(QObject *owner, const QString &text, const QString &caption, MessageIcon icon) override;
};

// Turns a "Name|pattern|Name|pattern||" filter into Qt's "Name (pattern);;..." form.
QString QtFileFilter(const QString &filter);
