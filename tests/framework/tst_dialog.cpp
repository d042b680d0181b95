#include "support/ScriptedPrompts.h"
#include "widgets/ComboBox.h"
#include "widgets/DataExchange.h"
#include "widgets/Dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

enum { IDC_FIRST = 10, IDC_SECOND = 11, IDC_SIGNED = 12, IDC_TEXT = 13, IDC_LIST = 14,
       IDC_CHECK = 15, IDC_THROW = 16, IDC_NESTED = 17 };
enum { ID_MAPPED = 100, ID_UNMAPPED = 101 };

const MenuTemplate g_menu{1, {{"&Test", 0, {{"&Mapped", ID_MAPPED, {}}, {nullptr, 0, {}},
                                            {"&Unmapped", ID_UNMAPPED, {}}}}}};

const DialogTemplate g_template{
    900, "Exchange test", 200, 120, "MS Sans Serif", 8, DialogModalFrame, &g_menu,
    {
        {IDC_STATIC, ControlKind::Static, "First:", 5, 5, 40, 8},
        {IDC_FIRST, ControlKind::Edit, "", 50, 5, 40, 12},
        {IDC_STATIC, ControlKind::Static, "Second:", 5, 20, 40, 8},
        {IDC_SECOND, ControlKind::Edit, "", 50, 20, 40, 12},
        {IDC_SIGNED, ControlKind::Edit, "", 50, 35, 40, 12, StyleNone, "Signed"},
        {IDC_TEXT, ControlKind::Edit, "", 50, 50, 40, 12},
        {IDC_LIST, ControlKind::ComboBox, "", 50, 65, 60, 50},
        {IDC_CHECK, ControlKind::CheckBox, "Check", 120, 5, 50, 10},
        {IDC_THROW, ControlKind::PushButton, "Throw", 120, 20, 50, 14},
        {IDC_NESTED, ControlKind::PushButton, "Nested", 120, 40, 50, 14},
    }};

class TestDialog : public CDialog
{
    Q_OBJECT

public:
    TestDialog() : CDialog(g_template)
    {
        MapEditChange(IDC_FIRST, &TestDialog::OnChangeFirst);
        MapSelChange(IDC_LIST, &TestDialog::OnSelchangeList);
        MapClicked(IDC_CHECK, &TestDialog::OnCheck);
        MapClicked(IDC_THROW, &TestDialog::OnThrow);
        MapClicked(IDC_NESTED, &TestDialog::OnNested);
        MapCommand(ID_MAPPED, &TestDialog::OnMapped);
    }

    void DoDataExchange(CDataExchange *pDX) override
    {
        DDX_Control(pDX, IDC_LIST, m_cbList);
        DDX_Text(pDX, IDC_FIRST, m_nFirst);
        DDX_Text(pDX, IDC_SECOND, m_nSecond);
        DDX_Text(pDX, IDC_SIGNED, m_nSigned);
        DDX_Text(pDX, IDC_TEXT, m_strText);
        DDV_MaxChars(pDX, m_strText, 5);
        DDX_CBIndex(pDX, IDC_LIST, m_nList);
        DDX_Check(pDX, IDC_CHECK, m_bCheck);
    }

    bool OnInitDialog() override
    {
        UpdateData(false);
        m_cbList.AddString(QStringLiteral("zero"));
        m_cbList.AddString(QStringLiteral("one"));
        m_cbList.AddString(QStringLiteral("two"));
        return true;
    }

    void OnChangeFirst() { ++m_nFirstChanges; }
    void OnSelchangeList() { ++m_nListChanges; }
    void OnCheck() { ++m_nChecks; }
    void OnThrow() { throw "offset out of range"; }
    void OnMapped() { ++m_nMapped; }
    void OnNested()
    {
        TestDialog inner;
        QTimer::singleShot(0, &inner, [&inner] { inner.DlgItem<QPushButton>(IDC_THROW)->click(); });
        inner.DoModal();
        m_bAfterNested = true;
    }

