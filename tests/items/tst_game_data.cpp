// Items read with a folder of the game's .txt tables (tests/data/gamedata-1.14d,
// written by scripts/gamedata/write-txt.py): what the built-in tables read, a
// changed table showing, a folder refused, and brennicor-cli --game-data.
#include "document/CharacterItems.h"
#include "support/CharacterFixture.h"
#include "document/format/items/ItemTables.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using Format::Items::ItemTables;

namespace {

const QString kData = qEnvironmentVariable("QUARVINEL_TEST_DATA");
const QString kFolder = kData + QStringLiteral("/gamedata-1.14d");

constexpr auto RealFile = &CharacterFixture::RealFile;

// What must not depend on where the tables come from: the bits, the place and
// the numbers of each item and its properties; and the names a save file
// refers to by number (a unique's, a set item's, a runeword's, a rare's).
QString Facts(const CharacterItems::Item &item)
{
    QString text = QStringLiteral("%1@%2+%3 %4 %5 %6,%7/%8 %9x%10 L%11 D%12 %13/%14 Q%15 S%16:")
                       .arg(item.code).arg(item.offset).arg(item.bits).arg(item.quality, item.storage)
                       .arg(item.x).arg(item.y).arg(item.slot).arg(item.width).arg(item.height).arg(item.level)
                       .arg(item.defense).arg(item.durability).arg(item.maxDurability).arg(item.quantity)
                       .arg(item.sockets);
    if (item.runeword || item.quality == QLatin1String("unique") || item.quality == QLatin1String("set"))
        text += item.name;
    else if (item.quality == QLatin1String("rare"))  // the .txt tables write its names in lower case
        text += item.name.toLower();
    for (const auto &p : item.properties)
        text += QStringLiteral(" %1/%2=%3").arg(p.id).arg(p.param).arg(p.value);
    for (const auto &child : item.children)
        text += QStringLiteral(" [%1]").arg(Facts(child));
    return text;
}

QStringList AllFacts(const CharacterItems::Items &items)
{
    QStringList out;
    for (const auto &list : items.lists) {
        out << QStringLiteral("%1 %2/%3 %4").arg(list.list).arg(list.count).arg(list.decoded).arg(list.note);
        for (const auto &item : list.items)
            out << Facts(item);
    }
    return out;
}

// A copy of the folder with one table's text changed (or the table removed: to empty).
void CopyChanging(const QString &to, const QString &table, const QString &from, const QString &into)
{
    for (const QString &name : QDir(kFolder).entryList(QDir::Files)) {
        QFile in(kFolder + QLatin1Char('/') + name);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(in.readAll());
        if (name == table && into.isNull())
            continue;
        QFile out(to + QLatin1Char('/') + (name == table ? name.toLower() : name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        if (name == table && !from.isEmpty())
            text.replace(from, into);
        out.write(text.toUtf8());
    }
}

} // namespace

class TestGameData : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void folderReadsAsBuiltIn_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("96, 60 items") << "v96_sorceress_level94.d2s";
        QTest::newRow("98, a mercenary's") << "v98_sorceress_level66.d2s";
        QTest::newRow("87, the 1.09 widths") << "v87_barbarian_new.d2s";
    }
    void folderReadsAsBuiltIn()
    {
        QFETCH(QString, file);
        QString error;
        const auto folder = ItemTables::FromFolder(kFolder, &error);
        QVERIFY2(folder, qPrintable(error));
        const QByteArray image = RealFile(file);
        const CharacterItems::Items shipped = CharacterItems::ReadItems(image);
        const CharacterItems::Items read = CharacterItems::ReadItems(image, folder.get());
        QCOMPARE(read.release, kFolder);
        QCOMPARE(read.note, shipped.note);
        QVERIFY(shipped.lists.size() >= 2);
        QCOMPARE(AllFacts(read), AllFacts(shipped));
    }

