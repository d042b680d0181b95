#include "Character.h"

#include "document/layout/CharacterLayout.h"
#include "document/versions/Build.h"
#include "document/versions/Checksum.h"
#include "document/versions/FieldTable.h"
#include "document/versions/Names.h"
#include "GameNames.h"
#include "document/versions/Parse.h"
#include "document/versions/WholeCharacterEdits.h"
#include "Diablo2Doc.h"
#include "FieldRules.h"
#include "FileVersion.h"
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

// The attribute of a later version's file that holds each panel field.
int StatOf(FieldId id)
{
    switch (id) {
    case FieldId::Experience: return Versions::Experience;
    case FieldId::Gold: return Versions::Gold;
    case FieldId::GoldInStash: return Versions::GoldInStash;
    case FieldId::Strength: return Versions::Strength;
    case FieldId::Dexterity: return Versions::Dexterity;
    case FieldId::Vitality: return Versions::Vitality;
    case FieldId::Energy: return Versions::Energy;
    case FieldId::AttributePointsToAdd: return Versions::StatPoints;
    case FieldId::SkillPointsToAdd: return Versions::SkillPoints;
    case FieldId::Health: return Versions::Life;
    case FieldId::MaxHealth: return Versions::MaxLife;
    case FieldId::Mana: return Versions::Mana;
    case FieldId::MaxMana: return Versions::MaxMana;
    case FieldId::Stamina: return Versions::Stamina;
    case FieldId::MaxStamina: return Versions::MaxStamina;
    }
    return Versions::Experience;
}

// The name as the bytes of a later version's field: UTF-8 from version 98 on,
// Latin-1 before, cut at a whole character so that it fits with its ending
// zero.
QByteArray NameBytes(const Versions::ParsedCharacter &c, const QString &name)
{
    const bool utf8 = c.layout->family == Versions::Family::C || c.layout->family == Versions::Family::D;
    QByteArray bytes;
    for (const QChar ch : name) {
        const QByteArray one = utf8 ? QString(ch).toUtf8() : QString(ch).toLatin1();
        if (bytes.size() + one.size() > c.layout->nameLength - 1)
            break;
        bytes += one;
    }
    return bytes;
}

} // namespace

CharacterView::CharacterView(const CDiablo2Doc &doc)
    : m_view(doc), m_layout(LayoutOf(doc))
{
    if (FileVersion::IsNot71(doc) && !FileVersion::IsOther(doc))
        m_parsed = std::make_shared<Versions::ParsedCharacter>(doc.ParsedImage()->character);
}

quint32 CharacterView::FileVersion() const
{
    if (m_parsed)
        return m_parsed->version;
    return ValueIn(m_view, m_layout.fileVersion);
}

bool CharacterView::IsExpansion() const
{
    return m_parsed && m_parsed->expansion;
}

QString CharacterView::ChecksumState() const
{
    if (!m_parsed)
        return QStringLiteral("none");
    switch (m_parsed->checksum) {
    case Versions::ChecksumState::Valid: return QStringLiteral("valid");
    case Versions::ChecksumState::Damaged: return QStringLiteral("damaged");
    case Versions::ChecksumState::NotInVersion: break;
    }
    return QStringLiteral("none");
}

QString CharacterView::Name() const
{
    if (m_parsed)
        return Versions::NameOf(*m_parsed);
    const ValueRange field = m_layout.name;
    QByteArray buffer(qsizetype(field.last - field.first + 2), '\0');
    m_view.GetBytes(field.first, field.last, reinterpret_cast<quint8 *>(buffer.data()));
    return QString::fromLatin1(buffer.constData());
}

quint32 CharacterView::ClassByte() const
{
    if (m_parsed)
        return m_parsed->classId;
    return ValueIn(m_view, m_layout.charClass);
}

bool CharacterView::HasClass() const
{
    return ClassByte() < quint32(ClassCount());
}

int CharacterView::ClassCount() const
{
    int count = kClassCount;
    while (m_parsed && count < GameNames::Classes && Versions::ClassAllowed(*m_parsed, count))
        ++count;
    return count;
}

quint32 CharacterView::HeaderLevel() const
{
    if (m_parsed)
        return m_parsed->headerLevel;
    return ValueIn(m_view, m_layout.headerLevel);
}

quint32 CharacterView::StatLevel() const
{
    if (m_parsed)
        return m_parsed->stats.value[Versions::Level];
    return ValueIn(m_view, m_layout.statLevel);
}

quint32 CharacterView::Number(FieldId id) const
{
    if (m_parsed) {
        const int stat = StatOf(id);
        if (Versions::FieldOf(m_parsed->layout->statCodec, stat).fixedPoint)
            return Versions::PoolWhole(m_parsed->stats, stat);
        return m_parsed->stats.value[std::size_t(stat)];
    }
    return ReadField(m_view, id);
}

quint32 CharacterView::MostItHolds(FieldId id) const
{
    const quint32 panelLimit = Field(id).limit;
    if (!m_parsed)
        return panelLimit;
    return qMin(panelLimit,
                Versions::StatLimit(*m_parsed->layout, StatOf(id), m_parsed->stats.value[Versions::Level]));
}

