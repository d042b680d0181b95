#pragma once

#include <QString>
#include <QStringList>

// The names under which the command line picks a class, skill, difficulty,
// act, quest, quest state or waypoint: the names the window lists, from the
// game-data tables. They are matched without regard to letter case, blanks,
// hyphens, underscores or apostrophes, so "den-of-evil" picks "Den of Evil"
// and "notstarted" picks "Not Started". The game's own spelling of a name the
// window spells otherwise is taken beside it ("Telekinesis" for
// "Telekenesis"). Each returns -1 when nothing matches.

int ClassFromName(const QString &name);
int DifficultyFromName(const QString &name);
// "Act2" or "2": the act index 1; "Act5" is 4.
int ActFromName(const QString &name);
// A quest of an act: its list position.
int QuestFromName(int act, const QString &name);
int QuestStateFromName(const QString &name);
// A waypoint of any act: its act and list position.
bool WaypointFromName(const QString &name, int &act, int &position);
// A skill of a class by its name, or its position 0 to 29 as a number.
int SkillFromName(int charClass, const QString &name);

// The form in which names are compared.
QString NameKey(const QString &name);

// The names a finder above takes, in list order: every class and act of
// every version (a command checks what the character itself has), the quests
// of an act, the waypoints of every act, the skills of a class.
QStringList ClassNames();
QStringList DifficultyNames();
QStringList ActNames();
QStringList QuestNamesOf(int act);
QStringList QuestStateNames();
QStringList WaypointNames();
QStringList SkillNamesOf(int charClass);
// " Did you mean "A"?" (or "A" or "B") with the listed names nearest to name by
// the edit distance of their compared forms, when one is near enough; else empty.
QString DidYouMean(const QStringList &listed, const QString &name);
