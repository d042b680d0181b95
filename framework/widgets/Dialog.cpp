#include "widgets/Dialog.h"

#include "widgets/DataExchange.h"
#include "widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Keeps the exchange depth right whatever DoDataExchange throws.
class ExchangeScope
{
public:
    explicit ExchangeScope(int &depth) : m_depth(depth) { ++m_depth; }
    ~ExchangeScope() { --m_depth; }
    ExchangeScope(const ExchangeScope &) = delete;
    ExchangeScope &operator=(const ExchangeScope &) = delete;

private:
    int &m_depth;
};

} // namespace

CDialog::CDialog(const DialogTemplate &dialogTemplate, QWidget *parent)
    : QDialog(parent), m_template(dialogTemplate)
{
    Qt::WindowFlags flags = (dialogTemplate.style & DialogAppWindow) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint;
    if (dialogTemplate.style & DialogMinimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
    setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    setFont(DialogFont(dialogTemplate));
    BuildControls();
    BuildMenu();
}

CDialog::~CDialog() = default;

void CDialog::BuildControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    const DialogUnits units(font());
    client->setFixedSize(units.X(m_template.cx), units.Y(m_template.cy));
    layout->addWidget(client);

    m_controls = BuildDialogControls(m_template, client, units);
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        const int id = it.key();
        QWidget *w = it.value();
        if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            connect(edit, &QLineEdit::textChanged, this,
                    [this, id] { OnControlSignal(m_editChanges, id); });
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            // Only a choice of the user's is a selection change; the program's
            // own changes of the list are never reported.
            connect(combo, &QComboBox::activated, this,
                    [this, id] { OnControlSignal(m_selChanges, id); });
        } else if (auto *list = qobject_cast<QListWidget *>(w)) {
            // A list or a row of tabs reports every change of its current item;
            // the program changes them with the signals blocked.
            connect(list, &QListWidget::currentRowChanged, this,
                    [this, id] { OnControlSignal(m_selChanges, id); });
        } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
            connect(tabs, &QTabBar::currentChanged, this, [this, id] { OnControlSignal(m_selChanges, id); });
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, id] { Dispatch([this, id] { RouteCommand(id); }, true); });
        }
    }
}

void CDialog::BuildMenu()
{
    if (!m_template.menu)
        return;
    m_pMenuBar = new QMenuBar(this);
    layout()->setMenuBar(m_pMenuBar);
    for (const MenuItemTemplate &popup : m_template.menu->popups) {
        QMenu *menu = m_pMenuBar->addMenu(QString::fromUtf8(popup.text));
        connect(menu, &QMenu::aboutToShow, this, &CDialog::UpdateMenuStates);
        for (const MenuItemTemplate &item : popup.items) {
            if (!item.text) {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(QString::fromUtf8(item.text));
            const int command = item.command;
            action->setData(command);
            // Shown in the menu; none of the standard keys used here is one a
            // text box needs for itself (undo, select all, copy and paste).
            if (item.shortcut)
                action->setShortcut(QKeySequence(QKeySequence::StandardKey(item.shortcut)));
            else if (item.keys)
                action->setShortcut(QKeySequence(QString::fromLatin1(item.keys)));
            m_menuActions.insert(command, action);
            connect(action, &QAction::triggered, this,
                    [this, command] { Dispatch([this, command] { RouteCommand(command); }, false); });
        }
    }
}

void CDialog::UpdateMenuStates()
{
    for (auto it = m_menuActions.cbegin(); it != m_menuActions.cend(); ++it)
        it.value()->setEnabled(HasCommandHandler(it.key()));
}

bool CDialog::HasCommandHandler(int command) const
{
    return m_commands.contains(command) || command == IDOK || command == IDCANCEL;
}

void CDialog::PlaceDlgItem(int id, QWidget *widget)
{
    QWidget *placeholder = m_controls.value(id, nullptr);
    Q_ASSERT(placeholder && widget);
    QWidget *client = placeholder->parentWidget();
    widget->setParent(client);
    widget->setGeometry(placeholder->geometry());
    widget->setObjectName(placeholder->objectName());
    if (widget->accessibleName().isEmpty())
        widget->setAccessibleName(placeholder->accessibleName());
    for (QLabel *label : client->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->buddy() == placeholder)
            label->setBuddy(widget);
    }
    // The tab order moves only between controls that take the focus.
    const Qt::FocusPolicy policy = widget->focusPolicy();
    placeholder->setFocusPolicy(Qt::TabFocus);
    if (policy == Qt::NoFocus)
        widget->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(placeholder, widget);
    widget->setFocusPolicy(policy);
    widget->setVisible(!placeholder->isHidden());
    m_controls.insert(id, widget);
    placeholder->hide();
    placeholder->setParent(nullptr);
    placeholder->deleteLater();
}

