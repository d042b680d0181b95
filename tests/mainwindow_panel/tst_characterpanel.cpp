// The "Character" group of the main window on the real dialog: what
// a loaded file shows, what each kind of edit writes, the limits, the entry
// errors, the level list and ">>", and the panel with no file open.

#include "PanelHarness.h"

#include "GameData.h"
#include "Layout.h"
#include "MainDialogIds.h"
#include "core/Prompts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace Layout;

namespace {

const QString kNotANumber = QStringLiteral("Please enter a positive integer.");

// Every number member of the panel, for "nothing in memory changed".
QList<qint64> Members(const CBrennicorDlg &d)
{
    return {d.m_nExperience, d.m_nGold, d.m_nGoldInStash, d.m_nDexterity, d.m_nEnergy,
            d.m_nStrength, d.m_nVitality, d.m_nMaxStamina, d.m_nStamina, d.m_nMaxMana,
            d.m_nMana, d.m_nMaxHealth, d.m_nHealth, d.m_nClass, d.m_nSkillLevel, d.m_nSkill,
            d.m_nSkillPointsToAdd, d.m_nAttributePointsToAdd, d.m_nDifficulty, d.m_nAct,
            d.m_nQuest, d.m_nQuestState, d.m_nLevelIndex, d.m_nLevel, d.m_nWaypoint,
            d.m_bWaypointActive, d.m_bActActive, d.m_bDifficultyActive};
}

// The edits of the panel that the user can type into, in the exchange order.
const int kPanelEdits[] = {IDC_EXPERIENCE, IDC_GOLD, IDC_GOLD_IN_STASH, IDC_DEXTERITY,
                           IDC_ENERGY, IDC_STRENGTH, IDC_VITALITY, IDC_MAX_STAMINA,
                           IDC_STAMINA, IDC_MAX_MANA, IDC_MANA, IDC_MAX_HEALTH, IDC_HEALTH,
                           IDC_SKILL_LEVEL, IDC_SKILL_POINTS_TO_ADD,
                           IDC_ATTRIBUTE_POINTS_TO_ADD};

} // namespace

class TestCharacterPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadShowsTheFile_data();
    void loadShowsTheFile();
    void loadWritesThePanelBackUnchanged();

    void editWritesItsFieldOnly_data();
    void editWritesItsFieldOnly();

    void limitsClampSilently_data();
    void limitsClampSilently();
    void currentValueRaisesItsMaximum_data();
    void currentValueRaisesItsMaximum();
    void maximumNeverLowersTheCurrentValue();

    void clearedGoldRevertsAndWrites();
    void revertRestoresTheFaultyBoxAndWritesTheRest();
    void clearedMaximumStaysEmptyAndWritesNothing();

    void choosingALevel_data();
    void choosingALevel();
    void levelFromExperience_data();
    void levelFromExperience();
    void statLevelZeroShowsNoLevelAndStaysZero();
    void statLevelAbove99ShowsAndWrites99();

    void withNoFileNothingChanges();
    void closingResetsThePanel();
};

void TestCharacterPanel::loadShowsTheFile_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("shown");

    QTest::newRow("name") << int(IDC_NAME) << "Fixture";
    QTest::newRow("experience") << int(IDC_EXPERIENCE) << "57715";
    QTest::newRow("gold") << int(IDC_GOLD) << "1234";
    QTest::newRow("gold in stash") << int(IDC_GOLD_IN_STASH) << "5678";
    QTest::newRow("strength") << int(IDC_STRENGTH) << "15";
    QTest::newRow("vitality") << int(IDC_VITALITY) << "10";
    QTest::newRow("dexterity") << int(IDC_DEXTERITY) << "20";
    QTest::newRow("energy") << int(IDC_ENERGY) << "25";
    // Stamina: the lower offset (606) is the maximum, shown in the first box.
    QTest::newRow("max stamina") << int(IDC_MAX_STAMINA) << "700";
    QTest::newRow("stamina") << int(IDC_STAMINA) << "650";
    // A value above the entry limit is shown as the file has it.
    QTest::newRow("max health 9000") << int(IDC_MAX_HEALTH) << "9000";
    QTest::newRow("health") << int(IDC_HEALTH) << "300";
    QTest::newRow("max mana") << int(IDC_MAX_MANA) << "600";
    QTest::newRow("mana") << int(IDC_MANA) << "500";
    QTest::newRow("skill points") << int(IDC_SKILL_POINTS_TO_ADD) << "1";
    QTest::newRow("attribute points") << int(IDC_ATTRIBUTE_POINTS_TO_ADD) << "5";
    QTest::newRow("level number") << int(IDC_LEVEL) << "10";
    QTest::newRow("level list") << int(IDC_LEVEL_LIST) << "10";
    QTest::newRow("class") << int(IDC_CLASS) << "Sorceress";
}

