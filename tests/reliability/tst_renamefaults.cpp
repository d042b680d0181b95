// The window's Rename Character with each file-system call failing in turn
// (the fault shim is preloaded into this test): the character's files end
// all under the old name with the old name inside, or all under the new.

#include "mainwindow/RenameDlg.h"
#include "resources/Resources.h"
#include "support/ModalDriver.h"
#include "support/WindowHarness.h"

#include <QPushButton>
#include <QtTest>

#include <cerrno>

#include <dlfcn.h>

namespace {

// How many calls the shim has counted in this process so far.
int CallsSoFar()
{
    static const auto counter = reinterpret_cast<int (*)()>(::dlsym(RTLD_DEFAULT, "qv_fault_count"));
    return counter ? counter() : -1;
}

} // namespace

class TestRenameFaults : public QObject
{
    Q_OBJECT

private:
    // Opens Hero with its map and key, renames it to Neo with call number
    // fail (0: none) of those in its folder failing with error; the messages
    // shown and the folder's state afterwards.
    struct Run
    {
        int calls;
        QStringList shown;
        QString state;
    };
    Run rename(int fail, int error)
    {
        WindowHarness w;
        w.Open(CharacterFixture().Name("Hero").Gold(500));
        CharacterFixture::WriteFile(w.dir.filePath("Hero.map"), "map");
        CharacterFixture::WriteFile(w.dir.filePath("Hero.key"), "key");
        const int start = CallsSoFar();
        qputenv("QV_FAULT_DIR", w.dir.path().toLocal8Bit());
        qputenv("QV_FAULT_CALL", QByteArray::number(fail == 0 ? 0 : start + fail));
        qputenv("QV_FAULT_ERRNO", QByteArray::number(error));
        const auto ran = WhenModal<CRenameDlg>([](CRenameDlg *dlg) {
            dlg->DlgItem<QLineEdit>(IDC_NEW_NAME)->setText(QStringLiteral("Neo"));
            dlg->DlgItem<QPushButton>(IDOK)->click();
        });
        w.dlg.SendCommand(ID_EDIT_RENAME_CHARACTER);
        const int calls = CallsSoFar() - start;
        qunsetenv("QV_FAULT_DIR");
        qunsetenv("QV_FAULT_CALL");
        Run run{calls, {}, {}};
        for (const auto &m : w.prompts.messages)
            run.shown.append(m.caption + '|' + m.text);
        QStringList files;
        for (const QString &name : QDir(w.dir.path()).entryList(QDir::Files | QDir::Hidden)) {
            const QByteArray bytes = CharacterFixture::ReadFile(w.dir.filePath(name));
            files.append(name.endsWith(".d2s") ? name + '=' + QString::fromLatin1(bytes.mid(8, 4)) : name);
        }
        run.state = files.join(' ');
        w.dlg.TakePendingError();
        return *ran ? run : Run{-1, {}, {}};
    }

private Q_SLOTS:
    void everyCallFailsSafely_data()
    {
        QTest::addColumn<int>("error");
        QTest::newRow("EIO") << EIO;
        QTest::newRow("ENOSPC") << ENOSPC;
    }

    void everyCallFailsSafely()
    {
        QFETCH(int, error);
        if (CallsSoFar() < 0)
            QSKIP("the fault shim is not preloaded");
        const QString before = QStringLiteral("Hero.d2s=Hero Hero.key Hero.map");
        const QString after = QStringLiteral("Neo.d2s=Neo\\0 Neo.key Neo.map").replace("\\0", QChar(0));
        const Run clean = rename(0, 0);
        QCOMPARE(clean.state, after);
        QVERIFY(clean.calls > 10);
        for (int call = 1; call <= clean.calls; ++call) {
            const Run run = rename(call, error);
            const QString where = QStringLiteral("call %1: %2 | %3").arg(call).arg(run.state, run.shown.join(" / "));
            QVERIFY2(run.state == before || run.state == after, qPrintable(where));
            // A rename that did not happen says so.
            QVERIFY2(run.state == after || !run.shown.isEmpty(), qPrintable(where));
        }
    }
};

QTEST_MAIN(TestRenameFaults)
#include "tst_renamefaults.moc"
