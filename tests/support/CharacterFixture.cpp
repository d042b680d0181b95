#include "support/CharacterFixture.h"

#include "document/GameData.h"
#include "document/layout/Layout.h"

#include <QFile>

#include <cstring>

namespace {

// The slots of the optional values in the expanded image, from the highest
// offset down, so that removing one does not move the ones still to remove.
struct OptionalSlot
{
    unsigned bit;
    quint32 first;
};
const OptionalSlot kSlotsHighestFirst[] = {
    {CharacterFixture::Optional::GoldInStash, Layout::GoldInStashFirst},
    {CharacterFixture::Optional::Gold, Layout::GoldFirst},
    {CharacterFixture::Optional::Experience, Layout::ExperienceFirst},
    {CharacterFixture::Optional::SkillPoints, Layout::SkillPointsToAddFirst},
    {CharacterFixture::Optional::AttributePoints, Layout::AttributePointsToAddFirst},
};

} // namespace

CharacterFixture::CharacterFixture()
{
    m_image.resize(DefaultLength);
    for (quint32 k = 0; k < DefaultLength; ++k)
        m_image[k] = char(FillByte(k));

    Put(0, 3, 0xAA55AA55u); // the signature 55 AA 55 AA
    Version(Layout::KnownFileVersion);
    Name("Fixture");
    DifficultyFlags(0);
    Class(1);
    Level(10);

    for (int d = 0; d < kDifficultyCount; ++d) {
        for (int a = 0; a < kActCount; ++a) {
            for (int q = 0; q < QuestCountOfAct(a); ++q)
                QuestWord(d, a, q, 0, 0);
            if (a > 0)
                ActByte(d, a, 0);
        }
        WaypointSet(d, d == 0 ? 0x00000001u : 0u);
    }

    namespace L = Layout;
    const quint32 stats[][3] = {
        {L::StrengthFirst, L::StrengthLast, 15}, {L::EnergyFirst, L::EnergyLast, 25}, {L::DexterityFirst, L::DexterityLast, 20},
        {L::VitalityFirst, L::VitalityLast, 10}, {L::AttributePointsToAddFirst, L::AttributePointsToAddLast, 5},
        {L::SkillPointsToAddFirst, L::SkillPointsToAddLast, 1}, {L::ManaFirst, L::ManaLast, 500},
        {L::MaxManaFirst, L::MaxManaLast, 600}, {L::MaxStaminaFirst, L::MaxStaminaLast, 700}, {L::StaminaFirst, L::StaminaLast, 650}};
    for (const auto &stat : stats)
        Put(stat[0], stat[1], stat[2]);
    Health(300).MaxHealth(400).Experience(57715).Gold(1234).GoldInStash(5678);
    for (int i = 0; i < Layout::SkillCount; ++i)
        Skill(i, quint8(i % 20 + 1));
}

void CharacterFixture::Put(quint32 first, quint32 last, quint32 value)
{
    if (last >= quint32(m_image.size())) {
        const quint32 old = quint32(m_image.size());
        m_image.resize(last + 1);
        for (quint32 k = old; k <= last; ++k)
            m_image[k] = char(FillByte(k));
    }
    for (quint32 k = first; k <= last; ++k, value >>= 8)
        m_image[k] = char(value & 0xFF);
}

CharacterFixture &CharacterFixture::Name(const QByteArray &latin1)
{
    for (quint32 k = 0; k < Layout::CharNameLength; ++k)
        Put(Layout::CharNameFirst + k, Layout::CharNameFirst + k,
            k < quint32(latin1.size()) ? quint8(latin1[k]) : 0);
    return *this;
}

CharacterFixture &CharacterFixture::Version(quint32 v) { Put(Layout::FileVersionFirst, Layout::FileVersionLast, v); return *this; }
CharacterFixture &CharacterFixture::Class(quint8 v) { Put(Layout::CharClass, Layout::CharClass, v); return *this; }
CharacterFixture &CharacterFixture::StatLevel(quint8 v) { Put(Layout::StatLevel, Layout::StatLevel, v); return *this; }
CharacterFixture &CharacterFixture::Level(quint8 v) { Put(Layout::CharLevel, Layout::CharLevel, v); return StatLevel(v); }
CharacterFixture &CharacterFixture::DifficultyFlags(quint8 v) { Put(Layout::DifficultyFlags, Layout::DifficultyFlags, v); return *this; }

CharacterFixture &CharacterFixture::Health(quint16 v) { Put(Layout::HealthFirst, Layout::HealthLast, v); return *this; }
CharacterFixture &CharacterFixture::MaxHealth(quint16 v) { Put(Layout::MaxHealthFirst, Layout::MaxHealthLast, v); return *this; }
CharacterFixture &CharacterFixture::Experience(quint32 v) { Put(Layout::ExperienceFirst, Layout::ExperienceLast, v); return *this; }
CharacterFixture &CharacterFixture::Gold(quint32 v) { Put(Layout::GoldFirst, Layout::GoldLast, v); return *this; }
CharacterFixture &CharacterFixture::GoldInStash(quint32 v) { Put(Layout::GoldInStashFirst, Layout::GoldInStashLast, v); return *this; }

