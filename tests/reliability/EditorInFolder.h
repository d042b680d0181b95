#pragma once

#include "BrennicorDlg.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

// The fixture of the fault tests: the real main window with scripted prompts,
// and an empty saves folder inside a temporary root, so that a test may break
// the folder or remove it.
class EditorInFolder
{
protected:
    // False when the folder could not be made.
    bool StartEditor()
    {
        m_root = std::make_unique<QTemporaryDir>();
        if (!m_root->isValid())
            return false;
        m_dir = m_root->filePath(QStringLiteral("saves"));
        if (!QDir().mkpath(m_dir))
            return false;
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_dlg = std::make_unique<CBrennicorDlg>();
        m_dlg->Create();
        return true;
    }

    // False when a handler's error was left pending.
    bool FinishEditor()
    {
        const bool clean = !m_dlg || !m_dlg->TakePendingError();
        m_dlg.reset();
        m_prompts.reset();
        m_root.reset();
        return clean;
    }

    QString file(const QString &name) const { return QDir(m_dir).filePath(name); }

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<CBrennicorDlg> m_dlg;
};
