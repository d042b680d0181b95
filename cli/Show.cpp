#include "Show.h"

#include "CharacterFiles.h"
#include "Console.h"
#include "Diablo2Doc.h"
#include "FieldRules.h"
#include "FileVersion.h"
#include "PanelFields.h"
#include "GameData.h"
#include "Layout.h"
#include "ShowJson.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <array>

namespace {

struct ActValues
{
    bool open = false;
    std::array<int, QuestSlotsPerAct> questStates{};
    std::array<bool, WaypointSlotsPerAct> waypoints{};
};

struct DifficultyValues
{
    bool open = false;
    std::array<ActValues, ActCount> acts;
};

// Everything shown, read once from the image.
struct CharacterValues
{
    QString name;
    quint32 charClass = 0;
    quint32 level = 0;
    quint32 statLevel = 0;
    std::array<quint32, PanelFieldCount> panel{};
    std::array<quint8, Layout::SkillCount> skills{};
    std::array<DifficultyValues, DifficultyCount> difficulties;
};

quint8 ByteAt(const CDiablo2Doc &doc, quint32 offset)
{
    return quint8(doc.GetUInt(offset, offset));
}

CharacterValues Read(const CDiablo2Doc &doc)
{
    CharacterValues v;
    v.name = doc.GetCharName();
    v.charClass = doc.GetUInt(Layout::CharClass, Layout::CharClass);
    v.level = doc.GetUInt(Layout::CharLevel, Layout::CharLevel);
    v.statLevel = doc.GetUInt(Layout::StatLevel, Layout::StatLevel);
    for (int k = 0; k < PanelFieldCount; ++k)
        v.panel[k] = ReadField(doc, kPanelFields[k].id);
    for (int i = 0; i < Layout::SkillCount; ++i)
        v.skills[i] = ByteAt(doc, Layout::SkillLevelFirst + quint32(i));

    const quint8 flags = ByteAt(doc, Layout::DifficultyFlags);
    for (int d = 0; d < DifficultyCount; ++d) {
        DifficultyValues &difficulty = v.difficulties[d];
        difficulty.open = IsDifficultyOpen(flags, d);
        const quint32 setFirst = g_nWaypointOffsets[d];
        const quint32 set = doc.GetUInt(setFirst, setFirst + 3);
        for (int a = 0; a < ActCount; ++a) {
            ActValues &act = difficulty.acts[a];
            act.open = !ActHasAccessByte(a) || IsActOpen(ByteAt(doc, g_nActOffsets[d][a]));
            for (int q = 0; q < QuestCountOfAct(a); ++q) {
                const quint32 offset = g_nQuestOffsets[d][a][q];
                act.questStates[q] = QuestStateFromWord(ByteAt(doc, offset), ByteAt(doc, offset + 1));
            }
            for (int w = 0; w < WaypointCountOfAct(a); ++w)
                act.waypoints.at(size_t(w)) = IsWaypointActive(set, a, w);
        }
    }
    return v;
}

bool HasClass(const CharacterValues &v)
{
    return v.charClass < quint32(ClassCount);
}

// A skill's name in the character's class, or its position when the class
// byte names no class.
QString SkillKey(const CharacterValues &v, int position)
{
    if (!HasClass(v))
        return QString::number(position);
    return QString::fromLatin1(SkillNames[int(v.charClass) * Layout::SkillCount + position]);
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
    values.append({QStringLiteral("version"), QString::number(FileVersion::Of(doc))});
    values.append({QStringLiteral("name"), v.name});
    values.append({QStringLiteral("class"),
                   HasClass(v) ? Latin1(g_strClassNames[v.charClass]) : QString::number(v.charClass)});
    values.append({QStringLiteral("level"), QString::number(v.level)});
    values.append({QStringLiteral("statLevel"), QString::number(v.statLevel)});
    for (int k = 0; k < PanelFieldCount; ++k)
        values.append({Latin1(kPanelFields[k].key), QString::number(v.panel[k])});
    for (int i = 0; i < Layout::SkillCount; ++i)
        values.append({QStringLiteral("skill:") + SkillKey(v, i), QString::number(v.skills[i])});

    for (int d = 0; d < DifficultyCount; ++d) {
        const QString difficulty = Latin1(g_strDifficultyNames[d]);
        values.append({QStringLiteral("difficulty:") + difficulty, OpenText(v.difficulties[d].open)});
        for (int a = 0; a < ActCount; ++a) {
            const ActValues &act = v.difficulties[d].acts[a];
            const QString path = difficulty + QLatin1Char('/') + Latin1(g_strActNames[a]);
            values.append({QStringLiteral("act:") + path, OpenText(act.open)});
            for (int q = 0; q < QuestCountOfAct(a); ++q) {
                values.append({QStringLiteral("quest:%1/%2").arg(path, Latin1(g_strQuestNames[a * QuestSlotsPerAct + q])),
                               Latin1(g_strQuestStateNames[act.questStates[q]])});
            }
            for (int w = 0; w < WaypointCountOfAct(a); ++w) {
                values.append({QStringLiteral("waypoint:%1/%2").arg(path, Latin1(g_strWaypointNames[a * WaypointSlotsPerAct + w])),
                               act.waypoints[w] ? QStringLiteral("on") : QStringLiteral("off")});
            }
        }
    }
    return values;
}

QJsonObject CharacterObject(const CDiablo2Doc &doc, const QString &path)
{
    const CharacterValues v = Read(doc);
    QJsonObject object;
    object.insert(QStringLiteral("file"), path);
    object.insert(QStringLiteral("fileVersion"), qint64(FileVersion::Of(doc)));
    object.insert(QStringLiteral("name"), v.name);
    AddFormatFields(object, doc);
    object.insert(QStringLiteral("level"), qint64(v.level));
    object.insert(QStringLiteral("statLevel"), qint64(v.statLevel));
    for (int k = 0; k < PanelFieldCount; ++k)
        object.insert(Latin1(kPanelFields[k].key), qint64(v.panel[k]));

    QJsonArray skills;
    for (int i = 0; i < Layout::SkillCount; ++i) {
        QJsonObject skill;
        skill.insert(QStringLiteral("position"), i);
        skill.insert(QStringLiteral("name"),
                     HasClass(v) ? QJsonValue(SkillKey(v, i)) : QJsonValue(QJsonValue::Null));
        skill.insert(QStringLiteral("level"), int(v.skills[i]));
        skills.append(skill);
    }
    object.insert(QStringLiteral("skills"), skills);

    QJsonArray difficulties;
    for (int d = 0; d < DifficultyCount; ++d) {
        QJsonArray acts;
        for (int a = 0; a < ActCount; ++a) {
            const ActValues &act = v.difficulties[d].acts[a];
            QJsonArray quests;
            for (int q = 0; q < QuestCountOfAct(a); ++q) {
                quests.append(QJsonObject{
                    {QStringLiteral("name"), Latin1(g_strQuestNames[a * QuestSlotsPerAct + q])},
                    {QStringLiteral("state"), Latin1(g_strQuestStateNames[act.questStates[q]])},
                });
            }
            QJsonArray waypoints;
            for (int w = 0; w < WaypointCountOfAct(a); ++w) {
                waypoints.append(QJsonObject{
                    {QStringLiteral("name"), Latin1(g_strWaypointNames[a * WaypointSlotsPerAct + w])},
                    {QStringLiteral("active"), act.waypoints[w]},
                });
            }
            acts.append(QJsonObject{
                {QStringLiteral("name"), Latin1(g_strActNames[a])},
                {QStringLiteral("open"), act.open},
                {QStringLiteral("quests"), quests},
                {QStringLiteral("waypoints"), waypoints},
            });
        }
        difficulties.append(QJsonObject{
            {QStringLiteral("name"), Latin1(g_strDifficultyNames[d])},
            {QStringLiteral("open"), v.difficulties[d].open},
            {QStringLiteral("acts"), acts},
        });
    }
    object.insert(QStringLiteral("difficulties"), difficulties);
    return object;
}

QByteArray ImageOf(const CDiablo2Doc &doc)
{
    return doc.ImageCopy();
}

void PrintChanges(const QString &prefix, const QList<NamedValue> &before, const QByteArray &beforeImage,
                  const CDiablo2Doc &after)
{
    const QList<NamedValue> now = NamedValues(after);
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

int RunShow(const Invocation &invocation)
{
    QStringList files, rest;
    if (!SplitFiles(invocation, 0, files, rest))
        return ExitUsage;

    // Every file that loads is shown; each that does not has been reported.
    Characters characters;
    const int status = LoadCharacters(files, characters) ? ExitSuccess : ExitFailure;

    if (invocation.Has("json")) {
        QJsonArray array;
        for (const Character &character : characters)
            array.append(CharacterObject(*character.doc, character.path));
        PrintLine(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented)).trimmed());
        return status;
    }

    for (const Character &character : characters) {
        const QString prefix = files.size() > 1 ? character.path + QStringLiteral(": ") : QString();
        for (const NamedValue &value : NamedValues(*character.doc))
            PrintLine(prefix + value.key + QStringLiteral(": ") + value.value);
    }
    return status;
}
