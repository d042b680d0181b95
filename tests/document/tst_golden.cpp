// A character file written by hand, byte by byte, from the documented layout of
// file version 71, read and written through the typed character. Every offset
// and every expected value below is a literal: none comes from the program's
// own layout or tables, so a field whose offset moves by one byte fails here.

#include "support/CharacterFixture.h"

#include "document/Character.h"
#include "document/Diablo2Doc.h"

#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

constexpr int kFileLength = 700;

// Bytes no field claims differ from every value written below (0xC0..0xFC),
// so a read one byte off always takes one of them in.
char Filler(int offset)
{
    return char(0xC0 + offset % 61);
}

void Put(QByteArray &file, int first, int width, quint32 value)
{
    for (int k = 0; k < width; ++k)
        file[first + k] = char(value >> (8 * k));
}

// The quest status words of Normal, by act and list position; Nightmare's
// lie 96 bytes further, Hell's 192.
const int kNormalQuestWords[4][6] = {
    {142, 144, 148, 150, 146, 152},
    {158, 160, 162, 164, 166, 168},
    {174, 176, 178, 180, 182, 184},
    {190, 194, 192, -1, -1, -1},
};

// The whole file with every optional value of the stat block present.
QByteArray Golden()
{
    QByteArray file(kFileLength, '\0');
    for (int k = 0; k < kFileLength; ++k)
        file[k] = Filler(k);
    const QByteArray name("Golden");
    for (int k = 8; k <= 22; ++k)
        file[k] = k - 8 < name.size() ? name[k - 8] : '\0';

    // Quests, acts and waypoints: nothing else in 130..437.
    for (int k = 130; k < 438; ++k)
        file[k] = '\0';
    // Quest q of act a of difficulty d in state 1 + (d + a + q) % 3: no quest
    // holds a zero word.
    const int words[4] = {0x0000, 0x0004, 0x0006, 0x1007};
    for (int d = 0; d < 3; ++d) {
        for (int a = 0; a < 4; ++a) {
            for (int q = 0; q < 6 && kNormalQuestWords[a][q] >= 0; ++q)
                Put(file, kNormalQuestWords[a][q] + 96 * d, 2, quint32(words[1 + (d + a + q) % 3]));
        }
    }
    for (const int act : {154, 170, 186, 250, 282}) // all of Normal; Nightmare's Act2 and Act4
        file[act] = 1;
    Put(file, 438, 4, 0x15555555); // Normal: every even waypoint
    Put(file, 462, 4, 0x2AAAAAAA); // Nightmare: every odd one
    Put(file, 486, 4, 0x3FFFFFFF); // Hell: all

    // The header (signature, version 71, Nightmare open and Hell closed, a
    // Paladin, the selection screen's level) and the stat block, every optional
    // value present (mask 0x3F 0xFF); stamina's maximum stands below stamina.
    const qint64 values[][3] = {
        {0, 4, 0xAA55AA55}, {4, 4, 71}, {25, 1, 0x04}, {34, 1, 3}, {36, 1, 41}, {562, 1, 0x3F}, {563, 1, 0xFF},
        {565, 4, 0x01020304}, {569, 4, 0x05060708}, {573, 4, 0x090A0B0C}, {577, 4, 0x0D0E0F10},
        {581, 4, 0x11121314}, {585, 4, 0x15161718}, {590, 2, 0x1A1B}, {594, 2, 0x1C1D}, {598, 2, 0x1E1F},
        {602, 2, 0x2021}, {606, 2, 0x2223}, {610, 2, 0x2425}, {613, 1, 42}, {617, 4, 0x0001E240},
        {621, 4, 0x00BC614E}, {625, 4, 0x0098967F}};
    for (const auto &value : values)
        Put(file, int(value[0]), int(value[1]), quint32(value[2]));
    for (int k = 0; k < 30; ++k)
        file[631 + k] = char(k + 1); // skill k at level k + 1
    return file;
}

// One difficulty as letters: "D" open or "d" closed, each act open (1) or
// not, the quest states of each act, the waypoints of each act on (1) or off.
QString Progress(const CharacterView &c, int d)
{
    QStringList acts, quests, waypoints;
    for (int a = 0; a < c.ActCount(); ++a) {
        acts.append(QString::number(c.IsActOpen(d, a)));
        QString states, on;
        for (int q = 0; q < c.QuestCount(a); ++q)
            states += QString::number(c.QuestState(d, a, q));
        for (int w = 0; w < c.WaypointCount(a); ++w)
            on += QString::number(c.IsWaypointActive(d, a, w));
        quests.append(states);
        waypoints.append(on);
    }
    return QLatin1String(c.IsDifficultyOpen(d) ? "D" : "d") + acts.join(QString()) + QLatin1String(" | ")
        + quests.join(QLatin1Char(' ')) + QLatin1String(" | ") + waypoints.join(QLatin1Char(' '));
}

} // namespace

class TestGolden : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(QStringLiteral("Golden.d2s"));

