#include "BrennicorDlg.h"
#include "support/MainWindowAccess.h"
#include "Layout.h"
#include "MainDialogIds.h"
#include "RenameDlg.h"
#include "Resources.h"
#include "support/CharacterFixture.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Types name into the rename dialog and presses its button; a refused name (a
// message comes up and the dialog stays) is then cancelled so that the dialog
// ends either way.
void answerRename(const ScriptedPrompts &prompts, const QString &name, QStringList *shownWhileOpen = nullptr)
{
    WhenModal<CRenameDlg>([&prompts, name, shownWhileOpen](CRenameDlg *dlg) {
        auto *edit = dlg->DlgItem<QLineEdit>(IDC_NEW_NAME);
        edit->setText(name);
        const auto before = prompts.messages.size();
        dlg->DlgItem<QPushButton>(IDOK)->click();
        if (prompts.messages.size() > before) {
            if (shownWhileOpen)
                shownWhileOpen->append(edit->text());
            dlg->DlgItem<QPushButton>(IDCANCEL)->click();
        }
    });
}

QStringList filesIn(const QString &path)
{
    QStringList names = QDir(path).entryList(QDir::Files | QDir::Hidden);
    names.sort();
    return names;
}

} // namespace

class TestRename : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void renameMovesCharacterAndCompanions_data();
    void renameMovesCharacterAndCompanions();
    void unsavedEditsReachRenamedFile();
    void refusedNames_data();
    void refusedNames();
    void nameLongerThanFourteenIsCut();
    void existingNameIsRefused();
    void failedSaveStopsRename();
    void noCharacterOpen();
    void cancelChangesNothing();

private:
    QString writeCharacter(const QString &fileName, const CharacterFixture &fixture = CharacterFixture());

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<CBrennicorDlg> m_dlg;
};

void TestRename::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_dlg = std::make_unique<CBrennicorDlg>();
    m_dlg->Create();
}

void TestRename::cleanup()
{
    QVERIFY(!m_dlg->TakePendingError());
    m_dlg.reset();
    m_prompts.reset();
    m_dir.reset();
}

QString TestRename::writeCharacter(const QString &fileName, const CharacterFixture &fixture)
{
    const QString path = m_dir->filePath(fileName);
    if (!fixture.WriteTo(path))
        qFatal("cannot write the fixture");
    return path;
}

void TestRename::renameMovesCharacterAndCompanions_data()
{
    QTest::addColumn<QStringList>("companions");
    QTest::newRow("with map and key") << QStringList{QStringLiteral(".map"), QStringLiteral(".key")};
    QTest::newRow("with map only") << QStringList{QStringLiteral(".map")};
    QTest::newRow("without companions") << QStringList{};
}

void TestRename::renameMovesCharacterAndCompanions()
{
    QFETCH(QStringList, companions);
    m_dlg->OpenPath(writeCharacter(QStringLiteral("Hero.d2s"), CharacterFixture().Name("Hero")));
    QStringList expected{QStringLiteral("Conan.d2s")};
    for (const QString &ext : companions) {
        QVERIFY(CharacterFixture::WriteFile(m_dir->filePath(QStringLiteral("Hero") + ext), ext.toLatin1()));
        expected.append(QStringLiteral("Conan") + ext);
    }
    expected.sort();

    answerRename(*m_prompts, QStringLiteral("Conan"));
    MainWindowAccess::Command(*m_dlg, ID_EDIT_RENAME_CHARACTER);

    QVERIFY2(m_prompts->messages.isEmpty(), qPrintable(m_prompts->Summaries().join(QLatin1Char('\n'))));
    QCOMPARE(filesIn(m_dir->path()), expected);
    for (const QString &ext : companions)
        QCOMPARE(CharacterFixture::ReadFile(m_dir->filePath(QStringLiteral("Conan") + ext)), ext.toLatin1());
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL: Conan.d2s"));
    QCOMPARE(m_dlg->DlgItem<QLineEdit>(IDC_NAME)->text(), QStringLiteral("Conan"));
    const QByteArray saved = CharacterFixture::ReadFile(m_dir->filePath(QStringLiteral("Conan.d2s")));
    QCOMPARE(saved.mid(int(Layout::CharNameFirst), int(Layout::CharNameLength)),
             QByteArray("Conan\0\0\0\0\0\0\0\0\0\0", 15));
    QVERIFY(!MainWindowAccess::Document(*m_dlg).IsModified());
}

void TestRename::unsavedEditsReachRenamedFile()
{
    m_dlg->OpenPath(writeCharacter(QStringLiteral("Hero.d2s"), CharacterFixture().Gold(10)));
    QLineEdit *gold = m_dlg->DlgItem<QLineEdit>(IDC_GOLD);
    gold->selectAll();
    QTest::keyClicks(gold, QStringLiteral("9876"));
    answerRename(*m_prompts, QStringLiteral("Renamed"));
    MainWindowAccess::Command(*m_dlg, ID_EDIT_RENAME_CHARACTER);
    const QByteArray saved = CharacterFixture::ReadFile(m_dir->filePath(QStringLiteral("Renamed.d2s")));
    QCOMPARE(saved.mid(int(Layout::GoldFirst), 4), QByteArray("\x94\x26\x00\x00", 4));
}

void TestRename::refusedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("digit") << "Hero2";
    QTest::newRow("blank") << "Big Hero";
    QTest::newRow("hyphen") << "Half-Orc";
    QTest::newRow("underscore") << "dark_one";
    QTest::newRow("accented letter") << QStringLiteral("H\u00e9ro");
    QTest::newRow("empty") << "";
}

