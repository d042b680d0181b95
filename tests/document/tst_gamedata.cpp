// The game's tables: a few anchor rows a player can check in the game, the
// misspellings players know from this editor, and a digest of every table so
// that any other change of a name, an offset or an experience figure shows.

#include "GameData.h"

#include <QCryptographicHash>
#include <QTest>

namespace {

QString Names(const char *const *names, int count)
{
    QStringList out;
    for (int k = 0; k < count; ++k)
        out.append(QString::fromLatin1(names[k]));
    return out.join(QLatin1Char('|'));
}

template <class T>
QString Numbers(const T *values, int count)
{
    QStringList out;
    for (int k = 0; k < count; ++k)
        out.append(QString::number(values[k]));
    return out.join(QLatin1Char(','));
}

} // namespace

class TestGameData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void anchors_data();
    void anchors();
    void wholeTablesAreUnchanged();
    void namedEntriesOfAnAct();
};

void TestGameData::anchors_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    QTest::newRow("classes") << Names(g_strClassNames, ClassCount)
                             << "Amazon|Sorceress|Necromancer|Paladin|Barbarian";
    QTest::newRow("difficulties, acts, quest states")
        << Names(g_strDifficultyNames, 3) + ' ' + Names(g_strActNames, 4) + ' '
               + Names(g_strQuestStateNames, 4)
        << "Normal|Nightmare|Hell Act1|Act2|Act3|Act4 Not Started|Started|Reward|Done";
    QTest::newRow("experience of levels 1, 2, 10, 99 and the bound of 99")
        << QStringLiteral("%1,%2,%3,%4,%5").arg(LevelExperienceTable[0]).arg(LevelExperienceTable[1])
               .arg(LevelExperienceTable[9]).arg(LevelExperienceTable[98]).arg(LevelExperienceTable[99])
        << "0,500,57715,3520485254,3837739017";
    QTest::newRow("first and last skill of each class, and spellings kept")
        << QStringList{SkillNames[0], SkillNames[29], SkillNames[30], SkillNames[51], SkillNames[60],
                       SkillNames[119], SkillNames[120], SkillNames[149]}.join('|')
        << "Magic Arrow|Lightning Fury|Fire Bolt|Thunder Strom|Amplify Damage|Salvation|Bash|Battle Command";
    QTest::newRow("Den of Evil, Tools of the trade, Terror's End and their words")
        << QStringList{g_strQuestNames[0], g_strQuestNames[4], g_strQuestNames[20]}.join('|')
               + ' ' + Numbers(&g_nQuestOffsets[0][0][0], 6) + ' ' + Numbers(&g_nQuestOffsets[2][3][0], 6)
        << "Den of Evil|Tools of the trade|Terror's End 142,144,148,150,146,152 382,386,384,0,0,0";
    QTest::newRow("act bytes and waypoint sets")
        << Numbers(&g_nActOffsets[0][0], 12) + ' ' + Numbers(g_nWaypointOffsets, 3)
        << "0,154,170,186,0,250,266,282,0,346,362,378 438,462,486";
    QTest::newRow("first and last waypoint of each act")
        << QStringList{g_strWaypointNames[0], g_strWaypointNames[8], g_strWaypointNames[15],
                       g_strWaypointNames[26], g_strWaypointNames[29], g_strWaypointNames[30]}.join('|')
        << "Rogue Encampment|Catacombs|Pallace Cellar|Durance of Hate|River of Flame|";
}

void TestGameData::anchors()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

// The digest was taken from tables checked entry by entry against the game;
// a change of any entry must come with a new digest, on purpose.
void TestGameData::wholeTablesAreUnchanged()
{
    const QString all = Names(SkillNames, ClassCount * 30) + Names(g_strQuestNames, 24)
        + Names(g_strWaypointNames, 36) + Numbers(LevelExperienceTable, 100)
        + Numbers(&g_nQuestOffsets[0][0][0], 72) + Numbers(&g_nActOffsets[0][0], 12)
        + Numbers(g_nWaypointOffsets, 3);
    const QByteArray digest = QCryptographicHash::hash(all.toLatin1(), QCryptographicHash::Sha256);
    QCOMPARE(digest.toHex().left(16), QByteArray("e74427ac8174d99e"));
}

void TestGameData::namedEntriesOfAnAct()
{
    QCOMPARE(QList<int>({QuestCountOfAct(-1), QuestCountOfAct(0), QuestCountOfAct(3), QuestCountOfAct(4)}),
             QList<int>({0, 6, 3, 0}));
    QCOMPARE(QList<int>({WaypointCountOfAct(-1), WaypointCountOfAct(0), WaypointCountOfAct(3),
                         WaypointCountOfAct(4)}),
             QList<int>({0, 9, 3, 0}));
}

QTEST_APPLESS_MAIN(TestGameData)
#include "tst_gamedata.moc"
