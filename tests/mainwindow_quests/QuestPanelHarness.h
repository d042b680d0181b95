#pragma once

#include "BrennicorDlg.h"
#include "support/ScriptedPrompts.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QCheckBox;
class QComboBox;

// The main window with a character file loaded the way Open leaves it: the
// group refreshed on Normal. Messages are recorded, never shown.
class QuestPanelHarness
{
public:
    // Writes fileBytes to a temporary .d2s file and opens it; with an empty
    // array the window stays without a file.
    explicit QuestPanelHarness(const QByteArray &fileBytes);

    [[nodiscard]] QComboBox *Combo(int id) const;
    [[nodiscard]] QCheckBox *Box(int id) const;

    // Picks the item with this text from a list as a user does; false when the
    // list has no such item.
    [[nodiscard]] bool Choose(int comboId, const QString &text);
    // Clicks a check box as a user does (it toggles itself first).
    void Click(int boxId);
    // Runs an Edit menu command through its menu item; false when the menu has
    // no such item.
    [[nodiscard]] bool Trigger(int command);

    [[nodiscard]] QString Shown(int comboId) const;
    [[nodiscard]] QStringList Items(int comboId) const;
    [[nodiscard]] bool Checked(int boxId) const;
    [[nodiscard]] QByteArray Image() const;

    ScriptedPrompts prompts;
    QTemporaryDir dir;
    CBrennicorDlg dlg;
};

struct ByteChange
{
    quint32 offset;
    quint8 value;
};
using ByteChanges = QList<ByteChange>;
Q_DECLARE_METATYPE(ByteChanges)

// image with the changes applied.
[[nodiscard]] QByteArray Changed(QByteArray image, const ByteChanges &changes);
// The offsets at which two images differ, readably; empty when they are equal.
[[nodiscard]] QString ImageDiff(const QByteArray &expected, const QByteArray &actual);

// Records the states a set of bytes passes through while a command runs. A
// state is taken whenever a control of the group changes (the program's own
// refreshes between writes), and once more by Finish(); repeats of the state
// just recorded are dropped.
class WriteOrderRecorder
{
public:
    WriteOrderRecorder(QuestPanelHarness &harness, QList<quint32> offsets);
    void Finish();
    // The recorded form of the tracked bytes of an image.
    [[nodiscard]] QString StateOf(const QByteArray &image) const;
    // Empty when the recorded states are the states of these images, in this
    // order; otherwise both sequences, readably.
    [[nodiscard]] QString Mismatch(const QList<QByteArray> &images) const;

private:
    void Take();

    QuestPanelHarness &m_harness;
    QList<quint32> m_offsets;
    QStringList m_states;
    // Owns the connections: they end with it.
    std::unique_ptr<QObject> m_context = std::make_unique<QObject>();
};

// The quests as players know them, in list order, with the offset of their
// status word in the Normal copy; Nightmare's lies 96 bytes later, Hell's 192.
struct QuestEntry
{
    int act;
    int position;
    const char *name;
    quint32 normalOffset;
};
extern const QuestEntry kQuests[21];

// The waypoints in list order with their bit in the difficulty's 4-byte set.
struct WaypointEntry
{
    int act;
    int position;
    const char *name;
    int bit;
};
extern const WaypointEntry kWaypoints[30];

inline const char *const kDifficulties[3] = {"Normal", "Nightmare", "Hell"};
inline const char *const kActs[4] = {"Act1", "Act2", "Act3", "Act4"};
inline constexpr quint32 kWaypointSets[3] = {438, 462, 486};
inline constexpr quint32 kActBytes[9] = {154, 170, 186, 250, 266, 282, 346, 362, 378};
