// Every file-system call that Save, Backup, Restore and Rename make in the
// saves folder is made to fail in turn (and, for Save and Backup, the process
// is killed there). After each run every file of the character must hold
// exactly its old or its new bytes, and a failure must have been reported.

#include "support/CharacterFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

namespace {

using Snapshot = QMap<QString, QByteArray>;

Snapshot Take(const QString &dir, bool withTemporaries = true)
{
    Snapshot files;
    for (const QString &name : QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (withTemporaries || !name.startsWith(QLatin1String(".quarvinel-")))
            files.insert(name, CharacterFixture::ReadFile(dir + QLatin1Char('/') + name));
    }
    return files;
}

struct Outcome
{
    int exitCode;
    QString errors;
    QStringList calls;
};

Outcome Run(const QString &root, const QStringList &arguments, int failCall, int error, bool kill = false)
{
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(QUARVINEL_FAIL_NTH_CALL));
    env.insert(QStringLiteral("QV_FAULT_DIR"), root + QStringLiteral("/saves"));
    env.insert(QStringLiteral("QV_FAULT_CALL"), QString::number(failCall));
    env.insert(QStringLiteral("QV_FAULT_ERRNO"), QString::number(error));
    env.insert(QStringLiteral("QV_FAULT_LOG"), root + QStringLiteral("/calls"));
    if (kill)
        env.insert(QStringLiteral("QV_FAULT_KILL"), QStringLiteral("1"));
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(QUARVINEL_CLI), arguments);
    if (!cli.waitForFinished(60000))
        qFatal("brennicor-cli hung");
    const int code = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    const QString calls = QString::fromLatin1(CharacterFixture::ReadFile(root + QStringLiteral("/calls")));
    return {code, QString::fromLocal8Bit(cli.readAllStandardError()), calls.split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
}

// A character with its map, key and an older backup.
QString Prepare(QTemporaryDir &root)
{
    const QString dir = root.filePath(QStringLiteral("saves"));
    QDir().mkpath(dir);
    CharacterFixture().Name("Hero").WriteTo(dir + QStringLiteral("/Hero.d2s"));
    CharacterFixture().Name("Hero").Gold(1).WriteTo(dir + QStringLiteral("/Hero.bak"));
    CharacterFixture::WriteFile(dir + QStringLiteral("/Hero.map"), "map");
    CharacterFixture::WriteFile(dir + QStringLiteral("/Hero.key"), "key");
    return dir;
}

} // namespace

class TestFaultMatrix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyCallFailsSafely_data();
    void everyCallFailsSafely();
};

void TestFaultMatrix::everyCallFailsSafely_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<int>("error"); // 0: the process is killed at the call
    const QList<QPair<const char *, QStringList>> commands = {
        {"Save", {QStringLiteral("set"), QStringLiteral("Hero.d2s"), QStringLiteral("gold=999")}},
        {"Backup", {QStringLiteral("backup"), QStringLiteral("Hero.d2s")}},
        {"Restore", {QStringLiteral("restore"), QStringLiteral("Hero.d2s")}},
        {"Rename", {QStringLiteral("rename"), QStringLiteral("Hero.d2s"), QStringLiteral("Neo")}},
    };
    const QList<QPair<const char *, int>> errors = {{"EIO", EIO}, {"ENOSPC", ENOSPC}, {"EACCES", EACCES},
                                                    {"EXDEV", EXDEV}, {"killed", 0}};
    for (const auto &[name, command] : commands) {
        for (const auto &[errorName, error] : errors) {
            if (error == 0 && command[0] != QLatin1String("set") && command[0] != QLatin1String("backup"))
                continue;
            QTest::addRow("%s, %s", name, errorName) << command << error;
        }
    }
}

void TestFaultMatrix::everyCallFailsSafely()
{
    QFETCH(QStringList, command);
    QFETCH(int, error);
    QTemporaryDir cleanRoot;
    command[1] = Prepare(cleanRoot) + QLatin1Char('/') + command[1];
    const Snapshot before = Take(cleanRoot.filePath(QStringLiteral("saves")));
    const Outcome clean = Run(cleanRoot.path(), command, 0, 0);
    QCOMPARE(clean.exitCode, 0);
    const Snapshot after = Take(cleanRoot.filePath(QStringLiteral("saves")));
    QVERIFY(after != before);

    int injected = 0, told = 0;
    for (int call = 1; call <= clean.calls.size(); ++call) {
        const QString kind = clean.calls[call - 1];
        if (error == EXDEV && kind != QLatin1String("rename") && kind != QLatin1String("link"))
            continue;
        QTemporaryDir root;
        const QString dir = Prepare(root);
        QStringList arguments = command;
        arguments[1] = dir + QLatin1Char('/') + QFileInfo(command[1]).fileName();
        const Outcome run = Run(root.path(), arguments, call, error, error == 0);
        ++injected;
        const QString where = QStringLiteral("call %1 (%2): exit %3, %4").arg(call).arg(kind).arg(run.exitCode).arg(run.errors);
        const Snapshot now = Take(dir, error != 0);
        QVERIFY2(now == before || now == after, qPrintable(where));
        QVERIFY2(!run.errors.contains(QLatin1String("Unknown error")), qPrintable(where));
        if (error == 0) {
            // A kill may leave our temporary name behind; the next save there removes it.
            QCOMPARE(Run(root.path(), {QStringLiteral("set"), arguments[1], QStringLiteral("gold=5")}, 0, 0).exitCode, 0);
            QCOMPARE(Take(dir).keys(), after.keys());
            continue;
        }
        if (run.exitCode != 0) {
            ++told;
            QVERIFY2(run.exitCode > 0 && !run.errors.isEmpty(), qPrintable(where));
        } else {
            QVERIFY2(now == after, qPrintable(where));
        }
        if (error == ENOSPC && kind == QLatin1String("write"))
            QVERIFY2(run.errors.contains(QLatin1String("No space left on device")), qPrintable(where));
    }
    QVERIFY(injected > 0);
    qInfo("%s: %d calls, %d runs with a fault injected, %d failed and said so, bytes lost 0",
          QTest::currentDataTag(), int(clean.calls.size()), injected, told);
}

QTEST_GUILESS_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
