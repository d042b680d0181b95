#include "Character.h"

#include "Diablo2Doc.h"
#include "FieldRules.h"
#include "GameData.h"
#include "GameNames.h"
#include "Messages.h"
#include "format/Build.h"
#include "format/Checksum.h"
#include "format/ClassRules.h"
#include "format/FieldTable.h"
#include "format/Status.h"
#include "Mercenaries.h"
#include "format/Parse.h"
#include "format/WholeCharacterEdits.h"

CharacterView::CharacterView(const CDiablo2Doc &doc)
    : m_doc(doc), m_parse(doc.ParsedImage())
{
}

const Format::ParsedCharacter &CharacterView::Parsed() const
{
    if (const Format::ParsedCharacter *pending = m_doc.PendingCharacter())
        return *pending;
    // A file held for the raw tools, or one too short for its fields, has no
    // value to read: as a read past the end of the image.
    if (!m_parse->Opened())
        throw Messages::OffsetOutOfRange;
    return m_parse->character;
}

bool CharacterView::Readable() const
{
    return m_doc.PendingCharacter() || m_parse->Opened();
}

quint32 CharacterView::FileVersion() const
{
    return Parsed().version;
}

bool CharacterView::IsExpansion() const
{
    return Parsed().expansion;
}

QString CharacterView::ChecksumState() const
{
    switch (Parsed().checksum) {
    case Format::ChecksumState::Valid: return QStringLiteral("valid");
    case Format::ChecksumState::Damaged: return QStringLiteral("damaged");
    case Format::ChecksumState::NotInVersion: break;
    }
    return QStringLiteral("none");
}

QString CharacterView::Name() const
{
    return Format::NameOf(Parsed());
}

quint32 CharacterView::ClassByte() const
{
    return Parsed().classId;
}

bool CharacterView::HasClass() const
{
    return ClassByte() < quint32(ClassCount());
}

int CharacterView::ClassCount() const
{
    // A file with no values to read offers the original classes.
    int count = kClassCount;
    while (Readable() && count < GameNames::Classes && Format::ClassAllowed(Parsed(), count))
        ++count;
    return count;
}

quint32 CharacterView::HeaderLevel() const
{
    return Parsed().headerLevel;
}

quint32 CharacterView::StatLevel() const
{
    return Format::WholeValue(Parsed(), FieldId::Level);
}

quint32 CharacterView::Number(FieldId id) const
{
    return Format::WholeValue(Parsed(), id);
}

quint32 CharacterView::MostItHolds(FieldId id) const
{
    return qMin(Field(id).limit, Format::StatLimit(*Parsed().layout, int(id), StatLevel()));
}

int CharacterView::SkillCount() const
{
    return Format::SkillCount;
}

quint32 CharacterView::SkillLevel(int position) const
{
    return Parsed().skills.at(std::size_t(position));
}

int CharacterView::DifficultyCount() const
{
    return Format::Difficulties;
}

int CharacterView::ActCount() const
{
    return Readable() ? Format::ActCountOf(Parsed()) : kActCount;
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
    return Format::QuestState(Parsed(), difficulty, act, quest);
}

bool CharacterView::IsActOpen(int difficulty, int act) const
{
    return Format::IsActOpen(Parsed(), difficulty, act);
}

bool CharacterView::IsDifficultyOpen(int difficulty) const
{
    return Format::IsDifficultyOpen(Parsed(), difficulty);
}

bool CharacterView::IsWaypointActive(int difficulty, int act, int position) const
{
    return Format::IsWaypointActive(Parsed(), difficulty, act, position);
}

namespace {

quint8 BitOf(CharacterView::Flag flag)
{
    switch (flag) {
    case CharacterView::Flag::Hardcore: return Format::kHardcoreBit;
    case CharacterView::Flag::Died: return Format::kDiedBit;
    case CharacterView::Flag::Ladder: return Format::kLadderBit;
    }
    return 0;
}

} // namespace

