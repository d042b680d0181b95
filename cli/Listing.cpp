#include "Listing.h"

#include "document/Character.h"
#include "Console.h"
#include "document/Diablo2Doc.h"
#include "document/FileVersion.h"
#include "document/GameData.h"
#include "document/PanelFields.h"
#include "document/GameNames.h"
#include "IndentedJson.h"
#include "ShowJson.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct ActValues
{
    bool open = false;
    QList<int> questStates;
    QList<bool> waypoints;
};

struct DifficultyValues
{
    bool open = false;
    QList<ActValues> acts;
};

struct StatusValues
{
    bool hardcore = false;
    bool died = false;
    std::optional<bool> ladder; // where the status byte holds it
    bool expansion = false;
    QString gameMode;            // version 105 only
    bool hasTitle = false;       // the progression byte counts acts beaten
    quint32 progression = 0;
    QString title;
};

struct MercenaryValues
{
    bool known = false; // the file version's layout places the mercenary
    bool hired = false;
    bool dead = false;
    quint32 type = 0;
    QString typeName;
    quint32 nameIndex = 0;
    QString name;
    quint32 experience = 0;
    int level = 0;
};

// Everything shown, read once from the character.
struct CharacterValues
{
    quint32 version = 0;
    QString name;
    quint32 charClass = 0;
    bool hasClass = false;
    quint32 level = 0;
    quint32 statLevel = 0;
    std::array<quint32, kPanelFieldCount> panel{};
    QList<quint32> skills;
    QList<DifficultyValues> difficulties;
    StatusValues status;
    MercenaryValues mercenary;
};

CharacterValues Read(const CDiablo2Doc &doc)
{
    const CharacterView character(doc);
    CharacterValues v;
    v.version = character.FileVersion();
    v.name = character.Name();
    v.charClass = character.ClassByte();
    v.hasClass = character.HasClass();
    v.level = character.HeaderLevel();
    v.statLevel = character.StatLevel();
    for (int k = 0; k < kPanelFieldCount; ++k)
        v.panel[k] = character.Number(kPanelFields[k].id);
    for (int i = 0; i < character.SkillCount(); ++i)
        v.skills.append(character.SkillLevel(i));

    for (int d = 0; d < character.DifficultyCount(); ++d) {
        DifficultyValues difficulty;
        difficulty.open = character.IsDifficultyOpen(d);
        for (int a = 0; a < character.ActCount(); ++a) {
            ActValues act;
            act.open = character.IsActOpen(d, a);
            for (int q = 0; q < character.QuestCount(a); ++q)
                act.questStates.append(character.QuestState(d, a, q));
            for (int w = 0; w < character.WaypointCount(a); ++w)
                act.waypoints.append(character.IsWaypointActive(d, a, w));
            difficulty.acts.append(act);
        }
        v.difficulties.append(difficulty);
    }

    using Flag = CharacterView::Flag;
    v.status.hardcore = character.HasFlag(Flag::Hardcore);
    v.status.died = character.HasFlag(Flag::Died);
    if (character.HoldsFlag(Flag::Ladder))
        v.status.ladder = character.HasFlag(Flag::Ladder);
    v.status.expansion = character.IsExpansion();
    v.status.gameMode = character.GameMode();
    v.status.progression = character.Progression();
    v.status.title = character.Title();
    v.status.hasTitle = character.FileVersion() != 71;

    MercenaryValues &m = v.mercenary;
    m.known = character.HasMercenaryFields();
    if (m.known) {
        m.hired = character.MercenaryHired();
        m.dead = character.MercenaryDead();
        m.type = character.MercenaryType();
        m.typeName = character.MercenaryTypeName();
        m.nameIndex = character.MercenaryNameIndex();
        m.name = character.MercenaryName();
        m.experience = character.MercenaryExperience();
        m.level = character.MercenaryLevel();
    }
    return v;
}

const char *YesNo(bool on)
{
    return on ? "yes" : "no";
}

// "11 (Desert Mercenary (Off-Nightmare))": the number, and what it names when it names something.
QString WithMeaning(quint32 number, const QString &meaning)
{
    return meaning.isEmpty() ? QString::number(number) : QStringLiteral("%1 (%2)").arg(number).arg(meaning);
}

bool HasClass(const CharacterValues &v)
{
    return v.hasClass;
}

// A skill's name in the character's class, or its position when the class
// byte names no class.
QString SkillKey(const CharacterValues &v, int position)
{
    if (!HasClass(v))
        return QString::number(position);
    return GameNames::SkillName(int(v.charClass), position);
}

