// Where a character could be lost or misplaced: every file-system call of
// Save, Backup, Restore and Rename failing in turn (a preloaded shim fails the
// Nth call, or kills the process there), links planted under a new name,
// concurrent writers, another user's file, special files, and names that are
// not UTF-8, 255 bytes long or deeper than the system's limit.

#include "support/CharacterFixture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using Snapshot = QMap<QString, QByteArray>;

Snapshot Take(const QString &dir, bool withTemporaries = true)
{
    Snapshot files;
    // Folders too: a batch's own folder must not stay behind.
    for (const QString &name : QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (withTemporaries || !name.startsWith(QLatin1String(".quarvinel-")))
            files.insert(name, CharacterFixture::ReadFile(dir + QLatin1Char('/') + name));
    }
    return files;
}

struct CliResult
{
    int exitCode;
    QString out, err;
    QStringList calls; // the shim's log, when given one
};

// Runs the command line; with a root, under the shim, failing call failCall
// in root/saves with error (or killing the process there when error is 0).
CliResult RunCli(const QStringList &arguments, const QString &program = QStringLiteral(QUARVINEL_CLI),
                 const QString &root = QString(), int failCall = 0, int error = 0)
{
    QProcess cli;
    if (!root.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(QUARVINEL_FAIL_NTH_CALL));
        env.insert(QStringLiteral("QV_FAULT_DIR"), root + QStringLiteral("/saves"));
        env.insert(QStringLiteral("QV_FAULT_CALL"), QString::number(failCall));
        env.insert(QStringLiteral("QV_FAULT_ERRNO"), QString::number(error));
        env.insert(QStringLiteral("QV_FAULT_LOG"), root + QStringLiteral("/calls"));
        if (failCall > 0 && error == 0)
            env.insert(QStringLiteral("QV_FAULT_KILL"), QStringLiteral("1"));
        cli.setProcessEnvironment(env);
    }
    cli.start(program, arguments);
    if (!cli.waitForFinished(60000))
        return {-1, {}, QStringLiteral("did not finish"), {}};
    const QString calls = QString::fromLatin1(CharacterFixture::ReadFile(root + QStringLiteral("/calls")));
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, QString::fromLocal8Bit(cli.readAllStandardOutput()),
            QString::fromLocal8Bit(cli.readAllStandardError()), calls.split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
}

// Runs the command line with one argument given as raw bytes (printf escapes),
// as a shell would pass a name that is not UTF-8.
CliResult RunWithRawPath(const QString &command, const QByteArray &path, const QStringList &rest)
{
    QByteArray escaped;
    for (const char c : path)
        escaped += uchar(c) < 0x80 ? QByteArray(1, c) : "\\" + QByteArray::number(uchar(c), 8);
    const QString script = QStringLiteral("exec \"$0\" %1 \"$(printf '%2')\" \"$@\"").arg(command, QString::fromLatin1(escaped));
    return RunCli(QStringList{QStringLiteral("-c"), script, QStringLiteral(QUARVINEL_CLI)} + rest, QStringLiteral("/bin/sh"));
}

// Writes bytes under a path of any length, one folder at a time.
bool WriteDeep(const QByteArray &path, const QByteArray &bytes)
{
    int dir = ::open("/", O_RDONLY | O_DIRECTORY);
    const QList<QByteArray> parts = path.split('/');
    for (qsizetype i = 0; i + 1 < parts.size() && dir >= 0; ++i) {
        if (parts[i].isEmpty())
            continue;
        ::mkdirat(dir, parts[i].constData(), 0755);
        const int next = ::openat(dir, parts[i].constData(), O_RDONLY | O_DIRECTORY);
        ::close(dir);
        dir = next;
    }
    const int fd = dir < 0 ? -1 : ::openat(dir, parts.last().constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    const bool ok = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    ::close(fd);
    ::close(dir);
    return ok;
}

// A character with its map, key and an older backup. The character is
// another user's when we are root, and readable by its group only.
QString Prepare(QTemporaryDir &root)
{
    const QString dir = root.filePath(QStringLiteral("saves"));
    QDir().mkpath(dir);
    CharacterFixture().Name("Hero").WriteTo(dir + QStringLiteral("/Hero.d2s"));
    const QByteArray native = QFile::encodeName(dir + QStringLiteral("/Hero.d2s"));
    if (::chmod(native.constData(), 0640) != 0 || (::geteuid() == 0 && ::chown(native.constData(), 65534, 65534) != 0))
        qFatal("cannot hand the character to another user");
    CharacterFixture().Name("Hero").Gold(1).WriteTo(dir + QStringLiteral("/Hero.bak"));
    CharacterFixture().Name("Two").WriteTo(dir + QStringLiteral("/Two.d2s"));
    CharacterFixture::WriteFile(dir + QStringLiteral("/Hero.map"), "map");
    CharacterFixture::WriteFile(dir + QStringLiteral("/Hero.key"), "key");
    return dir;
}

} // namespace

