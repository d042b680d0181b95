#include "Character.h"

#include "document/layout/CharacterLayout.h"
#include "document/format/Build.h"
#include "document/format/Checksum.h"
#include "document/format/FieldTable.h"
#include "document/format/ClassRules.h"
#include "GameNames.h"
#include "document/format/Parse.h"
#include "document/format/WholeCharacterEdits.h"
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
    case FieldId::Experience: return Format::Experience;
    case FieldId::Gold: return Format::Gold;
    case FieldId::GoldInStash: return Format::GoldInStash;
    case FieldId::Strength: return Format::Strength;
    case FieldId::Dexterity: return Format::Dexterity;
    case FieldId::Vitality: return Format::Vitality;
    case FieldId::Energy: return Format::Energy;
    case FieldId::AttributePointsToAdd: return Format::StatPoints;
    case FieldId::SkillPointsToAdd: return Format::SkillPoints;
    case FieldId::Health: return Format::Life;
    case FieldId::MaxHealth: return Format::MaxLife;
    case FieldId::Mana: return Format::Mana;
    case FieldId::MaxMana: return Format::MaxMana;
    case FieldId::Stamina: return Format::Stamina;
    case FieldId::MaxStamina: return Format::MaxStamina;
    }
    return Format::Experience;
}

// The name as the bytes of a later version's field: UTF-8 from version 98 on,
// Latin-1 before, cut at a whole character so that it fits with its ending
// zero.
QByteArray NameBytes(const Format::ParsedCharacter &c, const QString &name)
{
    const bool utf8 = c.layout->family == Format::Family::C || c.layout->family == Format::Family::D;
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
    if (FileVersion::IsLater(doc))
        m_parse = doc.ParsedImage();
}

const Format::ParsedCharacter *CharacterView::Parsed() const
{
    if (!m_parse)
        return nullptr;
    if (const Format::ParsedCharacter *pending = m_view.PendingCharacter())
        return pending;
    return &m_parse->character;
}

quint32 CharacterView::FileVersion() const
{
    if (Parsed())
        return Parsed()->version;
    return ValueIn(m_view, m_layout.fileVersion);
}

bool CharacterView::IsExpansion() const
{
    return Parsed() && Parsed()->expansion;
}

QString CharacterView::ChecksumState() const
{
    if (!Parsed())
        return QStringLiteral("none");
    switch (Parsed()->checksum) {
    case Format::ChecksumState::Valid: return QStringLiteral("valid");
    case Format::ChecksumState::Damaged: return QStringLiteral("damaged");
    case Format::ChecksumState::NotInVersion: break;
    }
    return QStringLiteral("none");
}

QString CharacterView::Name() const
{
    if (Parsed())
        return Format::NameOf(*Parsed());
    const ValueRange field = m_layout.name;
    QByteArray buffer(qsizetype(field.last - field.first + 2), '\0');
    m_view.GetBytes(field.first, field.last, reinterpret_cast<quint8 *>(buffer.data()));
    return QString::fromLatin1(buffer.constData());
}

quint32 CharacterView::ClassByte() const
{
    if (Parsed())
        return Parsed()->classId;
    return ValueIn(m_view, m_layout.charClass);
}

bool CharacterView::HasClass() const
{
    return ClassByte() < quint32(ClassCount());
}

int CharacterView::ClassCount() const
{
    int count = kClassCount;
    while (Parsed() && count < GameNames::Classes && Format::ClassAllowed(*Parsed(), count))
        ++count;
    return count;
}

quint32 CharacterView::HeaderLevel() const
{
    if (Parsed())
        return Parsed()->headerLevel;
    return ValueIn(m_view, m_layout.headerLevel);
}

quint32 CharacterView::StatLevel() const
{
    if (Parsed())
        return Parsed()->stats.value[Format::Level];
    return ValueIn(m_view, m_layout.statLevel);
}

quint32 CharacterView::Number(FieldId id) const
{
    if (Parsed()) {
        const int stat = StatOf(id);
        if (Format::FieldOf(Parsed()->layout->statCodec, stat).fixedPoint)
            return Format::PoolWhole(Parsed()->stats, stat);
        return Parsed()->stats.value[std::size_t(stat)];
    }
    return ReadField(m_view, id);
}

quint32 CharacterView::MostItHolds(FieldId id) const
{
    const quint32 panelLimit = Field(id).limit;
    if (!Parsed())
        return panelLimit;
    return qMin(panelLimit,
                Format::StatLimit(*Parsed()->layout, StatOf(id), Parsed()->stats.value[Format::Level]));
}

int CharacterView::SkillCount() const
{
    return m_layout.skillCount;
}

