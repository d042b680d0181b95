// The items of every real file: how many each list holds and how many were
// read, what a player sees of a few of them, the bit-exact round trip of every
// item and list, and the notes that end a list that cannot be read.
#include "cli/CliRunner.h"
#include "document/CharacterItems.h"
#include "support/CharacterFixture.h"
#include "document/format/BitCodec.h"
#include "document/format/items/ItemLists.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Format::Items;

namespace {

constexpr auto RealFile = &CharacterFixture::RealFile;

// "character 8/8, corpse 0/0, golem 0/0": each list's count and items read.
QString Summary(const ItemLists &lists)
{
    QStringList parts;
    for (const ItemList &list : lists.lists)
        parts << QStringLiteral("%1 %2/%3").arg(ListName(list.kind)).arg(list.count).arg(list.Decoded());
    return parts.join(QStringLiteral(", "));
}

const char *const kStorage[] = {"equipped", "inventory", "belt", "stash", "cube", "socketed", "cursor", "other"};

// What a player sees of an item: name, where it is, and its children's names.
QString Seen(const Item &item, const ItemRules &rules)
{
    QStringList children;
    for (const Item &child : item.children)
        children << NameOf(child, rules);
    const Storage storage = item.StorageOf();
    QString text = QStringLiteral("%1 (%2) %3 ").arg(NameOf(item, rules), QString::fromLatin1(item.code),
                                                    QLatin1String(kStorage[int(storage)]));
    text += storage == Storage::Equipped ? QStringLiteral("slot %1").arg(item.slot)
                                         : QStringLiteral("%1,%2").arg(item.x).arg(item.y);
    if (item.hasDefense)
        text += QStringLiteral(" defense %1").arg(item.defense);
    if (item.hasQuantity)
        text += QStringLiteral(" quantity %1").arg(item.quantity);
    if (!children.isEmpty())
        text += QStringLiteral(" [%1]").arg(children.join(QStringLiteral(", ")));
    return text;
}

} // namespace

class TestItems : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyListIsRead_data();
    void everyListIsRead();
    void roundTripIsBitExact_data() { everyListIsRead_data(); }
    void roundTripIsBitExact();
    void playerSees_data();
    void playerSees();
    void unreadItemEndsItsList_data();
    void unreadItemEndsItsList();
    void earNamesItsOwner();
    void statGroupsReadWhole_data();
    void statGroupsReadWhole();
    void propertyText_data();
    void propertyText();
    void tablesOfTheRelease_data();
    void tablesOfTheRelease();
    void commandLineListsItems();
};

void TestItems::everyListIsRead_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("lists");
    QTest::addColumn<int>("end");  // the first byte after the lists; what follows is kept as it is
    QTest::addColumn<int>("after");  // the bytes that follow, which no list explains

    QTest::newRow("87") << "v87_barbarian_new.d2s" << "character 8/8, corpse 0/0" << 780 << 57;
    QTest::newRow("89") << "v89_barbarian_new.d2s" << "character 8/8, corpse 0/0" << 780 << 57;
    QTest::newRow("92") << "v92_barbarian_new.d2s" << "character 8/8, corpse 0/0, golem 0/0" << 989 << 0;
    QTest::newRow("96 level 3") << "v96_sorceress_level3.d2s" << "character 4/4, corpse 0/0, golem 0/0" << 913 << 0;
    QTest::newRow("96 library") << "v96_barbarian_library_written.d2s" << "character 8/8, corpse 0/0, golem 0/0" << 998 << 0;
    QTest::newRow("96 level 94") << "v96_sorceress_level94.d2s"
                                 << "character 60/60, corpse 0/0, mercenary 0/0, golem 0/0" << 2663 << 0;
    QTest::newRow("97") << "v97_amazon_new.d2s" << "character 8/8, corpse 0/0, golem 0/0" << 946 << 0;
    QTest::newRow("98 level 66") << "v98_sorceress_level66.d2s"
                                 << "character 54/54, corpse 0/0, mercenary 3/3, golem 0/0" << 2684 << 0;
    QTest::newRow("99") << "v99_barbarian_new.d2s" << "character 8/8, corpse 0/0, golem 0/0" << 945 << 0;
    // The Warlock's mode ends its file with 6 bytes after the golem.
    QTest::newRow("105 warlock") << "v105_warlock_new.d2s" << "character 7/7, corpse 0/0, golem 0/0" << 997 << 6;
    QTest::newRow("105 barbarian") << "v105_barbarian_new.d2s" << "character 8/8, corpse 0/0, golem 0/0" << 1014 << 0;
}

