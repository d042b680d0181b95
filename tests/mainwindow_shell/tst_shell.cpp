#include "AboutDlg.h"
#include "BrennicorDlg.h"
#include "MainDialogIds.h"
#include "Resources.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"
#include "widgets/DialogBuilder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

QString labelOf(QWidget *control)
{
    // The label whose buddy the control is.
    for (QLabel *label : control->parentWidget()->findChildren<QLabel *>())
        if (label->buddy() == control)
            return label->text();
    return QString();
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controls_data();
    void controls();
    void startsEmptyWithItsLists();
    void menuItemsInOrderAllHandled();
    void enterLeavesWindowOpenEscapeCloses();
    void closeBoxCloses();
    void aboutBox();
    void helpMessages();
};

// A few anchors of the layout: each kind of control, both columns, both groups.
void TestShell::controls_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QRect>("position");

    auto row = [](int id, const char *kind, const char *label, int x, int y, int cx, int cy) {
        QTest::newRow(QByteArray::number(id).constData())
            << id << QString::fromLatin1(kind) << QString::fromLatin1(label) << QRect(x, y, cx, cy);
    };
    row(IDC_DIFFICULTY, "list", "", 15, 67, 51, 0);
    row(IDC_WAYPOINT_ACTIVE, "check", "WP Activ.", 236, 86, 53, 10);
    row(IDC_NAME, "read-only edit", "Name:", 72, 119, 45, 13);
    row(IDC_LEVEL_FROM_EXPERIENCE, "button", ">>", 120, 139, 10, 10);
    row(IDC_CLASS, "list", "Class:", 170, 120, 124, 0);
    row(IDC_LEVEL, "disabled edit", "", 243, 137, 50, 13);
    row(IDC_ATTRIBUTE_POINTS_TO_ADD, "edit", "Attribute Points to add:", 243, 188, 50, 13);
    row(IDC_MANA, "edit", "", 243, 239, 50, 13);
}

void TestShell::controls()
{
    QFETCH(int, id);
    QFETCH(QString, kind);
    QFETCH(QString, label);
    QFETCH(QRect, position);

    CBrennicorDlg dlg;
    QWidget *control = dlg.GetDlgItem(id);
    QVERIFY(control);
    const QString text = kind == QLatin1String("check") ? qobject_cast<QCheckBox *>(control)->text()
                       : kind == QLatin1String("button") ? qobject_cast<QPushButton *>(control)->text()
                                                         : labelOf(control);
    if (kind != QLatin1String("list") || !label.isEmpty()) // a list may have a label seen only by assistive tools
        QCOMPARE(text, label);
    if (auto *combo = qobject_cast<QComboBox *>(control))
        QVERIFY(kind == QLatin1String("list") && !combo->isEditable());
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        QCOMPARE(edit->isReadOnly(), kind == QLatin1String("read-only edit"));
        QCOMPARE(edit->isEnabled(), kind != QLatin1String("disabled edit"));
    }
    // Every edit and list can be told apart by assistive technology.
    QVERIFY(!control->accessibleName().isEmpty() || !labelOf(control).isEmpty());
    const QRect expected = DialogUnits(dlg.font()).Rect(position.x(), position.y(), position.width(), position.height());
    QCOMPARE(control->geometry().topLeft(), expected.topLeft());
    QCOMPARE(control->geometry().width(), expected.width());
    if (position.height() > 0)
        QCOMPARE(control->geometry().height(), expected.height());
}

void TestShell::startsEmptyWithItsLists()
{
    CBrennicorDlg dlg;
    dlg.Create();
    auto items = [&dlg](int id) {
        QStringList texts;
        auto *combo = dlg.DlgItem<QComboBox>(id);
        for (int i = 0; i < combo->count(); ++i)
            texts.append(combo->itemText(i));
        return texts.join(QLatin1Char(',')) + QStringLiteral(" @") + QString::number(combo->currentIndex());
    };
    QCOMPARE(items(IDC_CLASS) + items(IDC_ACT) + items(IDC_LEVEL_LIST).right(10),
             QStringLiteral("Amazon,Sorceress,Necromancer,Paladin,Barbarian @-1Act1,Act2,Act3,Act4 @-1,98,99 @-1"));
    for (int id : {IDC_SKILL, IDC_QUEST, IDC_WAYPOINT})
        QCOMPARE(items(id), QStringLiteral(" @-1"));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("QUARVINEL"));
    QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_GOLD)->text(), QStringLiteral("0"));
    QCOMPARE(dlg.DlgItem<QLineEdit>(IDC_NAME)->text(), QString());
    QVERIFY(!dlg.windowIcon().isNull());
}

