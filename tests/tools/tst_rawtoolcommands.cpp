// The raw byte tools from the main window's Edit menu: the refresh after Edit
// value, unsaved edits seen by Compare, the hand-backs along the chain Edit
// value, Find value, Compare, and a compare file that fails to load, whichever
// tool opened Compare.

#include "ToolDriver.h"
#include "support/MainWindowAccess.h"
#include "support/CharacterFixture.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"

#include "BrennicorDlg.h"
#include "CompareDlg.h"
#include "EditValueDlg.h"
#include "FindValueDlg.h"
#include "MainDialogIds.h"
#include "ToolDialogIds.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Runs the main window modally with script inside its run, and fails when the
// run ends with an error instead of the script's Close.
void RunMainWindow(CBrennicorDlg &main, const std::function<void(CBrennicorDlg &)> &script)
{
    const auto ran = WhenModal<CBrennicorDlg>([&](CBrennicorDlg *dlg) {
        script(*dlg);
        dlg->EndDialog(IDCANCEL);
    });
    QString escaped;
    try {
        main.DoModal();
    } catch (const char *text) {
        escaped = QString::fromLatin1(text);
    }
    QVERIFY(*ran);
    QCOMPARE(escaped, QString());
}

// Opens the character at path as File, Open does after its file dialog.
void OpenCharacter(CBrennicorDlg &main, const QString &path)
{
    QVERIFY(MainWindowAccess::Document(main).OpenFile(path));
    MainWindowAccess::SyncWithDocument(main, false);
}

void Menu(CBrennicorDlg &main, int command)
{
    QAction *action = main.MenuAction(command);
    QVERIFY(action && action->isEnabled());
    action->trigger();
}

// Opens Compare the way a user gets there from the menu through the tools
// named in route ("edit", "find", "compare"), runs compareAction in it, and
// closes every tool on the way back.
void OpenCompare(CBrennicorDlg &main, const QStringList &route,
                 const std::function<void(CCompareDlg &)> &compareAction)
{
    const auto compareRan = std::make_shared<bool>(false);
    auto runCompare = [&] {
        return WhenModal<CCompareDlg>([&](CCompareDlg *compare) {
            compareAction(*compare);
            *compareRan = true;
            Click(*compare, IDCANCEL);
        });
    };
    if (route.first() == QLatin1String("compare")) {
        runCompare();
        Menu(main, ID_EDIT_COMPARE);
    } else if (route.first() == QLatin1String("find")) {
        WhenModal<CFindValueDlg>([&](CFindValueDlg *find) {
            runCompare();
            Click(*find, IDC_COMPARE);
            Click(*find, IDCANCEL);
        });
        Menu(main, ID_EDIT_FIND_VALUE);
    } else {
        WhenModal<CEditValueDlg>([&](CEditValueDlg *edit) {
            WhenModal<CFindValueDlg>([&](CFindValueDlg *find) {
                runCompare();
                Click(*find, IDC_COMPARE);
                Click(*find, IDCANCEL);
            });
            Click(*edit, IDC_FIND_A_VALUE);
            Click(*edit, IDCANCEL);
        });
        Menu(main, ID_EDIT_EDIT_VALUE);
    }
    QVERIFY(*compareRan);
}

} // namespace

class TestRawToolCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editValueShowsInTheWindowAndCompareFindsTheUnsavedEdit();
    void chainedHandBacks();
    void failedCompareLoadKeepsTheWindowAndItsEdits_data();
    void failedCompareLoadKeepsTheWindowAndItsEdits();
};

void TestRawToolCommands::editValueShowsInTheWindowAndCompareFindsTheUnsavedEdit()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
    const QByteArray onDisk = CharacterFixture().Gold(1234).Build();
    QVERIFY(CharacterFixture::WriteFile(path, onDisk));
    ScriptedPrompts prompts;
    CBrennicorDlg main;

    QStringList walk;
    RunMainWindow(main, [&](CBrennicorDlg &dlg) {
        OpenCharacter(dlg, path);
        QCOMPARE(Shown(dlg, IDC_GOLD), QStringLiteral("1234"));

        // Gold is 621..624.
        WhenModal<CEditValueDlg>([&](CEditValueDlg *edit) {
            TypeInto(*edit, IDC_FIRST_OFFSET, QStringLiteral("621"));
            TypeInto(*edit, IDC_LAST_OFFSET, QStringLiteral("624"));
            TypeInto(*edit, IDC_VALUE, QStringLiteral("4660"));
            Click(*edit, IDC_SET_VALUE);
            Click(*edit, IDCANCEL);
        });
        Menu(dlg, ID_EDIT_EDIT_VALUE);
        QCOMPARE(Shown(dlg, IDC_GOLD), QStringLiteral("4660"));

        OpenCompare(dlg, {QStringLiteral("compare")}, [&](CCompareDlg &compare) {
            prompts.QueueFile(path);
            Click(compare, IDC_LOAD);
            Click(compare, IDC_FIND);
            walk.append(Shown(compare, IDC_COMPARE_OFFSET));
            for (int k = 0; k < 2; ++k) {
                Click(compare, IDC_FIND_NEXT);
                walk.append(Shown(compare, IDC_COMPARE_OFFSET));
            }
        });
    });

    // 1234 = D2 04 00 00 on disk, 4660 = 34 12 00 00 in memory.
    QCOMPARE(walk, (QStringList{"621", "622", "-1"}));
    QVERIFY(prompts.messages.isEmpty());
    QCOMPARE(MainWindowAccess::Document(main).GetUInt(621, 624), 4660u);
    QVERIFY(MainWindowAccess::Document(main).IsModified());
    QCOMPARE(CharacterFixture::ReadFile(path), onDisk);
}