void TestCharacterPanel::loadShowsTheFile()
{
    QFETCH(int, id);
    QFETCH(QString, shown);

    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().MaxHealth(9000)));
    QCOMPARE(p.Text(id), shown);
}

void TestCharacterPanel::loadWritesThePanelBackUnchanged()
{
    // The loading sequence commits the panel once, with the values just read.
    const CharacterFixture fixture = CharacterFixture().MaxHealth(9000).Class(4);
    PanelHarness p;
    QVERIFY(p.Load(fixture));
    QCOMPARE(Differences(fixture.Expanded(), p.Image()), QString());
    QVERIFY(p.prompts.messages.isEmpty());
}

void TestCharacterPanel::editWritesItsFieldOnly_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("last");
    QTest::addColumn<quint32>("value");

    // The revert-and-write kind.
    QTest::newRow("experience") << int(IDC_EXPERIENCE) << "600" << ExperienceFirst << ExperienceLast << 600u;
    QTest::newRow("gold") << int(IDC_GOLD) << "99999" << GoldFirst << GoldLast << 99999u;
    QTest::newRow("gold in stash") << int(IDC_GOLD_IN_STASH) << "4321" << GoldInStashFirst << GoldInStashLast << 4321u;
    QTest::newRow("strength") << int(IDC_STRENGTH) << "77" << StrengthFirst << StrengthLast << 77u;
    QTest::newRow("vitality") << int(IDC_VITALITY) << "66" << VitalityFirst << VitalityLast << 66u;
    QTest::newRow("dexterity") << int(IDC_DEXTERITY) << "55" << DexterityFirst << DexterityLast << 55u;
    QTest::newRow("energy") << int(IDC_ENERGY) << "44" << EnergyFirst << EnergyLast << 44u;
    // The maxima (stamina's maximum at the lower offset).
    QTest::newRow("max stamina") << int(IDC_MAX_STAMINA) << "900" << MaxStaminaFirst << MaxStaminaLast << 900u;
    QTest::newRow("max health") << int(IDC_MAX_HEALTH) << "800" << MaxHealthFirst << MaxHealthLast << 800u;
    QTest::newRow("max mana") << int(IDC_MAX_MANA) << "700" << MaxManaFirst << MaxManaLast << 700u;
    // The current values, below their maxima. Health: 590..591, not 589 or 592.
    QTest::newRow("stamina") << int(IDC_STAMINA) << "600" << StaminaFirst << StaminaLast << 600u;
    QTest::newRow("health") << int(IDC_HEALTH) << "350" << HealthFirst << HealthLast << 350u;
    QTest::newRow("mana") << int(IDC_MANA) << "550" << ManaFirst << ManaLast << 550u;
    // The point counters.
    QTest::newRow("skill points") << int(IDC_SKILL_POINTS_TO_ADD) << "12" << SkillPointsToAddFirst << SkillPointsToAddLast << 12u;
    QTest::newRow("attribute points") << int(IDC_ATTRIBUTE_POINTS_TO_ADD) << "34" << AttributePointsToAddFirst << AttributePointsToAddLast << 34u;
}

void TestCharacterPanel::editWritesItsFieldOnly()
{
    QFETCH(int, id);
    QFETCH(QString, typed);
    QFETCH(quint32, first);
    QFETCH(quint32, last);
    QFETCH(quint32, value);

    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture()));
    const QByteArray before = p.Image();

    p.Type(id, typed);

    QCOMPARE(p.Text(id), typed);
    QCOMPARE(Differences(WithValue(before, first, last, value), p.Image()), QString());
    QVERIFY(p.dlg.m_doc.IsModified());
    QVERIFY(p.prompts.messages.isEmpty());
}