bool CharacterView::HoldsFlag(Flag flag) const
{
    return Format::HoldsFlag(Parsed(), BitOf(flag));
}

bool CharacterView::HasFlag(Flag flag) const
{
    return Format::HasFlag(Parsed(), BitOf(flag));
}

bool CharacterView::MarksExpansion() const
{
    return Format::HoldsFlag(Parsed(), Format::kExpansionBit);
}

QString CharacterView::GameMode() const
{
    return Format::GameModeKey(Parsed());
}

bool CharacterView::HasGameMode() const
{
    return Parsed().layout->gameModeOffset >= 0;
}

quint32 CharacterView::Progression() const
{
    return Parsed().progression;
}

QString CharacterView::Title() const
{
    return Format::TitleOf(Parsed());
}

bool CharacterView::HasMercenaryFields() const
{
    return Parsed().layout->mercenaryOffset >= 0;
}

bool CharacterView::MercenaryHired() const
{
    return Parsed().mercenaryId != 0;
}

bool CharacterView::MercenaryDead() const
{
    return Parsed().mercenaryDead != 0;
}

quint32 CharacterView::MercenaryType() const
{
    return Parsed().mercenaryType;
}

QString CharacterView::MercenaryTypeName() const
{
    return Mercenaries::TypeName(FileVersion(), IsExpansion(), MercenaryType());
}

quint32 CharacterView::MercenaryNameIndex() const
{
    return Parsed().mercenaryName;
}

QString CharacterView::MercenaryName() const
{
    return Mercenaries::Name(FileVersion(), IsExpansion(), MercenaryType(), MercenaryNameIndex());
}

int CharacterView::MercenaryNameCount() const
{
    return Mercenaries::TypeOf(FileVersion(), IsExpansion(), MercenaryType()).nameCount;
}

quint32 CharacterView::MercenaryExperience() const
{
    return Parsed().mercenaryExperience;
}

int CharacterView::MercenaryLevel() const
{
    return Mercenaries::LevelOf(FileVersion(), IsExpansion(), MercenaryType(), MercenaryExperience());
}

quint32 CharacterView::MercenaryExperienceLimit() const
{
    return Mercenaries::ExperienceLimit(FileVersion(), IsExpansion(), MercenaryType());
}

std::optional<QStringList> CharacterView::AbsentFromFile() const
{
    // The presence mask as the load read it, before it filled the values in.
    const std::optional<quint16> mask = m_doc.StatMaskAsRead();
    if (!mask)
        return std::nullopt;
    const Format::StatCodec codec = Parsed().layout->statCodec;
    QStringList absent;
    for (int id = 0; id < Format::StatCount; ++id) {
        if (FieldId(id) != FieldId::Level && Format::OptionalInFile(codec, id) && !((*mask >> id) & 1))
            absent.append(QString::fromLatin1(Field(FieldId(id)).key));
    }
    return absent;
}

Character::Character(CDiablo2Doc &doc)
    : CharacterView(doc), m_edited(doc)
{
}

void Character::SetName(const QString &name)
{
    // A later version's name bytes stay as the file holds them while the
    // name shown is not changed, even where they are no valid text; version
    // 71's field is written whole each time.
    if (Parsed().layout->nameRule != Format::NameRule::Latin1Field && name == Name())
        return;
    Format::SetName(Editing(), name);
    Edited();
}

void Character::SetClassByte(quint32 charClass)
{
    if (charClass == ClassByte())
        return;
    Editing().classId = charClass;
    Edited();
}

void Character::RefuseGoldAboveCapAt(quint32 level) const
{
    const quint32 gold = Number(FieldId::Gold);
    const quint32 cap = Format::StatLimit(*Parsed().layout, int(FieldId::Gold), level);
    if (gold > cap)
        throw EditRefusal{QStringLiteral("At level %1, %2")
                              .arg(level)
                              .arg(OverLimitText(QLatin1String(Field(FieldId::Gold).key), QString::number(gold), cap))};
}