quint32 CharacterView::SkillLevel(int position) const
{
    if (Parsed())
        return Parsed()->skills.at(std::size_t(position));
    return ByteAt(m_view, m_layout.firstSkill + quint32(position));
}

int CharacterView::DifficultyCount() const
{
    return m_layout.difficultyCount;
}

int CharacterView::ActCount() const
{
    return Parsed() ? Format::ActCountOf(*Parsed()) : m_layout.actCount;
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
    if (Parsed())
        return Format::QuestState(*Parsed(), difficulty, act, quest);
    const quint32 offset = m_layout.questWords[difficulty][act][quest];
    return m_layout.questStateFromWord(ByteAt(m_view, offset), ByteAt(m_view, offset + 1));
}

bool CharacterView::IsActOpen(int difficulty, int act) const
{
    if (Parsed())
        return Format::IsActOpen(*Parsed(), difficulty, act);
    if (!ActHasAccessByte(act))
        return true;
    return ::IsActOpen(ByteAt(m_view, m_layout.actBytes[difficulty][act]));
}

bool CharacterView::IsDifficultyOpen(int difficulty) const
{
    if (Parsed())
        return Format::IsDifficultyOpen(*Parsed(), difficulty);
    return ::IsDifficultyOpen(ByteAt(m_view, m_layout.difficultyFlags), difficulty);
}

bool CharacterView::IsWaypointActive(int difficulty, int act, int position) const
{
    if (Parsed())
        return Format::IsWaypointActive(*Parsed(), difficulty, act, position);
    const quint32 first = m_layout.waypointSets[difficulty];
    return ::IsWaypointActive(m_view.GetUInt(first, first + 3), act, position);
}

