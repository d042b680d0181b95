// Save and Backup of the document on a file system that is really full: a
// small tmpfs, filled up, in a child process of its own. The file being
// replaced keeps every byte, the failure is reported, nothing is left behind,
// and the same save succeeds once there is room again.

#include "FaultInjection.h"

#include "support/CharacterFixture.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Fills the file system that holds directory with one file until a write is
// refused; returns the file's path.
QString FillUp(const QString &directory)
{
    const QString filler = QDir(directory).filePath(QStringLiteral("filler"));
    QFile file(filler);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return filler;
    const QByteArray block(4096, 'x');
    while (file.write(block) == block.size()) {
    }
    return filler;
}

// The checks of one child run, as text: empty when every one held.
QString SaveOnFullFileSystem(const QString &dir, bool backup)
{
    const QString path = QDir(dir).filePath(QStringLiteral("Hero.d2s"));
    const QString backupPath = QDir(dir).filePath(QStringLiteral("Hero.bak"));
    const QString target = backup ? backupPath : path;
    if (!CharacterFixture().Gold(1000).WriteTo(path) || !CharacterFixture().Gold(7).WriteTo(backupPath))
        return QStringLiteral("cannot write the character files");
    const QByteArray before = CharacterFixture::ReadFile(target);
    const QByteArray edited = CharacterFixture().Gold(4321).Length(4000).Build();
    FixtureDoc doc(edited, path);
    doc.SetModifiedFlag(true);
    const QString filler = FillUp(dir);
    const QStringList entries = Faults::EntriesIn(dir);

    QStringList problems;
    ScriptedPrompts prompts;
    const bool saved = backup ? doc.Backup() : doc.Save();
    if (saved)
        problems << QStringLiteral("the save reported success on a full file system");
    if (prompts.messages.size() != 1
        || !prompts.messages.first().text.startsWith(QStringLiteral("Failed to save document.\n\n") + target))
        problems << QStringLiteral("reports: ") + prompts.Summaries().join(QStringLiteral(" / "));
    if (CharacterFixture::ReadFile(target) != before)
        problems << QStringLiteral("the file on disk changed");
    if (Faults::EntriesIn(dir) != entries)
        problems << QStringLiteral("entries left: ") + Faults::EntriesIn(dir).join(QLatin1Char(' '));
    if (!doc.IsModified())
        problems << QStringLiteral("the failed save marked the document saved");

    QFile::remove(filler);
    prompts.Reset();
    if (!(backup ? doc.Backup() : doc.Save()) || !prompts.messages.isEmpty())
        problems << QStringLiteral("the save failed with room again: ") + prompts.Summaries().join(QStringLiteral(" / "));
    if (CharacterFixture::ReadFile(target) != edited)
        problems << QStringLiteral("the save with room again did not write the image");
    return problems.join(QLatin1Char('\n'));
}

} // namespace

class TestFullFileSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fullFileSystem_data();
    void fullFileSystem();
};

void TestFullFileSystem::fullFileSystem_data()
{
    QTest::addColumn<bool>("backup");
    QTest::newRow("Save") << false;
    QTest::newRow("Backup") << true;
}

void TestFullFileSystem::fullFileSystem()
{
    QFETCH(bool, backup);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const Faults::ChildResult result = Faults::RunOnSmallFileSystem(
        root.path(), 64, [&] { return SaveOnFullFileSystem(root.path(), backup); });
    if (!result.ran)
        QSKIP(qPrintable(QStringLiteral("no small file system can be mounted here: ") + result.text));
    QVERIFY2(result.text.isEmpty(), qPrintable(result.text));
}

QTEST_GUILESS_MAIN(TestFullFileSystem)
#include "tst_fullfilesystem.moc"