// Writes the lines of `show` as UTF-8 straight into a buffer: thousands of
// files are listed in one call, and building a string a line at a time cost
// most of its time. Each line is "PREFIXkey: value" and a line end; Line
// starts one with the first part of its key, Add appends the rest, Value ends
// it. When values is given, each line's key and value are also kept there.
class LineWriter
{
public:
    LineWriter(std::string &out, std::string_view prefix, QList<NamedValue> *values = nullptr)
        : m_out(out), m_prefix(prefix), m_values(values)
    {
    }

    LineWriter &Line(const char *key)
    {
        m_out += m_prefix;
        m_keyStart = m_out.size();
        return Add(key);
    }

    // Latin-1 text.
    LineWriter &Add(const char *text)
    {
        const std::string_view bytes(text);
        if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) < 0x80; }))
            m_out += bytes;
        else
            m_out += QString::fromLatin1(bytes).toStdString();
        return *this;
    }

    // UTF-8 text.
    LineWriter &Add(const std::string &text)
    {
        m_out += text;
        return *this;
    }

    LineWriter &Add(QStringView text)
    {
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x80; })) {
            m_out += text.toString().toStdString();
            return *this;
        }
        for (const QChar c : text)
            m_out += char(c.unicode());
        return *this;
    }

    template <typename Text>
    void Value(const Text &text)
    {
        BeginValue();
        Add(text);
        End();
    }

    void Value(quint32 number)
    {
        BeginValue();
        char digits[16];
        const auto written = std::to_chars(digits, digits + sizeof digits, number);
        m_out.append(digits, written.ptr);
        End();
    }

private:
    void BeginValue()
    {
        m_out += ": ";
        m_valueStart = m_out.size();
    }

    void End()
    {
        if (m_values) {
            const std::string_view line(m_out);
            m_values->append(
                {QString::fromStdString(std::string(line.substr(m_keyStart, m_valueStart - 2 - m_keyStart))),
                 QString::fromStdString(std::string(line.substr(m_valueStart)))});
        }
        m_out += '\n';
    }

    std::string &m_out;
    std::string_view m_prefix;
    QList<NamedValue> *m_values;
    std::size_t m_keyStart = 0;
    std::size_t m_valueStart = 0;
};

const char *OpenText(bool open)
{
    return open ? "open" : "closed";
}

// The names of the difficulties, acts, their quests and waypoints in UTF-8,
// made once: every file lists them all.
struct PlaceNames
{
    std::array<std::string, kDifficultyCount> difficulties;
    std::array<std::string, GameNames::Acts> acts;
    std::array<std::vector<std::string>, GameNames::Acts> quests, waypoints;
};

const PlaceNames &Places()
{
    static const PlaceNames names = [] {
        PlaceNames places;
        for (int d = 0; d < kDifficultyCount; ++d)
            places.difficulties[d] = QString::fromLatin1(g_strDifficultyNames[d]).toStdString();
        for (int a = 0; a < GameNames::Acts; ++a) {
            places.acts[a] = GameNames::ActName(a).toStdString();
            for (int q = 0; q < GameNames::QuestCount(a); ++q)
                places.quests[a].push_back(GameNames::QuestName(a, q).toStdString());
            for (int w = 0; w < GameNames::WaypointCount(a); ++w)
                places.waypoints[a].push_back(GameNames::WaypointName(a, w).toStdString());
        }
        return places;
    }();
    return names;
}