void TestItems::everyListIsRead()
{
    QFETCH(QString, file);
    QFETCH(QString, lists);
    QFETCH(int, end);
    QFETCH(int, after);
    const QByteArray image = RealFile(file);
    QVERIFY(!image.isEmpty());
    const ItemLists read = ReadItemLists(image);
    QCOMPARE(read.note, QString());
    QCOMPARE(Summary(read), lists);
    QCOMPARE(read.end, end);
    QCOMPARE(image.size() - end, after);
    QCOMPARE(CharacterItems::ReadItems(image).trailingBytes, after);
    for (const ItemList &list : read.lists)
        QVERIFY2(list.Complete(), qPrintable(list.note));
}

void TestItems::roundTripIsBitExact()
{
    QFETCH(QString, file);
    const QByteArray image = RealFile(file);
    const ItemLists read = ReadItemLists(image);
    QVERIFY(!read.lists.empty());
    int items = 0;
    for (const ItemList &list : read.lists) {
        QCOMPARE(EncodeList(list, *read.rules).toHex(), image.mid(list.offset, list.end - list.offset).toHex());
        for (const Item &item : list.items) {
            QCOMPARE(EncodeItem(item, *read.rules), image.mid(item.offset, item.bytes));
            QCOMPARE(item.bytes, (item.bits + 7) / 8);
            ++items;
            for (const Item &child : item.children) {
                QCOMPARE(EncodeItem(child, *read.rules), image.mid(child.offset, child.bytes));
                QCOMPARE(child.StorageOf(), Storage::Socketed);
                ++items;
            }
        }
    }
    QVERIFY(items > 0);
}

void TestItems::playerSees_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("seen");

    QTest::newRow("87 belt potion") << "v87_barbarian_new.d2s" << 0 << 3 << "Minor Healing Potion (hp1) belt 3,0";
    QTest::newRow("92 buckler") << "v92_barbarian_new.d2s" << 0 << 7 << "Buckler (buc) equipped slot 5 defense 4";
    QTest::newRow("96 set boots") << "v96_sorceress_level94.d2s" << 0 << 2
                                  << "Aldur's Advance (xtb) equipped slot 9 defense 44";
    QTest::newRow("96 unique ring") << "v96_sorceress_level94.d2s" << 0 << 45 << "The Stone of Jordan (rin) stash 5,2";
    QTest::newRow("96 magic charm") << "v96_sorceress_level94.d2s" << 0 << 11
                                    << "Ocher Small Charm of Vita (cm1) inventory 5,3";
    QTest::newRow("96 socketed helm") << "v96_sorceress_level94.d2s" << 0 << 12
                                      << "Nightwing's Veil (uhm) equipped slot 1 defense 160 [Rainbow Facet]";
    QTest::newRow("96 runeword") << "v96_sorceress_level94.d2s" << 0 << 30
                                 << "Chains of Honor (utp) equipped slot 3 defense 525 "
                                    "[Dol Rune, Um Rune, Ber Rune, Ist Rune]";
    QTest::newRow("97 javelins") << "v97_amazon_new.d2s" << 0 << 6 << "Javelin (jav) equipped slot 4 quantity 60";
    QTest::newRow("98 rare amulet") << "v98_sorceress_level66.d2s" << 0 << 8 << "Bone Scarab (amu) stash 9,8";
    QTest::newRow("98 rare armor, rare jewel") << "v98_sorceress_level66.d2s" << 0 << 18
                                               << "Spirit Shroud (brs) stash 4,0 defense 69 "
                                                  "[Rune Whorl, Beryl Jewel of Freedom]";
    QTest::newRow("98 personalized runeword") << "v98_sorceress_level66.d2s" << 0 << 53
                                              << "Agelatus's Leaf (sst) equipped slot 4 [Tir Rune, Ral Rune]";
    QTest::newRow("99 hand axe") << "v99_barbarian_new.d2s" << 0 << 6 << "Hand Axe (hax) equipped slot 4";
    QTest::newRow("105 warlock dagger") << "v105_warlock_new.d2s" << 0 << 6 << "Dagger (dgr) equipped slot 4";
}

