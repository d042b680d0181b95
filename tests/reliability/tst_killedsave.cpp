// A save of a large image killed with SIGKILL at random moments: after every
// kill the character file holds one whole generation, the one on disk before
// or one that was being saved, never a mix and never a cut-short file. What
// the killed saves leave in the folder is counted and must be nothing but
// the save's own temporary files.
//
// QUARVINEL_KILL_ROUNDS sets the number of kills (default 20) and
// QUARVINEL_KILL_SEED seeds the random kill moments (default: random, printed).

#include "SaveLoop.h"

#include "support/CharacterFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

constexpr qsizetype kImageSize = 64 * 1024 * 1024;
const QString kName = QStringLiteral("Hero.d2s");

struct Round
{
    QSet<qint64> started;  // generations whose save began
    QSet<qint64> finished; // generations whose save ended
    QString errors;        // what the saver said on standard error
};

// Reads the saver's "saving N" / "saved N" lines that have arrived.
void ReadLines(QProcess &saver, Round &round)
{
    while (saver.canReadLine()) {
        const QList<QByteArray> words = saver.readLine().trimmed().split(' ');
        if (words.size() != 2)
            continue;
        const qint64 generation = words[1].toLongLong();
        if (words[0] == "saving")
            round.started.insert(generation);
        else if (words[0] == "saved")
            round.finished.insert(generation);
    }
}

// Waits (bounded) until the saver has said a line that pred accepts.
bool WaitFor(QProcess &saver, Round &round, const std::function<bool()> &pred)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > 120000 || saver.state() == QProcess::NotRunning)
            return false;
        saver.waitForReadyRead(1000);
        ReadLines(saver, round);
    }
    return true;
}

} // namespace

class TestKilledSave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedSaveLeavesOldOrNew();
};

void TestKilledSave::killedSaveLeavesOldOrNew()
{
    const int rounds = qEnvironmentVariableIsSet("QUARVINEL_KILL_ROUNDS")
                           ? qEnvironmentVariableIntValue("QUARVINEL_KILL_ROUNDS") : 20;
    const quint32 seed = qEnvironmentVariableIsSet("QUARVINEL_KILL_SEED")
                             ? quint32(qEnvironmentVariableIntValue("QUARVINEL_KILL_SEED"))
                             : QRandomGenerator::system()->generate();
    qInfo("kill seed %u (QUARVINEL_KILL_SEED repeats it), %d rounds", seed, rounds);
    QRandomGenerator random(seed);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(kName);
    QVERIFY(CharacterFixture::WriteFile(path, SaveLoop::Image(0, kImageSize)));
    qint64 onDisk = 0;

    // One whole save first, to learn how long a save takes here.
    qint64 saveMs = 0;
    {
        QProcess saver;
        Round round;
        QElapsedTimer timer;
        saver.start(QStringLiteral(QV_KILLED_SAVER), {path, QString::number(kImageSize), QStringLiteral("1")});
        QVERIFY2(WaitFor(saver, round, [&] { return round.started.contains(1); }), qPrintable(saver.readAllStandardError()));
        timer.start();
        QVERIFY2(WaitFor(saver, round, [&] { return round.finished.contains(1); }), qPrintable(saver.readAllStandardError()));
        saveMs = qMax<qint64>(timer.elapsed(), 1);
        saver.kill();
        saver.waitForFinished(30000);
        ReadLines(saver, round);
        const qint64 generation = SaveLoop::GenerationOf(CharacterFixture::ReadFile(path), kImageSize);
        QVERIFY(generation >= 1);
        onDisk = generation;
    }
    qInfo("one save of %lld MiB takes about %lld ms", static_cast<long long>(kImageSize >> 20),
          static_cast<long long>(saveMs));

    int killedWhileSaving = 0;
    int leftovers = 0;
    QStringList leftoverNames;
    const QRegularExpression tempName(QStringLiteral("^Hero\\.d2s\\.\\w{6}$"));
    for (int r = 0; r < rounds; ++r) {
        const qint64 first = qint64(r + 1) * 1000;
        QProcess saver;
        Round round;
        saver.start(QStringLiteral(QV_KILLED_SAVER), {path, QString::number(kImageSize), QString::number(first)});
        QVERIFY2(WaitFor(saver, round, [&] { return !round.started.isEmpty(); }), qPrintable(saver.readAllStandardError()));
        // Mostly during the first save, sometimes just after it.
        QThread::msleep(random.bounded(quint32(saveMs + saveMs / 4 + 1)));
        saver.kill();
        QVERIFY(saver.waitForFinished(30000));
        ReadLines(saver, round);
        round.errors = QString::fromLocal8Bit(saver.readAllStandardError());
        QVERIFY2(round.errors.isEmpty(), qPrintable(round.errors));
        if (round.started.size() > round.finished.size())
            ++killedWhileSaving;

        const qint64 generation = SaveLoop::GenerationOf(CharacterFixture::ReadFile(path), kImageSize);
        QVERIFY2(generation >= 0, qPrintable(QStringLiteral("round %1: the file is cut short or mixed").arg(r)));
        QVERIFY2(generation == onDisk || round.started.contains(generation),
                 qPrintable(QStringLiteral("round %1: the file holds generation %2, which was neither on disk "
                                           "nor being saved").arg(r).arg(generation)));
        // Every finished save is on disk; a later one may have replaced it.
        for (qint64 done : round.finished)
            QVERIFY(generation >= done);
        onDisk = generation;

        for (const QString &name : QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
            if (name == kName)
                continue;
            QVERIFY2(tempName.match(name).hasMatch(), qPrintable(QStringLiteral("unexpected entry %1").arg(name)));
            ++leftovers;
            leftoverNames << name;
            QVERIFY(QFile::remove(dir.filePath(name)));
        }
    }
    qInfo("%d kills, %d of them during a save; files lost: 0; temporary files left behind: %d %s", rounds,
          killedWhileSaving, leftovers, qPrintable(leftoverNames.join(QLatin1Char(' '))));
    // A run in which no kill hit a save would prove nothing.
    QVERIFY2(killedWhileSaving > 0, "no kill landed during a save");
}

QTEST_GUILESS_MAIN(TestKilledSave)
#include "tst_killedsave.moc"
