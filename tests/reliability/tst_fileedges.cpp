// Where a character could be lost: each file-system call failing in turn, links under a new name, concurrent
// writers, another user's file, special files, names not UTF-8, 255 bytes long or past the system's limit.

#include "cli/CliRunner.h"
#include "support/CharacterFixture.h"

#include "core/SafeFile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

using Snapshot = QMap<QString, QByteArray>;

// Every entry of a folder, folders too: a batch's own folder must not stay behind.
Snapshot Take(const QString &dir, bool withTemporaries = true)
{
    Snapshot files;
    for (const QString &name : QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (withTemporaries || !name.startsWith(QLatin1String(".quarvinel-")))
            files.insert(name, CharacterFixture::ReadFile(dir + QLatin1Char('/') + name));
    }
    return files;
}

// Runs the command line; call failCall in root/saves fails with error (0: is killed; below 0: fails with
// -error, and so does every call after it).
CliResult RunFaulty(const QStringList &arguments, const QString &root, int failCall = 0, int error = 0)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", QUARVINEL_FAIL_NTH_CALL);
    env.insert("QV_FAULT_DIR", root + "/saves");
    env.insert("QV_FAULT_CALL", QString::number(failCall));
    env.insert("QV_FAULT_ERRNO", QString::number(std::abs(error)));
    if (error < 0)
        env.insert("QV_FAULT_STAYS", "1");
    env.insert("QV_FAULT_LOG", root + "/calls");
    CliResult result = RunCli(arguments, QString(), env);
    result.calls = QString::fromLatin1(CharacterFixture::ReadFile(root + "/calls")).split('\n', Qt::SkipEmptyParts);
    return result;
}

// Runs sh with arguments (the script first, then $0 and on), in dir.
CliResult RunSh(const QStringList &arguments, const QString &dir = QString(),
                const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    return RunCli(QStringList{"-c"} + arguments, dir, env, "/bin/sh");
}

// Runs the command line with a path given as raw bytes, as a shell passes a name that is not UTF-8.
CliResult RunWithRawPath(const QString &command, const QByteArray &path, const QStringList &rest = {})
{
    QByteArray escaped;
    for (const char c : path)
        escaped += uchar(c) < 0x80 ? QByteArray(1, c) : "\\" + QByteArray::number(uchar(c), 8);
    const QString script = QStringLiteral("exec \"$0\" %1 \"$(printf '%2')\" \"$@\"").arg(command, QString::fromLatin1(escaped));
    return RunSh(QStringList{script, QUARVINEL_CLI} + rest);
}

// Writes bytes under a path of any length, one folder at a time.
bool WriteDeep(const QByteArray &path, const QByteArray &bytes)
{
    int dir = ::open("/", O_RDONLY | O_DIRECTORY);
    const QList<QByteArray> parts = path.split('/');
    for (qsizetype i = 1; i + 1 < parts.size() && dir >= 0; ++i) {
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

// A character with its map, key, older backup and a link to it; another user's when we are root, group-readable only.
QString Prepare(QTemporaryDir &root)
{
    const QString dir = root.filePath("saves") + '/';
    QDir().mkpath(dir);
    CharacterFixture().Name("Hero").WriteTo(dir + "Hero.d2s");
    const QByteArray native = QFile::encodeName(dir + "Hero.d2s");
    if (::chmod(native.constData(), 0640) != 0 || (::geteuid() == 0 && ::chown(native.constData(), 65534, 65534) != 0))
        qFatal("cannot hand the character to another user");
    CharacterFixture().Name("Hero").Gold(1).WriteTo(dir + "Hero.bak");
    CharacterFixture().Name("Two").WriteTo(dir + "Two.d2s");
    const bool made = QFile::link("Hero.d2s", dir + "Link.d2s") && CharacterFixture::WriteFile(dir + "Hero.map", "map");
    return made && CharacterFixture::WriteFile(dir + "Hero.key", "key") ? dir : QString();
}

// Every entry of a folder with its kind, mode, owner and, for a regular file, its bytes; reads no pipe.
QStringList Describe(const QString &dir)
{
    QStringList entries;
    for (const QString &name : QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        struct stat st{};
        const QString path = dir + '/' + name;
        ::lstat(QFile::encodeName(path).constData(), &st);
        const QByteArray bytes = S_ISREG(st.st_mode) ? CharacterFixture::ReadFile(path) : QByteArray();
        entries.append(QStringLiteral("%1 %2 %3 %4").arg(name).arg(st.st_mode, 0, 8).arg(st.st_uid).arg(qHash(bytes)));
    }
    return entries;
}

// Runs brennicor-cli in dir through sh as the runner, after setup (sh, in dir, with $RUNNER its user:group).
CliResult RunInFolder(const QString &dir, const QString &setup, const QString &command, bool asRunner = true)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RUNNER", ::geteuid() == 0 ? QStringLiteral("65534:65534") : QStringLiteral("%1:%2").arg(::geteuid()).arg(::getegid()));
    const QString drop = asRunner && ::geteuid() == 0 ? QStringLiteral("setpriv --reuid=65534 --regid=65534 --clear-groups -- ") : QString();
    return RunSh({QStringLiteral("set -e; %1\n%2\"$0\" %3").arg(setup, drop, command), QUARVINEL_CLI}, dir, env);
}

// A folder anyone may write, with Hero.d2s, its older backup Hero.bak and Two.d2s, all ours.
QString PrepareOpen(QTemporaryDir &root)
{
    ::chmod(QFile::encodeName(root.path()).constData(), 0777);
    const QString dir = root.path() + '/';
    CharacterFixture().Name("Hero").WriteTo(dir + "Hero.d2s");
    CharacterFixture().Name("Hero").Gold(1).WriteTo(dir + "Hero.bak");
    CharacterFixture().Name("Two").WriteTo(dir + "Two.d2s");
    return dir;
}

} // namespace