QAction *CDialog::MenuAction(int command) const
{
    return m_menuActions.value(command, nullptr);
}

QWidget *CDialog::GetDlgItem(int id) const
{
    return m_controls.value(id, nullptr);
}

void CDialog::Initialize()
{
    if (m_bInitialized)
        return;
    m_bInitialized = true;
    UpdateMenuStates();
    OnInitDialog();
}

bool CDialog::Create()
{
    Initialize();
    show();
    return true;
}

int CDialog::DoModal()
{
    m_pendingError = nullptr;
    Initialize();
    m_nModalResult = IDCANCEL;
    setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop loop;
    m_pModalLoop = &loop;
    // A handler may already have ended the dialog from OnInitDialog.
    if (!m_pendingError)
        loop.exec(QEventLoop::DialogExec);
    m_pModalLoop = nullptr;
    hide();
    if (m_pendingError) {
        std::exception_ptr error = m_pendingError;
        m_pendingError = nullptr;
        std::rethrow_exception(error);
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    if (m_pModalLoop)
        m_pModalLoop->exit(result);
    else
        hide();
}

std::exception_ptr CDialog::TakePendingError()
{
    std::exception_ptr error = m_pendingError;
    m_pendingError = nullptr;
    return error;
}

bool CDialog::UpdateData(bool bSaveAndValidate)
{
    const ExchangeScope scope(m_nExchangeDepth);
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::Failure &) {
        return false;
    }
    return true;
}

void CDialog::DoDataExchange(CDataExchange *)
{
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnClose()
{
    OnCancel();
}

void CDialog::SendCommand(int command)
{
    Dispatch([this, command] { RouteCommand(command); }, false);
}

void CDialog::PostToHandler(std::function<void()> work)
{
    QTimer::singleShot(0, this, [this, work = std::move(work)] { Dispatch(work, false); });
}

void CDialog::RouteCommand(int command)
{
    const auto it = m_commands.constFind(command);
    if (it != m_commands.cend())
        it.value()();
    else if (command == IDOK)
        OnOK();
    else if (command == IDCANCEL)
        OnCancel();
}

void CDialog::OnControlSignal(QHash<int, std::function<void()>> &map, int id)
{
    const auto it = map.constFind(id);
    if (it == map.cend())
        return;
    const std::function<void()> handler = it.value();
    Dispatch(handler, true);
}

void CDialog::Dispatch(const std::function<void()> &handler, bool fromControl)
{
    // The program's own changes of its controls never reach a handler.
    if (fromControl && m_nExchangeDepth > 0)
        return;
    // A dialog that is ending with an error runs nothing more.
    if (m_pendingError)
        return;
    try {
        handler();
    } catch (...) {
        if (OnHandlerError(std::current_exception()))
            return;
        m_pendingError = std::current_exception();
        if (m_pModalLoop)
            m_pModalLoop->exit(IDCANCEL);
    }
}

bool CDialog::OnHandlerError(const std::exception_ptr &)
{
    return false;
}

void CDialog::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~Qt::KeypadModifier)
            break;
        if (auto *button = qobject_cast<QPushButton *>(focusWidget())) {
            button->click();
        } else {
            SendCommand(IDOK);
        }
        event->accept();
        return;
    case Qt::Key_Escape:
        SendCommand(IDCANCEL);
        event->accept();
        return;
    case Qt::Key_F1:
        SendCommand(ID_HELP);
        event->accept();
        return;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void CDialog::closeEvent(QCloseEvent *event)
{
    event->ignore();
    Dispatch([this] { OnClose(); }, false);
}

void CDialog::reject()
{
    SendCommand(IDCANCEL);
}

void CDialog::accept()
{
    SendCommand(IDOK);
}

void Explain(QWidget *control, const QString &text)
{
    control->setToolTip(text);
    control->setAccessibleDescription(text);
}
