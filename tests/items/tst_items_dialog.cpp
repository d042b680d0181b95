// The window's Items dialog on real files: opened from the Edit menu, every
// decoded item of every list drawn once, inside its grid and clear of the
// others, named alike on the screen and for assistive technology, chosen by
// keys with its details shown; a list that could not be read says so; the
// character is left as it was. A folder of the game's .txt tables chosen in
// it reads the items, is refused with the core's reason, or is remembered.

#include "support/ModalDriver.h"
#include "support/WindowHarness.h"

#include "document/CharacterItems.h"
#include "mainwindow/ItemGrid.h"
#include "mainwindow/ItemsDlg.h"
#include "resources/ItemsDialogIds.h"
#include "widgets/QtPrompts.h"

#include <QAccessible>
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

namespace {

const int kGrids[] = {IDC_EQUIPPED, IDC_INVENTORY, IDC_BELT, IDC_STASH, IDC_CUBE};

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A private copy of a real file; with an item made unreadable when corrupt
// is an index of the character's list (its code bytes overwritten).
QString Copy(const QTemporaryDir &dir, const QString &name, int corrupt)
{
    QByteArray image = Bytes(qEnvironmentVariable("QUARVINEL_TEST_DATA") + QLatin1Char('/') + name);
    if (corrupt >= 0) {
        const int at = CharacterItems::ReadItems(image).lists.at(0).items.at(std::size_t(corrupt)).offset;
        image.replace(at + 10, 3, QByteArray(3, char(0xff)));
    }
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(image) == image.size() ? file.fileName() : QString();
}

// What a page shows, "Title:cells+others": the items on its grids and the
// lines of the other items (none in these files: each item has its place).
// Any item drawn outside its grid, over another, or named otherwise for
// assistive technology than on the screen is added to faults.
QString Page(CItemsDlg *dlg, QStringList &faults)
{
    int cells = 0;
    for (const int id : kGrids) {
        ItemGrid *grid = dlg->DlgItem<ItemGrid>(id);
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(grid);
        if (!list || list->childCount() != grid->Count())
            faults << QStringLiteral("%1: not one accessible item per item").arg(id);
        for (int k = 0; k < grid->Count(); ++k) {
            const QString name = grid->ItemAt(k)->name;
            if (!grid->GridRect().contains(grid->ItemRect(k)))
                faults << name + QStringLiteral(" outside its grid");
            for (int other = 0; other < k; ++other) {
                if (grid->ItemRect(k).intersects(grid->ItemRect(other)))
                    faults << name + QStringLiteral(" over ") + grid->ItemAt(other)->name;
            }
            if (list && list->child(k)->text(QAccessible::Name) != name)
                faults << name + QStringLiteral(" named ") + list->child(k)->text(QAccessible::Name);
        }
        cells += grid->Count();
    }
    auto *tabs = dlg->DlgItem<QTabBar>(IDC_ITEM_LISTS);
    return QStringLiteral("%1:%2+%3")
        .arg(tabs->tabText(tabs->currentIndex()))
        .arg(cells)
        .arg(dlg->DlgItem<QListWidget>(IDC_OTHER_ITEMS)->count());
}

// The 1.14d tables as .txt in a new folder dir, the Stone of Jordan renamed;
// without Skills.txt when broken.
void WriteTables(const QString &dir, bool broken)
{
    const QString from = qEnvironmentVariable("QUARVINEL_TEST_DATA") + QStringLiteral("/gamedata-1.14d/");
    QDir().mkpath(dir);
    for (const QString &name : QDir(from).entryList(QDir::Files)) {
        QFile out(dir + QLatin1Char('/') + name);
        if (!(broken && name == QLatin1String("Skills.txt")) && out.open(QIODevice::WriteOnly))
            out.write(Bytes(from + name).replace("The Stone of Jordan", "Ring of Mods"));
    }
}

} // namespace

class TestItemsDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }  // keeps off the user's settings
    void init() { RememberGameDataFolder(QString()); }
    void dialog_data();
    void dialog();
    void gameDataFolder_data();
    void gameDataFolder();
};

void TestItemsDialog::dialog_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("corrupt");
    QTest::addColumn<QString>("pages");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("property");
    // From the tabs, Tab reaches the body slots, which choose their first
    // item in reading order, the helm.
    QTest::newRow("v96, 60 items: helm, right to the amulet, right to the shield")
        << "v96_sorceress_level94.d2s" << -1 << "Character:60+0 Mercenary:0+0 Corpse:0+0" << "60 items."
        << "Tab Right Right" << "Spirit" << "+2 to All Skills";
    QTest::newRow("v98, the mercenary's: the helm, down to the armor")
        << "v98_sorceress_level66.d2s" << -1 << "Character:54+0 Mercenary:3+0 Corpse:0+0" << "54 items."
        << "Right Tab Down" << "Treachery" << "+2 to Assassin Skill Levels";
    QTest::newRow("v98, the inventory: the tome at the top left, right to a charm")
        << "v98_sorceress_level66.d2s" << -1 << "Character:54+0 Mercenary:3+0 Corpse:0+0" << "54 items."
        << "Tab Tab End Home Right" << "Russet Large Charm of Health" << "Fire Resist +8%";
    QTest::newRow("v96, item 30 unreadable: its list ends, the others are not read")
        << "v96_sorceress_level94.d2s" << 30 << "Character:30+0 Mercenary:0+0 Corpse:0+0" << "30 of 60 items read: "
        << "Tab" << "Nightwing's Veil" << "+19 to Dexterity";
}