void TestRawToolCommands::chainedHandBacks()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
    const QString comparePath = dir.filePath(QStringLiteral("Other.d2s"));
    QVERIFY(CharacterFixture().WriteTo(path));
    QVERIFY(CharacterFixture().Byte(40, 0x01).WriteTo(comparePath));
    const QString byteAt40 = QString::number(quint8(CharacterFixture().Expanded()[40]));
    ScriptedPrompts prompts;
    CBrennicorDlg main;

    QString compareShows, findShows, editShows;
    RunMainWindow(main, [&](CBrennicorDlg &dlg) {
        OpenCharacter(dlg, path);
        WhenModal<CEditValueDlg>([&](CEditValueDlg *edit) {
            TypeInto(*edit, IDC_FIRST_OFFSET, QStringLiteral("617"));
            WhenModal<CFindValueDlg>([&](CFindValueDlg *find) {
                TypeInto(*find, IDC_VALUE, QStringLiteral("57715"));
                WhenModal<CCompareDlg>([&](CCompareDlg *compare) {
                    prompts.QueueFile(comparePath);
                    Click(*compare, IDC_LOAD);
                    Click(*compare, IDC_FIND);
                    compareShows = Shown(*compare, IDC_COMPARE_OFFSET);
                    Click(*compare, IDCANCEL);
                });
                Click(*find, IDC_COMPARE);
                findShows = ShownRange(*find, IDC_FIRST_OFFSET, IDC_LAST_OFFSET) + QLatin1Char(' ')
                    + Shown(*find, IDC_VALUE);
                Click(*find, IDCANCEL);
            });
            Click(*edit, IDC_FIND_A_VALUE);
            editShows = ShownRange(*edit, IDC_FIRST_OFFSET, IDC_LAST_OFFSET) + QLatin1Char(' ')
                + Shown(*edit, IDC_VALUE);
            Click(*edit, IDCANCEL);
        });
        Menu(dlg, ID_EDIT_EDIT_VALUE);
    });

    QCOMPARE(compareShows, QStringLiteral("40"));
    QCOMPARE(findShows, QStringLiteral("40..40 ") + byteAt40);
    QCOMPARE(editShows, QStringLiteral("40..40 ") + byteAt40);
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(!MainWindowAccess::Document(main).IsModified());
}

void TestRawToolCommands::failedCompareLoadKeepsTheWindowAndItsEdits_data()
{
    QTest::addColumn<QStringList>("route");
    QTest::newRow("Compare from the menu") << QStringList{"compare"};
    QTest::newRow("Compare from Find value") << QStringList{"find", "compare"};
    QTest::newRow("Compare from Find value from Edit value")
        << QStringList{"edit", "find", "compare"};
}

void TestRawToolCommands::failedCompareLoadKeepsTheWindowAndItsEdits()
{
    QFETCH(QStringList, route);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
    const QString shortPath = dir.filePath(QStringLiteral("Short.d2s"));
    QVERIFY(CharacterFixture().WriteTo(path));
    QVERIFY(CharacterFixture::WriteFile(shortPath, CharacterFixture().Build().left(300)));
    ScriptedPrompts prompts;
    CBrennicorDlg main;

    bool compareStayed = false;
    RunMainWindow(main, [&](CBrennicorDlg &dlg) {
        OpenCharacter(dlg, path);
        MainWindowAccess::Document(dlg).SetUInt(621, 624, 4660); // an unsaved edit
        OpenCompare(dlg, route, [&](CCompareDlg &compare) {
            prompts.QueueFile(shortPath);
            Click(compare, IDC_LOAD);
            compareStayed = compare.isVisible() && compare.IsInModalRun();
            Click(compare, IDC_FIND);
        });
    });

    QVERIFY(compareStayed);
    QCOMPARE(prompts.Summaries(), (QStringList{"Compare|offset out of range",
                                               "Compare|You must open a character first!"}));
    QCOMPARE(prompts.messages.first().icon, MessageIcon::Stop);
    QCOMPARE(MainWindowAccess::Document(main).GetUInt(621, 624), 4660u);
    QVERIFY(MainWindowAccess::Document(main).IsModified());
    QCOMPARE(MainWindowAccess::Document(main).GetFileName(), path);
}

QTEST_MAIN(TestRawToolCommands)
#include "tst_rawtoolcommands.moc"