void TestCharacterPanel::limitsClampSilently_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("last");

    QTest::newRow("gold") << int(IDC_GOLD) << "3000000000" << "2147483647" << GoldFirst << GoldLast;
    QTest::newRow("gold beyond 32 bits") << int(IDC_GOLD) << "99999999999" << "2147483647" << GoldFirst << GoldLast;
    QTest::newRow("experience has no limit") << int(IDC_EXPERIENCE) << "3000000000" << "3000000000" << ExperienceFirst << ExperienceLast;
    QTest::newRow("gold in stash") << int(IDC_GOLD_IN_STASH) << "3000000000" << "2147483647" << GoldInStashFirst << GoldInStashLast;
    QTest::newRow("strength") << int(IDC_STRENGTH) << "2147483648" << "2147483647" << StrengthFirst << StrengthLast;
    QTest::newRow("vitality") << int(IDC_VITALITY) << "3000000000" << "2147483647" << VitalityFirst << VitalityLast;
    QTest::newRow("dexterity") << int(IDC_DEXTERITY) << "3000000000" << "2147483647" << DexterityFirst << DexterityLast;
    QTest::newRow("energy") << int(IDC_ENERGY) << "3000000000" << "2147483647" << EnergyFirst << EnergyLast;
    QTest::newRow("skill points") << int(IDC_SKILL_POINTS_TO_ADD) << "3000000000" << "2147483647" << SkillPointsToAddFirst << SkillPointsToAddLast;
    QTest::newRow("attribute points") << int(IDC_ATTRIBUTE_POINTS_TO_ADD) << "3000000000" << "2147483647" << AttributePointsToAddFirst << AttributePointsToAddLast;
    QTest::newRow("max stamina") << int(IDC_MAX_STAMINA) << "9000" << "8191" << MaxStaminaFirst << MaxStaminaLast;
    QTest::newRow("max health") << int(IDC_MAX_HEALTH) << "8192" << "8191" << MaxHealthFirst << MaxHealthLast;
    QTest::newRow("max mana") << int(IDC_MAX_MANA) << "9000" << "8191" << MaxManaFirst << MaxManaLast;
    QTest::newRow("max health at the limit") << int(IDC_MAX_HEALTH) << "8191" << "8191" << MaxHealthFirst << MaxHealthLast;
}

void TestCharacterPanel::limitsClampSilently()
{
    QFETCH(int, id);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(quint32, first);
    QFETCH(quint32, last);

    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture()));
    const QByteArray before = p.Image();

    p.Type(id, typed);

    QCOMPARE(p.Text(id), shown);
    QCOMPARE(Differences(WithValue(before, first, last, shown.toUInt()), p.Image()), QString());
    QVERIFY(p.prompts.messages.isEmpty());
}

void TestCharacterPanel::currentValueRaisesItsMaximum_data()
{
    QTest::addColumn<int>("currentId");
    QTest::addColumn<int>("maximumId");
    QTest::addColumn<quint32>("currentFirst");
    QTest::addColumn<quint32>("maximumFirst");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shownCurrent");
    QTest::addColumn<QString>("shownMaximum");

    QTest::newRow("health 9000") << int(IDC_HEALTH) << int(IDC_MAX_HEALTH) << HealthFirst
                                 << MaxHealthFirst << "9000" << "8191" << "8191";
    QTest::newRow("mana 9000") << int(IDC_MANA) << int(IDC_MAX_MANA) << ManaFirst << MaxManaFirst
                               << "9000" << "8191" << "8191";
    // Stamina's pair lies the other way round in the file.
    QTest::newRow("stamina 9000") << int(IDC_STAMINA) << int(IDC_MAX_STAMINA) << StaminaFirst
                                  << MaxStaminaFirst << "9000" << "8191" << "8191";
    QTest::newRow("health 450 over 400") << int(IDC_HEALTH) << int(IDC_MAX_HEALTH) << HealthFirst
                                         << MaxHealthFirst << "450" << "450" << "450";
    QTest::newRow("health 399 under 400") << int(IDC_HEALTH) << int(IDC_MAX_HEALTH) << HealthFirst
                                          << MaxHealthFirst << "399" << "399" << "400";
}

