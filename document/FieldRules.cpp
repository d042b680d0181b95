#include "FieldRules.h"

#include "GameData.h"

int QuestStateFromWord(quint8 byte0, quint8 byte1)
{
    int state = 0;
    if (byte0 & 0x04)
        state = 1;
    if (byte0 & 0x02)
        state = 2;
    if ((byte0 & 0x01) || byte1 == 0x10)
        state = 3;
    return state;
}

QuestWord QuestWordForState(int state)
{
    switch (state) {
    case 1: return {0x04, 0x00};
    case 2: return {0x06, 0x00};
    case 3: return {0x07, 0x10};
    default: return {0x00, 0x00};
    }
}

int WaypointBit(int act, int position)
{
    return act * kWaypointSlotsPerAct + position;
}

namespace {

// The set's bit for a waypoint, or 0 when the act and position name no bit.
quint32 WaypointMask(int act, int position)
{
    const int bit = WaypointBit(act, position);
    if (bit < 0 || bit > 31)
        return 0;
    return quint32(1) << bit;
}

} // namespace

bool IsWaypointActive(quint32 set, int act, int position)
{
    return (set & WaypointMask(act, position)) != 0;
}

quint32 WithWaypoint(quint32 set, int act, int position, bool active)
{
    const quint32 mask = WaypointMask(act, position);
    return active ? (set | mask) : (set & ~mask);
}

quint8 DifficultyMask(int difficulty)
{
    switch (difficulty) {
    case 1: return 0x04;
    case 2: return 0x10;
    default: return 0x00;
    }
}

bool IsDifficultyOpen(quint8 flags, int difficulty)
{
    if (difficulty == 0)
        return true;
    const quint8 mask = DifficultyMask(difficulty);
    return mask != 0 && (flags & mask) != 0;
}

quint8 WithDifficulty(quint8 flags, int difficulty, bool open)
{
    const quint8 mask = DifficultyMask(difficulty);
    return open ? quint8(flags | mask) : quint8(flags & ~mask);
}

int LevelIndexFromExperience(quint32 experience)
{
    for (int k = 0; k < 100; ++k) {
        if (LevelExperienceTable[k] > experience)
            return k - 1;
    }
    return kLevelCount - 1;
}

quint32 ExperienceOfLevel(int level)
{
    return LevelExperienceTable[level - 1];
}