void TestItems::playerSees()
{
    QFETCH(QString, file);
    QFETCH(int, list);
    QFETCH(int, index);
    QFETCH(QString, seen);
    const ItemLists read = ReadItemLists(RealFile(file));
    QVERIFY(list < int(read.lists.size()) && index < read.lists[std::size_t(list)].Decoded());
    QCOMPARE(Seen(read.lists[std::size_t(list)].items[std::size_t(index)], *read.rules), seen);
}

void TestItems::unreadItemEndsItsList_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("cut");          // the file's length, 0 for whole
    QTest::addColumn<int>("damagedByte");  // a byte set to 0xFF, 0 for none
    QTest::addColumn<QString>("lists");
    QTest::addColumn<QString>("note");

    QTest::newRow("cut inside an item") << "v98_sorceress_level66.d2s" << 1000 << 0 << "character 54/6"
                                        << "character list, item at byte 996: the file ends inside the item";
    QTest::newRow("cut inside the mercenary's") << "v98_sorceress_level66.d2s" << 2600 << 0
                                                << "character 54/54, corpse 0/0, mercenary 3/2"
                                                << "mercenary list, item at byte 2595: the file ends inside the item";
    QTest::newRow("unknown code") << "v96_sorceress_level3.d2s" << 0 << 871 << "character 4/1"
                                  << "character list, item at byte 862: the item code \"op1\" is not in the 1.14d tables";
    QTest::newRow("unknown code of a socketed item") << "v96_sorceress_level94.d2s" << 0 << 1277 << "character 60/12"
                                                     << "character list, item at byte 1268: the item code \"oew\" is "
                                                        "not in the 1.14d tables";
    QTest::newRow("version 71") << "v96_sorceress_level3.d2s" << 0 << -1 << "" << "items of version 71 are not read";
    QTest::newRow("header only") << "v98_first_save_header_only.d2s" << 0 << 0 << "" << "";
}

void TestItems::unreadItemEndsItsList()
{
    QFETCH(QString, file);
    QFETCH(int, cut);
    QFETCH(int, damagedByte);
    QFETCH(QString, lists);
    QFETCH(QString, note);
    QByteArray image = RealFile(file);
    const ItemLists whole = ReadItemLists(image);
    if (damagedByte > 0)
        image[damagedByte] = char(0xFF);
    if (damagedByte < 0)
        image[4] = 71;
    // A file cut short no longer parses (its size field): its items are read
    // from where the whole file's start.
    if (cut)
        image.truncate(cut);
    const ItemLists read = cut ? ReadItemLists(image, 98, whole.lists[0].offset) : ReadItemLists(image);
    QCOMPARE(Summary(read), lists);
    if (note.isEmpty())
        QVERIFY(read.note.startsWith(QStringLiteral("the items are not read: ")));
    else
        QCOMPARE(read.note, note);
    // What was read before the note is whole and writes back to its bytes.
    for (const ItemList &list : read.lists)
        QCOMPARE(EncodeList(list, *read.rules), image.mid(list.offset, list.end - list.offset));
}

