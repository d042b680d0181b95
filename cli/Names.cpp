#include "Names.h"

#include "document/GameData.h"
#include "document/GameNames.h"

#include <functional>

#include <algorithm>
#include <vector>

namespace {

// The game's spelling of names the window's lists spell otherwise.
struct Spelling
{
    const char *game;
    const char *listed;
};
constexpr Spelling kGameSpellings[] = {
    {"Poison Javelin", "Poison Javalin"}, {"Slow Missiles", "Slow Missles"},  {"Impale", "Imaple"},
    {"Telekinesis", "Telekenesis"},       {"Thunder Storm", "Thunder Strom"}, {"Corpse Explosion", "Corpe Explosion"},
    {"Bone Prison", "Bone Prision"},      {"Vengeance", "Vengence"},          {"Redemption", "Redemtion"},
    {"Fist of the Heavens", "Fist of Heavens"}, {"Throwing Mastery", "Throwiing Mastery"}, {"Grim Ward", "Grim Wand"},
    {"Berserk", "Bersek"},                {"Palace Cellar", "Pallace Cellar"},
    {"Werewolf", "Wearwolf"},             {"Werebear", "Wearbear"},
};

// The listed name a game's spelling stands for, or the name itself.
QString Listed(const QString &name)
{
    const QString key = NameKey(name);
    for (const Spelling &spelling : kGameSpellings) {
        if (NameKey(QString::fromLatin1(spelling.game)) == key)
            return QString::fromLatin1(spelling.listed);
    }
    return name;
}

int Find(const QStringList &names, const QString &name)
{
    const QString key = NameKey(Listed(name));
    if (key.isEmpty())
        return -1;
    for (qsizetype k = 0; k < names.size(); ++k) {
        if (NameKey(names[k]) == key)
            return int(k);
    }
    return -1;
}

QStringList Listed(const char *const *names, int count)
{
    QStringList listed;
    for (int k = 0; k < count; ++k)
        listed.append(QString::fromLatin1(names[k]));
    return listed;
}

// The names of positions 0 .. count - 1 of a list.
QStringList Listed(int count, const std::function<QString(int)> &name)
{
    QStringList listed;
    for (int k = 0; k < count; ++k)
        listed.append(name(k));
    return listed;
}

QStringList WaypointNamesOf(int act)
{
    return Listed(GameNames::WaypointCount(act), [act](int w) { return GameNames::WaypointName(act, w); });
}

qsizetype EditDistance(const QString &a, const QString &b)
{
    std::vector<qsizetype> row(size_t(b.size()) + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[size_t(j)] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[size_t(j)];
            row[size_t(j)] = std::min({above + 1, row[size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[size_t(b.size())];
}

} // namespace

QStringList ClassNames()
{
    return Listed(GameNames::Classes, GameNames::ClassName);
}

QStringList DifficultyNames()
{
    return Listed(g_strDifficultyNames, kDifficultyCount);
}

QStringList ActNames()
{
    return Listed(GameNames::Acts, GameNames::ActName);
}

QStringList QuestNamesOf(int act)
{
    return Listed(GameNames::QuestCount(act), [act](int q) { return GameNames::QuestName(act, q); });
}

QStringList QuestStateNames()
{
    return Listed(g_strQuestStateNames, kQuestStateCount);
}

QStringList WaypointNames()
{
    QStringList listed;
    for (int a = 0; a < GameNames::Acts; ++a)
        listed += WaypointNamesOf(a);
    return listed;
}

QStringList SkillNamesOf(int charClass)
{
    if (charClass < 0 || charClass >= GameNames::Classes)
        return {};
    return Listed(GameNames::SkillsPerClass, [charClass](int k) { return GameNames::SkillName(charClass, k); });
}

QString DidYouMean(const QStringList &listed, const QString &name)
{
    const QString key = NameKey(name);
    // Near enough: a third of the name's letters wrong, at least one.
    qsizetype best = std::max<qsizetype>(1, key.size() / 3) + 1;
    QStringList nearest;
    for (const QString &candidate : listed) {
        const qsizetype distance = EditDistance(key, NameKey(candidate));
        if (distance < best) {
            best = distance;
            nearest.clear();
        }
        if (distance == best)
            nearest.append(QLatin1Char('"') + candidate + QLatin1Char('"'));
    }
    return nearest.isEmpty() ? QString() : QStringLiteral(" Did you mean %1?").arg(nearest.join(QStringLiteral(" or ")));
}

QString NameKey(const QString &name)
{
    QString key;
    key.reserve(name.size());
    for (const QChar c : name) {
        if (c.isLetterOrNumber())
            key.append(c.toLower());
    }
    return key;
}

int ClassFromName(const QString &name)
{
    return Find(ClassNames(), name);
}

int DifficultyFromName(const QString &name)
{
    return Find(DifficultyNames(), name);
}

int ActFromName(const QString &name)
{
    const int act = Find(ActNames(), name);
    if (act >= 0)
        return act;
    return Find(ActNames(), QStringLiteral("Act") + name);
}

int QuestFromName(int act, const QString &name)
{
    return Find(QuestNamesOf(act), name);
}

int QuestStateFromName(const QString &name)
{
    return Find(QuestStateNames(), name);
}

bool WaypointFromName(const QString &name, int &act, int &position)
{
    for (int a = 0; a < GameNames::Acts; ++a) {
        const int p = Find(WaypointNamesOf(a), name);
        if (p >= 0) {
            act = a;
            position = p;
            return true;
        }
    }
    return false;
}

int SkillFromName(int charClass, const QString &name)
{
    bool isNumber = false;
    const int position = name.trimmed().toInt(&isNumber, 10);
    if (isNumber)
        return position >= 0 && position < GameNames::SkillsPerClass ? position : -1;
    return Find(SkillNamesOf(charClass), name);
}
