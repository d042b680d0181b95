#include "QuestPanelHarness.h"

#include "MainDialogIds.h"
#include "support/CharacterFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>

QuestPanelHarness::QuestPanelHarness(const QByteArray &fileBytes)
{
    dlg.Create();
    if (fileBytes.isEmpty())
        return;
    const QString path = dir.filePath(QStringLiteral("Hero.d2s"));
    if (!CharacterFixture::WriteFile(path, fileBytes))
        qFatal("cannot write %s", qPrintable(path));
    dlg.m_doc.OpenFile(path);
    dlg.m_nDifficulty = 0;
    dlg.OnSelchangeDifficulty();
}

QComboBox *QuestPanelHarness::Combo(int id) const
{
    return dlg.DlgItem<QComboBox>(id);
}

QCheckBox *QuestPanelHarness::Box(int id) const
{
    return dlg.DlgItem<QCheckBox>(id);
}

bool QuestPanelHarness::Choose(int comboId, const QString &text)
{
    QComboBox *combo = Combo(comboId);
    const int index = combo->findText(text, Qt::MatchExactly);
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
    return true;
}

void QuestPanelHarness::Click(int boxId)
{
    Box(boxId)->click();
}

bool QuestPanelHarness::Trigger(int command)
{
    QAction *action = dlg.MenuAction(command);
    if (!action)
        return false;
    action->trigger();
    return true;
}

QString QuestPanelHarness::Shown(int comboId) const
{
    return Combo(comboId)->currentText();
}

QStringList QuestPanelHarness::Items(int comboId) const
{
    QStringList items;
    const QComboBox *combo = Combo(comboId);
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

bool QuestPanelHarness::Checked(int boxId) const
{
    return Box(boxId)->isChecked();
}

QByteArray QuestPanelHarness::Image() const
{
    return DocumentImage(dlg.m_doc);
}

QByteArray Changed(QByteArray image, const ByteChanges &changes)
{
    for (const ByteChange &change : changes)
        image[qsizetype(change.offset)] = char(change.value);
    return image;
}

QString ImageDiff(const QByteArray &expected, const QByteArray &actual)
{
    if (expected.size() != actual.size())
        return QStringLiteral("size %1 expected, got %2").arg(expected.size()).arg(actual.size());
    QStringList lines;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (expected[i] != actual[i]) {
            lines.append(QStringLiteral("offset %1: expected %2, got %3")
                             .arg(i)
                             .arg(quint8(expected[i]), 2, 16, QLatin1Char('0'))
                             .arg(quint8(actual[i]), 2, 16, QLatin1Char('0')));
        }
    }
    return lines.join(QStringLiteral("; "));
}

WriteOrderRecorder::WriteOrderRecorder(QuestPanelHarness &harness, QList<quint32> offsets)
    : m_harness(harness), m_offsets(std::move(offsets))
{
    Take();
    for (int id : {IDC_DIFFICULTY, IDC_ACT, IDC_QUEST, IDC_QUEST_STATE, IDC_WAYPOINT}) {
        QObject::connect(harness.Combo(id), &QComboBox::currentIndexChanged, m_context.get(),
                         [this] { Take(); });
    }
    for (int id : {IDC_WAYPOINT_ACTIVE, IDC_ACT_ACTIVE, IDC_DIFFICULTY_ACTIVE}) {
        QObject::connect(harness.Box(id), &QCheckBox::toggled, m_context.get(), [this] { Take(); });
    }
}

void WriteOrderRecorder::Finish()
{
    m_context.reset();
    Take();
}

QString WriteOrderRecorder::StateOf(const QByteArray &image) const
{
    QStringList parts;
    for (quint32 offset : m_offsets) {
        parts.append(QStringLiteral("%1=%2").arg(offset).arg(
            quint8(image[qsizetype(offset)]), 2, 16, QLatin1Char('0')));
    }
    return parts.join(QLatin1Char(' '));
}

QString WriteOrderRecorder::Mismatch(const QList<QByteArray> &images) const
{
    QStringList expected;
    for (const QByteArray &image : images)
        expected.append(StateOf(image));
    if (expected == m_states)
        return QString();
    return QStringLiteral("expected states:\n  %1\nrecorded states:\n  %2")
        .arg(expected.join(QStringLiteral("\n  ")), m_states.join(QStringLiteral("\n  ")));
}

void WriteOrderRecorder::Take()
{
    const QString state = StateOf(m_harness.Image());
    if (m_states.isEmpty() || m_states.last() != state)
        m_states.append(state);
}

const QuestEntry kQuests[21] = {
    {0, 0, "Den of Evil", 142},
    {0, 1, "Sister's Burial Grounds", 144},
    {0, 2, "The search for Cain", 148},
    {0, 3, "The Forgotten Tower", 150},
    {0, 4, "Tools of the trade", 146},
    {0, 5, "Sister to the Slaughter", 152},
    {1, 0, "Radament's Lair", 158},
    {1, 1, "The Horadric Staff", 160},
    {1, 2, "Tainted Sun", 162},
    {1, 3, "Arcane Sanctuary", 164},
    {1, 4, "The Summoner", 166},
    {1, 5, "The Seven Tombs", 168},
    {2, 0, "Lam Esen's Tomb", 174},
    {2, 1, "Blade of the Old Religion", 176},
    {2, 2, "Khalim's Will", 178},
    {2, 3, "The Golden Bird", 180},
    {2, 4, "The Blackened Temple", 182},
    {2, 5, "The Guardian", 184},
    {3, 0, "The Fallen Angel", 190},
    {3, 1, "Hell's Forge", 194},
    {3, 2, "Terror's End", 192},
};

const WaypointEntry kWaypoints[30] = {
    {0, 0, "Rogue Encampment", 0},
    {0, 1, "Cold Plains", 1},
    {0, 2, "Stony Field", 2},
    {0, 3, "Dark Wood", 3},
    {0, 4, "Black Marsh", 4},
    {0, 5, "Outer Cloister", 5},
    {0, 6, "Jail", 6},
    {0, 7, "Inner Cloister", 7},
    {0, 8, "Catacombs", 8},
    {1, 0, "Lut Gholein", 9},
    {1, 1, "Sewers", 10},
    {1, 2, "Dry Hills", 11},
    {1, 3, "Halls of the Dead", 12},
    {1, 4, "Far Oasis", 13},
    {1, 5, "Lost City", 14},
    {1, 6, "Pallace Cellar", 15},
    {1, 7, "Arcane Sanctuary", 16},
    {1, 8, "Canyon of the Magi", 17},
    {2, 0, "Kurast Docks", 18},
    {2, 1, "Spider Forest", 19},
    {2, 2, "Great Marsh", 20},
    {2, 3, "Flayer Jungle", 21},
    {2, 4, "Lower Kurast", 22},
    {2, 5, "Kurast Bazaar", 23},
    {2, 6, "Upper Kurast", 24},
    {2, 7, "Travincal", 25},
    {2, 8, "Durance of Hate", 26},
    {3, 0, "Pandemonium Fortress", 27},
    {3, 1, "City of the Damned", 28},
    {3, 2, "River of Flame", 29},
};
