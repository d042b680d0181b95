#include "Character.h"

#include "document/layout/CharacterLayout.h"
#include "Diablo2Doc.h"
#include "FieldRules.h"
#include "GameData.h"

#include <cstring>

namespace {

quint8 ByteAt(const CDiablo2Doc &doc, quint32 offset)
{
    return quint8(doc.GetUInt(offset, offset));
}

quint32 ValueIn(const CDiablo2Doc &doc, ValueRange range)
{
    return doc.GetUInt(range.first, range.last);
}

} // namespace

CharacterView::CharacterView(const CDiablo2Doc &doc)
    : m_view(doc), m_layout(LayoutOf(doc))
{
}

quint32 CharacterView::FileVersion() const
{
    return ValueIn(m_view, m_layout.fileVersion);
}

QString CharacterView::Name() const
{
    const ValueRange field = m_layout.name;
    QByteArray buffer(qsizetype(field.last - field.first + 2), '\0');
    m_view.GetBytes(field.first, field.last, reinterpret_cast<quint8 *>(buffer.data()));
    return QString::fromLatin1(buffer.constData());
}

quint32 CharacterView::ClassByte() const
{
    return ValueIn(m_view, m_layout.charClass);
}

bool CharacterView::HasClass() const
{
    return ClassByte() < quint32(kClassCount);
}

quint32 CharacterView::HeaderLevel() const
{
    return ValueIn(m_view, m_layout.headerLevel);
}

quint32 CharacterView::StatLevel() const
{
    return ValueIn(m_view, m_layout.statLevel);
}

quint32 CharacterView::Number(FieldId id) const
{
    return ReadField(m_view, id);
}

int CharacterView::SkillCount() const
{
    return m_layout.skillCount;
}

quint32 CharacterView::SkillLevel(int position) const
{
    return ByteAt(m_view, m_layout.firstSkill + quint32(position));
}

int CharacterView::DifficultyCount() const
{
    return m_layout.difficultyCount;
}

int CharacterView::ActCount() const
{
    return m_layout.actCount;
}

int CharacterView::QuestCount(int act) const
{
    return QuestCountOfAct(act);
}

int CharacterView::WaypointCount(int act) const
{
    return WaypointCountOfAct(act);
}

int CharacterView::QuestState(int difficulty, int act, int quest) const
{
    const quint32 offset = m_layout.questWords[difficulty][act][quest];
    return m_layout.questStateFromWord(ByteAt(m_view, offset), ByteAt(m_view, offset + 1));
}

bool CharacterView::IsActOpen(int difficulty, int act) const
{
    if (!ActHasAccessByte(act))
        return true;
    return ::IsActOpen(ByteAt(m_view, m_layout.actBytes[difficulty][act]));
}

bool CharacterView::IsDifficultyOpen(int difficulty) const
{
    return ::IsDifficultyOpen(ByteAt(m_view, m_layout.difficultyFlags), difficulty);
}

bool CharacterView::IsWaypointActive(int difficulty, int act, int position) const
{
    const quint32 first = m_layout.waypointSets[difficulty];
    return ::IsWaypointActive(m_view.GetUInt(first, first + 3), act, position);
}

std::optional<QStringList> CharacterView::AbsentFromFile() const
{
    // The presence mask as the load read it, before it filled the values in.
    const std::optional<quint16> mask = m_view.StatMaskAsRead();
    if (!mask)
        return std::nullopt;
    QStringList absent;
    for (const OptionalValueBit &value : m_layout.optionalValues) {
        const quint8 byte = value.maskOffset + 1 == m_layout.presenceMaskEnd ? quint8(*mask >> 8) : quint8(*mask);
        if ((byte & value.bit) == 0)
            absent.append(QString::fromLatin1(value.key));
    }
    return absent;
}

Character::Character(CDiablo2Doc &doc)
    : CharacterView(doc), m_doc(doc)
{
}

