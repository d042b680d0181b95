#include "support/WindowHarness.h"

#include "document/PanelFields.h"

#include <QtTest>


Q_DECLARE_METATYPE(CharacterFixture)

class TestCharacterPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void enteringANumber_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("field");
        QTest::addColumn<quint32>("value");
        QTest::addColumn<int>("other");
        QTest::addColumn<quint32>("otherValue");

        const QString none;
        const QString positive = QStringLiteral("Please enter a positive integer.");
        const int gold = int(FieldId::Gold), health = int(FieldId::Health), maxHealth = int(FieldId::MaxHealth);
        QTest::newRow("gold above the limit is held to it") << int(IDC_GOLD) << "3000000000" << "2147483647" << none << gold
            << 2147483647u << gold << 2147483647u;
        QTest::newRow("experience takes any 32-bit value") << int(IDC_EXPERIENCE) << "4294967295" << "4294967295" << none
            << int(FieldId::Experience) << 4294967295u << gold << 1234u;
        QTest::newRow("gold that does not parse reverts, file unchanged") << int(IDC_GOLD) << "12a" << "1234" << positive
            << gold << 1234u << gold << 1234u;
        QTest::newRow("maximum that does not parse stays, nothing written") << int(IDC_MAX_HEALTH) << "-4" << "-4"
            << positive << maxHealth << 400u << health << 300u;
        QTest::newRow("health above its maximum raises it") << int(IDC_HEALTH) << "450" << "450" << none << health << 450u
            << maxHealth << 450u;
        QTest::newRow("health above the pool limit") << int(IDC_HEALTH) << "9000" << "8191" << none << health << 8191u
            << maxHealth << 8191u;
        QTest::newRow("a lower maximum leaves the current value") << int(IDC_MAX_HEALTH) << "100" << "100" << none
            << maxHealth << 100u << health << 300u;
        QTest::newRow("stamina, whose maximum lies first") << int(IDC_STAMINA) << "800" << "800" << none
            << int(FieldId::Stamina) << 800u << int(FieldId::MaxStamina) << 800u;
        QTest::newRow("skill points above the limit") << int(IDC_SKILL_POINTS_TO_ADD) << "2147483648" << "2147483647"
            << none << int(FieldId::SkillPointsToAdd) << 2147483647u << gold << 1234u;
    }
    void enteringANumber()
    {
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        QFETCH(int, field);
        QFETCH(quint32, value);
        QFETCH(int, other);
        QFETCH(quint32, otherValue);

        WindowHarness window;
        window.Open(CharacterFixture());
        window.Enter(box, text);
        QCOMPARE(window.Text(box), shown);
        QCOMPARE(window.prompts.Texts(), message.isEmpty() ? QStringList() : QStringList{message});
        const QByteArray saved = window.Saved();
        CDiablo2Doc reread;
        QVERIFY(reread.OpenFile(window.path));
        QCOMPARE(ReadField(reread, FieldId(field)), value);
        QCOMPARE(ReadField(reread, FieldId(other)), otherValue);
        QCOMPARE(saved.size(), int(CharacterFixture::DefaultLength));
    }

    // Hovering a control tells what it holds and takes; a screen reader reads the same.
    void explainedControls_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("gold") << int(IDC_GOLD)
            << "Gold carried: a whole number from 0 to 2147483647. A larger number is taken as 2147483647.";
        QTest::newRow("experience") << int(IDC_EXPERIENCE) << "Experience points: a whole number from 0 to 4294967295.";
        QTest::newRow("health") << int(IDC_HEALTH) << "Current life: a whole number from 0 to 8191. A larger number is "
                                                      "taken as 8191. Above the maximum beside it, it raises that maximum too.";
        QTest::newRow("level list") << int(IDC_LEVEL_LIST) << "The character's level, 1 to 99. Choosing one also "
                                                              "sets the experience to where that level begins.";
        QTest::newRow("WP Activ.") << int(IDC_WAYPOINT_ACTIVE) << "WP Activ.: whether the chosen waypoint is active. "
                                                                 "Activating one opens its act and that act's difficulty too.";
    }
    void explainedControls()
    {
        QFETCH(int, control);
        QFETCH(QString, text);
        WindowHarness window;
        QWidget *item = window.dlg.GetDlgItem(control);
        QCOMPARE(item->toolTip() + '|' + item->accessibleDescription(), text + '|' + text);
    }

    void openShowsTheFile_data()
    {
        QTest::addColumn<CharacterFixture>("fixture");
        QTest::addColumn<QString>("shown"); // level, level list, class, how many skills, gold
        QTest::newRow("ordinary") << CharacterFixture().Level(10) << "10|10|Sorceress|30|1234";
        QTest::newRow("stat level 0 selects no level") << CharacterFixture().Level(0) << "0||Sorceress|30|1234";
        QTest::newRow("above 99 both show 99") << CharacterFixture().Level(120) << "99|99|Sorceress|30|1234";
        QTest::newRow("class byte of no class") << CharacterFixture().Class(7) << "10|10||0|1234";
        QTest::newRow("gold left out of the file reads 0") << CharacterFixture().WithoutGold() << "10|10|Sorceress|30|0";
    }
    void openShowsTheFile()
    {
        QFETCH(CharacterFixture, fixture);
        QFETCH(QString, shown);
        WindowHarness window;
        window.Open(fixture.Name("Conan"));
        QCOMPARE(QStringList({window.Text(IDC_LEVEL), window.Text(IDC_LEVEL_LIST), window.Text(IDC_CLASS),
                              QString::number(window.Count(IDC_SKILL)), window.Text(IDC_GOLD)}).join('|'), shown);
        QCOMPARE(window.Text(IDC_NAME) + ' ' + window.Text(IDC_HEALTH) + ' ' + window.Text(IDC_MAX_STAMINA), "Conan 300 700");
        QCOMPARE(window.prompts.Texts(), QStringList());
    }

    void levelListAndButton()
    {
        WindowHarness window;
        window.Open(CharacterFixture());
        window.Choose(IDC_LEVEL_LIST, 19);
        QCOMPARE(window.Text(IDC_EXPERIENCE) + ' ' + window.Text(IDC_LEVEL), QStringLiteral("537513 20"));
        QCOMPARE(QStringLiteral("%1 %2").arg(window.Value(36, 36)).arg(window.Value(613, 613)), "20 20");

        // ">>" puts the level the experience has reached into both boxes.
        window.Enter(IDC_EXPERIENCE, QStringLiteral("21376516"));
        window.Click(IDC_LEVEL_FROM_EXPERIENCE);
        QCOMPARE(window.Text(IDC_LEVEL_LIST) + ' ' + window.Text(IDC_EXPERIENCE), QStringLiteral("42 21376515"));
        QCOMPARE(window.Value(613, 613), 42u);
    }

    void classAndSkills()
    {
        WindowHarness window;
        const QByteArray before = CharacterFixture().Build();
        window.Open(CharacterFixture());
        QCOMPARE(window.Text(IDC_SKILL_LEVEL), QStringLiteral("1")); // skill 0 of the fixture
        window.Choose(IDC_CLASS, 4);
        QCOMPARE(window.Text(IDC_SKILL), QStringLiteral("Bash"));
        QCOMPARE(window.Value(34, 34), 4u);
        // The class only renames the thirty skill bytes.
        QCOMPARE(window.Doc().ImageCopy().mid(631, 30), before.mid(631, 30));

        window.Choose(IDC_SKILL, 3);
        QCOMPARE(window.Text(IDC_SKILL_LEVEL), QStringLiteral("4"));
        window.Enter(IDC_SKILL_LEVEL, QStringLiteral("25"));
        QCOMPARE(window.Text(IDC_SKILL_LEVEL), QStringLiteral("20"));
        QCOMPARE(window.Value(634, 634), 20u);
    }

};

QTEST_MAIN(TestCharacterPanel)
#include "tst_characterpanel.moc"
