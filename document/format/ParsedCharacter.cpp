#include "ParsedCharacter.h"

#include "document/FieldRules.h"
#include "document/GameData.h"

#include <stdexcept>

namespace Format {

namespace {

// The word that marks each of Acts 1 to 4 finished; the act after it opens
// with it. The fourth (word 28) is believed from real files, not documented.
constexpr int kActFinishedWord[4] = {7, 15, 23, 28};

// The bits of a quest word that tell its state: given (2), requirement done
// (1), reward taken (0), log updated (12).
constexpr quint16 kQuestStateBits = 0x1007;

constexpr int kActFiveQuests = 6;
constexpr int kActFiveWaypoints = 9;
constexpr int kActFiveFirstWaypointBit = 30;

// The index of a quest's word in its difficulty's record. A slot past the
// end of an act's list names no word: asking for it is a fault of the caller.
std::size_t QuestWordIndex(const ParsedCharacter &c, int act, int position)
{
    if (act < 0 || act >= QuestActs || position < 0 || position >= QuestCountOf(act)
        || (*c.layout->questWords)[act][position] == 0)
        throw std::out_of_range("no quest at this act and position");
    return (*c.layout->questWords)[act][position];
}

int WaypointBitOf(int act, int position)
{
    return act < kActCount ? WaypointBit(act, position) : kActFiveFirstWaypointBit + position;
}

// The waypoint's bit in the character's set, or 0 when the set has none for it.
quint64 WaypointMaskOf(const ParsedCharacter &c, int act, int position)
{
    const int bit = WaypointBitOf(act, position);
    if (bit < 0 || bit >= 8 * WaypointBytes(*c.layout))
        return 0;
    return quint64(1) << bit;
}

// The count of acts beaten from which Nightmare (1) and Hell (2) are open.
quint8 DifficultyThreshold(const ParsedCharacter &c, int difficulty)
{
    static constexpr quint8 classic[Difficulties] = {0, 4, 8};
    static constexpr quint8 expansion[Difficulties] = {0, 5, 10};
    return (c.expansion ? expansion : classic)[difficulty];
}

} // namespace

QString NameOf(const ParsedCharacter &c)
{
    if (c.layout->nameRule == NameRule::Utf8)
        return QString::fromUtf8(c.name);
    return QString::fromLatin1(c.name);
}

void SetName(ParsedCharacter &c, const QString &name)
{
    const bool utf8 = c.layout->nameRule == NameRule::Utf8;
    QByteArray bytes;
    for (const QChar ch : name) {
        const QByteArray one = utf8 ? QString(ch).toUtf8() : QString(ch).toLatin1();
        if (bytes.size() + one.size() > NameCapacity(*c.layout))
            break;
        bytes += one;
    }
    c.name = bytes;
    c.nameSet = true;
}

quint32 WholeValue(const ParsedCharacter &c, FieldId id)
{
    return WholeOf(c.layout->statCodec, int(id), c.stats[id]);
}

void SetWholeValue(ParsedCharacter &c, FieldId id, quint32 whole)
{
    c.stats[id] = WithWhole(c.layout->statCodec, int(id), c.stats[id], whole);
}

int ActCountOf(const ParsedCharacter &c)
{
    return c.expansion ? QuestActs : kActCount;
}

int QuestCountOf(int act)
{
    return act == kActCount ? kActFiveQuests : QuestCountOfAct(act);
}

int QuestState(const ParsedCharacter &c, int difficulty, int act, int position)
{
    const quint16 word = c.questWords.at(std::size_t(difficulty)).at(QuestWordIndex(c, act, position));
    return QuestStateFromWord(quint8(word), quint8(word >> 8));
}

void SetQuestState(ParsedCharacter &c, int difficulty, int act, int position, int state)
{
    const QuestWord bytes = QuestWordForState(state);
    const auto written = quint16(bytes.byte0 | (bytes.byte1 << 8));
    quint16 &word = c.questWords.at(std::size_t(difficulty)).at(QuestWordIndex(c, act, position));
    // Not Started resets the quest; another state keeps the bits the game
    // set beside it (the Cow Level done, Anya rescued, done in an earlier game).
    if (c.layout->questStateRule == QuestStateRule::WholeWord || written == 0)
        word = written;
    else
        word = quint16((word & ~kQuestStateBits) | written);
}

bool IsEditedQuestWord(const FamilyLayout &layout, int word)
{
    for (const int finished : kActFinishedWord) {
        if (word == finished)
            return true;
    }
    for (int act = 0; act < QuestActs; ++act) {
        for (int position = 0; position < QuestCountOf(act); ++position) {
            if (word != 0 && (*layout.questWords)[act][position] == word)
                return true;
        }
    }
    return false;
}

bool IsActOpen(const ParsedCharacter &c, int difficulty, int act)
{
    if (act == 0)
        return true;
    const quint16 word = c.questWords.at(std::size_t(difficulty)).at(std::size_t(kActFinishedWord[act - 1]));
    return (c.layout->actRule == ActRule::LowByte ? quint8(word) : word) != 0;
}

void SetActOpen(ParsedCharacter &c, int difficulty, int act, bool open)
{
    if (act == 0)
        return;
    quint16 &word = c.questWords.at(std::size_t(difficulty)).at(std::size_t(kActFinishedWord[act - 1]));
    if (c.layout->actRule == ActRule::LowByte)
        word = quint16((word & 0xFF00) | ActAccessByte(open));
    else if (IsActOpen(c, difficulty, act) != open)
        word = ActAccessByte(open);
}

bool IsDifficultyOpen(const ParsedCharacter &c, int difficulty)
{
    if (c.layout->difficultyRule == DifficultyRule::FlagBits)
        return ::IsDifficultyOpen(c.progression, difficulty);
    return c.progression >= DifficultyThreshold(c, difficulty);
}

void SetDifficultyOpen(ParsedCharacter &c, int difficulty, bool open)
{
    if (difficulty == 0 || IsDifficultyOpen(c, difficulty) == open)
        return;
    if (c.layout->difficultyRule == DifficultyRule::FlagBits) {
        c.progression = WithDifficulty(c.progression, difficulty, open);
        return;
    }
    const quint8 threshold = DifficultyThreshold(c, difficulty);
    c.progression = open ? threshold : quint8(threshold - 1);
}

int WaypointCountOf(int act)
{
    return act == kActCount ? kActFiveWaypoints : WaypointCountOfAct(act);
}

bool IsWaypointActive(const ParsedCharacter &c, int difficulty, int act, int position)
{
    return (c.waypoints.at(std::size_t(difficulty)) & WaypointMaskOf(c, act, position)) != 0;
}

void SetWaypointActive(ParsedCharacter &c, int difficulty, int act, int position, bool active)
{
    quint64 &bits = c.waypoints.at(std::size_t(difficulty));
    const quint64 mask = WaypointMaskOf(c, act, position);
    bits = active ? (bits | mask) : (bits & ~mask);
}

} // namespace Format