void Character::SetName(const QString &name)
{
    // The field always receives all its bytes: the name, then zero bytes, so
    // no trace of a longer earlier name is left behind it.
    const ValueRange field = m_layout.name;
    const qsizetype length = qsizetype(field.last - field.first + 1);
    QByteArray buffer(length, '\0');
    const QByteArray latin1 = name.left(length).toLatin1();
    std::memcpy(buffer.data(), latin1.constData(), size_t(latin1.size()));
    m_doc.SetBytes(field.first, field.last, reinterpret_cast<const quint8 *>(buffer.constData()));
}

void Character::SetClassByte(quint32 charClass)
{
    m_doc.SetUInt(m_layout.charClass.first, m_layout.charClass.last, charClass);
}

void Character::SetLevels(quint32 headerLevel, quint32 statLevel)
{
    m_doc.SetUInt(m_layout.headerLevel.first, m_layout.headerLevel.last, headerLevel);
    m_doc.SetUInt(m_layout.statLevel.first, m_layout.statLevel.last, statLevel);
}

void Character::SetLevel(int level)
{
    SetNumber(FieldId::Experience, ExperienceOfLevel(level));
    SetLevels(quint32(level), quint32(level));
}

void Character::SetNumber(FieldId id, quint32 value)
{
    WriteField(m_doc, id, value);
}

void Character::SetNumberRaisingMaximum(FieldId id, quint32 value)
{
    SetNumber(id, value);
    const FieldId maximum = Field(id).maximum;
    if (maximum != id && value > Number(maximum))
        SetNumber(maximum, value);
}

void Character::SetSkillLevel(int position, quint32 level)
{
    const quint32 offset = m_layout.firstSkill + quint32(position);
    m_doc.SetUInt(offset, offset, level);
}

void Character::SetQuestState(int difficulty, int act, int quest, int state)
{
    const QuestWord word = m_layout.questWordForState(state);
    const quint32 offset = m_layout.questWords[difficulty][act][quest];
    m_doc.SetUInt(offset, offset, word.byte0);
    m_doc.SetUInt(offset + 1, offset + 1, word.byte1);
}

void Character::SetWaypointActive(int difficulty, int act, int position, bool active)
{
    const quint32 first = m_layout.waypointSets[difficulty];
    m_doc.SetUInt(first, first + 3, WithWaypoint(m_doc.GetUInt(first, first + 3), act, position, active));
    if (active && !IsActOpen(difficulty, act))
        SetActOpen(difficulty, act, true);
}

void Character::SetActOpen(int difficulty, int act, bool open)
{
    if (!ActHasAccessByte(act))
        return;
    const quint32 offset = m_layout.actBytes[difficulty][act];
    m_doc.SetUInt(offset, offset, ActAccessByte(open));
    if (open && !IsDifficultyOpen(difficulty))
        SetDifficultyOpen(difficulty, true);
}

void Character::SetDifficultyOpen(int difficulty, bool open)
{
    const quint32 offset = m_layout.difficultyFlags;
    m_doc.SetUInt(offset, offset, WithDifficulty(ByteAt(m_doc, offset), difficulty, open));
}

void Character::OpenAllDifficulties()
{
    m_doc.SetByte(m_layout.difficultyFlags, kAllDifficultiesOpen);
}

void Character::OpenAllActs()
{
    for (int difficulty = 0; difficulty < DifficultyCount(); ++difficulty) {
        for (int act = 0; act < ActCount(); ++act) {
            if (!ActHasAccessByte(act))
                continue;
            const quint32 offset = m_layout.actBytes[difficulty][act];
            m_doc.SetUInt(offset, offset, ActAccessByte(true));
        }
    }
}

void Character::ActivateAllWaypoints()
{
    for (int difficulty = 0; difficulty < DifficultyCount(); ++difficulty) {
        const quint32 first = m_layout.waypointSets[difficulty];
        for (quint32 i = 0; i < 4; ++i)
            m_doc.SetByte(first + i, quint8(kAllWaypointsSet >> (8 * i)));
    }
}