void Character::SetLevels(quint32 headerLevel, quint32 statLevel)
{
    if (headerLevel == HeaderLevel() && statLevel == StatLevel())
        return;
    if (statLevel != StatLevel())
        RefuseGoldAboveCapAt(statLevel);
    Format::ParsedCharacter &edited = Editing();
    edited.headerLevel = headerLevel;
    Format::SetWholeValue(edited, FieldId::Level, statLevel);
    Edited();
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
    const Format::ParsedCharacter &read = Parsed();
    const int stat = int(id);
    // A zero set where the file as loaded stored no value stays unstored.
    const std::optional<quint16> storedAsLoaded = m_edited.StatMaskAsRead();
    const bool unstore = value == 0 && !Format::StoresEveryValue(read.layout->statCodec)
                         && read.stats.IsStored(stat) && storedAsLoaded && !((*storedAsLoaded >> stat) & 1);
    if (value == Number(id) && !unstore)
        return;
    // A value read from the file is kept even above the limit; a new one
    // must fit the field and the game's cap (the front ends hold it to the
    // panel's limit too).
    const quint32 holds = Format::StatLimit(*read.layout, stat, StatLevel());
    if (value != Number(id) && value > holds)
        throw EditRefusal{OverLimitText(QLatin1String(Field(id).key), QString::number(value), holds)};
    Format::ParsedCharacter &edited = Editing();
    Format::SetWholeValue(edited, id, value);
    if (unstore)
        edited.stats.stored &= quint16(~(1u << stat));
    Edited();
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
    if (level == SkillLevel(position))
        return;
    Editing().skills.at(std::size_t(position)) = quint8(level);
    Edited();
}

void Character::SetQuestState(int difficulty, int act, int quest, int state)
{
    Format::SetQuestState(Editing(), difficulty, act, quest, state);
    Edited();
}

void Character::SetWaypointActive(int difficulty, int act, int position, bool active)
{
    Format::ParsedCharacter &edited = Editing();
    Format::SetWaypointActive(edited, difficulty, act, position, active);
    if (active && !Format::IsActOpen(edited, difficulty, act))
        OpenAct(edited, difficulty, act);
    Edited();
}

void Character::SetActOpen(int difficulty, int act, bool open)
{
    // Act1 has no access word: it is always open and opens nothing.
    if (act == 0)
        return;
    Format::ParsedCharacter &edited = Editing();
    if (open)
        OpenAct(edited, difficulty, act);
    else
        Format::SetActOpen(edited, difficulty, act, false);
    Edited();
}

void Character::OpenAct(Format::ParsedCharacter &edited, int difficulty, int act)
{
    Format::SetActOpen(edited, difficulty, act, true);
    if (!Format::IsDifficultyOpen(edited, difficulty))
        Format::SetDifficultyOpen(edited, difficulty, true);
}

void Character::SetDifficultyOpen(int difficulty, bool open)
{
    Format::SetDifficultyOpen(Editing(), difficulty, open);
    Edited();
}

namespace {

// A refusal of the status rules (format/Status.h) as the edit's refusal.
void ThrowIfRefused(const QString &why)
{
    if (!why.isEmpty())
        throw EditRefusal{why};
}

} // namespace

void Character::SetFlag(Flag flag, bool on)
{
    if (HoldsFlag(flag) && HasFlag(flag) == on)
        return;
    Format::ParsedCharacter probe = Parsed();
    ThrowIfRefused(Format::SetFlag(probe, BitOf(flag), on));
    Editing() = probe;
    Edited();
}

void Character::SetExpansion(bool on)
{
    if (on == IsExpansion())
        return;
    Format::ParsedCharacter probe = Parsed();
    ThrowIfRefused(Format::SetExpansion(probe, on));
    Editing() = probe;
    Edited();
}

