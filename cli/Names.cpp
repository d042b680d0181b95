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
    return Find(g_strClassNames, ClassCount, name);
}

int DifficultyFromName(const QString &name)
{
    return Find(g_strDifficultyNames, DifficultyCount, name);
}

int ActFromName(const QString &name)
{
    const int act = Find(g_strActNames, ActCount, name);
    if (act >= 0)
        return act;
    return Find(g_strActNames, ActCount, QStringLiteral("Act") + name);
}

int QuestFromName(int act, const QString &name)
{
    if (act < 0 || act >= ActCount)
        return -1;
    return Find(g_strQuestNames + act * QuestSlotsPerAct, QuestCountOfAct(act), name);
}

int QuestStateFromName(const QString &name)
{
    return Find(g_strQuestStateNames, QuestStateCount, name);
}

bool WaypointFromName(const QString &name, int &act, int &position)
{
    for (int a = 0; a < ActCount; ++a) {
        const int p = Find(g_strWaypointNames + a * WaypointSlotsPerAct, WaypointCountOfAct(a), name);
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
        return position >= 0 && position < SkillsPerClass ? position : -1;
    if (charClass < 0 || charClass >= ClassCount)
        return -1;
    return Find(SkillNames + charClass * SkillsPerClass, SkillsPerClass, name);
}