    CComboBox m_cbList;
    quint32 m_nFirst = 0;
    quint32 m_nSecond = 0;
    qint32 m_nSigned = 0;
    QString m_strText;
    int m_nList = -1;
    int m_bCheck = 0;
    int m_nFirstChanges = 0;
    int m_nListChanges = 0;
    int m_nChecks = 0;
    int m_nMapped = 0;
    bool m_bAfterNested = false;
};

void choose(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
}

} // namespace

class TestFrameworkDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_prompts.Reset(); }

    void fillShowsMembersAndReadTakesThemBack();
    void failedReadReportsFirstFaultyControl();
    void editTextSetOnlyWhenItDiffers();
    void listSelection_data();
    void listSelection();
    void checkState_data();
    void checkState();
    void maxCharsLimitsAndRefuses();
    void noHandlerRunsDuringExchange();
    void userActionsReachHandlers();
    void menuCommandsWithoutHandlerAreDisabled();
    void enterEndsWithOkOnlyWhenReadSucceeds();
    void escapeEndsWithCancel();
    void handlerErrorEndsModalRunAndIsRethrown();
    void errorTravelsOutOfNestedModalRuns();
    void labelsBecomeBuddiesAndAccessibleNames();

private:
    ScriptedPrompts m_prompts;
};

void TestFrameworkDialog::fillShowsMembersAndReadTakesThemBack()
{
    TestDialog dlg;
    dlg.Create();
    dlg.m_nFirst = 4294967295u;
    dlg.m_nSigned = -7;
    dlg.m_strText = QStringLiteral("abc");
    QVERIFY(dlg.UpdateData(false));
    QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_FIRST)->text(), QStringLiteral("4294967295"));
    QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_SIGNED)->text(), QStringLiteral("-7"));
    QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_TEXT)->text(), QStringLiteral("abc"));

    dlg.DlgItem<QLineEdit>(IDC_SECOND)->setText(QStringLiteral(" +42 "));
    dlg.DlgItem<QLineEdit>(IDC_SIGNED)->setText(QStringLiteral("-12"));
    QVERIFY(dlg.UpdateData(true));
    QCOMPARE(dlg.m_nSecond, 42u);
    QCOMPARE(dlg.m_nSigned, -12);
    QVERIFY(m_prompts.messages.isEmpty());
}

void TestFrameworkDialog::failedReadReportsFirstFaultyControl()
{
    TestDialog dlg;
    dlg.Create();
    dlg.activateWindow();
    dlg.m_nSecond = 5;
    dlg.m_nSigned = 6;
    dlg.UpdateData(false);
    dlg.DlgItem<QLineEdit>(IDC_FIRST)->setText(QStringLiteral("9"));
    dlg.DlgItem<QLineEdit>(IDC_SECOND)->setText(QStringLiteral("12a"));
    dlg.DlgItem<QLineEdit>(IDC_SIGNED)->setText(QStringLiteral("x"));

    QVERIFY(!dlg.UpdateData(true));
    QCOMPARE(m_prompts.messages.size(), 1);
    QCOMPARE(m_prompts.messages[0].text, QStringLiteral("Please enter a positive integer."));
    QCOMPARE(m_prompts.messages[0].caption, AfxGetAppTitle());
    QCOMPARE(m_prompts.messages[0].icon, MessageIcon::Exclamation);
    QCOMPARE(dlg.m_nFirst, 9u);   // read before the faulty box
    QCOMPARE(dlg.m_nSecond, 5u);  // the faulty box keeps its member
    QCOMPARE(dlg.m_nSigned, 6);   // not reached
    QLineEdit *second = dlg.DlgItem<QLineEdit>(IDC_SECOND);
    QCOMPARE(dlg.focusWidget(), second);
    QCOMPARE(second->selectedText(), QStringLiteral("12a"));

    m_prompts.Reset();
    second->setText(QStringLiteral("1"));
    QVERIFY(!dlg.UpdateData(true));
    QCOMPARE(m_prompts.Texts(), QStringList{QStringLiteral("Please enter an integer.")});
}

