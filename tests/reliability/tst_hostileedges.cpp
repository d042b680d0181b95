// The edges where a character could be lost or misplaced: links planted under
// a new name, concurrent writers, another user's file, special files, and
// names that are not UTF-8, 255 bytes long or deeper than the system's limit.

#include "support/CharacterFixture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct CliResult
{
    int exitCode;
    QString out, err;
};

CliResult RunCli(const QStringList &arguments, const QString &program = QStringLiteral(QUARVINEL_CLI))
{
    QProcess cli;
    cli.start(program, arguments);
    if (!cli.waitForFinished(60000))
        return {-1, {}, QStringLiteral("did not finish")};
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
            QString::fromLocal8Bit(cli.readAllStandardOutput()), QString::fromLocal8Bit(cli.readAllStandardError())};
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

} // namespace

class TestHostileEdges : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void renameNeverReplacesOrFollows_data();
    void renameNeverReplacesOrFollows();
    void concurrentWritersAllLand();
    void saveKeepsOwnerAndMode();
    void onlyRegularFilesOpen_data();
    void onlyRegularFilesOpen();
    void anyNameWorks_data();
    void anyNameWorks();
};

void TestHostileEdges::renameNeverReplacesOrFollows_data()
{
    QTest::addColumn<QString>("taken");
    QTest::newRow("link to nowhere under the new character file") << QStringLiteral("Neo.d2s");
    QTest::newRow("link to nowhere under the new map") << QStringLiteral("Neo.map");
    QTest::newRow("link to nowhere under the new key") << QStringLiteral("Neo.key");
}

void TestHostileEdges::renameNeverReplacesOrFollows()
{
    QFETCH(QString, taken);
    QTemporaryDir root;
    QDir().mkpath(root.filePath(QStringLiteral("saves")));
    QDir().mkpath(root.filePath(QStringLiteral("elsewhere")));
    const QString saves = root.filePath(QStringLiteral("saves/"));
    CharacterFixture().Name("Hero").WriteTo(saves + QStringLiteral("Hero.d2s"));
    CharacterFixture::WriteFile(saves + QStringLiteral("Hero.map"), "map");
    CharacterFixture::WriteFile(saves + QStringLiteral("Hero.key"), "key");
    QVERIFY(QFile::link(QStringLiteral("../elsewhere/x"), saves + taken));
    const QStringList before = QDir(saves).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);

    const CliResult result = RunCli({QStringLiteral("rename"), saves + QStringLiteral("Hero.d2s"), QStringLiteral("Neo")});
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.err.contains(QLatin1String("File already exist. Try a different character name.")));
    QCOMPARE(QDir(saves).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), before);
    QCOMPARE(CharacterFixture::ReadFile(saves + QStringLiteral("Hero.d2s")), CharacterFixture().Name("Hero").Build());
    QVERIFY(QDir(root.filePath(QStringLiteral("elsewhere"))).isEmpty());
}

void TestHostileEdges::concurrentWritersAllLand()
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

void TestHostileEdges::saveKeepsOwnerAndMode()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
    QVERIFY(CharacterFixture().WriteTo(path));
    const QByteArray native = QFile::encodeName(path);
    const bool root = ::geteuid() == 0;
    QVERIFY(::chmod(native.constData(), 0640) == 0);
    if (root) // root edits another user's character: it stays theirs
        QVERIFY(::chown(native.constData(), 65534, 65534) == 0);
    QCOMPARE(RunCli({QStringLiteral("set"), path, QStringLiteral("gold=77")}).exitCode, 0);
    struct stat st{};
    QVERIFY(::stat(native.constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, 0640u);
    QCOMPARE(st.st_uid, root ? 65534u : ::geteuid());
    QCOMPARE(st.st_gid, root ? 65534u : ::getegid());
}

void TestHostileEdges::onlyRegularFilesOpen_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("named pipe") << QStringLiteral("a named pipe (FIFO)");
    QTest::newRow("socket") << QStringLiteral("a socket");
    QTest::newRow("folder") << QStringLiteral("a folder");
}

void TestHostileEdges::onlyRegularFilesOpen()
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

void TestHostileEdges::anyNameWorks_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("not UTF-8") << QByteArray("caf\xe9.d2s");
    QTest::newRow("255 bytes") << QByteArray(251, 'n') + ".d2s";
    QTest::newRow("path past the system's limit") << (QByteArray(200, 'd') + '/').repeated(25) + "Hero.d2s";
}

void TestHostileEdges::anyNameWorks()
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

QTEST_GUILESS_MAIN(TestHostileEdges)
#include "tst_hostileedges.moc"