void TestRename::refusedNames()
{
    QFETCH(QString, name);
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"));
    m_dlg->OpenPath(path);
    QStringList shown;
    answerRename(*m_prompts, name, &shown);
    MainWindowAccess::Command(*m_dlg, ID_EDIT_RENAME_CHARACTER);
    QCOMPARE(m_prompts->Summaries(),
             QStringList{QStringLiteral("Rename Character|This is not a valid Diablo2 character name. "
                                        "Try to use only a-z, A-Z.\n")});
    QCOMPARE(m_prompts->messages[0].icon, MessageIcon::None);
    // The dialog stayed open with the typed text.
    QCOMPARE(shown, QStringList{name});
    QCOMPARE(filesIn(m_dir->path()), QStringList{QStringLiteral("Hero.d2s")});
    QVERIFY(!MainWindowAccess::Document(*m_dlg).IsEmpty());
}

void TestRename::nameLongerThanFourteenIsCut()
{
    CRenameDlg dlg;
    dlg.Create();
    auto *edit = dlg.DlgItem<QLineEdit>(IDC_NEW_NAME);
    QTest::keyClicks(edit, QStringLiteral("Abcdefghijklmnopq"));
    QCOMPARE(edit->text(), QStringLiteral("Abcdefghijklmn"));
    // The notice stands in the dialog as the user reads it.
    bool noticeFound = false;
    for (QLabel *label : dlg.findChildren<QLabel *>())
        noticeFound |= label->text().startsWith(QStringLiteral("If you click the \"Rename My Character\" button"));
    QVERIFY(noticeFound);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Rename My Character"));
}

void TestRename::existingNameIsRefused()
{
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"));
    writeCharacter(QStringLiteral("Taken.d2s"), CharacterFixture().Name("Taken"));
    const QByteArray taken = CharacterFixture::ReadFile(m_dir->filePath(QStringLiteral("Taken.d2s")));
    m_dlg->OpenPath(path);
    answerRename(*m_prompts, QStringLiteral("Taken"));
    MainWindowAccess::Command(*m_dlg, ID_EDIT_RENAME_CHARACTER);
    QCOMPARE(m_prompts->Summaries(),
             QStringList{QStringLiteral("Rename Character|File already exist. Try a different character name.")});
    QCOMPARE(filesIn(m_dir->path()), (QStringList{QStringLiteral("Hero.d2s"), QStringLiteral("Taken.d2s")}));
    QCOMPARE(CharacterFixture::ReadFile(m_dir->filePath(QStringLiteral("Taken.d2s"))), taken);
    QVERIFY(MainWindowAccess::Document(*m_dlg).IsEmpty());
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL"));

    // The character's own name is taken too.
    m_prompts->Reset();
    m_dlg->OpenPath(path);
    answerRename(*m_prompts, QStringLiteral("Hero"));
    MainWindowAccess::Command(*m_dlg, ID_EDIT_RENAME_CHARACTER);
    QCOMPARE(m_prompts->Texts(), QStringList{QStringLiteral("File already exist. Try a different character name.")});
    QVERIFY(QFile::exists(path));
}

void TestRename::failedSaveStopsRename()
{
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"));
    m_dlg->OpenPath(path);
    m_dlg->DlgItem<QLineEdit>(IDC_MAX_MANA)->setText(QStringLiteral("lots"));
    m_prompts->Reset();
    answerRename(*m_prompts, QStringLiteral("Conan"));
    MainWindowAccess::Command(*m_dlg, ID_EDIT_RENAME_CHARACTER);
    QCOMPARE(m_prompts->Texts(),
             (QStringList{QStringLiteral("Please enter a positive integer."), QStringLiteral("File not saved")}));
    QCOMPARE(filesIn(m_dir->path()), QStringList{QStringLiteral("Hero.d2s")});
    QVERIFY(!MainWindowAccess::Document(*m_dlg).IsEmpty());
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL: Hero.d2s"));
}

void TestRename::noCharacterOpen()
{
    bool dialogShown = false;
    WhenModal<CRenameDlg>([&dialogShown](CRenameDlg *dlg) { dialogShown = true; dlg->EndDialog(IDCANCEL); }, 200);
    MainWindowAccess::Command(*m_dlg, ID_EDIT_RENAME_CHARACTER);
    QCOMPARE(m_prompts->Summaries(),
             QStringList{QStringLiteral("Rename Character|Open a character you want to rename first.")});
    QTest::qWait(250);
    QVERIFY(!dialogShown);
}

void TestRename::cancelChangesNothing()
{
    const QString path = writeCharacter(QStringLiteral("Hero.d2s"));
    m_dlg->OpenPath(path);
    const QByteArray before = CharacterFixture::ReadFile(path);
    WhenModal<CRenameDlg>([](CRenameDlg *dlg) {
        dlg->DlgItem<QLineEdit>(IDC_NEW_NAME)->setText(QStringLiteral("Conan"));
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    MainWindowAccess::Command(*m_dlg, ID_EDIT_RENAME_CHARACTER);
    QVERIFY(m_prompts->messages.isEmpty());
    QCOMPARE(filesIn(m_dir->path()), QStringList{QStringLiteral("Hero.d2s")});
    QCOMPARE(CharacterFixture::ReadFile(path), before);
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("QUARVINEL: Hero.d2s"));
}

QTEST_MAIN(TestRename)
#include "tst_rename.moc"
