#include "Names.h"

#include "document/GameData.h"

namespace {

int Find(const char *const *names, int count, const QString &name)
{
    const QString key = NameKey(name);
    if (key.isEmpty())
        return -1;
    for (int k = 0; k < count; ++k) {
        if (NameKey(QString::fromLatin1(names[k])) == key)
            return k;
    }
    return -1;
}

} // namespace

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