void TestItems::propertyText_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");  // the item's own properties, then its runeword's

    QTest::newRow("96 unique ring") << "v96_sorceress_level94.d2s" << 45
                                    << "+20 to Mana; +1 to Minimum Lightning Damage; +12 to Maximum Lightning Damage; "
                                       "Increase Maximum Mana 25%; +1 to All Skills";
    QTest::newRow("96 runeword charges") << "v96_sorceress_level94.d2s" << 58
                                         << "Fire Resist +33%; Lightning Resist +33%; Cold Resist +33%; "
                                            "Poison Resist +33%; Replenish Life +20; Increase Maximum Mana 15%; "
                                            "+40% Faster Cast Rate; +3 to All Skills; Level 14 Raven (60/60 Charges); "
                                            "Level 4 Oak Sage (25/25 Charges)";
    QTest::newRow("96 chance to cast") << "v96_sorceress_level94.d2s" << 25
                                       << "+19 to Strength; +19 to Energy; +19 to Dexterity; +19 to Vitality; "
                                          "Fire Resist +10%; Lightning Resist +10%; Cold Resist +10%; "
                                          "Poison Resist +10%; +3 to Sorceress Skill Levels; +8 to Light Radius; "
                                          "5% Chance to cast level 10 Firestorm on striking; "
                                          "Level 30 Hydra (10/10 Charges)";
    QTest::newRow("98 skills of a staff") << "v98_sorceress_level66.d2s" << 53
                                          << "+1 to Ice Bolt; +2 to Frozen Armor; Cold Resist +33%; +3 to Fire Bolt; "
                                             "+3 to Warmth; +3 to Inferno; +3 to Fire Skills; item_armor_perlevel +16";
    QTest::newRow("96 skill tab") << "v96_sorceress_level94.d2s" << 31
                                  << "+3 to Minimum Cold Damage; +7 to Maximum Cold Damage; +25 coldlength; "
                                     "+1 to Cold Skills (Sorceress Only)";
    // The wordings without a sign, a value or with the value last.
    QTest::newRow("96 unique ring, Dwarf Star") << "v96_sorceress_level94.d2s" << 3
                                                << "+40 to Life; +40 Maximum Stamina; Heal Stamina Plus 15%; "
                                                   "Magic Damage Reduced by 14; 100% Extra Gold from Monsters; "
                                                   "Fire Absorb 15%";
}

void TestItems::propertyText()
{
    QFETCH(QString, file);
    QFETCH(int, index);
    QFETCH(QString, text);
    const ItemLists read = ReadItemLists(RealFile(file));
    QVERIFY(!read.lists.empty() && index < read.lists[0].Decoded());
    const Item &item = read.lists[0].items[std::size_t(index)];
    QStringList lines;
    for (const PropertyList *list : {&item.properties, &item.runewordProperties})
        for (const Property &p : *list)
            lines << TextOf(p, *read.rules);
    QCOMPARE(lines.join(QStringLiteral("; ")), text);
}

// Stats stored after another with no id of their own (a maximum, a length) as a real
// charm's only properties: written and read back, the group is whole.
void TestItems::statGroupsReadWhole_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::newRow("fire") << QList<int>{48, 49};
    QTest::newRow("cold") << QList<int>{54, 55, 56};
    QTest::newRow("poison") << QList<int>{57, 58, 59};
    QTest::newRow("enhanced damage") << QList<int>{17, 18};
}