// In the order NamedValues tells; the name, which the file holds as it
// likes, printable.
void WriteLines(LineWriter &out, const CharacterValues &v)
{
    out.Line("version").Value(v.version);
    out.Line("name").Value(Printable(v.name));
    HasClass(v) ? out.Line("class").Value(GameNames::ClassName(int(v.charClass)))
                : out.Line("class").Value(v.charClass);
    out.Line("level").Value(v.level);
    out.Line("statLevel").Value(v.statLevel);
    out.Line("hardcore").Value(YesNo(v.status.hardcore));
    out.Line("died").Value(YesNo(v.status.died));
    if (v.status.ladder)
        out.Line("ladder").Value(YesNo(*v.status.ladder));
    out.Line("expansion").Value(YesNo(v.status.expansion));
    if (!v.status.gameMode.isEmpty())
        out.Line("gameMode").Value(v.status.gameMode);
    out.Line("progression").Value(v.status.progression);
    if (v.status.hasTitle)
        out.Line("title").Value(v.status.title.isEmpty() ? QStringLiteral("none") : v.status.title);
    for (int k = 0; k < kPanelFieldCount; ++k)
        out.Line(kPanelFields[k].key).Value(v.panel[k]);
    for (int i = 0; i < v.skills.size(); ++i)
        out.Line("skill:").Add(SkillKey(v, i)).Value(v.skills[i]);

    const PlaceNames &places = Places();
    for (int d = 0; d < v.difficulties.size(); ++d) {
        const std::string &difficulty = places.difficulties.at(d);
        out.Line("difficulty:").Add(difficulty).Value(OpenText(v.difficulties[d].open));
        for (int a = 0; a < v.difficulties[d].acts.size(); ++a) {
            const ActValues &act = v.difficulties[d].acts[a];
            const std::string path = difficulty + '/' + places.acts.at(a);
            out.Line("act:").Add(path).Value(OpenText(act.open));
            for (int q = 0; q < act.questStates.size(); ++q) {
                const std::string &quest = places.quests.at(a).at(q);
                out.Line("quest:").Add(path).Add("/").Add(quest).Value(g_strQuestStateNames[act.questStates[q]]);
            }
            for (int w = 0; w < act.waypoints.size(); ++w) {
                const std::string &waypoint = places.waypoints.at(a).at(w);
                out.Line("waypoint:").Add(path).Add("/").Add(waypoint).Value(act.waypoints[w] ? "on" : "off");
            }
        }
    }

    const MercenaryValues &m = v.mercenary;
    if (!m.known) {
        out.Line("mercenary").Value(QStringLiteral("not known in version %1").arg(v.version));
        return;
    }
    out.Line("mercenary").Value(m.hired ? "hired" : "not hired");
    if (!m.hired)
        return;
    out.Line("mercenaryDead").Value(YesNo(m.dead));
    out.Line("mercenaryType").Value(WithMeaning(m.type, m.typeName));
    out.Line("mercenaryName").Value(WithMeaning(m.nameIndex, m.name));
    out.Line("mercenaryExperience").Value(m.experience);
    out.Line("mercenaryLevel").Value(quint32(m.level));
}

// The status byte's flags, the game mode, the progression and the mercenary.
void WriteStatus(IndentedJson &json, const CharacterValues &v)
{
    const StatusValues &status = v.status;
    json.Key("hardcore").Bool(status.hardcore);
    json.Key("died").Bool(status.died);
    status.ladder ? json.Key("ladder").Bool(*status.ladder) : json.Key("ladder").Null();
    if (!status.gameMode.isEmpty())
        json.Key("gameMode").String(status.gameMode);
    json.Key("progression").Number(status.progression);
    status.hasTitle && !status.title.isEmpty() ? json.Key("title").String(status.title) : json.Key("title").Null();

    const MercenaryValues &m = v.mercenary;
    if (!m.known) {
        json.Key("mercenary").Null();
        return;
    }
    json.Key("mercenary").BeginObject();
    json.Key("dead").Bool(m.dead);
    json.Key("experience").Number(m.experience);
    json.Key("hired").Bool(m.hired);
    json.Key("level").Number(m.level);
    m.name.isEmpty() ? json.Key("name").Null() : json.Key("name").String(m.name);
    json.Key("nameIndex").Number(m.nameIndex);
    json.Key("type").Number(m.type);
    m.typeName.isEmpty() ? json.Key("typeName").Null() : json.Key("typeName").String(m.typeName);
    json.EndObject();
}

} // namespace

QList<NamedValue> NamedValues(const CDiablo2Doc &doc)
{
    QList<NamedValue> values;
    std::string text;
    LineWriter out(text, {}, &values);
    WriteLines(out, Read(doc));
    return values;
}

void AppendValueLines(std::string &out, const CDiablo2Doc &doc, std::string_view prefix)
{
    LineWriter lines(out, prefix);
    WriteLines(lines, Read(doc));
}

void AppendHeldLines(std::string &out, const CDiablo2Doc &doc, std::string_view prefix)
{
    LineWriter lines(out, prefix);
    if (FileVersion::NamesVersion(doc))
        lines.Line("version").Value(FileVersion::Of(doc));
    lines.Line("held").Value(Printable(FileVersion::RefusalText(doc)));
}

