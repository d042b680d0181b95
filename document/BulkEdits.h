#pragma once

#include "PanelFields.h"

#include <functional>

class CDiablo2Doc;
class CharacterView;

// The bytes written by the Edit menu's commands that change many fields at
// once. The main window runs them from its menu and refreshes its panels
// around them; the command-line tool runs them on a file. Each writes through
// the document's checked accessors, so an image too short for a field throws
// "offset out of range" like any other access.

// Opens Nightmare and Hell: the whole difficulty byte becomes 0x14, so every
// other bit of it is cleared.
void OpenAllDifficulties(CDiablo2Doc &doc);

// Writes 1 into the access byte of Acts 2 to 4 of every difficulty, one byte
// each: Normal's three, then Nightmare's, then Hell's.
void OpenAllActs(CDiablo2Doc &doc);

// Makes every waypoint of every difficulty active: the bytes FF FF FF 3F into
// each 4-byte set, Normal's first (bits 0..29 set, 30 and 31 clear).
void ActivateAllWaypoints(CDiablo2Doc &doc);

// Marks every quest of every difficulty "Done", difficulty by difficulty, act
// by act, in list order. Difficulties and acts are left as they are.
void MarkAllQuestsDone(CDiablo2Doc &doc);

// Writes the highest skill level into each of the thirty skill bytes, in
// ascending order, whatever the class.
void MaximizeSkillLevels(CDiablo2Doc &doc);

// What Maximize Attributes puts into a field of this character: 10000 into
// each of Strength, Energy, Vitality and Dexterity, 8000 into each of the six
// health, mana and stamina values, each lowered to the most the file's
// version holds there (1023 for an attribute from version 96 on); 0 for a
// field it leaves alone.
[[nodiscard]] quint32 MaximizedValue(const CharacterView &character, FieldId id);

// Writes the values of Maximize Attributes into the file. (The main window
// puts them into its panel instead, which writes them at its next commit.)
void WriteMaximizedAttributes(CDiablo2Doc &doc);

// The opening commands of the Edit menu, each of which first does the one
// before it: Nightmare and Hell, then every act, then every waypoint.
enum class OpenStep { Difficulties, Acts, Waypoints };
// Runs the steps up to and including upTo; afterStep, when given, runs after
// each one (the window shows its panel there).
void OpenAll(CDiablo2Doc &doc, OpenStep upTo, const std::function<void(OpenStep)> &afterStep = {});

// All Quests Done on a file: opens every act and difficulty, then marks every
// quest done. The waypoints are left as they are.
void AllQuestsDone(CDiablo2Doc &doc);

// The cascade of the panel's three check boxes and the reads behind them
// are the typed character's (Character.h).