void TestCharacterPanel::currentValueRaisesItsMaximum()
{
    QFETCH(int, currentId);
    QFETCH(int, maximumId);
    QFETCH(quint32, currentFirst);
    QFETCH(quint32, maximumFirst);
    QFETCH(QString, typed);
    QFETCH(QString, shownCurrent);
    QFETCH(QString, shownMaximum);

    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture()));
    const QByteArray before = p.Image();

    p.Type(currentId, typed);

    QCOMPARE(p.Text(currentId), shownCurrent);
    QCOMPARE(p.Text(maximumId), shownMaximum);
    QByteArray expected = WithValue(before, currentFirst, currentFirst + 1, shownCurrent.toUInt());
    expected = WithValue(expected, maximumFirst, maximumFirst + 1, shownMaximum.toUInt());
    QCOMPARE(Differences(expected, p.Image()), QString());
    QVERIFY(p.prompts.messages.isEmpty());
}

void TestCharacterPanel::maximumNeverLowersTheCurrentValue()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture()));
    const QByteArray before = p.Image();

    p.Type(IDC_MAX_HEALTH, QStringLiteral("5"));
    p.Type(IDC_MAX_STAMINA, QStringLiteral("5"));

    QCOMPARE(p.Text(IDC_MAX_HEALTH), QStringLiteral("5"));
    QCOMPARE(p.Text(IDC_HEALTH), QStringLiteral("300"));
    QCOMPARE(p.Text(IDC_STAMINA), QStringLiteral("650"));
    QByteArray expected = WithValue(before, MaxHealthFirst, MaxHealthLast, 5);
    expected = WithValue(expected, MaxStaminaFirst, MaxStaminaLast, 5);
    QCOMPARE(Differences(expected, p.Image()), QString());
}

void TestCharacterPanel::clearedGoldRevertsAndWrites()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture()));
    const QByteArray before = p.Image();

    p.ClearEdit(IDC_GOLD);

    QCOMPARE(p.prompts.Texts(), QStringList{kNotANumber});
    QCOMPARE(p.prompts.messages.first().caption, AfxGetAppTitle());
    QCOMPARE(p.prompts.messages.first().icon, MessageIcon::Exclamation);
    QCOMPARE(p.Text(IDC_GOLD), QStringLiteral("1234"));
    // The panel was written, with the values it had.
    QVERIFY(p.dlg.m_doc.IsModified());
    QCOMPARE(Differences(before, p.Image()), QString());
}

void TestCharacterPanel::revertRestoresTheFaultyBoxAndWritesTheRest()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture()));
    const QByteArray before = p.Image();

    // A stop handler leaves the faulty text standing and writes nothing.
    p.Type(IDC_MAX_HEALTH, QStringLiteral("x"));
    QCOMPARE(p.Text(IDC_MAX_HEALTH), QStringLiteral("x"));
    QVERIFY(!p.dlg.m_doc.IsModified());
    p.prompts.Reset();

    // Gold is read before maximum health: it keeps its new value, the faulty
    // box shows its last accepted value again, and the panel is written.
    p.Type(IDC_GOLD, QStringLiteral("7"));

    QCOMPARE(p.prompts.Texts(), QStringList{kNotANumber});
    QCOMPARE(p.Text(IDC_GOLD), QStringLiteral("7"));
    QCOMPARE(p.Text(IDC_MAX_HEALTH), QStringLiteral("400"));
    QCOMPARE(Differences(WithValue(before, GoldFirst, GoldLast, 7), p.Image()), QString());
}