void TestFrameworkDialog::editTextSetOnlyWhenItDiffers()
{
    TestDialog dlg;
    dlg.Create();
    QLineEdit *first = dlg.DlgItem<QLineEdit>(IDC_FIRST);
    first->setText(QStringLiteral("123"));
    first->setCursorPosition(1);
    dlg.m_nFirst = 123;
    dlg.UpdateData(false);
    QCOMPARE(first->cursorPosition(), 1);
    dlg.m_nFirst = 124;
    dlg.UpdateData(false);
    QCOMPARE(first->text(), QStringLiteral("124"));
}

void TestFrameworkDialog::listSelection_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("last") << 2 << 2;
    QTest::newRow("none") << -1 << -1;
    QTest::newRow("past the end") << 3 << -1;
    QTest::newRow("far below") << -5 << -1;
}

void TestFrameworkDialog::listSelection()
{
    QFETCH(int, stored);
    QFETCH(int, shown);
    TestDialog dlg;
    dlg.Create();
    dlg.m_nList = stored;
    dlg.UpdateData(false);
    QCOMPARE(dlg.DlgItem<QComboBox>(IDC_LIST)->currentIndex(), shown);
    dlg.UpdateData(true);
    QCOMPARE(dlg.m_nList, shown);
}

void TestFrameworkDialog::checkState_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("readBack");
    QTest::newRow("unchecked") << 0 << 0;
    QTest::newRow("checked") << 1 << 1;
    QTest::newRow("indeterminate") << 2 << 2;
    QTest::newRow("out of range shows unchecked") << 7 << 0;
    QTest::newRow("negative shows unchecked") << -1 << 0;
}

void TestFrameworkDialog::checkState()
{
    QFETCH(int, stored);
    QFETCH(int, readBack);
    TestDialog dlg;
    dlg.Create();
    dlg.m_bCheck = stored;
    dlg.UpdateData(false);
    dlg.UpdateData(true);
    QCOMPARE(dlg.m_bCheck, readBack);
}

void TestFrameworkDialog::maxCharsLimitsAndRefuses()
{
    TestDialog dlg;
    dlg.Create();
    QLineEdit *text = dlg.DlgItem<QLineEdit>(IDC_TEXT);
    QCOMPARE(text->maxLength(), 5);
    QTest::keyClicks(text, QStringLiteral("abcdefgh"));
    QCOMPARE(text->text(), QStringLiteral("abcde"));

    // A longer text that reaches the read-back another way is refused.
    text->setMaxLength(100);
    text->setText(QStringLiteral("abcdefgh"));
    QVERIFY(!dlg.UpdateData(true));
    QCOMPARE(m_prompts.Texts(), QStringList{QStringLiteral("Please enter no more than 5 characters.")});
    QCOMPARE(m_prompts.messages[0].icon, MessageIcon::Exclamation);
}

void TestFrameworkDialog::noHandlerRunsDuringExchange()
{
    TestDialog dlg;
    dlg.Create();
    dlg.m_nFirst = 77;
    dlg.m_nList = 2;
    dlg.m_bCheck = 1;
    dlg.UpdateData(false);
    dlg.UpdateData(true);
    QCOMPARE(dlg.m_nFirstChanges, 0);
    QCOMPARE(dlg.m_nListChanges, 0);
    QCOMPARE(dlg.m_nChecks, 0);
    // Filling a list from the program is no selection change either.
    dlg.m_cbList.AddString(QStringLiteral("three"));
    QCOMPARE(dlg.m_nListChanges, 0);
}

void TestFrameworkDialog::userActionsReachHandlers()
{
    TestDialog dlg;
    dlg.Create();
    QTest::keyClicks(dlg.DlgItem<QLineEdit>(IDC_FIRST), QStringLiteral("12"));
    QCOMPARE(dlg.m_nFirstChanges, 2);
    choose(dlg.DlgItem<QComboBox>(IDC_LIST), 1);
    QCOMPARE(dlg.m_nListChanges, 1);
    dlg.DlgItem<QCheckBox>(IDC_CHECK)->click();
    QCOMPARE(dlg.m_nChecks, 1);
    QVERIFY(dlg.DlgItem<QCheckBox>(IDC_CHECK)->isChecked());
}

