#pragma once

#include "Invocation.h"

// The quest and waypoint commands and the bulk commands of the Edit menu,
// each with the window's byte effects, on every file given.

// quest FILE... DIFFICULTY ACT QUEST STATE
int RunQuest(const Invocation &invocation);
// waypoint FILE... DIFFICULTY NAME on|off
int RunWaypoint(const Invocation &invocation);
// open-all FILE... [--acts | --difficulties]
int RunOpenAll(const Invocation &invocation);
// all-quests-done FILE...
int RunAllQuestsDone(const Invocation &invocation);
// max-skills FILE...
int RunMaxSkills(const Invocation &invocation);
// max-attributes FILE...
int RunMaxAttributes(const Invocation &invocation);
