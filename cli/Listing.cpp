#include "Listing.h"

#include "document/Character.h"
#include "Console.h"
#include "document/Diablo2Doc.h"
#include "document/GameData.h"
#include "document/PanelFields.h"
#include "document/GameNames.h"
#include "IndentedJson.h"
#include "ShowJson.h"

#include <array>

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
    return v;
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

QString Latin1(const char *text)
{
    return QString::fromLatin1(text);
}

QString OpenText(bool open)
{
    return open ? QStringLiteral("open") : QStringLiteral("closed");
}

} // namespace

QList<NamedValue> NamedValues(const CDiablo2Doc &doc)
{
    const CharacterValues v = Read(doc);
    QList<NamedValue> values;
    values.append({QStringLiteral("version"), QString::number(v.version)});
    values.append({QStringLiteral("name"), Printable(v.name)});
    values.append({QStringLiteral("class"),
                   HasClass(v) ? GameNames::ClassName(int(v.charClass)) : QString::number(v.charClass)});
    values.append({QStringLiteral("level"), QString::number(v.level)});
    values.append({QStringLiteral("statLevel"), QString::number(v.statLevel)});
    for (int k = 0; k < kPanelFieldCount; ++k)
        values.append({Latin1(kPanelFields[k].key), QString::number(v.panel[k])});
    for (int i = 0; i < v.skills.size(); ++i)
        values.append({QStringLiteral("skill:") + SkillKey(v, i), QString::number(v.skills[i])});

    for (int d = 0; d < v.difficulties.size(); ++d) {
        const QString difficulty = Latin1(g_strDifficultyNames[d]);
        values.append({QStringLiteral("difficulty:") + difficulty, OpenText(v.difficulties[d].open)});
        for (int a = 0; a < v.difficulties[d].acts.size(); ++a) {
            const ActValues &act = v.difficulties[d].acts[a];
            const QString path = difficulty + QLatin1Char('/') + GameNames::ActName(a);
            values.append({QStringLiteral("act:") + path, OpenText(act.open)});
            for (int q = 0; q < act.questStates.size(); ++q) {
                values.append({QStringLiteral("quest:%1/%2").arg(path, GameNames::QuestName(a, q)),
                               Latin1(g_strQuestStateNames[act.questStates[q]])});
            }
            for (int w = 0; w < act.waypoints.size(); ++w) {
                values.append({QStringLiteral("waypoint:%1/%2").arg(path, GameNames::WaypointName(a, w)),
                               act.waypoints[w] ? QStringLiteral("on") : QStringLiteral("off")});
            }
        }
    }
    return values;
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
    bool named = false;
    // A class change renames the skill keys; the bytes behind them stay, so a
    // skill is reported under its new name only when its level changed.
    for (qsizetype k = 0; k < now.size() && k < before.size(); ++k) {
        if (now[k].value == before[k].value)
            continue;
        PrintLine(QStringLiteral("%1%2: %3 -> %4").arg(prefix, now[k].key, before[k].value, now[k].value));
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
