// The class and skills row and the two Maximize commands on the real
// dialog: a class change renames the same 30 bytes, skill levels go to their
// byte with the limit of 20, and the Maximize commands.

#include "PanelHarness.h"

#include "GameData.h"
#include "Layout.h"
#include "MainDialogIds.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace Layout;

namespace {

const QString kNotANumber = QStringLiteral("Please enter a positive integer.");

QStringList Items(const QComboBox *combo)
{
    QStringList items;
    for (int k = 0; k < combo->count(); ++k)
        items.append(combo->itemText(k));
    return items;
}

QStringList SkillNamesOf(int charClass)
{
    QStringList names;
    for (int i = 0; i < SkillCount; ++i)
        names.append(QString::fromLatin1(SkillNames[charClass * SkillCount + i]));
    return names;
}

} // namespace

class TestClassSkills : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadListsTheClassSkills();
    void classChangeRenamesTheSameBytes_data();
    void classChangeRenamesTheSameBytes();
    void classChangeWithAFaultyBoxWritesNothing();
    void classByteOutsideTheList_data();
    void classByteOutsideTheList();

    void choosingASkillShowsItsByte();
    void skillLevelEntry_data();
    void skillLevelEntry();
    void clearedSkillLevelWritesNothing();

    void maximizeSkills_data();
    void maximizeSkills();
    void maximizeAttributesThenCommit_data();
    void maximizeAttributesThenCommit();
    void maximizeAttributesAloneWritesNothing();
    void maximizeCommandsWithoutAFile();
};

void TestClassSkills::loadListsTheClassSkills()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().Class(1).Skill(0, 5)));

    QCOMPARE(p.Text(IDC_CLASS), QStringLiteral("Sorceress"));
    QCOMPARE(Items(p.Combo(IDC_SKILL)), SkillNamesOf(1));
    QCOMPARE(p.Text(IDC_SKILL), QStringLiteral("Fire Bolt"));
    QCOMPARE(p.Text(IDC_SKILL_LEVEL), QStringLiteral("5"));
}

void TestClassSkills::classChangeRenamesTheSameBytes_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");

    // The class walk from Sorceress to Amazon.
    QTest::newRow("Sorceress to Amazon") << 1 << 0 << "Magic Arrow" << "Lightning Fury";
    QTest::newRow("Amazon to Necromancer") << 0 << 2 << "Amplify Damage" << "Revive";
    QTest::newRow("Sorceress to Paladin") << 1 << 3 << "Sacrifice" << "Salvation";
    QTest::newRow("Paladin to Barbarian") << 3 << 4 << "Bash" << "Battle Command";
    QTest::newRow("Barbarian to Sorceress") << 4 << 1 << "Fire Bolt" << "Cold Mastery";
    QTest::newRow("the same class again") << 2 << 2 << "Amplify Damage" << "Revive";
}

void TestClassSkills::classChangeRenamesTheSameBytes()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, first);
    QFETCH(QString, last);

    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().Class(quint8(from)).Skill(0, 5)));
    p.Choose(IDC_SKILL, 7); // a later skill selected before the change
    const QByteArray before = p.Image();

    p.Choose(IDC_CLASS, to);

    QCOMPARE(p.Text(IDC_CLASS), QString::fromLatin1(g_strClassNames[to]));
    const QStringList items = Items(p.Combo(IDC_SKILL));
    QCOMPARE(items, SkillNamesOf(to));
    QCOMPARE(items.first(), first);
    QCOMPARE(items.last(), last);
    QCOMPARE(p.Text(IDC_SKILL), first);
    QCOMPARE(p.Text(IDC_SKILL_LEVEL), QStringLiteral("5"));
    // Only the class byte: 631..660 are untouched.
    QCOMPARE(Differences(WithValue(before, CharClass, CharClass, quint32(to)), p.Image()), QString());
    QVERIFY(p.dlg.m_doc.IsModified());
}

void TestClassSkills::classChangeWithAFaultyBoxWritesNothing()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().Class(1)));
    p.ClearEdit(IDC_MAX_HEALTH);
    const QByteArray before = p.Image();
    p.prompts.Reset();

    p.Choose(IDC_CLASS, 0);

    // The commit failed before it read the class: nothing is written and the
    // list is refilled from the class the panel still holds.
    QCOMPARE(p.prompts.Texts(), QStringList{kNotANumber});
    QVERIFY(!p.dlg.m_doc.IsModified());
    QCOMPARE(Differences(before, p.Image()), QString());
    QCOMPARE(p.Text(IDC_CLASS), QStringLiteral("Sorceress"));
    QCOMPARE(Items(p.Combo(IDC_SKILL)), SkillNamesOf(1));
    QCOMPARE(p.Text(IDC_SKILL), QStringLiteral("Fire Bolt"));
}