void TestItems::statGroupsReadWhole()
{
    QFETCH(QList<int>, ids);
    const ItemRules &rules = *ItemRulesOf(96);
    Item item = ReadItemLists(RealFile("v96_sorceress_level94.d2s")).lists[0].items[11];
    item.properties.clear();
    for (const int id : ids)
        item.properties.push_back({id, 0, id % 7 + 1});
    Item read;
    QString reason;
    QVERIFY2(DecodeItem(EncodeItem(item, rules), 0, rules, read, reason), qPrintable(reason));
    const auto idsAndValues = [](const PropertyList &list) {
        QStringList out;
        for (const Property &p : list)
            out << QStringLiteral("%1=%2").arg(p.id).arg(p.value);
        return out;
    };
    QCOMPARE(idsAndValues(read.properties), idsAndValues(item.properties));
}

// No real file holds an ear: one written field by field as the format keeps it.
void TestItems::earNamesItsOwner()
{
    QByteArray image;
    Format::BitWriter bits(image);
    bits.Write(16, 0x4D4A);                       // "JM"
    bits.Write(32, (1u << Flags::Ear) | (1u << Flags::Simple) | (1u << Flags::Identified));
    bits.Write(10, 101);                          // item version
    bits.Write(3, 0);                             // stored
    bits.Write(4, 0);
    bits.Write(4, 2);                             // x
    bits.Write(4, 1);                             // y
    bits.Write(3, 1);                             // inventory
    bits.Write(3, 4);                             // a Barbarian's
    bits.Write(7, 42);                            // level
    for (const char c : QByteArray("Thorgrim"))
        bits.Write(7, quint8(c));
    bits.Write(7, 0);
    Item ear;
    QString reason;
    QVERIFY2(DecodeItem(image, 0, *ItemRulesOf(96), ear, reason), qPrintable(reason));
    QCOMPARE(Seen(ear, *ItemRulesOf(96)), QStringLiteral("Thorgrim's Ear () inventory 2,1"));
    QCOMPARE(ear.earLevel, 42u);
    QCOMPARE(ear.bytes, image.size());
    QCOMPARE(EncodeItem(ear, *ItemRulesOf(96)), image);
}

// The widths of a stat changed between releases: a file read with another
// release's tables stops at the first item whose stats it reads wrongly; the
// only real file of version 99 holds no stat, so any release reads it.
void TestItems::tablesOfTheRelease_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("release");
    QTest::addColumn<QString>("lists");
    QTest::addColumn<QString>("note");

    QTest::newRow("96 with 2.6") << "v96_sorceress_level94.d2s" << int(Release::Remastered26) << "character 60/1"
                                 << "character list, item at byte 878: the stat 423 has no saved width in the 2.6 tables";
    QTest::newRow("98 with 2.6") << "v98_sorceress_level66.d2s" << int(Release::Remastered26) << "character 54/0"
                                 << "character list, item at byte 852: the stat 255 has no saved width in the 2.6 tables";
    QTest::newRow("98 with 1.14d") << "v98_sorceress_level66.d2s" << int(Release::Classic114d)
                                   << "character 54/54, corpse 0/0, mercenary 3/3, golem 0/0" << "";
    QTest::newRow("99 with 2.4") << "v99_barbarian_new.d2s" << int(Release::Remastered24)
                                 << "character 8/8, corpse 0/0, golem 0/0" << "";
    QTest::newRow("99 with 3.x") << "v99_barbarian_new.d2s" << int(Release::Remastered3)
                                 << "character 8/8, corpse 0/0, golem 0/0" << "";
}

void TestItems::tablesOfTheRelease()
{
    QFETCH(QString, file);
    QFETCH(int, release);
    QFETCH(QString, lists);
    QFETCH(QString, note);
    const QByteArray image = RealFile(file);
    const ItemLists own = ReadItemLists(image);
    QVERIFY(!own.lists.empty());
    ItemRules rules = *own.rules;
    rules.release = Release(release);
    const ItemLists read = ReadItemLists(image, own.lists[0].offset, rules);
    QCOMPARE(Summary(read), lists);
    QCOMPARE(read.note, note);
}