void WriteHeldObject(IndentedJson &json, const CDiablo2Doc &doc, const QString &path)
{
    json.BeginObject();
    json.Key("file").String(path);
    FileVersion::NamesVersion(doc) ? json.Key("fileVersion").Number(FileVersion::Of(doc)) : json.Key("fileVersion").Null();
    json.Key("formatVersion").Number(kJsonFormatVersion);
    json.Key("held").String(FileVersion::RefusalText(doc));
    json.EndObject();
}

void WriteCharacterObject(IndentedJson &json, const CDiablo2Doc &doc, const QString &path)
{
    const CharacterValues v = Read(doc);
    json.BeginObject();
    json.Key("file").String(path);
    json.Key("fileVersion").Number(v.version);
    json.Key("name").String(v.name);
    AddFormatFields(json, doc);
    json.Key("level").Number(v.level);
    json.Key("statLevel").Number(v.statLevel);
    for (int k = 0; k < kPanelFieldCount; ++k)
        json.Key(kPanelFields[k].key).Number(v.panel[k]);
    WriteStatus(json, v);

    json.Key("skills").BeginArray();
    for (int i = 0; i < v.skills.size(); ++i) {
        json.BeginObject();
        json.Key("level").Number(v.skills[i]);
        HasClass(v) ? json.Key("name").String(SkillKey(v, i)) : json.Key("name").Null();
        json.Key("position").Number(i);
        json.EndObject();
    }
    json.EndArray();

    // The members of the smaller objects come in the order of their keys,
    // which the writer would otherwise have to restore.
    json.Key("difficulties").BeginArray();
    for (int d = 0; d < v.difficulties.size(); ++d) {
        json.BeginObject();
        json.Key("acts").BeginArray();
        for (int a = 0; a < v.difficulties[d].acts.size(); ++a) {
            const ActValues &act = v.difficulties[d].acts[a];
            json.BeginObject();
            json.Key("name").String(GameNames::ActName(a));
            json.Key("open").Bool(act.open);
            json.Key("quests").BeginArray();
            for (int q = 0; q < act.questStates.size(); ++q) {
                json.BeginObject();
                json.Key("name").String(GameNames::QuestName(a, q));
                json.Key("state").String(g_strQuestStateNames[act.questStates[q]]);
                json.EndObject();
            }
            json.EndArray();
            json.Key("waypoints").BeginArray();
            for (int w = 0; w < act.waypoints.size(); ++w) {
                json.BeginObject();
                json.Key("active").Bool(act.waypoints[w]);
                json.Key("name").String(GameNames::WaypointName(a, w));
                json.EndObject();
            }
            json.EndArray();
            json.EndObject();
        }
        json.EndArray();
        json.Key("name").String(g_strDifficultyNames[d]);
        json.Key("open").Bool(v.difficulties[d].open);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

QByteArray ImageOf(const CDiablo2Doc &doc)
{
    return doc.ImageCopy();
}

void PrintChanges(const QString &prefix, const QList<NamedValue> &before, const QByteArray &beforeImage,
                  const CDiablo2Doc &after)
{
    const QList<NamedValue> now = before.isEmpty() ? before : NamedValues(after);
    QHash<QString, QString> was;
    for (const NamedValue &value : before)
        was.insert(value.key, value.value);
    bool named = false;
    // A value is matched by its key. A class change renames the skill keys
    // and keeps the list's length: a skill is matched by its place then, and
    // reported under its new name only when its level changed. A key only
    // one side has (an act that the expansion adds) is not a change of a value.
    for (qsizetype k = 0; k < now.size(); ++k) {
        const auto old = was.constFind(now[k].key);
        if (old == was.cend() && now.size() != before.size())
            continue;
        const QString &oldValue = old != was.cend() ? *old : before[k].value;
        if (now[k].value == oldValue)
            continue;
        PrintLine(QStringLiteral("%1%2: %3 -> %4").arg(prefix, now[k].key, oldValue, now[k].value));
        named = true;
    }
    if (named)
        return;

    const QByteArray image = ImageOf(after);
    bool bytes = false;
    for (qsizetype k = 0; k < image.size() && k < beforeImage.size(); ++k) {
        if (image[k] == beforeImage[k])
            continue;
        PrintLine(QStringLiteral("%1byte %2: %3 -> %4")
                      .arg(prefix)
                      .arg(k)
                      .arg(quint8(beforeImage[k]))
                      .arg(quint8(image[k])));
        bytes = true;
    }
    if (!bytes)
        PrintLine(prefix + QStringLiteral("no change"));
}