class TestFileEdges : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void renameNeverReplacesOrFollows()
    {
        // A link to nowhere under the new name: a copying move would write the
        // character outside its folder and lose it here.
        QTemporaryDir root;
        const QString saves = Prepare(root);
        QVERIFY(QFile::link("../elsewhere/x.d2s", saves + "Neo.d2s"));
        const Snapshot before = Take(saves);
        const CliResult result = RunCli({"rename", saves + "Hero.d2s", "Neo"});
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.err.contains("File already exist. Try a different character name."));
        QCOMPARE(Take(saves), before);
        QVERIFY(QFileInfo(saves + "Neo.d2s").isSymLink() && !QFileInfo::exists(root.filePath("elsewhere")));

        // A companion in the way is named, and nothing moves either.
        QVERIFY(QFile::remove(saves + "Neo.d2s") && CharacterFixture::WriteFile(saves + "Hero.map", "map")
                && CharacterFixture::WriteFile(saves + "Neo.map", "other"));
        const Snapshot taken = Take(saves);
        QCOMPARE(RunCli({"rename", saves + "Hero.d2s", "Neo"}).err,
                 "brennicor-cli: " + saves + "Hero.d2s: Neo.map already exists. Try a different character name.\n");
        QCOMPARE(Take(saves), taken);
    }

    void concurrentWritersAllLand()
    {
        // Eight writers of 40 bytes each: one that read the file before another saved would undo that
        // save. They write through a link, which must stay a link to the file that gets the bytes.
        QTemporaryDir dir;
        const QString path = dir.filePath("Hero.d2s"), real = dir.filePath("Real.d2s");
        QVERIFY(CharacterFixture().Length(1100).WriteTo(real) && QFile::link("Real.d2s", path));
        QList<QProcess *> writers;
        for (int first = 700; first < 1020; first += 40) {
            writers.append(new QProcess(this));
            writers.last()->start("/bin/sh", {"-c", QStringLiteral("for i in $(seq %1 %2); do \"$0\" put \"$1\" $i $i 1 >/dev/null "
                                                                   "|| exit 1; done").arg(first).arg(first + 39), QUARVINEL_CLI, path});
        }
        for (QProcess *writer : writers)
            QVERIFY(writer->waitForFinished(120000) && writer->exitCode() == 0);
        QCOMPARE(CharacterFixture::ReadFile(real).mid(700, 320), QByteArray(320, '\1'));
        QVERIFY(QFileInfo(path).isSymLink());
    }

    // What a write must never replace, files the user may not write and what is no regular file to open:
    // each refused, nothing changed (a hang would outlast the wait and fail).
    void refusedWritesChangeNothing_data()
    {
        QTest::addColumn<QString>("setup"); // sh in the folder; "socket NAME" binds a socket there first
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("otherUser"); // the file must belong to another user than the runner: root only
        QTest::newRow("show of a named pipe") << "rm Hero.d2s; mkfifo Hero.d2s" << "show Hero.d2s"
                                              << "it is a named pipe (FIFO), not a regular file" << false;
        QTest::newRow("show of a folder") << "rm Hero.d2s; mkdir Hero.d2s" << "show Hero.d2s" << "it is a folder, not a regular file" << false;
        QTest::newRow("backup over a named pipe") << "rm Hero.bak; mkfifo Hero.bak" << "backup Hero.d2s"
                                                  << "it is a named pipe (FIFO), not a regular file" << false;
        QTest::newRow("backup over a socket") << "socket Hero.bak" << "backup Hero.d2s" << "it is a socket, not a regular file" << false;
        QTest::newRow("restore through a link to a named pipe") << "rm Hero.d2s; mkfifo pipe; ln -s pipe Hero.d2s"
                                                               << "restore Hero.d2s" << "it is a named pipe (FIFO), not a regular file" << false;
        QTest::newRow("restore through a link to a device") << "rm Hero.d2s; mknod null c 1 3; ln -s null Hero.d2s"
                                                           << "restore Hero.d2s" << "it is a character device, not a regular file" << true;
        QTest::newRow("set of a character made read-only") << "chown $RUNNER Hero.d2s; chmod 444 Hero.d2s"
                                                          << "set Hero.d2s gold=5" << "Permission denied" << false;
        QTest::newRow("set of another user's character one may only read") << "chmod 644 Hero.d2s" << "set Hero.d2s gold=5"
                                                                          << "Permission denied" << true;
        QTest::newRow("set of another user's character one may write") << "chmod 666 Hero.d2s" << "set Hero.d2s gold=5"
                                                                      << "belongs to another user or group" << true;
        QTest::newRow("backup of two with the second backup read-only") << "cp Hero.bak Two.bak; chown $RUNNER *; chmod 444 Two.bak" << "backup Hero.d2s Two.d2s" << "Permission denied" << false;
        QTest::newRow("a character given with its own backup") << "" << "backup Hero.d2s Hero.bak" << "it is the backup of Hero.d2s" << false;
        QTest::newRow("two characters sharing one backup") << "cp Hero.d2s Hero" << "backup Hero.d2s Hero"
                                                           << "its backup is also the backup of Hero.d2s" << false;
    }

    void refusedWritesChangeNothing()
    {
        QFETCH(QString, setup);
        QFETCH(QString, command);
        QFETCH(QString, error);
        QFETCH(bool, otherUser);
        if (otherUser && ::geteuid() != 0)
            QSKIP("needs root to make a file of another user");
        QTemporaryDir root;
        const QString dir = PrepareOpen(root);
        if (setup.startsWith("socket ")) {
            QFile::remove(dir + setup.mid(7));
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            qstrncpy(address.sun_path, QFile::encodeName(dir + setup.mid(7)).constData(), sizeof address.sun_path);
            QVERIFY(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
            ::close(fd);
            setup.clear();
        }
        const CliResult prepared = RunInFolder(dir, setup, "--version", false);
        QVERIFY2(prepared.exitCode == 0, qPrintable(prepared.err));
        const QStringList before = Describe(dir);
        const CliResult result = RunInFolder(dir, QString(), command);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains(error) && result.err.count('\n') == 1, qPrintable(result.err));
        QCOMPARE(Describe(dir), before);
    }

    void nameTakenByAPipeDuringASave()
    {
        // Another program puts a named pipe under the name while a save is under way: the pipe stays.
        QTemporaryDir dir;
        const QString path = dir.filePath("Hero.d2s");
        QVERIFY(CharacterFixture().WriteTo(path));
        SafeFile::Transfer save;
        QVERIFY(save.OpenForReplacing(path) && save.Device().write("new") == 3);
        QVERIFY(QFile::remove(path) && ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
        QVERIFY(!save.Commit());
        QCOMPARE(save.Error(), QStringLiteral("it is a named pipe (FIFO), not a regular file"));
        QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
    }

    // A file reached through as many links as the system follows (40) loads and saves; one more is refused.
    void linkChains_data()
    {
        QTest::addColumn<int>("links");
        QTest::addColumn<int>("status");
        QTest::newRow("40 links") << 40 << 0;
        QTest::newRow("41 links") << 41 << 1;
    }

    void linkChains()
    {
        QFETCH(int, links);
        QFETCH(int, status);
        QTemporaryDir root;
        const QString dir = PrepareOpen(root);
        const QString chain = QStringLiteral("ln -s Hero.d2s l1; for i in $(seq 2 %1); do ln -s l$((i-1)) l$i; done").arg(links);
        const CliResult result = RunInFolder(dir, chain, QStringLiteral("set l%1 gold=4321").arg(links), false);
        QCOMPARE(result.exitCode, status);
        QCOMPARE(CharacterFixture::ReadFile(dir + "Hero.d2s").mid(621, 2), status == 0 ? QByteArray("\xe1\x10") : QByteArray("\xd2\x04"));
        QVERIFY(status == 0 ? QFileInfo(dir + "l1").isSymLink() : result.err.contains("Too many levels of symbolic links"));
    }

    void characterNamedOnlyByItsExtension()
    {
        // ".d2s" has an empty name: its companions are ".map", ".ma3" and so on, and they move with it. A
        // version-96 character takes 15 characters with one _.
        QTemporaryDir root;
        const QString dir = PrepareOpen(root);
        const CliResult result = RunInFolder(dir, "cp \"$QUARVINEL_TEST_DATA/v96_sorceress_level94.d2s\" .d2s; echo map > .map; echo > .ma3",
                                             "rename .d2s Thor_isMYbitchh", false);
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QVERIFY(QFileInfo::exists(dir + "Thor_isMYbitchh.map") && QFileInfo::exists(dir + "Thor_isMYbitchh.ma3") && !QFileInfo::exists(dir + ".ma3"));
        QVERIFY(RunCli({"show", dir + "Thor_isMYbitchh.d2s"}).out.contains("\nname: Thor_isMYbitchh\n"));
    }

    void savesKeepExtendedAttributes()
    {
        QTemporaryDir root;
        const QString dir = PrepareOpen(root);
        const QByteArray hero = QFile::encodeName(dir + "Hero.d2s");
        if (::setxattr(hero.constData(), "user.note", "kept", 4, 0) != 0 || ::setxattr(hero.constData(), "user.empty", "", 0, 0) != 0)
            QSKIP("the file system here keeps no extended attributes");
        QCOMPARE(RunInFolder(dir, QString(), "set Hero.d2s Two.d2s gold=5", false).exitCode, 0);
        QCOMPARE(RunInFolder(dir, QString(), "set Hero.d2s gold=6", false).exitCode, 0);
        char value[16] = {};
        QCOMPARE(::getxattr(hero.constData(), "user.note", value, sizeof value), ssize_t(4));
        QCOMPARE(QByteArray(value), QByteArray("kept"));
        QCOMPARE(::getxattr(hero.constData(), "user.empty", value, sizeof value), ssize_t(0));
    }

    void crossingBatchesNeverWait()
    {
        // Two commands saving the same files named in opposite orders: locks
        // taken by file identity crossed once a save gave a file a new inode.
        QTemporaryDir root;
        const QString dir = PrepareOpen(root);
        QList<QProcess *> workers;
        for (int worker = 0; worker < 6; ++worker) {
            workers.append(new QProcess(this));
            workers.last()->setWorkingDirectory(dir);
            const QString files = worker % 2 ? "Hero.d2s Two.d2s" : "Two.d2s Hero.d2s";
            workers.last()->start("/bin/sh", {"-c", QStringLiteral("for i in $(seq 1 25); do \"$0\" set %1 gold=$i >/dev/null "
                                                                   "|| exit 1; done").arg(files), QUARVINEL_CLI});
        }
        for (QProcess *worker : workers)
            QVERIFY(worker->waitForFinished(120000) && worker->exitCode() == 0);
    }

    void manyFilesUnderADescriptorLimit()
    {
        // 1,100 characters under a limit of 1,024 descriptors, soft and hard.
        QTemporaryDir root;
        const QByteArray file = CharacterFixture().Build();
        for (int i = 0; i < 1100; ++i)
            QVERIFY(CharacterFixture::WriteFile(root.filePath(QStringLiteral("c%1.d2s").arg(i)), file));
        for (const char *command : {"set c*.d2s gold=4321", "backup c*.d2s"}) {
            const CliResult result = RunInFolder(root.path(), "ulimit -n 1024", command, false);
            QVERIFY2(result.exitCode == 0, qPrintable(result.err.left(300)));
        }
        QCOMPARE(CharacterFixture::ReadFile(root.filePath("c1099.bak")).mid(621, 4), QByteArray("\xe1\x10\0\0", 4));
        QCOMPARE(QFile::permissions(root.filePath("c1099.bak")), QFile::permissions(root.filePath("c1099.d2s"))); // a new file's mode
    }

    void namesThatAreNotUtf8()
    {
        // The folder's name is not UTF-8: diff names both files relative to it.
        QTemporaryDir root;
        const QByteArray folder = QFile::encodeName(root.path()) + "/caf\xe9";
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        QVERIFY(WriteDeep(folder + "/A.d2s", CharacterFixture().Build()) && WriteDeep(folder + "/B.d2s", CharacterFixture().Gold(7).Build()));
        const CliResult diff = RunSh({"cd \"$1/$(printf 'caf\\351')\" && exec \"$0\" diff A.d2s B.d2s", QUARVINEL_CLI, root.path()});
        QVERIFY2(diff.exitCode == 1 && diff.out == "621: 210 7\n622: 4 0\n", qPrintable(diff.out + diff.err));
        // show --json says which values the file left out, whatever its name.
        const CliResult json = RunWithRawPath("show", folder + "/A.d2s", {"--json"});
        QVERIFY2(json.out.contains("\"absentFromFile\": [") && !json.out.contains("\"absentFromFile\": null"), qPrintable(json.out.left(400) + json.err));
    }

    void anyNameWorks_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("not UTF-8") << QByteArray("caf\xe9.d2s");
        QTest::newRow("bytes that begin no UTF-8 character") << QByteArray("\xff\x80.d2s");
        QTest::newRow("255 bytes") << QByteArray(251, 'n') + ".d2s";
        QTest::newRow("path past the system's limit") << (QByteArray(200, 'd') + '/').repeated(25) + "Hero.d2s";
    }

    void anyNameWorks()
    {
        QFETCH(QByteArray, name);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
        QVERIFY(WriteDeep(path, CharacterFixture().Build()));
        const CliResult backup = RunWithRawPath("backup", path), set = RunWithRawPath("set", path, {"gold=4321"});
        QVERIFY2(backup.exitCode == 0 && set.exitCode == 0, qPrintable(backup.err + set.err));
        // Read back through the same names: the save reached the file, the backup its .bak.
        const CliResult saved = RunWithRawPath("get", path, {"621", "624"});
        QVERIFY2(saved.out.contains("4321"), qPrintable(saved.out + saved.err));
        const CliResult old = RunWithRawPath("get", path.left(path.size() - 3) + "bak", {"621", "624"});
        QVERIFY2(old.out.contains("1234"), qPrintable(old.out + old.err));
        QProcess::execute("rm", {"-rf", dir.path()}); // names Qt cannot remove
    }

    void everyCallFailsSafely_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<int>("error"); // 0: the process is killed at the call
        QTest::addColumn<QString>("files"); // after the run without a fault; * marks the files it changed
        const QList<std::tuple<const char *, QStringList, QString>> commands = {
            {"Save", {"set", "Hero.d2s", "gold=999"}, "Hero.bak Hero.d2s* Hero.key Hero.map Link.d2s* Two.d2s"},
            {"Save through a link", {"set", "Link.d2s", "gold=999"}, "Hero.bak Hero.d2s* Hero.key Hero.map Link.d2s* Two.d2s"},
            {"Save of two files", {"set", "Hero.d2s", "Two.d2s", "gold=999"}, "Hero.bak Hero.d2s* Hero.key Hero.map Link.d2s* Two.d2s*"},
            {"Backup", {"backup", "Hero.d2s"}, "Hero.bak* Hero.d2s Hero.key Hero.map Link.d2s Two.d2s"},
            {"Restore", {"restore", "Hero.d2s"}, "Hero.bak Hero.d2s* Hero.key Hero.map Link.d2s* Two.d2s"},
            {"Rename", {"rename", "Hero.d2s", "Neo"}, "Hero.bak Link.d2s* Neo.d2s* Neo.key* Neo.map* Two.d2s"},
        };
        const QList<QPair<const char *, int>> errors = {{"EIO", EIO}, {"ENOSPC", ENOSPC}, {"EACCES", EACCES},
                                                        {"EXDEV", EXDEV}, {"killed", 0}, {"ENOSPC from then on", -ENOSPC}};
        // A rename that fails for good cannot be undone either: its files stay whole under the names they reached.
        for (const auto &[name, command, files] : commands) {
            for (const auto &[errorName, error] : errors) {
                if (error > 0 || command[0] == "set" || command[0] == "backup" || (error < 0 && command[0] != "rename"))
                    QTest::addRow("%s, %s", name, errorName) << command << error << files;
            }
        }
    }

    void everyCallFailsSafely()
    {
        QFETCH(QStringList, command);
        QFETCH(int, error);
        QFETCH(QString, files);
        const auto inFolder = [](QStringList arguments, const QString &dir) {
            for (QString &argument : arguments)
                argument = argument.endsWith(".d2s") ? dir + argument : argument;
            return arguments;
        };
        QTemporaryDir cleanRoot;
        const QString cleanDir = Prepare(cleanRoot);
        const Snapshot before = Take(cleanDir);
        const CliResult clean = RunFaulty(inFolder(command, cleanDir), cleanRoot.path());
        QCOMPARE(clean.exitCode, 0);
        const Snapshot after = Take(cleanDir);
        QStringList names;
        for (auto file = after.cbegin(); file != after.cend(); ++file)
            names.append(file.key() + (before.value(file.key()) != *file ? "*" : ""));
        QCOMPARE(names.join(' '), files);
        const auto keepsOwnerAndMode = [&](const QString &dir) { // the saved character's, after a success
            struct stat st{};
            return ::stat(QFile::encodeName(dir + command[1]).constData(), &st) != 0
                || (st.st_uid == (::geteuid() == 0 ? 65534u : ::geteuid()) && (st.st_mode & 07777) == 0640);
        };
        QVERIFY(keepsOwnerAndMode(cleanDir));
        // A batch is all or nothing up to its first rename, and afterwards each
        // file is whole: old where its rename failed, new where it happened.
        const qsizetype firstRename = clean.calls.indexOf("rename") + 1;
        const auto eachWhole = [&](const Snapshot &now) {
            bool whole = now.keys() == before.keys() && command.size() > 3;
            for (auto file = now.cbegin(); whole && file != now.cend(); ++file)
                whole = *file == before.value(file.key()) || *file == after.value(file.key());
            return whole;
        };
        // A failure is told with its cause (a length not read, or a name that may be taken, is told
        // as such); a success wrote everything.
        const QRegularExpression told(QRegularExpression::escape(QString::fromLocal8Bit(::strerror(std::abs(error))))
                                      + "|length of the file cannot be read| already exist");
        int injected = 0;
        for (int call = 1; call <= clean.calls.size(); ++call) {
            const QString kind = clean.calls[call - 1];
            if (error == EXDEV && kind != "rename" && kind != "link")
                continue;
            QTemporaryDir root;
            const QString dir = Prepare(root);
            const CliResult run = RunFaulty(inFolder(command, dir), root.path(), call, error);
            ++injected;
            const QString where = QStringLiteral("call %1 (%2): exit %3, %4").arg(call).arg(kind).arg(run.exitCode).arg(run.err);
            const Snapshot now = Take(dir, false);
            QVERIFY2(now == before || now == after || (call >= firstRename && eachWhole(now)), qPrintable(where));
            QVERIFY2(!run.err.contains("Unknown error"), qPrintable(where));
            if (Take(dir) != now) {
                // A kill or a failed clean-up may leave temporaries behind; the next save removes them.
                QCOMPARE(RunCli({"set", dir + "Hero.d2s", "gold=5"}).exitCode, 0);
                QCOMPARE(Take(dir).keys(), now.keys());
            }
            if (error != 0)
                QVERIFY2(run.exitCode > 0 ? run.err.contains(told) : run.exitCode == 0 && now == after && keepsOwnerAndMode(dir),
                         qPrintable(where));
        }
        QVERIFY(injected > 0);
    }
};

QTEST_GUILESS_MAIN(TestFileEdges)
#include "tst_fileedges.moc"