int CharacterView::SkillCount() const
{
    return m_layout.skillCount;
}

quint32 CharacterView::SkillLevel(int position) const
{
    if (m_parsed)
        return m_parsed->skills.at(std::size_t(position));
    return ByteAt(m_view, m_layout.firstSkill + quint32(position));
}

int CharacterView::DifficultyCount() const
{
    return m_layout.difficultyCount;
}

int CharacterView::ActCount() const
{
    return m_parsed ? Versions::ActCountOf(*m_parsed) : m_layout.actCount;
}

int CharacterView::QuestCount(int act) const
{
    return GameNames::QuestCount(act);
}

int CharacterView::WaypointCount(int act) const
{
    return GameNames::WaypointCount(act);
}

int CharacterView::QuestState(int difficulty, int act, int quest) const
{
    if (m_parsed)
        return Versions::QuestState(*m_parsed, difficulty, act, quest);
    const quint32 offset = m_layout.questWords[difficulty][act][quest];
    return m_layout.questStateFromWord(ByteAt(m_view, offset), ByteAt(m_view, offset + 1));
}

bool CharacterView::IsActOpen(int difficulty, int act) const
{
    if (m_parsed)
        return Versions::IsActOpen(*m_parsed, difficulty, act);
    if (!ActHasAccessByte(act))
        return true;
    return ::IsActOpen(ByteAt(m_view, m_layout.actBytes[difficulty][act]));
}

bool CharacterView::IsDifficultyOpen(int difficulty) const
{
    if (m_parsed)
        return Versions::IsDifficultyOpen(*m_parsed, difficulty);
    return ::IsDifficultyOpen(ByteAt(m_view, m_layout.difficultyFlags), difficulty);
}

bool CharacterView::IsWaypointActive(int difficulty, int act, int position) const
{
    if (m_parsed)
        return Versions::IsWaypointActive(*m_parsed, difficulty, act, position);
    const quint32 first = m_layout.waypointSets[difficulty];
    return ::IsWaypointActive(m_view.GetUInt(first, first + 3), act, position);
}

std::optional<QStringList> CharacterView::AbsentFromFile() const
{
    if (m_parsed) {
        QStringList absent;
        for (const PanelField &field : kPanelFields) {
            if (!m_parsed->stats.IsStored(StatOf(field.id)))
                absent.append(QString::fromLatin1(field.key));
        }
        return absent;
    }
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
    if (m_parsed) {
        // The name shown is not written back: its bytes stay as the file
        // holds them, even where they are no valid text or fill the field.
        if (name == Name())
            return;
        m_parsed->name = NameBytes(*m_parsed, name);
        Rebuild();
        return;
    }
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
    if (m_parsed) {
        m_parsed->classId = quint8(charClass);
        Rebuild();
        return;
    }
    m_doc.SetUInt(m_layout.charClass.first, m_layout.charClass.last, charClass);
}

void Character::RefuseGoldAboveCapAt(quint32 level) const
{
    if (!m_parsed)
        return;
    const quint32 gold = Number(FieldId::Gold);
    const quint32 cap = Versions::StatLimit(*m_parsed->layout, Versions::Gold, level);
    if (gold > cap)
        throw EditRefusal{QStringLiteral("At level %1, %2")
                              .arg(level)
                              .arg(OverLimitText(QLatin1String(Field(FieldId::Gold).key), QString::number(gold), cap))};
}

void Character::SetLevels(quint32 headerLevel, quint32 statLevel)
{
    if (statLevel != StatLevel())
        RefuseGoldAboveCapAt(statLevel);
    if (m_parsed) {
        m_parsed->headerLevel = quint8(headerLevel);
        m_parsed->stats.value[Versions::Level] = statLevel;
        Rebuild();
        return;
    }
    m_doc.SetUInt(m_layout.headerLevel.first, m_layout.headerLevel.last, headerLevel);
    m_doc.SetUInt(m_layout.statLevel.first, m_layout.statLevel.last, statLevel);
}

void Character::SetLevel(int level)
{
    if (quint32(level) == HeaderLevel() && quint32(level) == StatLevel())
        return;
    if (quint32(level) != StatLevel())
        RefuseGoldAboveCapAt(quint32(level));
    SetNumber(FieldId::Experience, ExperienceOfLevel(level));
    SetLevels(quint32(level), quint32(level));
}

void Character::SetNumber(FieldId id, quint32 value)
{
    if (m_parsed) {
        const int stat = StatOf(id);
        const Versions::StatCodec codec = m_parsed->layout->statCodec;
        // A value read from the file is kept even above the limit; a new one
        // must fit the field and the game's cap.
        if (value != Number(id) && value > MostItHolds(id))
            throw EditRefusal{OverLimitText(QLatin1String(Field(id).key), QString::number(value), MostItHolds(id))};
        if (Versions::FieldOf(codec, stat).fixedPoint) {
            Versions::SetPoolWhole(m_parsed->stats, stat, value);
        } else {
            m_parsed->stats.value[std::size_t(stat)] = value;
        }
        const std::optional<quint16> storedAsLoaded = m_doc.StatMaskAsRead();
        if (value == 0 && storedAsLoaded && !((*storedAsLoaded >> stat) & 1))
            m_parsed->stats.stored &= quint16(~(1u << stat));
        Rebuild();
        return;
    }
    WriteField(m_doc, id, value);
}

