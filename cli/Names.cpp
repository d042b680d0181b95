#include "Names.h"

#include "document/GameData.h"

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

int Find(const char *const *names, int count, const QString &name)
{
    const QString key = NameKey(Listed(name));
    if (key.isEmpty())
        return -1;
    for (int k = 0; k < count; ++k) {
        if (NameKey(QString::fromLatin1(names[k])) == key)
            return k;
    }
    return -1;
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

QStringList ListedNames(const char *const *names, int count)
{
    QStringList listed;
    for (int k = 0; k < count; ++k)
        listed.append(QString::fromLatin1(names[k]));
    return listed;
}

QStringList SkillNamesOf(int charClass)
{
    if (charClass < 0 || charClass >= kClassCount)
        return {};
    return ListedNames(SkillNames + charClass * kSkillsPerClass, kSkillsPerClass);
}

QStringList QuestNamesOf(int act)
{
    if (act < 0 || act >= kActCount)
        return {};
    return ListedNames(g_strQuestNames + act * kQuestSlotsPerAct, QuestCountOfAct(act));
}

QStringList WaypointNames()
{
    QStringList listed;
    for (int a = 0; a < kActCount; ++a)
        listed += ListedNames(g_strWaypointNames + a * kWaypointSlotsPerAct, WaypointCountOfAct(a));
    return listed;
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
    return Find(g_strClassNames, kClassCount, name);
}

int DifficultyFromName(const QString &name)
{
    return Find(g_strDifficultyNames, kDifficultyCount, name);
}

int ActFromName(const QString &name)
{
    const int act = Find(g_strActNames, kActCount, name);
    if (act >= 0)
        return act;
    return Find(g_strActNames, kActCount, QStringLiteral("Act") + name);
}

int QuestFromName(int act, const QString &name)
{
    if (act < 0 || act >= kActCount)
        return -1;
    return Find(g_strQuestNames + act * kQuestSlotsPerAct, QuestCountOfAct(act), name);
}

int QuestStateFromName(const QString &name)
{
    return Find(g_strQuestStateNames, kQuestStateCount, name);
}

bool WaypointFromName(const QString &name, int &act, int &position)
{
    for (int a = 0; a < kActCount; ++a) {
        const int p = Find(g_strWaypointNames + a * kWaypointSlotsPerAct, WaypointCountOfAct(a), name);
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
        return position >= 0 && position < kSkillsPerClass ? position : -1;
    if (charClass < 0 || charClass >= kClassCount)
        return -1;
    return Find(SkillNames + charClass * kSkillsPerClass, kSkillsPerClass, name);
}
