#pragma once

#include "widgets/DialogTemplate.h"

#include <QDialog>
#include <QHash>
#include <QString>

#include <exception>
#include <functional>

class CDataExchange;
class QAction;
class QEventLoop;
class QMenuBar;

// Gives control a tooltip and the same text as its accessible description.
void Explain(QWidget *control, const QString &text);

// The framework's command identifier of Help (the F1 key).
inline constexpr int ID_HELP = 57670;

// A dialog built from a template, with the platform framework's behaviour:
//
// - controls are addressed by their numeric identifier;
// - UpdateData runs DoDataExchange in either direction, and while it runs no
//   change, selection or click handler of this dialog runs (the lock-out);
// - every control signal and menu command reaches its handler through one
//   dispatch function, which checks the lock-out and keeps exceptions from
//   crossing Qt's event loop: whatever a handler throws ends the modal run and
//   DoModal throws it again in its caller;
// - Enter calls OnOK and Esc OnCancel (a focused push button takes Enter itself);
//   the close box calls OnClose;
// - a menu command without a handler is shown disabled.
class CDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CDialog(const DialogTemplate &dialogTemplate, QWidget *parent = nullptr);
    ~CDialog() override;

    // Initialises the dialog (OnInitDialog on first use), shows it and runs it
    // modally until EndDialog. Returns IDOK or IDCANCEL (or what EndDialog was
    // given). Rethrows what a handler threw while it ran.
    int DoModal();
    // Initialises and shows the dialog without a modal run.
    bool Create();
    void EndDialog(int result);
    [[nodiscard]] bool IsInModalRun() const { return m_pModalLoop != nullptr; }

    // Controls to members (false) or members to controls with validation (true).
    // Returns false when a control's text does not parse.
    bool UpdateData(bool bSaveAndValidate = true);
    [[nodiscard]] bool IsInDataExchange() const { return m_nExchangeDepth > 0; }

    [[nodiscard]] QWidget *GetDlgItem(int id) const;
    template <class W>
    [[nodiscard]] W *DlgItem(int id) const { return qobject_cast<W *>(GetDlgItem(id)); }
    // Puts widget, a control of the program's own, in the place of the
    // template's Custom control id: its rectangle, its place in the tab order,
    // its accessible name and label, its identifier. Its signal
    // selectionChanged then reaches the selection handler of id through the
    // dispatch, as a list's selection does. The dialog owns the widget.
    template <class W, class Signal>
    W *ReplaceDlgItem(int id, W *widget, Signal selectionChanged)
    {
        PlaceDlgItem(id, widget);
        connect(widget, selectionChanged, this, [this, id] { OnControlSignal(m_selChanges, id); });
        return widget;
    }
    [[nodiscard]] const DialogTemplate &Template() const { return m_template; }

    // The menu action of a command, or null.
    [[nodiscard]] QAction *MenuAction(int command) const;
    [[nodiscard]] QMenuBar *MenuBar() const { return m_pMenuBar; }
    // Whether a handler is mapped for a command (menu item or button).
    [[nodiscard]] bool HasCommandHandler(int command) const;

    void SetWindowText(const QString &text) { setWindowTitle(text); }
    [[nodiscard]] QString GetWindowText() const { return windowTitle(); }

    // Runs a command as if it came from the menu or a button.
    void SendCommand(int command);
    // Runs work from the event loop, through the same guard as a handler: for
    // start-up work that belongs inside the modal run.
    void PostToHandler(std::function<void()> work);

    // An error a handler threw while no modal run was there to carry it.
    std::exception_ptr TakePendingError();

protected:
    virtual void DoDataExchange(CDataExchange *pDX);
    // Default: UpdateData(false); returns true.
    virtual bool OnInitDialog();
    // Default: reads the controls back and ends with IDOK when that succeeds.
    virtual void OnOK();
    // Default: ends with IDCANCEL.
    virtual void OnCancel();
    // The close box. Default: OnCancel.
    virtual void OnClose();
    // An error a handler threw: true when the dialog has dealt with it (told
    // the user and goes on), false to end the modal run with it. Default:
    // false.
    virtual bool OnHandlerError(const std::exception_ptr &error);

    // Message map: handlers are member functions without arguments.
    template <class T>
    void MapCommand(int command, void (T::*handler)())
    {
        m_commands.insert(command, [this, handler] { (static_cast<T *>(this)->*handler)(); });
    }
    template <class T>
    void MapEditChange(int id, void (T::*handler)())
    {
        m_editChanges.insert(id, [this, handler] { (static_cast<T *>(this)->*handler)(); });
    }
    template <class T>
    void MapSelChange(int id, void (T::*handler)())
    {
        m_selChanges.insert(id, [this, handler] { (static_cast<T *>(this)->*handler)(); });
    }
    // A click on a push button or check box is a command of its identifier.
    template <class T>
    void MapClicked(int id, void (T::*handler)())
    {
        MapCommand(id, handler);
    }

    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    void accept() override;

private:
    void BuildControls();
    void BuildMenu();
    void PlaceDlgItem(int id, QWidget *widget);
    void UpdateMenuStates();
    void Initialize();
    // The one way in which a control or command reaches a handler.
    void Dispatch(const std::function<void()> &handler, bool fromControl);
    void RouteCommand(int command);
    void OnControlSignal(QHash<int, std::function<void()>> &map, int id);

    const DialogTemplate &m_template;
    QHash<int, QWidget *> m_controls;
    QHash<int, QAction *> m_menuActions;
    QHash<int, std::function<void()>> m_commands;
    QHash<int, std::function<void()>> m_editChanges;
    QHash<int, std::function<void()>> m_selChanges;
    QMenuBar *m_pMenuBar = nullptr;
    QEventLoop *m_pModalLoop = nullptr;
    int m_nModalResult = IDCANCEL;
    int m_nExchangeDepth = 0;
    bool m_bInitialized = false;
    std::exception_ptr m_pendingError;
};
