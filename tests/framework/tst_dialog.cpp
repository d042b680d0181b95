// The dialog framework on a small dialog of its own: data exchange with its
// number parsing and messages, the handler lock-out, keys, menus, and errors
// travelling out of modal runs.

#include "support/ScriptedPrompts.h"
#include "widgets/ComboBox.h"
#include "widgets/DataExchange.h"
#include "widgets/DialogBuilder.h"
#include "widgets/Dialog.h"
#include "widgets/QtPrompts.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

enum { IDC_FIRST = 10, IDC_SIGNED, IDC_TEXT, IDC_LIST, IDC_CHECK, IDC_THROW, IDC_NESTED, ID_MAPPED = 100, ID_UNMAPPED };
const MenuTemplate g_menu{1, {{"&Test", 0, {{"&Mapped", ID_MAPPED, {}}, {"&Unmapped", ID_UNMAPPED, {}}}}}};
const DialogTemplate g_template{900, "Exchange test", 200, 120, "MS Sans Serif", 8, DialogModalFrame, &g_menu, {
    {IDC_STATIC, ControlKind::Static, "First:", 5, 5, 40, 8},
    {IDC_FIRST, ControlKind::Edit, "", 50, 5, 40, 12},
    {IDC_SIGNED, ControlKind::Edit, "", 50, 35, 40, 12, StyleNone, "Signed"},
    {IDC_TEXT, ControlKind::Edit, "", 50, 50, 40, 12},
    {IDC_LIST, ControlKind::ComboBox, "", 50, 65, 60, 50},
    {IDC_CHECK, ControlKind::CheckBox, "Check", 120, 5, 50, 10},
    {IDC_THROW, ControlKind::PushButton, "Throw", 120, 20, 50, 14},
    {IDC_NESTED, ControlKind::PushButton, "Nested", 120, 40, 50, 14}}};

class TestDialog : public CDialog
{
    Q_OBJECT

public:
    TestDialog() : CDialog(g_template)
    {
        MapEditChange(IDC_FIRST, &TestDialog::OnChange);
        MapSelChange(IDC_LIST, &TestDialog::OnChange);
        MapClicked(IDC_CHECK, &TestDialog::OnChange);
        MapClicked(IDC_THROW, &TestDialog::OnThrow);
        MapClicked(IDC_NESTED, &TestDialog::OnNested);
        MapCommand(ID_MAPPED, &TestDialog::OnChange);
    }
    void DoDataExchange(CDataExchange *pDX) override
    {
        DDX_Control(pDX, IDC_LIST, m_cbList);
        DDX_Text(pDX, IDC_FIRST, m_nFirst);
        DDX_Text(pDX, IDC_SIGNED, m_nSigned);
        DDX_Text(pDX, IDC_TEXT, m_strText);
        DDV_MaxChars(pDX, m_strText, 5);
        DDX_CBIndex(pDX, IDC_LIST, m_nList);
        DDX_Check(pDX, IDC_CHECK, m_bCheck);
    }
    bool OnInitDialog() override
    {
        UpdateData(false);
        for (const char *item : {"zero", "one", "two"})
            m_cbList.AddString(QString::fromLatin1(item));
        return true;
    }
    void OnChange() { ++m_nHandled; }
    void OnThrow() { throw "offset out of range"; }
    void OnNested()
    {
        TestDialog inner;
        QTimer::singleShot(0, &inner, [&inner] { inner.DlgItem<QPushButton>(IDC_THROW)->click(); });
        inner.DoModal();
        m_bAfterNested = true;
    }
    QString Members() const { return QStringLiteral("%1 %2 %3 %4 %5").arg(m_nFirst).arg(m_nSigned).arg(m_strText).arg(m_nList).arg(m_bCheck); }
    QString Shown() const
    {
        return QStringLiteral("%1 %2 %3 %4 %5").arg(DlgItem<QLineEdit>(IDC_FIRST)->text(), DlgItem<QLineEdit>(IDC_SIGNED)->text(),
            DlgItem<QLineEdit>(IDC_TEXT)->text()).arg(DlgItem<QComboBox>(IDC_LIST)->currentIndex())
            .arg(QChar::fromLatin1("021"[DlgItem<QCheckBox>(IDC_CHECK)->checkState()]));
    }