CharacterFixture &CharacterFixture::Skill(int position, quint8 level)
{
    Q_ASSERT(position >= 0 && position < Layout::SkillCount);
    const quint32 offset = Layout::SkillLevelFirst + quint32(position);
    Put(offset, offset, level);
    return *this;
}

CharacterFixture &CharacterFixture::QuestWord(int difficulty, int act, int position, quint8 byte0,
                                              quint8 byte1)
{
    Q_ASSERT(difficulty >= 0 && difficulty < kDifficultyCount && act >= 0 && act < kActCount
             && position >= 0 && position < QuestCountOfAct(act));
    const quint32 offset = g_nQuestOffsets[difficulty][act][position];
    Put(offset, offset + 1, quint32(byte0) | quint32(byte1) << 8);
    return *this;
}

CharacterFixture &CharacterFixture::ActByte(int difficulty, int act, quint8 value)
{
    Q_ASSERT(difficulty >= 0 && difficulty < kDifficultyCount && act >= 1 && act < kActCount);
    const quint32 offset = g_nActOffsets[difficulty][act];
    Put(offset, offset, value);
    return *this;
}

CharacterFixture &CharacterFixture::WaypointSet(int difficulty, quint32 bits)
{
    Q_ASSERT(difficulty >= 0 && difficulty < kDifficultyCount);
    const quint32 offset = g_nWaypointOffsets[difficulty];
    Put(offset, offset + 3, bits);
    return *this;
}

CharacterFixture &CharacterFixture::Byte(quint32 offset, quint8 value) { Put(offset, offset, value); return *this; }

CharacterFixture &CharacterFixture::Without(unsigned optional) { m_without |= optional & Optional::All; return *this; }
CharacterFixture &CharacterFixture::Length(quint32 fileLength) { m_length = fileLength; return *this; }

quint32 CharacterFixture::Removed() const
{
    quint32 removed = 0;
    for (const OptionalSlot &slot : kSlotsHighestFirst)
        removed += (m_without & slot.bit) ? 4 : 0;
    return removed;
}

QByteArray CharacterFixture::Model(quint32 expandedLength) const
{
    QByteArray full = m_image;
    for (quint32 k = quint32(full.size()); k < expandedLength; ++k)
        full.append(char(FillByte(k)));

    auto present = [this](unsigned bit) { return (m_without & bit) == 0; };
    quint8 low = 0xCF, high = 0x1F; // the bits that do not tell about the optional values
    if (present(Optional::AttributePoints)) low |= Layout::AttributePointsPresentBit;
    if (present(Optional::SkillPoints)) low |= Layout::SkillPointsPresentBit;
    if (present(Optional::Experience)) high |= Layout::ExperiencePresentBit;
    if (present(Optional::Gold)) high |= Layout::GoldPresentBit;
    if (present(Optional::GoldInStash)) high |= Layout::GoldInStashPresentBit;
    full[Layout::StatPresenceMaskLow] = char(low);
    full[Layout::StatPresenceMaskHigh] = char(high);
    return full;
}

// The file as stored (the left-out values cut from the stat block), or the
// image the load makes of it (the left-out values as zeros, both mask bytes 0xFF).
QByteArray CharacterFixture::Shaped(bool expanded) const
{
    const quint32 removed = Removed();
    const quint32 fileLength = m_length.value_or(quint32(m_image.size()) - removed);
    QByteArray image = Model(fileLength + removed);
    for (const OptionalSlot &slot : kSlotsHighestFirst) {
        if (!(m_without & slot.bit))
            continue;
        if (expanded)
            std::memset(image.data() + slot.first, 0, 4);
        else
            image.remove(slot.first, 4);
    }
    if (expanded && removed != 0) {
        image[Layout::StatPresenceMaskLow] = char(0xFF);
        image[Layout::StatPresenceMaskHigh] = char(0xFF);
    }
    image.truncate(fileLength + (expanded ? removed : 0));
    return image;
}

QByteArray CharacterFixture::Build() const { return Shaped(false); }
QByteArray CharacterFixture::Expanded() const { return Shaped(true); }
bool CharacterFixture::WriteTo(const QString &path) const { return WriteFile(path, Build()); }

bool CharacterFixture::WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray CharacterFixture::ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

FixtureDoc::FixtureDoc(const QByteArray &image, const QString &fileName) { Hold(image, fileName); }

void FixtureDoc::Hold(const QByteArray &image, const QString &fileName)
{
    ReplaceImage(image);
    m_strFileName = fileName;
    SetModifiedFlag(false);
}

QByteArray DocumentImage(const CDiablo2Doc &doc) { return doc.ImageCopy(); }

QString ThrownText(const std::function<void()> &action)
{
    try {
        action();
    } catch (const char *text) {
        return QString::fromLatin1(text);
    }
    return QString();
}