void Character::SetGameMode(const QString &mode)
{
    Format::GameMode wanted{};
    if (!Format::GameModeFromKey(mode, wanted))
        throw EditRefusal{QStringLiteral("game mode \"%1\" is none of classic, expansion, warlock").arg(mode)};
    if (mode.compare(GameMode(), Qt::CaseInsensitive) == 0)
        return;
    Format::ParsedCharacter probe = Parsed();
    ThrowIfRefused(Format::SetGameMode(probe, wanted));
    Editing() = probe;
    Edited();
}

void Character::RefuseWithoutMercenary() const
{
    if (!HasMercenaryFields())
        throw EditRefusal{QStringLiteral("QUARVINEL does not know where a version-%1 file keeps the mercenary")
                              .arg(FileVersion())};
    if (!MercenaryHired())
        throw EditRefusal{QStringLiteral("this character has never hired a mercenary: hire one in the game first")};
}

void Character::SetMercenaryDead(bool dead)
{
    RefuseWithoutMercenary();
    if (dead == MercenaryDead())
        return;
    Editing().mercenaryDead = dead ? 1 : 0;
    Edited();
}

void Character::SetMercenaryExperience(quint32 experience)
{
    RefuseWithoutMercenary();
    if (experience == MercenaryExperience())
        return;
    const quint32 limit = MercenaryExperienceLimit();
    if (experience > limit)
        throw EditRefusal{QStringLiteral("mercenaryExperience %1 is above %2, at which a %3 reaches level %4")
                              .arg(experience).arg(limit).arg(MercenaryTypeName()).arg(Mercenaries::LevelCap)};
    Editing().mercenaryExperience = experience;
    Edited();
}

void Character::SetMercenaryNameIndex(quint32 index)
{
    RefuseWithoutMercenary();
    if (index == MercenaryNameIndex())
        return;
    const int count = MercenaryNameCount();
    const quint32 limit = count > 0 ? quint32(count - 1) : 0xFFFFu;
    if (index > limit) {
        const QString type = count > 0 ? QStringLiteral("a ") + MercenaryTypeName()
                                       : QStringLiteral("a mercenary of type %1").arg(MercenaryType());
        throw EditRefusal{QStringLiteral("mercenaryName %1 is not a name of %2: it takes 0 to %3").arg(index).arg(type).arg(limit)};
    }
    Editing().mercenaryName = index;
    Edited();
}

void Character::OpenAllDifficulties()
{
    Format::OpenAllDifficulties(Editing());
    Edited();
}

void Character::OpenAllActs()
{
    Format::OpenAllActs(Editing());
    Edited();
}

void Character::ActivateAllWaypoints()
{
    Format::ActivateAllWaypoints(Editing());
    Edited();
}

void Character::Seal()
{
    if (!Readable() || !Parsed().layout->sizeAndChecksum)
        return;
    QByteArray image = m_edited.ImageCopy();
    const QByteArray original = image;
    Format::WriteSizeAndChecksum(image);
    if (image != original)
        m_edited.ReplaceImage(image);
}

Format::ParsedCharacter &Character::Editing()
{
    if (!m_edited.PendingCharacter())
        m_edited.SetPendingCharacter(std::make_unique<Format::ParsedCharacter>(Parsed()));
    return *m_edited.PendingCharacter();
}

void Character::Edited()
{
    if (m_edited.EditDepth() == 0)
        Flush();
}

void Character::Flush()
{
    const std::unique_ptr<Format::ParsedCharacter> edited = m_edited.TakePendingCharacter();
    if (!edited)
        return;
    const QByteArray original = m_edited.ImageCopy();
    const Format::BuildResult built = Format::Build(*edited, original);
    // A refused build leaves the image as it was, and the edits are dropped.
    if (!built.Built())
        throw EditRefusal{QStringLiteral("The character was not changed: %1.").arg(built.refusal)};
    if (built.image != original)
        m_edited.ReplaceImage(built.image);
    m_parse = m_edited.ParsedImage();
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
