#include "BulkCommands.h"

#include "document/BulkEdits.h"
#include "document/Character.h"
#include "Session.h"
#include "Console.h"
#include "document/GameNames.h"
#include "Names.h"

namespace {

QString Caption(const Invocation &invocation)
{
    return invocation.command;
}

bool NamedOrReport(const Invocation &invocation, bool found, const QString &what, const QString &name,
                   const QStringList &listed)
{
    if (!found)
        Report(Caption(invocation), QStringLiteral("%1 \"%2\" is unknown.").arg(what, name) + DidYouMean(listed, name));
    return found;
}

// Act5 is an expansion character's only.
bool HasAct(const Invocation &invocation, const CharacterView &character, int act)
{
    if (act < character.ActCount())
        return true;
    Report(Caption(invocation), QStringLiteral("%1 is an expansion character's only; this character has %2 acts.")
                                    .arg(GameNames::ActName(act))
                                    .arg(character.ActCount()));
    return false;
}

int RunOnFiles(const Invocation &invocation, int trailing, const Edit &edit)
{
    QStringList files, rest;
    if (!SplitFiles(invocation, trailing, files, rest))
        return ExitUsage;
    return EditCharacters(files, Caption(invocation), invocation.Has("dry-run"), edit);
}

} // namespace

int RunQuest(const Invocation &invocation)
{
    const QStringList args = invocation.operands.mid(invocation.operands.size() - 4);
    const int difficulty = DifficultyFromName(args[0]);
    const int act = ActFromName(args[1]);
    const int quest = QuestFromName(act, args[2]);
    const int state = QuestStateFromName(args[3]);
    if (!NamedOrReport(invocation, difficulty >= 0, QStringLiteral("difficulty"), args[0], DifficultyNames())
        || !NamedOrReport(invocation, act >= 0, QStringLiteral("act"), args[1], ActNames())
        || !NamedOrReport(invocation, quest >= 0, QStringLiteral("quest of ") + GameNames::ActName(act), args[2],
                          QuestNamesOf(act))
        || !NamedOrReport(invocation, state >= 0, QStringLiteral("quest state"), args[3], QuestStateNames()))
        return ExitFailure;

    return RunOnFiles(invocation, 4, [=](CDiablo2Doc &doc) {
        Character character(doc);
        if (!HasAct(invocation, character, act))
            return false;
        character.SetQuestState(difficulty, act, quest, state);
        return true;
    });
}

int RunWaypoint(const Invocation &invocation)
{
    const QStringList args = invocation.operands.mid(invocation.operands.size() - 3);
    const int difficulty = DifficultyFromName(args[0]);
    int act = -1;
    int position = -1;
    const bool found = WaypointFromName(args[1], act, position);
    const QString state = args[2].toLower();
    const bool on = state == QLatin1String("on");
    if (!NamedOrReport(invocation, difficulty >= 0, QStringLiteral("difficulty"), args[0], DifficultyNames())
        || !NamedOrReport(invocation, found, QStringLiteral("waypoint"), args[1], WaypointNames()))
        return ExitFailure;
    if (!on && state != QLatin1String("off")) {
        Report(Caption(invocation), QStringLiteral("\"%1\" is neither on nor off.").arg(args[2]));
        return ExitFailure;
    }

    return RunOnFiles(invocation, 3, [=](CDiablo2Doc &doc) {
        Character character(doc);
        if (!HasAct(invocation, character, act))
            return false;
        character.SetWaypointActive(difficulty, act, position, on);
        return true;
    });
}

int RunOpenAll(const Invocation &invocation)
{
    const bool difficultiesOnly = invocation.Has("difficulties");
    const bool actsOnly = invocation.Has("acts");
    if (difficultiesOnly && actsOnly) {
        ReportWrongCommandLine(QStringLiteral("give --acts or --difficulties, not both."));
        return ExitUsage;
    }
    const OpenStep upTo = difficultiesOnly ? OpenStep::Difficulties : actsOnly ? OpenStep::Acts : OpenStep::Waypoints;
    return RunOnFiles(invocation, 0, [=](CDiablo2Doc &doc) {
        OpenAll(doc, upTo);
        return true;
    });
}

int RunAllQuestsDone(const Invocation &invocation)
{
    return RunOnFiles(invocation, 0, [](CDiablo2Doc &doc) {
        AllQuestsDone(doc);
        return true;
    });
}

int RunMaxSkills(const Invocation &invocation)
{
    return RunOnFiles(invocation, 0, [](CDiablo2Doc &doc) {
        MaximizeSkillLevels(doc);
        return true;
    });
}

int RunMaxAttributes(const Invocation &invocation)
{
    return RunOnFiles(invocation, 0, [](CDiablo2Doc &doc) {
        WriteMaximizedAttributes(doc);
        return true;
    });
}