void TestClassSkills::classByteOutsideTheList_data()
{
    QTest::addColumn<quint8>("classByte");
    QTest::newRow("5") << quint8(5);
    QTest::newRow("7") << quint8(7);
    QTest::newRow("255") << quint8(255);
}

void TestClassSkills::classByteOutsideTheList()
{
    QFETCH(quint8, classByte);

    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().Class(classByte)));

    // No class, no skill names, no skill level.
    QCOMPARE(p.Combo(IDC_CLASS)->currentIndex(), -1);
    QCOMPARE(p.dlg.m_nClass, -1);
    QCOMPARE(p.Combo(IDC_SKILL)->count(), 0);
    QCOMPARE(p.dlg.m_nSkill, -1);
    QCOMPARE(p.Text(IDC_SKILL_LEVEL), QStringLiteral("0"));
    QCOMPARE(p.Value(CharClass, CharClass), quint32(classByte));

    // A skill level without a skill goes nowhere.
    const QByteArray before = p.Image();
    p.Type(IDC_SKILL_LEVEL, QStringLiteral("7"));
    QVERIFY(!p.dlg.m_doc.IsModified());
    QCOMPARE(Differences(before, p.Image()), QString());

    // The write-back keeps the byte as it was.
    p.Type(IDC_GOLD, QStringLiteral("9"));
    QCOMPARE(Differences(WithValue(before, GoldFirst, GoldLast, 9), p.Image()), QString());

    // Until the user picks a class.
    p.Choose(IDC_CLASS, 3);
    QCOMPARE(p.Value(CharClass, CharClass), 3u);
    QCOMPARE(Items(p.Combo(IDC_SKILL)), SkillNamesOf(3));
    QCOMPARE(p.Text(IDC_SKILL), QStringLiteral("Sacrifice"));
    QCOMPARE(p.Text(IDC_SKILL_LEVEL), QStringLiteral("1"));
    QVERIFY(p.prompts.messages.isEmpty());
}

void TestClassSkills::choosingASkillShowsItsByte()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().Class(3).Skill(5, 13).Skill(29, 17)));
    const QByteArray before = p.Image();

    p.Choose(IDC_SKILL, 5);
    QCOMPARE(p.Text(IDC_SKILL), QStringLiteral("Holy Bolt"));
    QCOMPARE(p.Text(IDC_SKILL_LEVEL), QStringLiteral("13"));

    p.Choose(IDC_SKILL, 29);
    QCOMPARE(p.Text(IDC_SKILL), QStringLiteral("Salvation"));
    QCOMPARE(p.Text(IDC_SKILL_LEVEL), QStringLiteral("17"));

    QVERIFY(!p.dlg.m_doc.IsModified());
    QCOMPARE(Differences(before, p.Image()), QString());
}

void TestClassSkills::skillLevelEntry_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    // Paladin's "Holy Bolt" is position 5, offset 636.
    QTest::newRow("7") << 5 << "7" << "7";
    QTest::newRow("99 shows and writes 20") << 5 << "99" << "20";
    QTest::newRow("0") << 5 << "0" << "0";
    QTest::newRow("20") << 5 << "20" << "20";
    QTest::newRow("beyond 32 bits") << 5 << "99999999999" << "20";
    QTest::newRow("position 29 (offset 660)") << 29 << "12" << "12";
}

void TestClassSkills::skillLevelEntry()
{
    QFETCH(int, position);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().Class(3)));
    p.Choose(IDC_SKILL, position);
    const QByteArray before = p.Image();

    p.Type(IDC_SKILL_LEVEL, typed);

    QCOMPARE(p.Text(IDC_SKILL_LEVEL), shown);
    const quint32 offset = SkillLevelFirst + quint32(position);
    QCOMPARE(Differences(WithValue(before, offset, offset, shown.toUInt()), p.Image()), QString());
    QVERIFY(p.prompts.messages.isEmpty());
}

void TestClassSkills::clearedSkillLevelWritesNothing()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture()));
    const QByteArray before = p.Image();

    p.ClearEdit(IDC_SKILL_LEVEL);

    QCOMPARE(p.prompts.Texts(), QStringList{kNotANumber});
    QCOMPARE(p.Text(IDC_SKILL_LEVEL), QString());
    QVERIFY(!p.dlg.m_doc.IsModified());
    QCOMPARE(Differences(before, p.Image()), QString());
}

void TestClassSkills::maximizeSkills_data()
{
    QTest::addColumn<quint8>("classByte");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");

    QTest::newRow("Sorceress, first skill") << quint8(1) << 0 << "20";
    QTest::newRow("Barbarian, skill 12") << quint8(4) << 12 << "20";
    // Whatever the class: a class byte outside the list has no skill shown.
    QTest::newRow("class byte 9") << quint8(9) << -1 << "0";
}

