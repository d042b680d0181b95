#include "Status.h"

#include "ClassRules.h"
#include "document/GameData.h"
#include "document/GameNames.h"
#include "document/Mercenaries.h"

#include <algorithm>

namespace Format {

namespace {

constexpr int kAct5 = 4;

bool IsFemale(quint32 classId)
{
    return classId == 0 || classId == 1 || classId == Assassin;
}

// The three titles of each kind, by the steps of the progression byte.
struct TitleRow
{
    bool expansion;
    bool hardcore;
    const char *male[3];
    const char *female[3];
};

constexpr TitleRow kTitles[] = {
    {false, false, {"Sir", "Lord", "Baron"}, {"Dame", "Lady", "Baroness"}},
    {false, true, {"Count", "Duke", "King"}, {"Countess", "Duchess", "Queen"}},
    {true, false, {"Slayer", "Champion", "Patriarch"}, {"Slayer", "Champion", "Matriarch"}},
    {true, true, {"Destroyer", "Conqueror", "Guardian"}, {"Destroyer", "Conqueror", "Guardian"}},
};

struct ModeKey
{
    GameMode mode;
    const char *key;
};

constexpr ModeKey kModeKeys[] = {
    {GameMode::Classic, "classic"}, {GameMode::Expansion, "expansion"}, {GameMode::Warlock, "warlock"}};

} // namespace

bool HoldsFlag(const ParsedCharacter &c, quint8 bit)
{
    return (c.layout->statusFlags & bit) != 0;
}

bool HasFlag(const ParsedCharacter &c, quint8 bit)
{
    return HoldsFlag(c, bit) && (c.status & bit) != 0;
}

QString SetFlag(ParsedCharacter &c, quint8 bit, bool on)
{
    if (!HoldsFlag(c, bit))
        return QStringLiteral("a version-%1 file does not mark %2 characters")
            .arg(c.version)
            .arg(QLatin1String(bit == kHardcoreBit ? "hardcore" : bit == kDiedBit ? "dead" : "ladder"));
    c.status = on ? (c.status | bit) : (c.status & ~quint32(bit));
    return {};
}

bool ReadsAsExpansion(const ParsedCharacter &c)
{
    if (!HoldsFlag(c, kExpansionBit))
        return false;
    return (c.status & kExpansionBit) != 0
        || (c.layout->gameModeOffset >= 0 && c.gameMode >= quint32(GameMode::Expansion));
}

QString ExpansionContent(const ParsedCharacter &c)
{
    if (c.classId >= quint32(kClassCount) && c.classId <= quint32(Warlock))
        return QStringLiteral("it is a %1").arg(GameNames::ClassName(int(c.classId)));
    for (int d = 0; d < Difficulties; ++d) {
        bool progress = IsActOpen(c, d, kAct5);
        for (int q = 0; q < QuestCountOf(kAct5); ++q)
            progress = progress || QuestState(c, d, kAct5, q) != 0;
        for (int w = 0; w < WaypointCountOf(kAct5); ++w)
            progress = progress || IsWaypointActive(c, d, kAct5, w);
        if (progress)
            return QStringLiteral("it has Act5 progress in %1").arg(QLatin1String(g_strDifficultyNames[d]));
    }
    if (c.mercenaryId != 0 && Mercenaries::TypeOf(c.version, true, c.mercenaryType).act == 5)
        return QStringLiteral("its mercenary is from Act5");
    return {};
}

QString SetExpansion(ParsedCharacter &c, bool on)
{
    if (on == c.expansion)
        return {};
    if (!HoldsFlag(c, kExpansionBit))
        return QStringLiteral("a version-%1 file does not mark expansion characters").arg(c.version);
    if (!on) {
        const QString content = ExpansionContent(c);
        if (!content.isEmpty())
            return QStringLiteral("this character cannot leave the expansion: %1").arg(content);
        c.status &= ~quint32(kExpansionBit);
    } else if (c.layout->gameModeOffset < 0) {
        c.status |= kExpansionBit;
    }
    if (c.layout->gameModeOffset >= 0)
        c.gameMode = quint32(on ? GameMode::Expansion : GameMode::Classic);
    c.expansion = ReadsAsExpansion(c);
    return {};
}

QString SetGameMode(ParsedCharacter &c, GameMode mode)
{
    if (c.layout->gameModeOffset < 0)
        return QStringLiteral("a version-%1 file has no game mode").arg(c.version);
    if (c.gameMode == quint32(mode))
        return {};
    if (c.classId == quint32(Warlock))
        return QStringLiteral("a Warlock stays in the Warlock's game mode");
    if (mode == GameMode::Classic)
        return SetExpansion(c, false);
    c.gameMode = quint32(mode);
    c.expansion = ReadsAsExpansion(c);
    return {};
}

QString GameModeKey(const ParsedCharacter &c)
{
    if (c.layout->gameModeOffset < 0)
        return {};
    for (const ModeKey &m : kModeKeys) {
        if (c.gameMode == quint32(m.mode))
            return QLatin1String(m.key);
    }
    return {};
}

bool GameModeFromKey(const QString &key, GameMode &mode)
{
    for (const ModeKey &m : kModeKeys) {
        if (key.compare(QLatin1String(m.key), Qt::CaseInsensitive) == 0) {
            mode = m.mode;
            return true;
        }
    }
    return false;
}

QString TitleOf(const ParsedCharacter &c)
{
    if (c.layout->difficultyRule != DifficultyRule::Progression)
        return {};
    // Classic titles step at 4, 8 and 12 acts beaten; the expansion's at 5, 10 and 15.
    const quint32 step = c.expansion ? 5 : 4;
    const quint32 rank = std::min<quint32>(c.progression / step, 3);
    if (rank == 0)
        return {};
    const bool hardcore = HasFlag(c, kHardcoreBit);
    for (const TitleRow &row : kTitles) {
        if (row.expansion != c.expansion || row.hardcore != hardcore)
            continue;
        const QString male = QLatin1String(row.male[rank - 1]);
        const QString female = QLatin1String(row.female[rank - 1]);
        if (male == female || c.classId == quint32(Warlock))
            return male == female ? male : male + QStringLiteral(" or ") + female;
        return IsFemale(c.classId) ? female : male;
    }
    return {};
}

} // namespace Format
