#pragma once

#include <QString>

class QObject;

// The icon of a message box. The values follow the platform's message box types.
enum class MessageIcon { None, Exclamation, Stop, Information, Question };

// A file that could not be read or written, as parts: which file, what was
// being done with it, and the system's reason (empty when none is known).
// Each front end builds its own sentence from the parts.
struct FileError
{
    enum class Action { Open, Save };
    QString file;
    Action action;
    QString reason;
};

// The message box text of a file error: "Failed to open document." or
// "Failed to save document.", then, with a reason, a blank line, the file
// and the reason on lines of their own.
[[nodiscard]] QString FileErrorText(const FileError &error);

// Every question the program puts to the user goes through this interface:
// message boxes and the open-file dialog. The real implementation lives in the
// widget part of the framework; tests install a scripted one.
class IPrompts
{
public:
    virtual ~IPrompts() = default;

    // Shows a message box with an OK button. owner is the window that owns the
    // box, or null for none.
    virtual void MessageBox(QObject *owner, const QString &text, const QString &caption,
                            MessageIcon icon) = 0;

    // Asks for an existing or new file name. filter uses the "Name|pattern|...||"
    // form. Returns false when the user cancels; path then stays as it was.
    virtual bool GetOpenFileName(QString &path, const QString &defaultExtension,
                                 const QString &filter) = 0;

    // Reports a file error. The window shows FileErrorText under the
    // application's title with the exclamation icon.
    virtual void ReportFileError(const FileError &error);

    // Asks a question with Yes and No buttons; true for Yes. Prompts that
    // cannot ask show the text and answer No, the choice that changes nothing.
    virtual bool AskYesNo(QObject *owner, const QString &text, const QString &caption, MessageIcon icon)
    {
        MessageBox(owner, text, caption, icon);
        return false;
    }
};

// The prompts in force. Until one is installed, messages go to standard error
// and every file question is answered with a cancel.
IPrompts &Prompts();

// Installs prompts (not owned); null restores the default. Returns the previous ones.
IPrompts *SetPrompts(IPrompts *prompts);

// The application's title, the caption of the framework's own message boxes.
QString AfxGetAppTitle();

// Shows a framework message box: the application's title as caption, no owner.
void AfxMessageBox(const QString &text, MessageIcon icon = MessageIcon::Exclamation);