void Character::SetNumberRaisingMaximum(FieldId id, quint32 value)
{
    if (value == Number(id))
        return;
    SetNumber(id, value);
    const FieldId maximum = Field(id).maximum;
    if (maximum != id && value > Number(maximum))
        SetNumber(maximum, value);
}

void Character::SetSkillLevel(int position, quint32 level)
{
    if (m_parsed) {
        m_parsed->skills.at(std::size_t(position)) = quint8(level);
        Rebuild();
        return;
    }
    const quint32 offset = m_layout.firstSkill + quint32(position);
    m_doc.SetUInt(offset, offset, level);
}

void Character::SetQuestState(int difficulty, int act, int quest, int state)
{
    if (m_parsed) {
        Versions::SetQuestState(*m_parsed, difficulty, act, quest, state);
        Rebuild();
        return;
    }
    const QuestWord word = m_layout.questWordForState(state);
    const quint32 offset = m_layout.questWords[difficulty][act][quest];
    m_doc.SetUInt(offset, offset, word.byte0);
    m_doc.SetUInt(offset + 1, offset + 1, word.byte1);
}

void Character::SetWaypointActive(int difficulty, int act, int position, bool active)
{
    if (m_parsed) {
        Versions::SetWaypointActive(*m_parsed, difficulty, act, position, active);
        if (active && !Versions::IsActOpen(*m_parsed, difficulty, act))
            Versions::SetActOpen(*m_parsed, difficulty, act, true);
        if (active && !Versions::IsDifficultyOpen(*m_parsed, difficulty))
            Versions::SetDifficultyOpen(*m_parsed, difficulty, true);
        Rebuild();
        return;
    }
    const quint32 first = m_layout.waypointSets[difficulty];
    m_doc.SetUInt(first, first + 3, WithWaypoint(m_doc.GetUInt(first, first + 3), act, position, active));
    if (active && !IsActOpen(difficulty, act))
        SetActOpen(difficulty, act, true);
}

void Character::SetActOpen(int difficulty, int act, bool open)
{
    if (m_parsed) {
        Versions::SetActOpen(*m_parsed, difficulty, act, open);
        if (open && !Versions::IsDifficultyOpen(*m_parsed, difficulty))
            Versions::SetDifficultyOpen(*m_parsed, difficulty, true);
        Rebuild();
        return;
    }
    if (!ActHasAccessByte(act))
        return;
    const quint32 offset = m_layout.actBytes[difficulty][act];
    m_doc.SetUInt(offset, offset, ActAccessByte(open));
    if (open && !IsDifficultyOpen(difficulty))
        SetDifficultyOpen(difficulty, true);
}

void Character::SetDifficultyOpen(int difficulty, bool open)
{
    if (m_parsed) {
        Versions::SetDifficultyOpen(*m_parsed, difficulty, open);
        Rebuild();
        return;
    }
    const quint32 offset = m_layout.difficultyFlags;
    m_doc.SetUInt(offset, offset, WithDifficulty(ByteAt(m_doc, offset), difficulty, open));
}

void Character::OpenAllDifficulties()
{
    if (m_parsed) {
        Versions::OpenAllDifficulties(*m_parsed);
        Rebuild();
        return;
    }
    m_doc.SetByte(m_layout.difficultyFlags, kAllDifficultiesOpen);
}

void Character::OpenAllActs()
{
    if (m_parsed) {
        Versions::OpenAllActs(*m_parsed);
        Rebuild();
        return;
    }
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
    if (m_parsed) {
        Versions::ActivateAllWaypoints(*m_parsed);
        Rebuild();
        return;
    }
    for (int difficulty = 0; difficulty < DifficultyCount(); ++difficulty) {
        const quint32 first = m_layout.waypointSets[difficulty];
        for (quint32 i = 0; i < 4; ++i)
            m_doc.SetByte(first + i, quint8(kAllWaypointsSet >> (8 * i)));
    }
}

void Character::Seal()
{
    if (!m_parsed || !m_parsed->layout->sizeAndChecksum)
        return;
    QByteArray image = m_doc.ImageCopy();
    Versions::WriteSizeAndChecksum(image);
    if (image != m_doc.ImageCopy())
        m_doc.ReplaceImage(image);
}

void Character::Rebuild()
{
    const QByteArray original = m_doc.ImageCopy();
    const Versions::BuildResult built = Versions::Build(*m_parsed, original);
    if (!built.Built()) {
        // The parsed character goes back to the image, which is unchanged.
        *m_parsed = m_doc.ParsedImage()->character;
        throw EditRefusal{QStringLiteral("The character was not changed: %1.").arg(built.refusal)};
    }
    if (built.image != original)
        m_doc.ReplaceImage(built.image);
    *m_parsed = m_doc.ParsedImage()->character;
}