void TestCharacterPanel::clearedMaximumStaysEmptyAndWritesNothing()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture()));
    const QByteArray before = p.Image();

    p.ClearEdit(IDC_MAX_HEALTH);

    QCOMPARE(p.prompts.Texts(), QStringList{kNotANumber});
    QCOMPARE(p.prompts.messages.first().caption, AfxGetAppTitle());
    QCOMPARE(p.Text(IDC_MAX_HEALTH), QString());
    QVERIFY(!p.dlg.m_doc.IsModified());

    // While the box is empty, every other write-back of a stop handler is
    // refused with the same message.
    p.Type(IDC_MANA, QStringLiteral("7"));
    QCOMPARE(p.prompts.Texts(), (QStringList{kNotANumber, kNotANumber}));
    QCOMPARE(p.Text(IDC_MAX_HEALTH), QString());
    QVERIFY(!p.dlg.m_doc.IsModified());
    QCOMPARE(Differences(before, p.Image()), QString());

    // A number in the box writes again, the mana typed meanwhile included.
    p.Type(IDC_MAX_HEALTH, QStringLiteral("450"));
    QCOMPARE(p.prompts.messages.size(), 2);
    QByteArray expected = WithValue(before, MaxHealthFirst, MaxHealthLast, 450);
    expected = WithValue(expected, ManaFirst, ManaLast, 7);
    QCOMPARE(Differences(expected, p.Image()), QString());
}

void TestCharacterPanel::choosingALevel_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<quint32>("experience");

    QTest::newRow("level 10") << 9 << 57715u;
    QTest::newRow("level 1") << 0 << 0u;
    QTest::newRow("level 2") << 1 << 500u;
    QTest::newRow("level 99") << 98 << 3520485254u;
}

void TestCharacterPanel::choosingALevel()
{
    QFETCH(int, index);
    QFETCH(quint32, experience);
    const quint32 level = quint32(index + 1);

    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().Level(3).Experience(2000)));
    const QByteArray before = p.Image();

    p.Choose(IDC_LEVEL_LIST, index);

    QCOMPARE(p.Text(IDC_LEVEL_LIST), QString::number(level));
    QCOMPARE(p.Text(IDC_LEVEL), QString::number(level));
    QCOMPARE(p.Text(IDC_EXPERIENCE), QString::number(experience));
    QByteArray expected = WithValue(before, ExperienceFirst, ExperienceLast, experience);
    expected = WithValue(expected, CharLevel, CharLevel, level);
    expected = WithValue(expected, StatLevel, StatLevel, level);
    QCOMPARE(Differences(expected, p.Image()), QString());
}

void TestCharacterPanel::levelFromExperience_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<quint32>("level");
    QTest::addColumn<quint32>("experience");

    QTest::newRow("600") << "600" << 2u << 500u;
    QTest::newRow("0") << "0" << 1u << 0u;
    QTest::newRow("4000000000") << "4000000000" << 99u << 3520485254u;
    QTest::newRow("end of the table") << "3837739017" << 99u << 3520485254u;
    QTest::newRow("start of level 10") << "57715" << 10u << 57715u;
    QTest::newRow("just below level 10") << "57714" << 9u << 44396u;
}

void TestCharacterPanel::levelFromExperience()
{
    QFETCH(QString, typed);
    QFETCH(quint32, level);
    QFETCH(quint32, experience);

    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().Level(5).Experience(8000)));
    const QByteArray before = p.Image();

    p.Type(IDC_EXPERIENCE, typed);
    p.Click(IDC_LEVEL_FROM_EXPERIENCE);

    QCOMPARE(p.Text(IDC_LEVEL_LIST), QString::number(level));
    QCOMPARE(p.Text(IDC_LEVEL), QString::number(level));
    QCOMPARE(p.Text(IDC_EXPERIENCE), QString::number(experience));
    QByteArray expected = WithValue(before, ExperienceFirst, ExperienceLast, experience);
    expected = WithValue(expected, CharLevel, CharLevel, level);
    expected = WithValue(expected, StatLevel, StatLevel, level);
    QCOMPARE(Differences(expected, p.Image()), QString());
    QVERIFY(p.prompts.messages.isEmpty());
}