    // A changed table shows; a table's file name may be in any case.
    void changedTableShows_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("into");
        QTest::addColumn<int>("index");  // of the v96 file's character list
        QTest::addColumn<QString>("seen");
        QTest::newRow("renamed unique") << "UniqueItems.txt" << "The Stone of Jordan" << "Ring of Mods" << 45
                                        << "Ring of Mods 1x1";
        QTest::newRow("wider boots") << "Armor.txt" << "\txtb\t2\t2\t" << "\txtb\t3\t2\t" << 2
                                     << "Aldur's Advance 3x2";
    }
    void changedTableShows()
    {
        QFETCH(QString, table);
        QFETCH(QString, from);
        QFETCH(QString, into);
        QFETCH(int, index);
        QFETCH(QString, seen);
        QTemporaryDir dir;
        CopyChanging(dir.path(), table, from, into);
        QString error;
        const auto folder = ItemTables::FromFolder(dir.path(), &error);
        QVERIFY2(folder, qPrintable(error));
        const auto items = CharacterItems::ReadItems(RealFile(QStringLiteral("v96_sorceress_level94.d2s")), folder.get());
        QVERIFY(!items.lists.empty() && index < int(items.lists[0].items.size()));
        const auto &item = items.lists[0].items[std::size_t(index)];
        QCOMPARE(QStringLiteral("%1 %2x%3").arg(item.name).arg(item.width).arg(item.height), seen);
    }

    // A folder is refused whole, saying which table or column it lacks, on
    // the command line as "brennicor-cli: DIR: ..." with status 1; a whole one
    // lists the items.
    void refusedOrRead_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("into");  // null: the table is left out
        QTest::addColumn<QString>("error");
        QTest::newRow("no table") << "Skills.txt" << QString() << QString() << "the folder has no Skills.txt";
        QTest::newRow("no column") << "Misc.txt" << "invwidth" << "width" << "misc.txt has no column \"invwidth\"";
        QTest::newRow("no rare prefixes") << "RarePrefix.txt" << QString() << QString() << "the folder has no RarePrefix.txt";
        QTest::newRow("a stat too wide") << "ItemStatCost.txt" << "strength\t\t\t8\t" << "strength\t\t\t33\t"
                                         << "itemstatcost.txt: the stat strength has a \"Save Bits\" of 33, not 0 to 32";
        QTest::newRow("a whole folder") << "Runes.txt" << "" << "" << "";
    }
    void refusedOrRead()
    {
        QFETCH(QString, table);
        QFETCH(QString, from);
        QFETCH(QString, into);
        QFETCH(QString, error);
        QTemporaryDir dir;
        CopyChanging(dir.path(), table, from, into);
        QString why;
        QCOMPARE(ItemTables::FromFolder(dir.path(), &why) == nullptr, !error.isEmpty());
        QCOMPARE(why, error);

        QProcess cli;
        cli.start(QStringLiteral(QUARVINEL_CLI), {QStringLiteral("--game-data"), dir.path(), QStringLiteral("items"),
                                                  QStringLiteral("--json"), kData + QStringLiteral("/v97_amazon_new.d2s")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(cli.readAllStandardError()),
                 error.isEmpty() ? QString() : QStringLiteral("brennicor-cli: %1: %2\n").arg(dir.path(), error));
        QCOMPARE(cli.exitCode(), error.isEmpty() ? 0 : 1);
        const QJsonArray files = QJsonDocument::fromJson(cli.readAllStandardOutput()).array();
        QCOMPARE(files.size(), error.isEmpty() ? 1 : 0);
        if (error.isEmpty()) {
            QCOMPARE(files[0][QLatin1String("release")].toString(), dir.path());
            QCOMPARE(files[0][QLatin1String("lists")][0][QLatin1String("decoded")].toInt(), 8);
        }
    }
};

QTEST_APPLESS_MAIN(TestGameData)
#include "tst_game_data.moc"
