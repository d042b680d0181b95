#include "support/WindowHarness.h"

#include "document/Character.h"

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
        QTest::newRow("experience takes any 32-bit value") << int(IDC_EXPERIENCE) << "4294967295" << "4294967295" << none
            << int(FieldId::Experience) << 4294967295u << gold << 1234u;
        QTest::newRow("gold that does not parse reverts, file unchanged") << int(IDC_GOLD) << "12a" << "1234" << positive
            << gold << 1234u << gold << 1234u;
        QTest::newRow("maximum that does not parse stays, nothing written") << int(IDC_MAX_HEALTH) << "-4" << "-4"
            << positive << maxHealth << 400u << health << 300u;
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
        QCOMPARE(CharacterView(reread).Number(FieldId(field)), value);
        QCOMPARE(CharacterView(reread).Number(FieldId(other)), otherValue);
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
};

QTEST_MAIN(TestCharacterPanel)
#include "tst_characterpanel.moc"