class TestFileEdges : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyCallFailsSafely_data();
    void everyCallFailsSafely();
    void renameNeverReplacesOrFollows();
    void concurrentWritersAllLand();
    void onlyRegularFilesOpen_data();
    void onlyRegularFilesOpen();
    void anyNameWorks_data();
    void anyNameWorks();
};

void TestFileEdges::renameNeverReplacesOrFollows()
{
    // A link to nowhere under the new name: a copying move would write the
    // character outside its folder and lose it here.
    QTemporaryDir root;
    const QString saves = Prepare(root) + QLatin1Char('/');
    QVERIFY(QFile::link(QStringLiteral("../elsewhere/x.d2s"), saves + QStringLiteral("Neo.d2s")));
    const Snapshot before = Take(saves);
    const CliResult result = RunCli({QStringLiteral("rename"), saves + QStringLiteral("Hero.d2s"), QStringLiteral("Neo")});
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.err.contains(QLatin1String("File already exist. Try a different character name.")));
    QCOMPARE(Take(saves), before);
    QVERIFY(QFileInfo(saves + QStringLiteral("Neo.d2s")).isSymLink());
    QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("elsewhere"))));
}

void TestFileEdges::concurrentWritersAllLand()
{
    // Eight writers put 40 bytes each, every one at an offset of its own: a
    // writer that read the file before another saved would undo that save.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
    QVERIFY(CharacterFixture().Length(1100).WriteTo(path));
    constexpr int writers = 8, puts = 40, first = 700;
    QList<QProcess *> processes;
    for (int w = 0; w < writers; ++w) {
        QString script;
        for (int i = 0; i < puts; ++i)
            script += QStringLiteral("\"$0\" put \"$1\" %1 %1 1 >/dev/null || exit 1\n").arg(first + w * puts + i);
        auto *process = new QProcess(this);
        process->start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, QStringLiteral(QUARVINEL_CLI), path});
        processes.append(process);
    }
    for (QProcess *process : processes) {
        QVERIFY(process->waitForFinished(120000));
        QCOMPARE(process->exitCode(), 0);
    }
    QCOMPARE(CharacterFixture::ReadFile(path).mid(first, writers * puts), QByteArray(writers * puts, '\1'));
}

void TestFileEdges::onlyRegularFilesOpen_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("named pipe") << QStringLiteral("a named pipe (FIFO)");
    QTest::newRow("socket") << QStringLiteral("a socket");
    QTest::newRow("folder") << QStringLiteral("a folder");
}

void TestFileEdges::onlyRegularFilesOpen()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.d2s"));
    const QByteArray native = QFile::encodeName(path);
    if (kind.contains(QLatin1String("pipe"))) {
        QVERIFY(::mkfifo(native.constData(), 0644) == 0);
    } else if (kind.contains(QLatin1String("socket"))) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, native.constData(), sizeof address.sun_path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
        ::close(fd);
    } else {
        QVERIFY(QDir().mkdir(path));
    }
    // A hang here would outlast the runner's wait and fail the test.
    const CliResult result = RunCli({QStringLiteral("show"), path});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(QStringLiteral("it is %1, not a regular file").arg(kind)), qPrintable(result.err));
}

void TestFileEdges::anyNameWorks_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("not UTF-8") << QByteArray("caf\xe9.d2s");
    QTest::newRow("255 bytes") << QByteArray(251, 'n') + ".d2s";
    QTest::newRow("path past the system's limit") << (QByteArray(200, 'd') + '/').repeated(25) + "Hero.d2s";
}

void TestFileEdges::anyNameWorks()
{
    QFETCH(QByteArray, name);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
    QVERIFY(WriteDeep(path, CharacterFixture().Build()));
    for (const QString &command : {QStringLiteral("backup"), QStringLiteral("set")}) {
        const CliResult result = RunWithRawPath(command, path, command == QLatin1String("set") ? QStringList{QStringLiteral("gold=4321")} : QStringList{});
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    }
    // Read back through the same names: the save reached the file, the backup its .bak.
    const CliResult saved = RunWithRawPath(QStringLiteral("get"), path, {QStringLiteral("621"), QStringLiteral("624")});
    QVERIFY2(saved.out.contains(QLatin1String("4321")), qPrintable(saved.out + saved.err));
    const CliResult backup = RunWithRawPath(QStringLiteral("get"), path.left(path.size() - 3) + "bak",
                                            {QStringLiteral("621"), QStringLiteral("624")});
    QVERIFY2(backup.out.contains(QLatin1String("1234")), qPrintable(backup.out + backup.err));
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), dir.path()}); // names Qt cannot remove
}

