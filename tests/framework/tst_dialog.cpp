// The dialog framework on a small dialog of its own: data exchange, number parsing and its
// messages, the handler lock-out, keys, menus, layout, errors out of modal runs, real prompts.

#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"
#include "widgets/ComboBox.h"
#include "widgets/DataExchange.h"
#include "widgets/Dialog.h"
#include "widgets/DialogBuilder.h"
#include "widgets/QtPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

enum { IDC_FIRST = 10, IDC_SIGNED, IDC_TEXT, IDC_LIST, IDC_CHECK, IDC_THROW, ID_MAPPED = 100, ID_UNMAPPED };
const MenuTemplate g_menu{1, {{"&Test", 0, {{"&Mapped", ID_MAPPED, {}}, {"&Unmapped", ID_UNMAPPED, {}}, {"&Close", IDCANCEL, {}}}}}};
const DialogTemplate g_template{900, "Exchange test", 200, 150, "MS Sans Serif", 8, DialogModalFrame, &g_menu, {
    {IDC_STATIC, ControlKind::Static, "First:", 5, 5, 40, 8},
    {IDC_FIRST, ControlKind::Edit, "", 50, 5, 40, 12},
    {IDC_SIGNED, ControlKind::Edit, "", 50, 35, 40, 12, StyleNone, "Signed"},
    {IDC_TEXT, ControlKind::Edit, "", 50, 50, 40, 12},
    {IDC_LIST, ControlKind::ComboBox, "", 50, 65, 60, 50},
    {IDC_CHECK, ControlKind::CheckBox, "Check", 120, 5, 50, 10},
    {IDC_THROW, ControlKind::PushButton, "Throw", 120, 20, 50, 14},
    {IDC_STATIC, ControlKind::Static, "Wide label at the left, ten units high", 5, 100, 20, 10},
    {IDC_STATIC, ControlKind::Static, "Wide label at the right edge", 5, 112, 20, 8, StyleRightAlign},
    {IDC_STATIC, ControlKind::Static, "Wide label of two lines that wraps", 5, 122, 20, 20, StyleDisabled},
    {IDOK, ControlKind::DefPushButton, "OK >>>>", 150, 60, 12, 14}}};

struct TestDialog : CDialog
{
    TestDialog() : CDialog(g_template)
    {
        MapEditChange(IDC_FIRST, &TestDialog::OnChange);
        MapSelChange(IDC_LIST, &TestDialog::OnChange);
        MapClicked(IDC_CHECK, &TestDialog::OnChange);
        MapClicked(IDC_THROW, &TestDialog::OnThrow);
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
    void OnChange() { ++m_nHandled; }
    void OnThrow() { throw "offset out of range"; }
    QString Members() const { return QStringLiteral("%1 %2 %3 %4 %5").arg(m_nFirst).arg(m_nSigned).arg(m_strText).arg(m_nList).arg(m_bCheck); }
    QString Text(int id) const { return DlgItem<QLineEdit>(id)->text(); }
    QString Shown() const
    {
        return QStringLiteral("%1 %2 %3 %4 %5").arg(Text(IDC_FIRST), Text(IDC_SIGNED), Text(IDC_TEXT))
            .arg(DlgItem<QComboBox>(IDC_LIST)->currentIndex()).arg(QChar::fromLatin1("021"[DlgItem<QCheckBox>(IDC_CHECK)->checkState()]));
    }

    CComboBox m_cbList;
    quint32 m_nFirst = 1;
    qint32 m_nSigned = 2;
    QString m_strText = QStringLiteral("old");
    int m_nList = -1, m_bCheck = 0, m_nHandled = 0;
};

// The raw tools' offset boxes: a signed member, -1 for none.
struct OffsetDialog : CDialog
{
    OffsetDialog() : CDialog(g_template) {}
    void DoDataExchange(CDataExchange *pDX) override { DDX_TextOffset(pDX, IDC_SIGNED, m_nOffset); }
    qint32 m_nOffset = -1;
};

} // namespace

