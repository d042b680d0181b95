#include "mainwindow/AutoProxy.h"
#include "mainwindow/BrennicorDlg.h"
#include "resources/MainDialogIds.h"
#include "support/ScriptedPrompts.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QtTest>

#include <optional>


class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsEmptyWithItsListsAndMenus()
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
        QCOMPARE(items(IDC_CLASS) + items(IDC_ACT) + items(IDC_LEVEL_LIST).right(10) + items(IDC_SKILL) + items(IDC_QUEST)
                     + items(IDC_WAYPOINT),
                 "Amazon,Sorceress,Necromancer,Paladin,Barbarian @-1Act1,Act2,Act3,Act4 @-1,98,99 @-1 @-1 @-1 @-1");
        QCOMPARE(dlg.windowTitle() + '|' + dlg.DlgItem<QLineEdit>(IDC_GOLD)->text() + '|' + dlg.DlgItem<QLineEdit>(IDC_NAME)->text(),
                 "QUARVINEL|0|");
        // The name changes only through Rename Character; the level follows the level list.
        QVERIFY(dlg.DlgItem<QLineEdit>(IDC_NAME)->isReadOnly() && !dlg.DlgItem<QLineEdit>(IDC_LEVEL)->isEnabled());

        // Every menu item is on, and carries the command it runs and its standard key.
        QStringList seen;
        for (QAction *top : dlg.MenuBar()->actions()) {
            seen.append(top->text());
            for (QAction *item : top->menu()->actions()) {
                seen.append(item->isSeparator() ? QStringLiteral("-") : item->text() + ' ' + QString::number(item->data().toInt())
                                                           + (item->shortcut().isEmpty() ? QString() : ' ' + item->shortcut().toString()));
                QVERIFY2(item->isEnabled(), qPrintable(item->text()));
            }
        }
        QCOMPARE(seen.join(QLatin1Char('|')),
                 "&File|&Open... 57601 Ctrl+O|Reload 32783 F5|&Save 57603 Ctrl+S|&Close 57602 Ctrl+F4|-|&Backup 32780|"
                 "&Restore 32781|-|E&xit 32773|&Edit|&Edit Value... 32779|&Find Value... 57636 Ctrl+F|&Compare... 32784|-|Maximize Skills 32786|"
                 "Maximize Attributes 32787|-|Rename Character... 32791|Character and &Mercenary... 32799 Ctrl+M|"
                 "&Items... 32800 Ctrl+I|-|&Activate All Way Points 32792|"
                 "&Activate All Acts 32798|Activate Nightmare and Hell 32793|-|All Quests Done 32797|"
                 "&Help|&Help 32777|&About 32776");
    }

    void keysAndCloseBox_data()
    {
        QTest::addColumn<int>("key"); // 0: the window's close box
        QTest::addColumn<bool>("closes"); // the step alone ends the window's run
        QTest::addColumn<bool>("client"); // an automation client holds the window: it is only hidden
        QTest::newRow("Enter in a box") << int(Qt::Key_Return) << false << false;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << false << false;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << true << false;
        QTest::newRow("close box") << 0 << true << false;
        QTest::newRow("Escape, a client holding the window") << int(Qt::Key_Escape) << false << true;
        QTest::newRow("close box, a client holding the window") << 0 << false << true;
    }
    void keysAndCloseBox()
    {
        QFETCH(int, key);
        QFETCH(bool, closes);
        QFETCH(bool, client);
        ScriptedPrompts prompts;
        CBrennicorDlg dlg;
        std::optional<CBrennicorDlgAutoProxy> proxy;
        if (client)
            proxy.emplace(&dlg);
        bool open = false;
        QTimer::singleShot(0, &dlg, [&] {
            if (key)
                QTest::keyClick(dlg.DlgItem<QLineEdit>(IDC_GOLD), Qt::Key(key));
            else
                dlg.close();
            // Seen from the next turn of the run, if the step did not end it.
            QTimer::singleShot(0, &dlg, [&] {
                open = dlg.isVisible() != client;
                proxy.reset();
                QTest::keyClick(dlg.DlgItem<QLineEdit>(IDC_GOLD), Qt::Key_Escape);
            });
        });
        QCOMPARE(dlg.DoModal(), IDCANCEL); // a window that stayed open was closed by the Escape after the step
        QVERIFY(closes || open);
        QVERIFY(prompts.messages.isEmpty());
    }

    // Help names where the manual lies; F1 summarises the commands.
    void helpMessages()
    {
        ScriptedPrompts prompts;
        CBrennicorDlg dlg;
        dlg.Create();
        dlg.MenuAction(ID_HELP_HELP)->trigger();
        QTest::keyClick(dlg.DlgItem<QLineEdit>(IDC_GOLD), Qt::Key_F1);
        QCOMPARE(prompts.messages.size(), 2);
        const auto &help = prompts.messages[0], &index = prompts.messages[1];
        QCOMPARE(help.caption + '|' + help.text.left(60) + help.text.right(10),
                 "Quarvinel Help|You will find all the help you need about this software at: README.md\n");
        QVERIFY(help.icon == MessageIcon::None && help.owner == &dlg);
        QVERIFY(index.caption == "Quarvinel Help" && index.text.contains("File, Backup") && index.icon == MessageIcon::Information);

        // Run where it was built, the program names the manual beside it.
        QFile manual(QCoreApplication::applicationDirPath() + QStringLiteral("/README.md"));
        QVERIFY(!manual.exists() && manual.open(QIODevice::WriteOnly)); // removed below, closed first
        dlg.MenuAction(ID_HELP_HELP)->trigger();
        QVERIFY(manual.remove());
        QCOMPARE(prompts.messages.value(2).text, "You will find all the help you need about this software at: file://"
                                                     + manual.fileName() + "\n");
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