void TestFileEdges::everyCallFailsSafely_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<int>("error"); // 0: the process is killed at the call
    const QList<QPair<const char *, QStringList>> commands = {
        {"Save", {QStringLiteral("set"), QStringLiteral("Hero.d2s"), QStringLiteral("gold=999")}},
        {"Save of two files", {QStringLiteral("set"), QStringLiteral("Hero.d2s"), QStringLiteral("Two.d2s"), QStringLiteral("gold=999")}},
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

void TestFileEdges::everyCallFailsSafely()
{
    QFETCH(QStringList, command);
    QFETCH(int, error);
    QTemporaryDir cleanRoot;
    // Every character file named, in the folder of the run.
    const auto inFolder = [](QStringList arguments, const QString &dir) {
        for (QString &argument : arguments) {
            if (argument.endsWith(QLatin1String(".d2s")))
                argument = dir + QLatin1Char('/') + QFileInfo(argument).fileName();
        }
        return arguments;
    };
    command = inFolder(command, Prepare(cleanRoot));
    const Snapshot before = Take(cleanRoot.filePath(QStringLiteral("saves")));
    const CliResult clean = RunCli(command, QStringLiteral(QUARVINEL_CLI), cleanRoot.path());
    QCOMPARE(clean.exitCode, 0);
    const Snapshot after = Take(cleanRoot.filePath(QStringLiteral("saves")));
    QVERIFY(after != before);
    // A batch is all or nothing up to its first rename, and afterwards each
    // file is whole: old where its rename failed, new where it happened.
    const qsizetype firstRename = clean.calls.indexOf(QStringLiteral("rename")) + 1;
    const auto eachWhole = [&](const Snapshot &now) {
        bool whole = now.keys() == before.keys() && command.size() > 3;
        for (auto file = now.cbegin(); whole && file != now.cend(); ++file)
            whole = *file == before.value(file.key()) || *file == after.value(file.key());
        return whole;
    };
    struct stat st{}; // the saved character keeps its owner, group and mode
    if (::stat(QFile::encodeName(command[1]).constData(), &st) == 0)
        QVERIFY(st.st_uid == (::geteuid() == 0 ? 65534u : ::geteuid()) && (st.st_mode & 07777) == 0640);

    int injected = 0, told = 0;
    for (int call = 1; call <= clean.calls.size(); ++call) {
        const QString kind = clean.calls[call - 1];
        if (error == EXDEV && kind != QLatin1String("rename") && kind != QLatin1String("link"))
            continue;
        QTemporaryDir root;
        const QString dir = Prepare(root);
        const QStringList arguments = inFolder(command, dir);
        const CliResult run = RunCli(arguments, QStringLiteral(QUARVINEL_CLI), root.path(), call, error);
        ++injected;
        const QString where = QStringLiteral("call %1 (%2): exit %3, %4").arg(call).arg(kind).arg(run.exitCode).arg(run.err);
        const Snapshot now = Take(dir, false);
        QVERIFY2(now == before || now == after || (call >= firstRename && eachWhole(now)), qPrintable(where));
        QVERIFY2(!run.err.contains(QLatin1String("Unknown error")), qPrintable(where));
        if (Take(dir) != now) {
            // A kill or a failed clean-up may leave our temporary names
            // behind; the next save there removes them.
            QCOMPARE(RunCli({QStringLiteral("set"), arguments[1], QStringLiteral("gold=5")}).exitCode, 0);
            QCOMPARE(Take(dir).keys(), now.keys());
        }
        if (error == 0)
            continue;
        if (run.exitCode != 0) {
            ++told;
            QVERIFY2(run.exitCode > 0 && !run.err.isEmpty(), qPrintable(where));
        } else {
            QVERIFY2(now == after, qPrintable(where));
        }
        if (error == ENOSPC && kind == QLatin1String("write"))
            QVERIFY2(run.err.contains(QLatin1String("No space left on device")), qPrintable(where));
    }
    QVERIFY(injected > 0);
    qInfo("%s: %d calls, %d runs with a fault injected, %d failed and said so, bytes lost 0",
          QTest::currentDataTag(), int(clean.calls.size()), injected, told);
}

QTEST_GUILESS_MAIN(TestFileEdges)
#include "tst_fileedges.moc"