void TestClassSkills::maximizeSkills()
{
    QFETCH(quint8, classByte);
    QFETCH(int, position);
    QFETCH(QString, shown);

    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().Class(classByte).Byte(630, 0x11).Byte(661, 0x22)));
    if (position >= 0)
        p.Choose(IDC_SKILL, position);
    QByteArray expected = p.Image();
    for (quint32 offset = SkillLevelFirst; offset <= SkillLevelLast; ++offset)
        expected[offset] = char(0x14);

    p.Command(ID_EDIT_MAXIMIZE_SKILLS);

    // 631..660 hold 20; 630 and 661 are untouched.
    QCOMPARE(Differences(expected, p.Image()), QString());
    QCOMPARE(p.Value(630, 630), 0x11u);
    QCOMPARE(p.Value(661, 661), 0x22u);
    QCOMPARE(p.Text(IDC_SKILL_LEVEL), shown);
    QVERIFY(p.prompts.messages.isEmpty());
}

void TestClassSkills::maximizeAttributesThenCommit_data()
{
    QTest::addColumn<QString>("commit");
    QTest::newRow("class chosen again") << "class";
    QTest::newRow("skill level typed") << "skill level";
    QTest::newRow("commit of the panel") << "sync";
}

void TestClassSkills::maximizeAttributesThenCommit()
{
    QFETCH(QString, commit);

    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture().Class(2)));
    const QByteArray before = p.Image();

    p.Command(ID_EDIT_MAXIMIZE_ATTRIBUTES);
    QByteArray expected = before;
    if (commit == QLatin1String("class")) {
        p.Choose(IDC_CLASS, 2);
    } else if (commit == QLatin1String("skill level")) {
        p.Type(IDC_SKILL_LEVEL, QStringLiteral("3"));
        expected = WithValue(expected, SkillLevelFirst, SkillLevelFirst, 3);
    } else {
        // What Save does before it writes the file.
        QVERIFY(p.dlg.SyncWithDocument(true));
    }

    for (const auto &[first, last] : {std::pair{StrengthFirst, StrengthLast},
                                      std::pair{DexterityFirst, DexterityLast},
                                      std::pair{VitalityFirst, VitalityLast},
                                      std::pair{EnergyFirst, EnergyLast}})
        expected = WithValue(expected, first, last, 10000);
    for (const auto &[first, last] : {std::pair{MaxStaminaFirst, MaxStaminaLast},
                                      std::pair{StaminaFirst, StaminaLast},
                                      std::pair{MaxHealthFirst, MaxHealthLast},
                                      std::pair{HealthFirst, HealthLast},
                                      std::pair{MaxManaFirst, MaxManaLast},
                                      std::pair{ManaFirst, ManaLast}})
        expected = WithValue(expected, first, last, 8000);
    QCOMPARE(Differences(expected, p.Image()), QString());
    QVERIFY(p.prompts.messages.isEmpty());
}

void TestClassSkills::maximizeAttributesAloneWritesNothing()
{
    PanelHarness p;
    QVERIFY(p.Load(CharacterFixture()));
    const QByteArray before = p.Image();

    p.Command(ID_EDIT_MAXIMIZE_ATTRIBUTES);

    for (const int id : {IDC_STRENGTH, IDC_DEXTERITY, IDC_VITALITY, IDC_ENERGY})
        QCOMPARE(p.Text(id), QStringLiteral("10000"));
    for (const int id : {IDC_MAX_STAMINA, IDC_STAMINA, IDC_MAX_HEALTH, IDC_HEALTH, IDC_MAX_MANA,
                         IDC_MANA})
        QCOMPARE(p.Text(id), QStringLiteral("8000"));
    QVERIFY(!p.dlg.m_doc.IsModified());
    QCOMPARE(Differences(before, p.Image()), QString());
}

void TestClassSkills::maximizeCommandsWithoutAFile()
{
    PanelHarness p;
    p.Command(ID_EDIT_MAXIMIZE_SKILLS);
    p.Command(ID_EDIT_MAXIMIZE_ATTRIBUTES);

    QVERIFY(p.dlg.m_doc.IsEmpty());
    QVERIFY(!p.dlg.m_doc.IsModified());
    QCOMPARE(p.dlg.m_nStrength, 0u);
    QCOMPARE(p.dlg.m_nMana, 0u);
    QCOMPARE(p.Text(IDC_STRENGTH), QStringLiteral("0"));
    QCOMPARE(p.Text(IDC_SKILL_LEVEL), QStringLiteral("0"));
    QVERIFY(p.prompts.messages.isEmpty());
}

QTEST_MAIN(TestClassSkills)
#include "tst_classskills.moc"