class TestFrameworkDialog : public QObject
{
    Q_OBJECT
    ScriptedPrompts m_prompts;

private Q_SLOTS:
    void init() { QStandardPaths::setTestModeEnabled(true); m_prompts.Reset(); } // keeps off the user's settings
    // Texts read back into members holding 1, 2 and "old": the read stops at the first faulty
    // box, which gets the focus with its text selected; a text too long is read, then refused.
    void readBack_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("members");
        QTest::addColumn<QString>("message"); // empty: the read succeeds
        QTest::newRow("blanks, a plus and a tab") << QStringList{"  +12\t", " -40 ", "abcde"} << "12 -40 abcde -1 0" << "";
        QTest::newRow("zero in both") << QStringList{"0", " 0", ""} << "0 0  -1 0" << "";
        QTest::newRow("largest, smallest") << QStringList{"4294967295", "-2147483648", ""} << "4294967295 -2147483648  -1 0" << "";
        QTest::newRow("beyond the ends saturates") << QStringList{QString(30, QLatin1Char('9')), "2147483648", ""} << "4294967295 2147483647  -1 0" << "";
        QTest::newRow("only 31 characters are seen") << QStringList{QString(29, QLatin1Char(' ')) + "123x", QString(30, QLatin1Char(' ')) + "7x", ""} << "12 7  -1 0" << "";
        for (const char *bad : {"12a", "", "   ", "-1", "+", "+0", "12 34", "12\n"})
            QTest::newRow(qPrintable(QStringLiteral("first: \"%1\"").arg(QLatin1String(bad)))) << QStringList{bad, "5", "t"} << "1 2 old -1 0" << kParseUIntMessage;
        for (const char *bad : {"1.5", "-", "-0", "+-3"})
            QTest::newRow(qPrintable(QStringLiteral("signed: \"%1\"").arg(QLatin1String(bad)))) << QStringList{"9", bad, "t"} << "9 2 old -1 0" << kParseIntMessage;
        QTest::newRow("text longer than 5") << QStringList{"9", "8", "abcdef"} << "9 8 abcdef -1 0" << "Please enter no more than 5 characters.";
    }

    void readBack()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, members);
        QFETCH(QString, message);
        TestDialog dlg;
        QVERIFY(dlg.Create());
        dlg.DlgItem<QLineEdit>(IDC_TEXT)->setMaxLength(100); // a text that reaches the box another way
        for (int id : {IDC_FIRST, IDC_SIGNED, IDC_TEXT})
            dlg.DlgItem<QLineEdit>(id)->setText(texts[id - IDC_FIRST]);
        QCOMPARE(dlg.UpdateData(true), message.isEmpty());
        QCOMPARE(dlg.Members(), members);
        QCOMPARE(m_prompts.Summaries(), message.isEmpty() ? QStringList() : QStringList{"tst_dialog|" + message});
        if (!message.isEmpty()) {
            const int focus = message == kParseUIntMessage ? IDC_FIRST : message == kParseIntMessage ? IDC_SIGNED : IDC_TEXT;
            QVERIFY(dlg.focusWidget() == dlg.GetDlgItem(focus) && dlg.DlgItem<QLineEdit>(focus)->selectedText() == texts[focus - IDC_FIRST]);
        }
    }

    // Offsets from 2^31 up show and read as the unsigned offsets they are; -1 stays "none".
    void offsetsAreUnsigned_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // after reading the text in and showing the member again
        QTest::addColumn<bool>("read");
        QTest::newRow("none") << "-1" << "-1" << true;
        QTest::newRow("an offset past 2^31") << "2147483748" << "2147483748" << true;
        QTest::newRow("the last offset an image can have") << "4294967294" << "4294967294" << true;
        QTest::newRow("an ordinary offset") << " 621" << "621" << true;
        QTest::newRow("no number") << "x" << "-1" << false;
    }

    void offsetsAreUnsigned()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, read);
        OffsetDialog dlg;
        QVERIFY(dlg.Create());
        dlg.DlgItem<QLineEdit>(IDC_SIGNED)->setText(typed);
        QCOMPARE(dlg.UpdateData(true), read);
        QCOMPARE(m_prompts.Summaries(), read ? QStringList() : QStringList{QStringLiteral("tst_dialog|") + kParseIntMessage});
        dlg.UpdateData(false);
        QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_SIGNED)->text(), shown);
    }

    // A list index past the items and a check state outside 0..2 show as none and
    // unchecked. The program's own changes reach no handler; the user's do, once each.
    void fillAndHandlers_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<int>("check");
        QTest::addColumn<QString>("shown");
        QTest::newRow("first item, checked") << 0 << 1 << "1 2 old 0 1";
        QTest::newRow("last item, indeterminate") << 2 << 2 << "1 2 old 2 2";
        QTest::newRow("past the end, 3") << 3 << 3 << "1 2 old -1 0";
    }

    void fillAndHandlers()
    {
        QFETCH(int, list);
        QFETCH(int, check);
        QFETCH(QString, shown);
        TestDialog dlg;
        QVERIFY(dlg.Create());
        for (const char *item : {"zero", "one", "two"})
            QCOMPARE(dlg.m_cbList.GetLBText(dlg.m_cbList.AddString(QString::fromLatin1(item))), QString::fromLatin1(item));
        QCOMPARE(dlg.Shown(), QStringLiteral("1 2 old -1 0")); // adding items selects none
        dlg.m_nList = list, dlg.m_bCheck = check;
        QVERIFY(dlg.UpdateData(false));
        QCOMPARE(dlg.Shown(), shown);
        QVERIFY(dlg.UpdateData(true));
        QCOMPARE(dlg.Members(), shown);
        auto *first = dlg.DlgItem<QLineEdit>(IDC_FIRST);
        first->setCursorPosition(0); // a box that already shows its member keeps its cursor
        QVERIFY(dlg.UpdateData(false) && first->cursorPosition() == 0);
        QTest::keyClicks(first, QStringLiteral("2"));
        QTest::keyClicks(dlg.DlgItem<QComboBox>(IDC_LIST), QStringLiteral("o")); // picks "one"
        dlg.DlgItem<QCheckBox>(IDC_CHECK)->click();
        QVERIFY(!dlg.MenuAction(ID_UNMAPPED)->isEnabled() && dlg.MenuAction(IDCANCEL)->isEnabled());
        dlg.MenuAction(ID_MAPPED)->trigger();
        QCOMPARE(dlg.m_nHandled, 4);
        QTest::keyClicks(dlg.DlgItem<QLineEdit>(IDC_TEXT), QStringLiteral("abcdefgh")); // stops at the limit
        QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_TEXT)->text(), QStringLiteral("oldab"));
        QCOMPARE(dlg.GetDlgItem(IDC_SIGNED)->accessibleName() + first->accessibleName() + dlg.GetDlgItem(IDOK)->accessibleName(), QStringLiteral("SignedFirst"));
    }

    // Keys sent to a control of the running dialog: what the run returns or throws.
    void keysAndErrorsEndModalRuns_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("result");
        QTest::newRow("Enter on a bad number stays, keypad Enter ends with OK") << int(IDC_FIRST) << QList<int>{Qt::Key_Return, Qt::Key_Enter} << "1";
        QTest::newRow("Esc ends with Cancel") << int(IDC_FIRST) << QList<int>{Qt::Key_Escape} << "2";
        QTest::newRow("Enter on a button that throws") << int(IDC_THROW) << QList<int>{Qt::Key_Return} << "offset out of range";
    }

    void keysAndErrorsEndModalRuns()
    {
        QFETCH(int, control);
        QFETCH(QList<int>, keys);
        QFETCH(QString, result);
        TestDialog dlg;
        QTimer::singleShot(0, &dlg, [&] {
            dlg.GetDlgItem(control)->setFocus();
            dlg.DlgItem<QLineEdit>(IDC_FIRST)->setText(QStringLiteral("bad"));
            for (int key : keys) {
                QTest::keyClick(dlg.GetDlgItem(control), Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
                dlg.DlgItem<QLineEdit>(IDC_FIRST)->setText(QStringLiteral("8"));
            }
            QTimer::singleShot(0, &dlg, [&dlg] { dlg.EndDialog(-7); }); // a run the keys did not end fails, not hangs
        });
        QString outcome;
        try {
            outcome = QString::number(dlg.DoModal());
        } catch (const char *text) {
            outcome = QString::fromLatin1(text);
        }
        QCOMPARE(outcome, result);
        QCOMPARE(dlg.m_nFirst, result == QLatin1String("1") ? 8u : 1u);
        QVERIFY(!dlg.isVisible());
    }

    // Four horizontal units are the letters' average width, rounded; eight vertical units a line.
    // A one-line label grows away from its text's edge until all its text shows; a longer one
    // wraps; a disabled one starts so. Only a too wide caption shrinks; only the default button looks so.
    void layoutFollowsTheFont()
    {
        const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        for (int points = 6; points <= 20; ++points) {
            const QFont font(QStringLiteral("MS Sans Serif"), points);
            const QSize expected(100 * qRound(QFontMetrics(font).horizontalAdvance(letters) / 52.0), 100 * QFontMetrics(font).height());
            QCOMPARE(DialogUnits(font).Rect(0, 0, 400, 800).size(), expected);
        }
        TestDialog dlg;
        const DialogUnits units(dlg.font());
        QStringList seen;
        for (const QLabel *label : dlg.findChildren<QLabel *>()) {
            const bool fits = label->width() >= qMax(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(label->text()));
            if (label->text().startsWith(QLatin1String("Wide")))
                seen << QStringLiteral("%1 %2 %3 %4 %5").arg(label->isEnabled()).arg(fits).arg(label->x() == units.X(5)).arg(label->geometry().right() == units.X(5) + units.X(20) - 1).arg(label->wordWrap());
        }
        for (const QPushButton *button : dlg.findChildren<QPushButton *>())
            seen << QStringLiteral("%1 %2").arg(button->isDefault()).arg(button->font().pointSizeF() != dlg.font().pointSizeF());
        QCOMPARE(seen, (QStringList{"1 1 1 0 0", "1 1 0 1 0", "0 0 1 1 1", "0 0", "1 1"}));
    }

    // The prompts outside the tests: Qt's message boxes (Enter answers No) and its own file dialog.
    void realPromptsUseQtDialogs_data()
    {
        QTest::addColumn<QString>("answer"); // a file chosen ("" cancels), or how a message box is answered
        QTest::addColumn<QString>("seen");
        QTest::newRow("a message box: caption, plain text, icon") << "ok" << "Compare|<b>offset</b>|3 0 1|0 kept";
        QTest::newRow("a question answered with Enter") << "enter" << "Compare|<b>offset</b>|4 0 0|0 kept";
        QTest::newRow("a question answered Yes") << "yes" << "Compare|<b>offset</b>|4 0 1|1 kept";
        QTest::newRow("a file chosen") << "/tmp/Hero.d2s" << "Char Files (*.d2s);;All Files (*)|d2s 1|1 /tmp/Hero.d2s";
        QTest::newRow("the file dialog cancelled") << "" << "Char Files (*.d2s);;All Files (*)|d2s 1|0 kept";
    }

    void realPromptsUseQtDialogs()
    {
        QFETCH(QString, answer);
        QFETCH(QString, seen);
        QtPrompts prompts;
        QWidget owner;
        owner.setVisible(answer != QLatin1String("enter")); // a hidden window owns no message box
        QString shown, path = QStringLiteral("kept");
        WhenModal<QDialog>([&](QDialog *dialog) {
            if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                shown = QStringLiteral("%1|%2|%3 %4 %5").arg(box->windowTitle(), box->text()).arg(box->icon()).arg(box->textFormat()).arg(box->parentWidget() == &owner);
                answer == QLatin1String("yes") ? box->button(QMessageBox::Yes)->click() : QTest::keyClick(box, Qt::Key_Return);
            } else if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
                shown = QStringLiteral("%1|%2 %3").arg(files->nameFilters().join(";;"), files->defaultSuffix()).arg(files->testOption(QFileDialog::DontUseNativeDialog));
                files->selectFile(answer);
                answer.isEmpty() ? files->reject() : static_cast<QDialog *>(files)->accept();
            }
        });
        bool result = false;
        if (answer == QLatin1String("ok"))
            prompts.MessageBox(&owner, QStringLiteral("<b>offset</b>"), QStringLiteral("Compare"), MessageIcon::Stop);
        else if (answer == QLatin1String("enter") || answer == QLatin1String("yes"))
            result = prompts.AskYesNo(&owner, QStringLiteral("<b>offset</b>"), QStringLiteral("Compare"), MessageIcon::Question);
        else
            result = prompts.GetOpenFileName(path, QStringLiteral("d2s"), QStringLiteral("Char Files (*.d2s)|*.d2s|All Files (*.*)|*.*||"));
        QCOMPARE(QStringLiteral("%1|%2 %3").arg(shown).arg(result).arg(path), seen);
    }
};

QTEST_MAIN(TestFrameworkDialog)
#include "tst_dialog.moc"