void TestItemsDialog::dialog()
{
    QFETCH(QString, file);
    QFETCH(int, corrupt);
    QFETCH(QString, pages);
    QFETCH(QString, note);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QString, property);
    WindowHarness w;
    w.path = Copy(w.dir, file, corrupt);
    w.dlg.OpenPath(w.path);
    w.prompts.Reset();
    const QByteArray before = Bytes(w.path);
    QStringList seen, faults, details;
    QString noteShown;
    const auto ran = WhenModal<CItemsDlg>([&](CItemsDlg *dlg) {
        auto *tabs = dlg->DlgItem<QTabBar>(IDC_ITEM_LISTS);
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            seen << Page(dlg, faults);
        }
        tabs->setCurrentIndex(0);
        noteShown = dlg->DlgItem<QLabel>(IDC_ITEMS_NOTE)->text();
        dlg->activateWindow();
        if (QTest::qWaitForWindowActive(dlg)) {
            tabs->setFocus(Qt::OtherFocusReason);
            for (const QString &key : keys.split(QLatin1Char(' ')))
                QTest::keyClick(QApplication::focusWidget(), QKeySequence(key)[0].key());
        }
        auto *list = dlg->DlgItem<QListWidget>(IDC_ITEM_DETAILS);
        for (int k = 0; k < list->count(); ++k)
            details << list->item(k)->text();
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    QAction *menu = w.dlg.MenuAction(ID_EDIT_ITEMS);
    QCOMPARE(menu->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    menu->trigger();
    QVERIFY(*ran);
    QCOMPARE(seen.join(QLatin1Char(' ')), pages);
    QCOMPARE(faults, QStringList());
    QVERIFY2(noteShown.startsWith(note), qPrintable(noteShown));
    QVERIFY2(!details.isEmpty() && details[0] == shown, qPrintable(details.join(QLatin1Char('|'))));
    QVERIFY2(details.contains(QStringLiteral("    ") + property), qPrintable(details.join(QLatin1Char('|'))));
    // Nothing changed: no message, the character in memory and the file as they were.
    QCOMPARE(w.prompts.Summaries(), QStringList());
    QVERIFY(!w.Doc().IsModified());
    QCOMPARE(w.Doc().ImageCopy(), before);
    QCOMPARE(Bytes(w.path), before);
}

// The folder remembered before the window opens and the one chosen in the
// dialog ("good", "broken", "gone" or none; "built-in" clicks Built-in
// Tables); what it then reads with, says and keeps (DIR: their parent).
void TestItemsDialog::gameDataFolder_data()
{
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("tables");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("kept");
    QTest::newRow("chosen: its names, remembered") << "" << "good" << "the folder DIR/good." << "" << "good";
    QTest::newRow("remembered, a broken one chosen: refused with why, the good one kept")
        << "good" << "broken" << "the folder DIR/good." << "Game Data Folder|DIR/broken: the folder has no Skills.txt."
        << "good";
    QTest::newRow("remembered, since gone: the built-in tables, with why")
        << "gone" << "" << "built in, release 1.14d. The game-data folder cannot be used: DIR/gone: no such folder."
        << "" << "gone";
    QTest::newRow("back to the built-in tables") << "good" << "built-in" << "built in, release 1.14d." << "" << "";
}

void TestItemsDialog::gameDataFolder()
{
    QFETCH(QString, remembered);
    QFETCH(QString, chosen);
    QFETCH(QString, tables);
    QFETCH(QString, message);
    QFETCH(QString, kept);
    WindowHarness w;
    const QString root = w.dir.path() + QLatin1Char('/');
    WriteTables(root + QStringLiteral("good"), false);
    WriteTables(root + QStringLiteral("broken"), true);
    RememberGameDataFolder(remembered.isEmpty() ? QString() : root + remembered);
    w.path = Copy(w.dir, QStringLiteral("v96_sorceress_level94.d2s"), -1);
    w.dlg.OpenPath(w.path);
    w.prompts.Reset();
    QStringList seen;  // the tables named and the stash's items, in this dialog and the next one
    std::shared_ptr<bool> picked;
    for (int open = 0; open < 2; ++open) {
        const auto ran = WhenModal<CItemsDlg>([&](CItemsDlg *dlg) {
            if (open == 0 && chosen == QLatin1String("built-in")) {
                QTest::mouseClick(dlg->DlgItem<QPushButton>(IDC_BUILT_IN_TABLES), Qt::LeftButton);
            } else if (open == 0 && !chosen.isEmpty()) {
                picked = WhenModal<QFileDialog>([&](QFileDialog *chooser) {
                    chooser->selectFile(root + chosen);
                    static_cast<QDialog *>(chooser)->accept();  // as its Choose button does
                });
                QTest::mouseClick(dlg->DlgItem<QPushButton>(IDC_GAME_DATA_FOLDER), Qt::LeftButton);
            }
            seen << dlg->DlgItem<QLabel>(IDC_ITEM_TABLES)->text();
            for (int k = 0; k < dlg->DlgItem<ItemGrid>(IDC_STASH)->Count(); ++k)
                seen << dlg->DlgItem<ItemGrid>(IDC_STASH)->ItemAt(k)->name;
            QTest::keyClick(dlg, Qt::Key_Escape);
        });
        w.dlg.MenuAction(ID_EDIT_ITEMS)->trigger();
        QVERIFY(*ran && (!picked || *picked));
    }
    const qsizetype half = seen.size() / 2;
    QCOMPARE(seen.mid(half), seen.mid(0, half));
    QCOMPARE(seen.value(0), QStringLiteral("Game tables: ") + tables.replace(QLatin1String("DIR"), w.dir.path()));
    const bool folder = tables.startsWith(QLatin1String("the folder"));
    QCOMPARE(seen.contains(QStringLiteral("Ring of Mods")), folder);
    QCOMPARE(seen.contains(QStringLiteral("The Stone of Jordan")), !folder);
    QCOMPARE(w.prompts.Summaries().join(QLatin1Char('\n')), message.replace(QLatin1String("DIR"), w.dir.path()));
    QCOMPARE(GameDataFolder(), kept.isEmpty() ? QString() : root + kept);
}

QTEST_MAIN(TestItemsDialog)
#include "tst_items_dialog.moc"
