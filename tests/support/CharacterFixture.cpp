#include "support/CharacterFixture.h"

#include "document/GameData.h"
#include "support/Offsets71.h"

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
    {CharacterFixture::Optional::GoldInStash, Offsets71::GoldInStash},
    {CharacterFixture::Optional::Gold, Offsets71::Gold},
    {CharacterFixture::Optional::Experience, Offsets71::Experience},
    {CharacterFixture::Optional::SkillPoints, Offsets71::SkillPoints},
    {CharacterFixture::Optional::AttributePoints, Offsets71::AttributePoints},
};

} // namespace

CharacterFixture::CharacterFixture()
{
    m_image.resize(DefaultLength);
    for (quint32 k = 0; k < DefaultLength; ++k)
        m_image[k] = char(FillByte(k));

    Put(0, 3, 0xAA55AA55u); // the signature 55 AA 55 AA
    Version(71);
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

    namespace O = Offsets71;
    const quint32 stats[][3] = {{O::Strength, 3, 15}, {O::Energy, 3, 25}, {O::Dexterity, 3, 20}, {O::Vitality, 3, 10},
                                {O::AttributePoints, 3, 5}, {O::SkillPoints, 3, 1}, {O::Mana, 1, 500},
                                {O::MaxMana, 1, 600}, {O::MaxStamina, 1, 700}, {O::Stamina, 1, 650}};
    for (const auto &stat : stats)
        Put(stat[0], stat[0] + stat[1], stat[2]);
    Health(300).MaxHealth(400).Experience(57715).Gold(1234).GoldInStash(5678);
    for (int i = 0; i < int(Offsets71::SkillCount); ++i)
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
    for (quint32 k = 0; k < Offsets71::NameLength; ++k)
        Put(Offsets71::NameFirst + k, Offsets71::NameFirst + k, k < quint32(latin1.size()) ? quint8(latin1[k]) : 0);
    return *this;
}

CharacterFixture &CharacterFixture::Version(quint32 v) { Put(Offsets71::Version, Offsets71::Version + 3, v); return *this; }
CharacterFixture &CharacterFixture::Class(quint8 v) { Put(Offsets71::Class, Offsets71::Class, v); return *this; }
CharacterFixture &CharacterFixture::StatLevel(quint8 v) { Put(Offsets71::StatLevel, Offsets71::StatLevel, v); return *this; }
CharacterFixture &CharacterFixture::Level(quint8 v) { Put(Offsets71::Level, Offsets71::Level, v); return StatLevel(v); }
CharacterFixture &CharacterFixture::DifficultyFlags(quint8 v) { Put(Offsets71::DifficultyFlags, Offsets71::DifficultyFlags, v); return *this; }

CharacterFixture &CharacterFixture::Health(quint16 v) { Put(Offsets71::Health, Offsets71::Health + 1, v); return *this; }
CharacterFixture &CharacterFixture::MaxHealth(quint16 v) { Put(Offsets71::MaxHealth, Offsets71::MaxHealth + 1, v); return *this; }
CharacterFixture &CharacterFixture::Experience(quint32 v) { Put(Offsets71::Experience, Offsets71::Experience + 3, v); return *this; }
CharacterFixture &CharacterFixture::Gold(quint32 v) { Put(Offsets71::Gold, Offsets71::Gold + 3, v); return *this; }
CharacterFixture &CharacterFixture::GoldInStash(quint32 v) { Put(Offsets71::GoldInStash, Offsets71::GoldInStash + 3, v); return *this; }

CharacterFixture &CharacterFixture::Skill(int position, quint8 level)
{
    Q_ASSERT(position >= 0 && position < int(Offsets71::SkillCount));
    const quint32 offset = Offsets71::Skills + quint32(position);
    Put(offset, offset, level);
    return *this;
}

CharacterFixture &CharacterFixture::QuestWord(int difficulty, int act, int position, quint8 byte0,
                                              quint8 byte1)
{
    Q_ASSERT(difficulty >= 0 && difficulty < kDifficultyCount && act >= 0 && act < kActCount
             && position >= 0 && position < QuestCountOfAct(act));
    const quint32 offset = Offsets71::Quest(difficulty, act, position);
    Put(offset, offset + 1, quint32(byte0) | quint32(byte1) << 8);
    return *this;
}

CharacterFixture &CharacterFixture::ActByte(int difficulty, int act, quint8 value)
{
    Q_ASSERT(difficulty >= 0 && difficulty < kDifficultyCount && act >= 1 && act < kActCount);
    const quint32 offset = Offsets71::Act(difficulty, act);
    Put(offset, offset, value);
    return *this;
}

CharacterFixture &CharacterFixture::WaypointSet(int difficulty, quint32 bits)
{
    Q_ASSERT(difficulty >= 0 && difficulty < kDifficultyCount);
    const quint32 offset = Offsets71::Waypoints(difficulty);
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
    if (present(Optional::AttributePoints)) low |= Offsets71::AttributePointsBit;
    if (present(Optional::SkillPoints)) low |= Offsets71::SkillPointsBit;
    if (present(Optional::Experience)) high |= Offsets71::ExperienceBit;
    if (present(Optional::Gold)) high |= Offsets71::GoldBit;
    if (present(Optional::GoldInStash)) high |= Offsets71::GoldInStashBit;
    full[Offsets71::MaskLow] = char(low);
    full[Offsets71::MaskHigh] = char(high);
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
        image[Offsets71::MaskLow] = char(0xFF);
        image[Offsets71::MaskHigh] = char(0xFF);
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

QByteArray CharacterFixture::RealFile(const QString &name)
{
    return ReadFile(qEnvironmentVariable("QUARVINEL_TEST_DATA") + QLatin1Char('/') + name);
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