void TestShell::menuItemsInOrderAllHandled()
{
    CBrennicorDlg dlg;
    dlg.Create();
    QStringList seen;
    for (QAction *top : dlg.MenuBar()->actions()) {
        seen.append(top->text());
        for (QAction *item : top->menu()->actions()) {
            if (item->isSeparator()) {
                seen.append(QStringLiteral("-"));
                continue;
            }
            seen.append(QStringLiteral("%1 %2").arg(item->text()).arg(item->data().toInt()));
            QVERIFY2(item->isEnabled(), qPrintable(item->text()));
        }
    }
    const QStringList expected{
        "&File", "&Open... 57601", "Reload 32783", "&Save 57603", "&Close 57602", "-", "&Backup 32780",
        "&Restore 32781", "-", "E&xit 32773",
        "&Edit", "&Edit Value... 32779", "&Find Value... 57636", "&Compare... 32784", "-",
        "Maximize Skills 32786", "Maximize Attributes 32787", "-", "Rename Character... 32791", "-",
        "&Activate All Way Points 32792", "&Activate All Acts 32798", "Activate Nightmare and Hell 32793",
        "-", "All Quests Done 32797",
        "&Help", "&Help 32777", "&About 32776"};
    QCOMPARE(seen, expected);
}

void TestShell::enterLeavesWindowOpenEscapeCloses()
{
    ScriptedPrompts prompts;
    CBrennicorDlg dlg;
    bool openAfterEnter = false;
    QTimer::singleShot(0, &dlg, [&] {
        QLineEdit *gold = dlg.DlgItem<QLineEdit>(IDC_GOLD);
        QTest::keyClick(gold, Qt::Key_Return);
        QTest::keyClick(dlg.DlgItem<QLineEdit>(IDC_EXPERIENCE), Qt::Key_Enter, Qt::KeypadModifier);
        QCoreApplication::processEvents();
        openAfterEnter = dlg.isVisible() && dlg.IsInModalRun();
        QTest::keyClick(gold, Qt::Key_Escape);
    });
    QCOMPARE(dlg.DoModal(), IDCANCEL);
    QVERIFY(openAfterEnter);
    QVERIFY(prompts.messages.isEmpty());
}

void TestShell::closeBoxCloses()
{
    CBrennicorDlg dlg;
    QTimer::singleShot(0, &dlg, [&dlg] { dlg.close(); });
    QCOMPARE(dlg.DoModal(), IDCANCEL);
}

void TestShell::aboutBox()
{
    CBrennicorDlg dlg;
    dlg.Create();
    QStringList texts;
    WhenModal<CAboutDlg>([&](CAboutDlg *about) {
        texts.append(about->windowTitle());
        for (QLabel *label : about->findChildren<QLabel *>())
            texts.append(label->text());
        about->DlgItem<QPushButton>(IDOK)->click();
    });
    dlg.MenuAction(ID_HELP_ABOUT)->trigger();
    QVERIFY(texts.startsWith(QStringLiteral("About QUARVINEL")) && texts.contains(QStringLiteral("Quarvinel version beta 0.015")));
    QVERIFY(!dlg.TakePendingError());
}

void TestShell::helpMessages()
{
    ScriptedPrompts prompts;
    CBrennicorDlg dlg;
    dlg.Create();
    dlg.MenuAction(ID_HELP_HELP)->trigger();
    QTest::keyClick(dlg.DlgItem<QLineEdit>(IDC_GOLD), Qt::Key_F1);
    QCOMPARE(prompts.Summaries().size(), 2);
    const auto &help = prompts.messages[0];
    QCOMPARE(help.caption + '|' + help.text.left(60) + help.text.right(10),
             "Quarvinel Help|You will find all the help you need about this software at: README.md\n");
    QCOMPARE(help.icon, MessageIcon::None);
    QCOMPARE(help.owner, &dlg);
    QVERIFY(prompts.Summaries()[1].startsWith("Quarvinel Help|") && prompts.messages[1].text.contains("File, Backup"));
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