// brennicor-cli items: the JSON of two files, one whose items are all read and
// the header of a first save, whose are not (which fails the command).
void TestItems::commandLineListsItems()
{
    const QString data = qEnvironmentVariable("QUARVINEL_TEST_DATA");
    const CliResult json = RunCli({"items", "--json", "v98_sorceress_level66.d2s", "v98_first_save_header_only.d2s",
                                   "v87_barbarian_new.d2s"}, data);
    QCOMPARE(json.exitCode, 1);
    const QJsonArray files = QJsonDocument::fromJson(json.out.toUtf8()).array();
    const QJsonArray lists = files[0][QLatin1String("lists")].toArray();
    // In file order, each item in a socket right after the item it is in.
    const QJsonArray mercenary = lists[2][QLatin1String("items")].toArray();
    QStringList order;
    for (const auto &item : mercenary)
        order << QStringLiteral("%1@%2<%3").arg(item[QLatin1String("name")].toString())
                     .arg(item[QLatin1String("offset")].toInt()).arg(item[QLatin1String("parent")].toInt(-1));
    QCOMPARE(lists[2][QLatin1String("list")].toString() + QString::number(lists[2][QLatin1String("count")].toInt()) +
                 QString::number(lists[2][QLatin1String("decoded")].toInt()) + ' ' + order.join(QLatin1Char(' ')),
             QStringLiteral("mercenary33 Treachery@2485<-1 Shael Rune@2520<2485 Thul Rune@2530<2485 Lem Rune@2540<2485 "
                            "Ghoul Visage@2550<-1 Insight@2595<-1 Ral Rune@2641<2595 Tir Rune@2651<2595 "
                            "Tal Rune@2661<2595 Sol Rune@2671<2595"));
    const QJsonObject insight = mercenary[5].toObject();
    QStringList texts;
    for (const auto &p : insight[QLatin1String("properties")].toArray())
        texts << p[QLatin1String("text")].toString();
    QCOMPARE(texts.join(QStringLiteral("; ")),
             QStringLiteral("+5 to Strength; +5 to Energy; +5 to Dexterity; +5 to Vitality; +205% Enhanced Maximum "
                            "Damage; +205% Enhanced Minimum Damage; 23% Better Chance of Getting Magic Items; +2 to "
                            "Critical Strike; +35% Faster Cast Rate; 187% Bonus to Attack Rating; Level 16 Meditation "
                            "Aura When Equipped"));
    QCOMPARE(files[1][QLatin1String("lists")].toArray().size(), 0);
    QVERIFY(files[1][QLatin1String("note")].toString().startsWith(QStringLiteral("the items are not read")));
    QVERIFY(!files[0].toObject().contains(QLatin1String("trailing")));
    QCOMPARE(files[2][QLatin1String("trailing")].toObject(),
             (QJsonObject{{QLatin1String("offset"), 780}, {QLatin1String("bytes"), 57}}));

    // The text: grouped by place, the numbers a player is shown and none a simple item lacks.
    const CliResult text = RunCli({"items", "v87_barbarian_new.d2s"}, data);
    QCOMPARE(text.exitCode, 0);
    QCOMPARE(text.out.split(QLatin1Char('\n')).mid(0, 9).join(QLatin1Char('|')),
             QStringLiteral("character: 8 items|  equipped:|"
                            "    right hand  Hand Axe (hax): normal, level 1, durability 28/28|"
                            "    left hand  Buckler (buc): normal, level 1, defense 5, durability 12/12|"
                            "  inventory:|    9,3  Scroll of Town Portal (tsc)|    9,2  Scroll of Identify (isc)|"
                            "  belt:|    0,0  Minor Healing Potion (hp1)"));
    QVERIFY(text.out.endsWith(QStringLiteral("corpse: 0 items\n57 bytes after the lists, from byte 780, that no item "
                                             "list explains: kept as they are\n")));
}

QTEST_APPLESS_MAIN(TestItems)
#include "tst_items.moc"
