// The dialog framework on a small dialog of its own: data exchange with its
// number parsing and messages, the handler lock-out, keys, menus, layout in
// dialog units, errors travelling out of modal runs, and the real prompts.

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

enum { IDC_FIRST = 10, IDC_SIGNED, IDC_TEXT, IDC_LIST, IDC_CHECK, IDC_THROW, IDC_NESTED, ID_MAPPED = 100, ID_UNMAPPED };
const MenuTemplate g_menu{1, {{"&Test", 0, {{"&Mapped", ID_MAPPED, {}}, {"&Unmapped", ID_UNMAPPED, {}}}}}};
const DialogTemplate g_template{900, "Exchange test", 200, 150, "MS Sans Serif", 8, DialogModalFrame, &g_menu, {
    {IDC_STATIC, ControlKind::Static, "First:", 5, 5, 40, 8},
    {IDC_FIRST, ControlKind::Edit, "", 50, 5, 40, 12},
    {IDC_SIGNED, ControlKind::Edit, "", 50, 35, 40, 12, StyleNone, "Signed"},
    {IDC_TEXT, ControlKind::Edit, "", 50, 50, 40, 12},
    {IDC_LIST, ControlKind::ComboBox, "", 50, 65, 60, 50},
    {IDC_CHECK, ControlKind::CheckBox, "Check", 120, 5, 50, 10},
    {IDC_THROW, ControlKind::PushButton, "Throw", 120, 20, 50, 14},
    {IDC_NESTED, ControlKind::PushButton, "Nested", 120, 40, 50, 14},
    {IDC_STATIC, ControlKind::Static, "Wide label at the left, ten units high", 5, 100, 20, 10},
    {IDC_STATIC, ControlKind::Static, "Wide label at the right edge", 5, 112, 20, 8, StyleRightAlign},
    {IDC_STATIC, ControlKind::Static, "Wide label of two lines that wraps", 5, 122, 20, 20}}};

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
            DlgItem<QLineEdit>(IDC_TEXT)->text(), QString::number(DlgItem<QComboBox>(IDC_LIST)->currentIndex()),
            QChar::fromLatin1("021"[DlgItem<QCheckBox>(IDC_CHECK)->checkState()]));
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
        QTest::newRow("blanks, a plus and a tab") << QStringList{"  +12\t", " -40 ", "abcde"} << "12 -40 abcde -1 0" << "";
        QTest::newRow("zero in both") << QStringList{"0", " 0", ""} << "0 0  -1 0" << "";
        QTest::newRow("largest, smallest") << QStringList{"4294967295", "-2147483648", ""} << "4294967295 -2147483648  -1 0" << "";
        QTest::newRow("beyond the ends saturates")
            << QStringList{QString(30, QLatin1Char('9')), "2147483648", ""} << "4294967295 2147483647  -1 0" << "";
        QTest::newRow("only 31 characters are seen")
            << QStringList{QString(29, QLatin1Char(' ')) + "123x", QString(30, QLatin1Char(' ')) + "7x", ""} << "12 7  -1 0" << "";
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
        dlg.activateWindow();
        for (int id : {IDC_FIRST, IDC_SIGNED, IDC_TEXT}) {
            dlg.DlgItem<QLineEdit>(id)->setMaxLength(100); // a text that reaches the box another way
            dlg.DlgItem<QLineEdit>(id)->setText(texts[id - IDC_FIRST]);
        }
        QCOMPARE(dlg.UpdateData(true), message.isEmpty());
        QCOMPARE(dlg.Members(), members);
        QCOMPARE(m_prompts.Summaries(), message.isEmpty() ? QStringList() : QStringList{"tst_dialog|" + message});
        if (!message.isEmpty()) {
            const int focus = message == kParseUIntMessage ? IDC_FIRST : message == kParseIntMessage ? IDC_SIGNED : IDC_TEXT;
            QCOMPARE(m_prompts.messages[0].icon, MessageIcon::Exclamation);
            QCOMPARE(dlg.focusWidget(), dlg.GetDlgItem(focus));
            QCOMPARE(dlg.DlgItem<QLineEdit>(focus)->selectedText(), texts[focus - IDC_FIRST]);
        }
    }

    // Members shown and read back: a list index past the items and a check state
    // outside 0..2 show as none and unchecked. The program's own changes of its
    // controls reach no handler; the user's do, once each.
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
            dlg.m_cbList.AddString(QString::fromLatin1(item));
        dlg.m_nList = list, dlg.m_bCheck = check;
        QVERIFY(dlg.UpdateData(false));
        QCOMPARE(dlg.Shown(), shown);
        QVERIFY(dlg.UpdateData(true));
        QCOMPARE(dlg.Members(), shown);
        auto *first = dlg.DlgItem<QLineEdit>(IDC_FIRST);
        first->setCursorPosition(0); // a box that already shows its member keeps its cursor
        QVERIFY(dlg.UpdateData(false) && first->cursorPosition() == 0);
        QCOMPARE(dlg.m_nHandled, 0);
        QTest::keyClicks(first, QStringLiteral("2"));
        dlg.DlgItem<QComboBox>(IDC_LIST)->setCurrentIndex(1);
        Q_EMIT dlg.DlgItem<QComboBox>(IDC_LIST)->activated(1);
        dlg.DlgItem<QCheckBox>(IDC_CHECK)->click();
        QVERIFY(!dlg.MenuAction(ID_UNMAPPED)->isEnabled());
        dlg.MenuAction(ID_MAPPED)->trigger();
        QCOMPARE(dlg.m_nHandled, 4);
        QTest::keyClicks(dlg.DlgItem<QLineEdit>(IDC_TEXT), QStringLiteral("abcdefgh")); // stops at the limit
        QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_TEXT)->text(), QStringLiteral("oldab"));
        QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_SIGNED)->accessibleName() + first->accessibleName(), QStringLiteral("SignedFirst"));
        QVERIFY(m_prompts.messages.isEmpty());
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
        QTest::newRow("an error out of a dialog the handler runs") << int(IDC_NESTED) << QList<int>{Qt::Key_Return} << "offset out of range";
    }

    void keysAndErrorsEndModalRuns()
    {
        QFETCH(int, control);
        QFETCH(QList<int>, keys);
        QFETCH(QString, result);
        TestDialog dlg;
        QTimer::singleShot(0, &dlg, [&] {
            QWidget *w = dlg.GetDlgItem(control);
            dlg.activateWindow();
            w->setFocus();
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
        QCOMPARE(m_prompts.Texts(), keys.size() > 1 ? QStringList{kParseUIntMessage} : QStringList());
        QCOMPARE(dlg.m_nFirst, result == QLatin1String("1") ? 8u : 1u);
        QVERIFY(!dlg.isVisible() && !dlg.m_bAfterNested);
    }

    // Four horizontal units are the average width of the letters, rounded to the
    // nearest pixel; eight vertical units are the height of a line. A one-line
    // label grows away from the edge its text stands at until its whole text
    // shows; a label of several lines keeps its box and wraps.
    void layoutFollowsTheFont()
    {
        const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        for (int points = 6; points <= 20; ++points) {
            const QFontMetrics fm(QFont(QStringLiteral("MS Sans Serif"), points));
            const DialogUnits units(QFont(QStringLiteral("MS Sans Serif"), points));
            QCOMPARE(units.X(400), 100 * qRound(fm.horizontalAdvance(letters) / 52.0));
            QCOMPARE(units.Rect(0, 0, 4, 800).height(), 100 * fm.height());
        }
        TestDialog dlg;
        const DialogUnits units(dlg.font());
        QStringList seen;
        for (const QLabel *label : dlg.findChildren<QLabel *>()) {
            const QRect box = label->geometry();
            const bool fits = box.width() >= qMax(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(label->text()));
            if (label->text().startsWith(QLatin1String("Wide")))
                seen << QStringLiteral("%1 %2 %3").arg(fits).arg(box.left() == units.X(5)).arg(box.right() == units.X(5) + units.X(20) - 1);
        }
        QCOMPARE(seen, (QStringList{"1 1 0", "1 0 1", "0 1 1"}));
    }

    // The prompts a user sees outside the tests: Qt's message boxes, where Enter
    // answers a question with No, and Qt's own file dialog.
    void realPromptsUseQtDialogs_data()
    {
        QTest::addColumn<QString>("answer"); // a file chosen ("" cancels), or how a message box is answered
        QTest::addColumn<QString>("seen");
        QTest::newRow("a message box: caption, plain text, icon") << "ok" << "Compare|<b>offset</b>|3 0|0 kept";
        QTest::newRow("a question answered with Enter") << "enter" << "Compare|<b>offset</b>|4 0|0 kept";
        QTest::newRow("a question answered Yes") << "yes" << "Compare|<b>offset</b>|4 0|1 kept";
        QTest::newRow("a file chosen") << "/tmp/Hero.d2s" << "Char Files (*.d2s);;All Files (*)|d2s 1|1 /tmp/Hero.d2s";
        QTest::newRow("the file dialog cancelled") << "" << "Char Files (*.d2s);;All Files (*)|d2s 1|0 kept";
    }

    void realPromptsUseQtDialogs()
    {
        QFETCH(QString, answer);
        QFETCH(QString, seen);
        QtPrompts prompts;
        QString shown, path = QStringLiteral("kept");
        const auto ran = WhenModal<QDialog>([&](QDialog *dialog) {
            if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                shown = QStringLiteral("%1|%2|%3 %4").arg(box->windowTitle(), box->text()).arg(box->icon()).arg(box->textFormat());
                answer == QLatin1String("yes") ? box->button(QMessageBox::Yes)->click() : QTest::keyClick(box, Qt::Key_Return);
            } else if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
                shown = QStringLiteral("%1|%2 %3").arg(files->nameFilters().join(";;"), files->defaultSuffix()).arg(files->testOption(QFileDialog::DontUseNativeDialog));
                files->selectFile(answer);
                answer.isEmpty() ? files->reject() : static_cast<QDialog *>(files)->accept();
            }
        });
        const QString text = QStringLiteral("<b>offset</b>"), caption = QStringLiteral("Compare");
        bool result = false;
        if (answer == QLatin1String("ok"))
            prompts.MessageBox(nullptr, text, caption, MessageIcon::Stop);
        else if (answer == QLatin1String("enter") || answer == QLatin1String("yes"))
            result = prompts.AskYesNo(nullptr, text, caption, MessageIcon::Question);
        else
            result = prompts.GetOpenFileName(path, QStringLiteral("d2s"), QStringLiteral("Char Files (*.d2s)|*.d2s|All Files (*.*)|*.*||"));
        QVERIFY(*ran);
        QCOMPARE(QStringLiteral("%1|%2 %3").arg(shown).arg(result).arg(path), seen);
    }
};

QTEST_MAIN(TestFrameworkDialog)
#include "tst_dialog.moc"