private Q_SLOTS:
    void readsEveryValueWhereTheLayoutPutsIt_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<quint32>("attributePoints");
        QTest::addColumn<quint32>("skillPoints");
        QTest::addColumn<quint32>("experience");
        QTest::addColumn<quint32>("gold");
        QTest::addColumn<quint32>("goldInStash");
        QTest::addColumn<QString>("absent");
        QTest::newRow("every optional value in the file") << Golden() << 0x11121314u << 0x15161718u << 123456u << 12345678u
                                                          << 9999999u << "";
        // The same character saved without any of the five optional values: their bits cleared, their bytes left out.
        QTest::newRow("every optional value left out, read as 0") << Golden().replace(562, 2, "\x0f\x1f").remove(617, 12).remove(581, 8) << 0u << 0u << 0u << 0u
            << 0u << "attributePointsToAdd skillPointsToAdd experience gold goldInStash";
    }
    void readsEveryValueWhereTheLayoutPutsIt()
    {
        QFETCH(QByteArray, file);
        CDiablo2Doc doc;
        QVERIFY(CharacterFixture::WriteFile(m_path, file) && doc.OpenFile(m_path));
        const CharacterView c(doc);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6").arg(c.FileVersion()).arg(c.Name()).arg(c.ClassByte()).arg(int(c.HasClass()))
                     .arg(c.HeaderLevel()).arg(c.StatLevel()), QStringLiteral("71 Golden 3 1 41 42"));

        QString numbers;
        for (const FieldId id : {FieldId::Strength, FieldId::Energy, FieldId::Dexterity, FieldId::Vitality, FieldId::Health, FieldId::MaxHealth, FieldId::Mana,
                                 FieldId::MaxMana, FieldId::MaxStamina, FieldId::Stamina})
            numbers += QString::number(c.Number(id), 16) + QLatin1Char(' ');
        QCOMPARE(numbers, QStringLiteral("1020304 5060708 90a0b0c d0e0f10 1a1b 1c1d 1e1f 2021 2223 2425 "));
        QTEST(c.Number(FieldId::AttributePointsToAdd), "attributePoints");
        QTEST(c.Number(FieldId::SkillPointsToAdd), "skillPoints");
        QTEST(c.Number(FieldId::Experience), "experience");
        QTEST(c.Number(FieldId::Gold), "gold");
        QTEST(c.Number(FieldId::GoldInStash), "goldInStash");

        QCOMPARE(c.SkillCount(), 30);
        QString skills;
        for (int k = 0; k < c.SkillCount(); ++k)
            skills += QString::number(c.SkillLevel(k)) + QLatin1Char(' ');
        QCOMPARE(skills.trimmed(), QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 "
                                                  "26 27 28 29 30"));

        QCOMPARE(Progress(c, 0), QStringLiteral("D1111 | 123123 231231 312312 123 | 101010101 010101010 101010101 010"));
        QCOMPARE(Progress(c, 1), QStringLiteral("D1101 | 231231 312312 123123 231 | 010101010 101010101 010101010 101"));
        QCOMPARE(Progress(c, 2), QStringLiteral("d1000 | 312312 123123 231231 312 | 111111111 111111111 111111111 111"));

        const std::optional<QStringList> absent = c.AbsentFromFile();
        QVERIFY(absent.has_value());
        QTEST(absent->join(QLatin1Char(' ')), "absent");
        QVERIFY(!CharacterView(CDiablo2Doc()).AbsentFromFile().has_value());
    }

    void writesEveryValueWhereTheLayoutPutsIt_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("first");
        QTest::addColumn<QString>("bytes");
        QTest::newRow("name") << "name" << 8 << "4e 65 6f 00 00 00 00 00 00 00 00 00 00 00 00 d7";
        QTest::newRow("levels held apart") << "levels" << 35 << "e3 07 e5";
        QTest::newRow("levels held apart, the stat copy") << "levels" << 612 << "c2 09 c4";
        QTest::newRow("gold") << "gold" << 620 << "00 d4 c3 b2 a1 7f";
        QTest::newRow("stamina below its maximum leaves it") << "low stamina" << 606 << "23 22 fb fc 00 01";
        QTest::newRow("stamina above its maximum raises it") << "stamina" << 606 << "56 34 fb fc 56 34";
        QTest::newRow("Hell's Act3 opened opens Hell") << "act" << 362 << "01";
        QTest::newRow("Hell's Act3 opened, the difficulty byte") << "act" << 25 << "14";
    }
    void writesEveryValueWhereTheLayoutPutsIt()
    {
        QFETCH(QString, edit);
        QFETCH(int, first);
        QFETCH(QString, bytes);
        CDiablo2Doc doc;
        QVERIFY(CharacterFixture::WriteFile(m_path, Golden()) && doc.OpenFile(m_path));
        Character c(doc);
        const QHash<QString, std::function<void()>> edits{
            {"name", [&] { c.SetName(QStringLiteral("Neo")); }},
            {"levels", [&] { c.SetLevels(7, 9); }},
            {"gold", [&] { c.SetNumber(FieldId::Gold, 0xA1B2C3D4); }},
            {"stamina", [&] { c.SetNumberRaisingMaximum(FieldId::Stamina, 0x3456); }},
            {"low stamina", [&] { c.SetNumberRaisingMaximum(FieldId::Stamina, 0x0100); }},
            {"act", [&] { c.SetActOpen(2, 2, true); }},
        };
        edits.value(edit)();
        const int length = int(bytes.size() + 1) / 3;
        QCOMPARE(QString::fromLatin1(doc.ImageCopy().mid(first, length).toHex(' ')), bytes);
        QCOMPARE(doc.ImageCopy().size(), kFileLength);
    }
};

QTEST_GUILESS_MAIN(TestGolden)
#include "tst_golden.moc"