void TestFrameworkDialog::menuCommandsWithoutHandlerAreDisabled()
{
    TestDialog dlg;
    dlg.Create();
    QVERIFY(dlg.MenuAction(ID_MAPPED)->isEnabled());
    QVERIFY(!dlg.MenuAction(ID_UNMAPPED)->isEnabled());
    QCOMPARE(dlg.MenuAction(ID_MAPPED)->text(), QStringLiteral("&Mapped"));
    dlg.MenuAction(ID_MAPPED)->trigger();
    QCOMPARE(dlg.m_nMapped, 1);
}

void TestFrameworkDialog::enterEndsWithOkOnlyWhenReadSucceeds()
{
    TestDialog dlg;
    int enters = 0;
    std::function<void()> step;
    step = [&] {
        QLineEdit *second = dlg.DlgItem<QLineEdit>(IDC_SECOND);
        if (enters == 0) {
            second->setText(QStringLiteral("bad"));
            ++enters;
            QTest::keyClick(second, Qt::Key_Return);
            // Still open: the read failed and said so.
            QVERIFY(dlg.isVisible());
            second->setText(QStringLiteral("8"));
            QTimer::singleShot(0, &dlg, step);
        } else {
            ++enters;
            QTest::keyClick(second, Qt::Key_Enter, Qt::KeypadModifier);
        }
    };
    QTimer::singleShot(0, &dlg, step);
    QCOMPARE(dlg.DoModal(), IDOK);
    QCOMPARE(enters, 2);
    QCOMPARE(dlg.m_nSecond, 8u);
    QCOMPARE(m_prompts.Texts(), QStringList{QStringLiteral("Please enter a positive integer.")});
}

void TestFrameworkDialog::escapeEndsWithCancel()
{
    TestDialog dlg;
    QTimer::singleShot(0, &dlg, [&dlg] { QTest::keyClick(dlg.DlgItem<QLineEdit>(IDC_FIRST), Qt::Key_Escape); });
    QCOMPARE(dlg.DoModal(), IDCANCEL);
    QVERIFY(!dlg.isVisible());
}

void TestFrameworkDialog::handlerErrorEndsModalRunAndIsRethrown()
{
    TestDialog dlg;
    // Enter on a focused push button clicks it.
    QTimer::singleShot(0, &dlg, [&dlg] {
        QPushButton *button = dlg.DlgItem<QPushButton>(IDC_THROW);
        dlg.activateWindow();
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
    });
    QString caught;
    try {
        dlg.DoModal();
    } catch (const char *text) {
        caught = QString::fromLatin1(text);
    }
    QCOMPARE(caught, QStringLiteral("offset out of range"));
    QVERIFY(!dlg.isVisible());
}

void TestFrameworkDialog::errorTravelsOutOfNestedModalRuns()
{
    TestDialog dlg;
    QTimer::singleShot(0, &dlg, [&dlg] { dlg.DlgItem<QPushButton>(IDC_NESTED)->click(); });
    QString caught;
    try {
        dlg.DoModal();
    } catch (const char *text) {
        caught = QString::fromLatin1(text);
    }
    QCOMPARE(caught, QStringLiteral("offset out of range"));
    QVERIFY(!dlg.m_bAfterNested);
}

void TestFrameworkDialog::labelsBecomeBuddiesAndAccessibleNames()
{
    TestDialog dlg;
    QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_FIRST)->accessibleName(), QStringLiteral("First"));
    QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_SECOND)->accessibleName(), QStringLiteral("Second"));
    QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_SIGNED)->accessibleName(), QStringLiteral("Signed"));
    // A control positioned in dialog units scales with the font.
    QVERIFY(dlg.GetDlgItem(IDC_SECOND)->geometry().top() > dlg.GetDlgItem(IDC_FIRST)->geometry().top());
}

QTEST_MAIN(TestFrameworkDialog)
#include "tst_dialog.moc"
