#include "BrennicorApp.h"
#include "BrennicorDlg.h"
#include "support/MainWindowAccess.h"
#include "support/ScriptedPrompts.h"

#include <QtTest>

#include <stdexcept>

// What escapes the main window's run reaches the last-resort guard, which shows
// it and ends the program without saving.
class TestTopLevel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void escapedErrorsAreShown_data()
    {
        QTest::addColumn<bool>("cString");
        QTest::addColumn<QString>("text");
        QTest::newRow("document error") << true << "offset out of range";
        QTest::newRow("anything else") << false << "ERROR 666";
    }

    void escapedErrorsAreShown()
    {
        QFETCH(bool, cString);
        QFETCH(QString, text);
        ScriptedPrompts prompts;
        CBrennicorDlg dlg;
        dlg.PostToHandler([cString] {
            if (cString)
                throw "offset out of range";
            throw std::runtime_error("not a C string");
        });
        QCOMPARE(RunGuarded(dlg), 1);
        QCOMPARE(prompts.Summaries(), QStringList{QStringLiteral("Unexpected error|") + text});
        QCOMPARE(prompts.messages[0].icon, MessageIcon::Stop);
        QCOMPARE(prompts.messages[0].owner, nullptr);
        QVERIFY(!dlg.isVisible());
    }

    void ordinaryEndIsSuccess()
    {
        ScriptedPrompts prompts;
        CBrennicorDlg dlg;
        dlg.PostToHandler([&dlg] { MainWindowAccess::Command(dlg, ID_FILE_EXIT); });
        QCOMPARE(RunGuarded(dlg), 0);
        QVERIFY(prompts.messages.isEmpty());
    }
};

QTEST_MAIN(TestTopLevel)
#include "tst_toplevel.moc"