std::optional<QStringList> CharacterView::AbsentFromFile() const
{
    if (Parsed()) {
        QStringList absent;
        for (const PanelField &field : kPanelFields) {
            if (!Parsed()->stats.IsStored(StatOf(field.id)))
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
    if (Parsed()) {
        // The name shown is not written back: its bytes stay as the file
        // holds them, even where they are no valid text or fill the field.
        if (name == Name())
            return;
        Format::ParsedCharacter *const edited = Editing();
        edited->name = NameBytes(*edited, name);
        Edited();
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
    if (Parsed()) {
        if (charClass == ClassByte())
            return;
        Editing()->classId = quint8(charClass);
        Edited();
        return;
    }
    m_doc.SetUInt(m_layout.charClass.first, m_layout.charClass.last, charClass);
}

void Character::RefuseGoldAboveCapAt(quint32 level) const
{
    if (!Parsed())
        return;
    const quint32 gold = Number(FieldId::Gold);
    const quint32 cap = Format::StatLimit(*Parsed()->layout, Format::Gold, level);
    if (gold > cap)
        throw EditRefusal{QStringLiteral("At level %1, %2")
                              .arg(level)
                              .arg(OverLimitText(QLatin1String(Field(FieldId::Gold).key), QString::number(gold), cap))};
}

void Character::SetLevels(quint32 headerLevel, quint32 statLevel)
{
    if (statLevel != StatLevel())
        RefuseGoldAboveCapAt(statLevel);
    if (Parsed()) {
        if (headerLevel == HeaderLevel() && statLevel == StatLevel())
            return;
        Format::ParsedCharacter *const edited = Editing();
        edited->headerLevel = quint8(headerLevel);
        edited->stats.value[Format::Level] = statLevel;
        Edited();
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
    if (const Format::ParsedCharacter *const read = Parsed()) {
        const int stat = StatOf(id);
        const std::optional<quint16> storedAsLoaded = m_doc.StatMaskAsRead();
        const bool unstore = value == 0 && read->stats.IsStored(stat) && storedAsLoaded
                             && !((*storedAsLoaded >> stat) & 1);
        if (value == Number(id) && !unstore)
            return;
        // A value read from the file is kept even above the limit; a new one
        // must fit the field and the game's cap.
        if (value != Number(id) && value > MostItHolds(id))
            throw EditRefusal{OverLimitText(QLatin1String(Field(id).key), QString::number(value), MostItHolds(id))};
        Format::ParsedCharacter *const edited = Editing();
        const Format::StatCodec codec = edited->layout->statCodec;
        if (Format::FieldOf(codec, stat).fixedPoint) {
            Format::SetPoolWhole(edited->stats, stat, value);
        } else {
            edited->stats.value[std::size_t(stat)] = value;
        }
        if (unstore)
            edited->stats.stored &= quint16(~(1u << stat));
        Edited();
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
    if (Format::ParsedCharacter *const edited = Editing()) {
        edited->skills.at(std::size_t(position)) = quint8(level);
        Edited();
        return;
    }
    const quint32 offset = m_layout.firstSkill + quint32(position);
    m_doc.SetUInt(offset, offset, level);
}

void Character::SetQuestState(int difficulty, int act, int quest, int state)
{
    if (Format::ParsedCharacter *const edited = Editing()) {
        Format::SetQuestState(*edited, difficulty, act, quest, state);
        Edited();
        return;
    }
    const QuestWord word = m_layout.questWordForState(state);
    const quint32 offset = m_layout.questWords[difficulty][act][quest];
    m_doc.SetUInt(offset, offset, word.byte0);
    m_doc.SetUInt(offset + 1, offset + 1, word.byte1);
}

void Character::SetWaypointActive(int difficulty, int act, int position, bool active)
{
    if (Format::ParsedCharacter *const edited = Editing()) {
        Format::SetWaypointActive(*edited, difficulty, act, position, active);
        if (active && !Format::IsActOpen(*edited, difficulty, act))
            Format::SetActOpen(*edited, difficulty, act, true);
        if (active && !Format::IsDifficultyOpen(*edited, difficulty))
            Format::SetDifficultyOpen(*edited, difficulty, true);
        Edited();
        return;
    }
    const quint32 first = m_layout.waypointSets[difficulty];
    m_doc.SetUInt(first, first + 3, WithWaypoint(m_doc.GetUInt(first, first + 3), act, position, active));
    if (active && !IsActOpen(difficulty, act))
        SetActOpen(difficulty, act, true);
}

void Character::SetActOpen(int difficulty, int act, bool open)
{
    if (Format::ParsedCharacter *const edited = Editing()) {
        Format::SetActOpen(*edited, difficulty, act, open);
        if (open && !Format::IsDifficultyOpen(*edited, difficulty))
            Format::SetDifficultyOpen(*edited, difficulty, true);
        Edited();
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
    if (Format::ParsedCharacter *const edited = Editing()) {
        Format::SetDifficultyOpen(*edited, difficulty, open);
        Edited();
        return;
    }
    const quint32 offset = m_layout.difficultyFlags;
    m_doc.SetUInt(offset, offset, WithDifficulty(ByteAt(m_doc, offset), difficulty, open));
}

void Character::OpenAllDifficulties()
{
    if (Format::ParsedCharacter *const edited = Editing()) {
        Format::OpenAllDifficulties(*edited);
        Edited();
        return;
    }
    m_doc.SetByte(m_layout.difficultyFlags, kAllDifficultiesOpen);
}

void Character::OpenAllActs()
{
    if (Format::ParsedCharacter *const edited = Editing()) {
        Format::OpenAllActs(*edited);
        Edited();
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
    if (Format::ParsedCharacter *const edited = Editing()) {
        Format::ActivateAllWaypoints(*edited);
        Edited();
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
    if (!Parsed() || !Parsed()->layout->sizeAndChecksum)
        return;
    const QByteArray original = m_doc.ImageCopy();
    QByteArray image = original;
    Format::WriteSizeAndChecksum(image);
    if (image != original)
        m_doc.ReplaceImage(image);
}

Format::ParsedCharacter *Character::Editing()
{
    if (!Parsed())
        return nullptr;
    if (!m_doc.PendingCharacter())
        m_doc.SetPendingCharacter(std::make_unique<Format::ParsedCharacter>(m_parse->character));
    return m_doc.PendingCharacter();
}

void Character::Edited()
{
    if (m_doc.EditDepth() == 0)
        Flush();
}

void Character::Flush()
{
    const std::unique_ptr<Format::ParsedCharacter> edited = m_doc.TakePendingCharacter();
    if (!edited)
        return;
    const QByteArray original = m_doc.ImageCopy();
    const Format::BuildResult built = Format::Build(*edited, original);
    // A refused build leaves the image as it was, and the edits are dropped.
    if (!built.Built())
        throw EditRefusal{QStringLiteral("The character was not changed: %1.").arg(built.refusal)};
    if (built.image != original)
        m_doc.ReplaceImage(built.image);
    m_parse = m_doc.ParsedImage();
}

EditScope::EditScope(CDiablo2Doc &doc)
    : m_doc(doc)
{
    m_doc.EnterEdit();
}

EditScope::~EditScope()
{
    if (!m_open)
        return;
    // Ended by an error on the way: the outermost scope drops what was gathered.
    if (m_doc.LeaveEdit() == 0)
        m_doc.TakePendingCharacter();
}

void EditScope::Commit()
{
    m_open = false;
    if (m_doc.LeaveEdit() == 0)
        Character(m_doc).Flush();
}