void TestCharacterPanel::statLevelZeroShowsNoLevelAndStaysZero()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().StatLevel(0)));

    QCOMPARE(p.Combo(IDC_LEVEL_LIST)->currentIndex(), -1);
    QCOMPARE(p.dlg.m_nLevelIndex, -1);
    QCOMPARE(p.Text(IDC_LEVEL), QStringLiteral("10")); // the header's byte
    QCOMPARE(p.Value(StatLevel, StatLevel), 0u);

    p.Type(IDC_GOLD, QStringLiteral("1"));
    QVERIFY(p.dlg.m_doc.IsModified());
    QCOMPARE(p.Value(StatLevel, StatLevel), 0u);
    QCOMPARE(p.Value(CharLevel, CharLevel), 10u);
}

void TestCharacterPanel::statLevelAbove99ShowsAndWrites99()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().Level(120)));

    QCOMPARE(p.Text(IDC_LEVEL_LIST), QStringLiteral("99"));
    QCOMPARE(p.Text(IDC_LEVEL), QStringLiteral("99"));
    // The loading sequence's commit was the next write-back.
    QCOMPARE(p.Value(CharLevel, CharLevel), 99u);
    QCOMPARE(p.Value(StatLevel, StatLevel), 99u);

    p.Type(IDC_GOLD, QStringLiteral("1"));
    QCOMPARE(p.Value(CharLevel, CharLevel), 99u);
    QCOMPARE(p.Value(StatLevel, StatLevel), 99u);
}

void TestCharacterPanel::withNoFileNothingChanges()
{
    PanelHarness p;
    QCOMPARE(p.dlg.SyncWithDocument(false), false);
    QCOMPARE(p.dlg.SyncWithDocument(true), false);
    QCOMPARE(p.dlg.m_cbSkill.GetCount(), 0);
    QCOMPARE(p.dlg.m_cbQuest.GetCount(), 0);
    QCOMPARE(p.dlg.m_cbWaypoint.GetCount(), 0);
    QCOMPARE(p.Combo(IDC_LEVEL_LIST)->currentIndex(), -1);
    const QList<qint64> members = Members(p.dlg);

    for (const int id : kPanelEdits) {
        p.Type(id, QStringLiteral("9000"));
        p.ClearEdit(id);
        p.Type(id, QStringLiteral("x"));
    }
    p.Choose(IDC_LEVEL_LIST, 9);
    p.Type(IDC_EXPERIENCE, QStringLiteral("600"));
    p.Click(IDC_LEVEL_FROM_EXPERIENCE);
    p.Choose(IDC_CLASS, 3);
    p.Command(ID_EDIT_MAXIMIZE_SKILLS);
    p.Command(ID_EDIT_MAXIMIZE_ATTRIBUTES);

    QCOMPARE(Members(p.dlg), members);
    QCOMPARE(p.dlg.m_strName, QString());
    QVERIFY(p.dlg.m_doc.IsEmpty());
    QVERIFY(!p.dlg.m_doc.IsModified());
    QCOMPARE(p.dlg.m_cbSkill.GetCount(), 0);
    QCOMPARE(p.Text(IDC_LEVEL), QStringLiteral("0"));
    QVERIFY(p.prompts.messages.isEmpty());
}

void TestCharacterPanel::closingResetsThePanel()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture()));
    QCOMPARE(p.dlg.m_cbSkill.GetCount(), 30);

    p.dlg.m_doc.Clear();
    QCOMPARE(p.dlg.SyncWithDocument(false), false);

    QCOMPARE(p.Text(IDC_NAME), QString());
    for (const int id : kPanelEdits)
        QCOMPARE(p.Text(id), QStringLiteral("0"));
    QCOMPARE(p.Text(IDC_LEVEL), QStringLiteral("0"));
    QCOMPARE(p.Combo(IDC_LEVEL_LIST)->currentIndex(), -1);
    QCOMPARE(p.Combo(IDC_CLASS)->currentIndex(), -1);
    QCOMPARE(p.Combo(IDC_CLASS)->count(), ClassCount);
    QCOMPARE(p.dlg.m_cbSkill.GetCount(), 0);
    QCOMPARE(p.dlg.m_nClass, -1);
    QCOMPARE(p.dlg.m_nSkill, -1);
    QCOMPARE(p.dlg.m_nLevelIndex, -1);
}

QTEST_MAIN(TestCharacterPanel)
#include "tst_characterpanel.moc"