    CComboBox m_cbList;
    quint32 m_nFirst = 1;
    qint32 m_nSigned = 2;
    QString m_strText = QStringLiteral("old");
    int m_nList = -1, m_bCheck = 0, m_nHandled = 0;
    bool m_bAfterNested = false;
};

} // namespace

class TestFrameworkDialog : public QObject
{
    Q_OBJECT

private:
    ScriptedPrompts m_prompts;

private Q_SLOTS:
    void init() { m_prompts.Reset(); }
    // Texts put into First, Signed and Text, then read back into members that held
    // 1, 2 and "old". The read stops at the first faulty box, which gets the focus
    // with its text selected; a text too long is read, then refused.
    void readBack_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("members");
        QTest::addColumn<QString>("message"); // empty: the read succeeds
        QTest::addColumn<int>("focus");
        const QString u = QStringLiteral("Please enter a positive integer."), s = QStringLiteral("Please enter an integer.");
        QTest::newRow("blanks, a plus and a tab") << QStringList{"  +12\t", " -40 ", "abcde"} << "12 -40 abcde -1 0" << "" << 0;
        QTest::newRow("largest, smallest") << QStringList{"4294967295", "-2147483648", ""} << "4294967295 -2147483648  -1 0" << "" << 0;
        QTest::newRow("beyond both ends saturates") << QStringList{"4294967296", "2147483648", ""} << "4294967295 2147483647  -1 0" << "" << 0;
        QTest::newRow("32 digits, and below the smallest")
            << QStringList{QString(32, QLatin1Char('9')), "-9999999999", ""} << "4294967295 -2147483648  -1 0" << "" << 0;
        QTest::newRow("only 31 characters are seen")
            << QStringList{QString(29, QLatin1Char(' ')) + "123x", QString(30, QLatin1Char(' ')) + "7x", ""} << "12 7  -1 0" << "" << 0;
        for (const char *bad : {"12a", "", "   ", "-1", "+", "+0", "12 34", "12\n"})
            QTest::newRow(qPrintable(QStringLiteral("first: \"%1\"").arg(QLatin1String(bad)))) << QStringList{bad, "5", "t"} << "1 2 old -1 0" << u << int(IDC_FIRST);
        for (const char *bad : {"1.5", "-"})
            QTest::newRow(qPrintable(QStringLiteral("signed: \"%1\"").arg(QLatin1String(bad)))) << QStringList{"9", bad, "t"} << "9 2 old -1 0" << s << int(IDC_SIGNED);
        QTest::newRow("text longer than 5") << QStringList{"9", "8", "abcdef"} << "9 8 abcdef -1 0"
                                            << "Please enter no more than 5 characters." << int(IDC_TEXT);
    }

    void readBack()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, members);
        QFETCH(QString, message);
        QFETCH(int, focus);
        TestDialog dlg;
        dlg.Create();
        dlg.activateWindow();
        for (int id : {IDC_FIRST, IDC_SIGNED, IDC_TEXT}) {
            dlg.DlgItem<QLineEdit>(id)->setMaxLength(100); // a text that reaches the box another way
            dlg.DlgItem<QLineEdit>(id)->setText(texts[id - IDC_FIRST]);
        }
        QCOMPARE(dlg.UpdateData(true), message.isEmpty());
        QCOMPARE(dlg.Members(), members);
        QCOMPARE(m_prompts.Summaries(), message.isEmpty() ? QStringList() : QStringList{"tst_dialog|" + message});
        for (const ScriptedPrompts::Message &m : m_prompts.messages)
            QCOMPARE(m.icon, MessageIcon::Exclamation);
        if (focus) {
            QCOMPARE(dlg.focusWidget(), dlg.GetDlgItem(focus));
            QCOMPARE(dlg.DlgItem<QLineEdit>(focus)->selectedText(), texts[focus - IDC_FIRST]);
        }
    }

    // A list index past the items and a check state outside 0..2 show as none and
    // unchecked, and read back so.
    void fillShowsMembers_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<int>("check");
        QTest::addColumn<QString>("shown");
        QTest::newRow("first item, checked") << 0 << 1 << "1 2 old 0 1";
        QTest::newRow("last item, indeterminate") << 2 << 2 << "1 2 old 2 2";
        QTest::newRow("none, unchecked") << -1 << 0 << "1 2 old -1 0";
        QTest::newRow("past the end, 3") << 3 << 3 << "1 2 old -1 0";
        QTest::newRow("far below, -1") << -5 << -1 << "1 2 old -1 0";
    }

    void fillShowsMembers()
    {
        QFETCH(int, list);
        QFETCH(int, check);
        QFETCH(QString, shown);
        TestDialog dlg;
        dlg.Create();
        dlg.m_nList = list, dlg.m_bCheck = check;
        QVERIFY(dlg.UpdateData(false));
        QCOMPARE(dlg.Shown(), shown);
        QVERIFY(dlg.UpdateData(true));
        QCOMPARE(dlg.Members(), shown);
        // A box that already shows its member is left alone, cursor and all.
        QLineEdit *first = dlg.DlgItem<QLineEdit>(IDC_FIRST);
        first->setCursorPosition(0);
        dlg.UpdateData(false);
        QCOMPARE(first->cursorPosition(), 0);
        QCOMPARE(dlg.m_nHandled, 0);
        QVERIFY(m_prompts.messages.isEmpty());
    }

    void handlersRunForTheUserOnly()
    {
        TestDialog dlg;
        dlg.Create();
        dlg.m_nFirst = 77, dlg.m_nList = 2, dlg.m_bCheck = 1;
        dlg.UpdateData(false);
        dlg.UpdateData(true);
        dlg.m_cbList.AddString(QStringLiteral("three"));
        QCOMPARE(dlg.m_nHandled, 0);
        QTest::keyClicks(dlg.DlgItem<QLineEdit>(IDC_FIRST), QStringLiteral("12"));
        auto *list = dlg.DlgItem<QComboBox>(IDC_LIST);
        list->setCurrentIndex(1);
        Q_EMIT list->activated(1);
        dlg.DlgItem<QCheckBox>(IDC_CHECK)->click();
        QCOMPARE(dlg.m_nHandled, 4);
        QVERIFY(!dlg.MenuAction(ID_UNMAPPED)->isEnabled());
        QCOMPARE(dlg.MenuAction(ID_MAPPED)->text(), QStringLiteral("&Mapped"));
        dlg.MenuAction(ID_MAPPED)->trigger();
        QCOMPARE(dlg.m_nHandled, 5);
        dlg.DlgItem<QLineEdit>(IDC_TEXT)->clear();
        QTest::keyClicks(dlg.DlgItem<QLineEdit>(IDC_TEXT), QStringLiteral("abcdefgh")); // stops at the limit
        QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_TEXT)->text(), QStringLiteral("abcde"));
        QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_SIGNED)->accessibleName(), QStringLiteral("Signed"));
        QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_FIRST)->accessibleName(), QStringLiteral("First"));
        QVERIFY(dlg.GetDlgItem(IDC_SIGNED)->geometry().top() > dlg.GetDlgItem(IDC_FIRST)->geometry().bottom());
    }

    // Keys sent to a control of the running dialog: what the run returns or throws.
    void keysAndErrorsEndModalRuns_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("messages");
        const QString bad = QStringLiteral("Please enter a positive integer.");
        QTest::newRow("Enter on a bad number stays, keypad Enter ends with OK")
            << int(IDC_FIRST) << QList<int>{Qt::Key_Return, Qt::Key_Enter} << "1" << QStringList{bad};
        QTest::newRow("Esc ends with Cancel") << int(IDC_FIRST) << QList<int>{Qt::Key_Escape} << "2" << QStringList();
        QTest::newRow("Enter on a button that throws") << int(IDC_THROW) << QList<int>{Qt::Key_Return}
                                                       << "offset out of range" << QStringList();
        QTest::newRow("an error out of a dialog the handler runs")
            << int(IDC_NESTED) << QList<int>{Qt::Key_Return} << "offset out of range" << QStringList();
    }

    void keysAndErrorsEndModalRuns()
    {
        QFETCH(int, control);
        QFETCH(QList<int>, keys);
        QFETCH(QString, result);
        QFETCH(QStringList, messages);
        TestDialog dlg;
        QTimer::singleShot(0, &dlg, [&] {
            QWidget *w = dlg.GetDlgItem(control);
            dlg.activateWindow();
            w->setFocus();
            if (control == IDC_FIRST)
                dlg.DlgItem<QLineEdit>(IDC_FIRST)->setText(QStringLiteral("bad"));
            for (int key : keys) {
                QTest::keyClick(w, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
                dlg.DlgItem<QLineEdit>(IDC_FIRST)->setText(QStringLiteral("8"));
            }
        });
        QString outcome;
        try {
            outcome = QString::number(dlg.DoModal());
        } catch (const char *text) {
            outcome = QString::fromLatin1(text);
        }
        QCOMPARE(outcome, result);
        QCOMPARE(m_prompts.Texts(), messages);
        QCOMPARE(dlg.m_nFirst, result == QLatin1String("1") ? 8u : 1u);
        QVERIFY(!dlg.isVisible());
        QVERIFY(!dlg.m_bAfterNested);
    }

    // Four horizontal units are the average width of the letters, rounded to the
    // nearest pixel; eight vertical units are the height of a line.
    void dialogUnitsFollowTheFont()
    {
        const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        for (int points = 6; points <= 20; ++points) {
            const QFont font(QStringLiteral("MS Sans Serif"), points);
            const QFontMetrics fm(font);
            const DialogUnits units(font);
            QCOMPARE(units.X(400), 100 * qRound(fm.horizontalAdvance(letters) / 52.0));
            QCOMPARE(units.Rect(0, 0, 4, 800).height(), 100 * fm.height());
        }
    }

    // The prompts a user sees outside the tests: Qt's message box and file dialog.
    void realPromptsUseQtDialogs_data()
    {
        QTest::addColumn<QString>("answer"); // a file chosen, "" cancels; "box" for a message box
        QTest::addColumn<QString>("seen");
        QTest::newRow("a message box: caption, plain text, icon") << "box" << "Compare|<b>offset</b>|3";
        QTest::newRow("a file chosen") << "/tmp/Hero.d2s" << "1 /tmp/Hero.d2s Char Files (*.d2s);;All Files (*) d2s";
        QTest::newRow("the file dialog cancelled") << "" << "0 kept Char Files (*.d2s);;All Files (*) d2s";
    }

    void realPromptsUseQtDialogs()
    {
        QFETCH(QString, answer);
        QFETCH(QString, seen);
        QtPrompts prompts;
        QString shown, path = QStringLiteral("kept");
        if (answer == QLatin1String("box")) {
            const auto ran = WhenModal<QMessageBox>([&](QMessageBox *box) {
                shown = box->windowTitle() + '|' + box->text() + '|' + QString::number(box->icon());
                QCOMPARE(box->textFormat(), Qt::PlainText);
                box->accept();
            });
            prompts.MessageBox(nullptr, QStringLiteral("<b>offset</b>"), QStringLiteral("Compare"), MessageIcon::Stop);
            QVERIFY(*ran);
        } else {
            const auto ran = WhenModal<QFileDialog>([&](QFileDialog *dialog) {
                shown = dialog->nameFilters().join(";;") + ' ' + dialog->defaultSuffix();
                dialog->selectFile(answer);
                answer.isEmpty() ? dialog->reject() : static_cast<QDialog *>(dialog)->accept();
            });
            const bool chosen = prompts.GetOpenFileName(path, QStringLiteral("d2s"),
                                                        QStringLiteral("Char Files (*.d2s)|*.d2s|All Files (*.*)|*.*||"));
            QVERIFY(*ran);
            shown = QStringLiteral("%1 %2 ").arg(int(chosen)).arg(path) + shown;
        }
        QCOMPARE(shown, seen);
    }
};

QTEST_MAIN(TestFrameworkDialog)
#include "tst_dialog.moc"
