#include "Commands.h"

#include "BulkCommands.h"
#include "FileCommands.h"
#include "ItemsCommand.h"
#include "document/CharacterNames.h"
#include "document/FieldLimits.h"
#include "document/GameData.h"
#include "RawTools.h"
#include "SetCommand.h"
#include "Show.h"

namespace {

const char *const kShowDetails = R"(
Prints every value the window shows: name, class, both level bytes (level in
the header, statLevel in the stat block), experience, gold, goldInStash, the
four attributes, the two point counters, health, mana and stamina with their
maxima, each skill by name, and for each difficulty whether it is open, its
acts, the state of every quest and every waypoint. Then the status: hardcore,
died, ladder (from version 92), expansion, the game mode (version 105), the
progression byte and the title it gives; and last the mercenary: hired or
not, and for a hired one dead, its type, its name, experience and level.

As text, one "key: value" line each; with several files every line starts with
the file's name. With --json, a JSON array with one object per file that
loaded; its numbers carry the field names that `set` takes (the format is
described in docs/cli-json.md). A file that cannot be read is reported and the
others are still shown; the exit status is then 1.

  --json    print JSON instead of text
)";

const char *const kSetDetails = R"(
Sets fields of the character panel in every FILE, in the order given, and
saves each file once. An argument holding '=' is a FIELD=VALUE (unless a '/'
comes before the '='); every other argument is a file. Field names ignore
letter case.

  experience=N                 any number up to 4294967295
  gold=N  goldInStash=N
  strength=N  dexterity=N  vitality=N  energy=N
  attributePointsToAdd=N  skillPointsToAdd=N
                               at most %1, and in a later file at most what
                               the game takes: gold 10000 a level, goldInStash
                               2500000; from version 96 the attributes and
                               attributePointsToAdd 1023, skillPointsToAdd 255
  health=N  mana=N  stamina=N  at most %2; a current value above its
                               maximum raises the maximum
  maxHealth=N  maxMana=N  maxStamina=N
                               at most %2; never lowers the current value
  level=N                      1 to %3: both level bytes become N and the
                               experience the start of level N
  class=NAME                   Amazon, Sorceress, Necromancer, Paladin or
                               Barbarian; Druid or Assassin for an expansion
                               character; Warlock for a version-105 character
                               of "Reign of the Warlock"; the skill levels
                               stay as they are
  skill:NAME=N                 a skill of the character's class by name, or
                               by its position 0 to %4; level 0 to %5
  hardcore=FLAG  died=FLAG     FLAG: true, false, yes, no, 1 or 0; died=no
                               revives a dead hardcore character
  ladder=FLAG                  from version 92; single player ignores it
  expansion=FLAG               from version 92; a character leaves the
                               expansion only without a Druid or Assassin, Act5
                               progress or a mercenary from Act5
  gameMode=MODE                version 105: classic, expansion or warlock; a
                               Warlock stays in the Warlock's mode
  mercenaryDead=FLAG  mercenaryExperience=N  mercenaryName=N
                               a hired mercenary only (from version 92): its
                               experience up to that of level 98 for its type,
                               its name by index among its type's names

A value out of range, an unknown field or a skill the class does not have is
an error, and then no file is written.

  --dry-run    print what would change, write nothing
)";

const char *const kQuestDetails = R"(
Sets the state of one quest in every FILE, as the window's quest list does.
DIFFICULTY is Normal, Nightmare or Hell; ACT is Act1 to Act4 (or 1 to 4), and
Act5 (or 5) for an expansion character; QUEST is a quest of that act by name;
STATE is "Not Started", "Started", "Reward" or "Done". Names ignore letter
case, blanks and hyphens: not-started, den-of-evil.

  --dry-run    print what would change, write nothing
)";

const char *const kWaypointDetails = R"(
Switches one waypoint of a difficulty on or off in every FILE, as the window's
"WP Activ." box does: a waypoint switched on also opens its act when the act
was closed, and an act so opened also opens its difficulty when that was
closed. NAME is a waypoint by name, such as "Rogue Encampment" or travincal.

  --dry-run    print what would change, write nothing
)";

const char *const kOpenAllDetails = R"(
Opens everything in every FILE, as Edit, Activate All Way Points does:
Nightmare and Hell open (in a version-71 file the difficulty byte becomes
0x14, its other bits clear), Acts 2 to 4 of every difficulty open (to Act5 in
an expansion character), and every waypoint of every difficulty is switched
on.

  --acts           only difficulties and acts (Edit, Activate All Acts)
  --difficulties   only Nightmare and Hell (Edit, Activate Nightmare and Hell)
  --dry-run        print what would change, write nothing
)";

const char *const kAllQuestsDoneDetails = R"(
Marks every quest of every difficulty "Done" in every FILE, as Edit, All
Quests Done does: it also opens Nightmare and Hell and Acts 2 to 4 of every
difficulty (to Act5 in an expansion character), and leaves the waypoints as
they are.

  --dry-run    print what would change, write nothing
)";

const char *const kMaxSkillsDetails = R"(
Sets each of the %1 skill levels to %2 in every FILE, whatever the class,
as Edit, Maximize Skills does.

  --dry-run    print what would change, write nothing
)";

const char *const kMaxAttributesDetails = R"(
Writes %1 into strength, dexterity, vitality and energy and %2 into
health, mana and stamina and their maxima in every FILE, as Edit, Maximize
Attributes followed by File, Save does. A file of a later version gets at
most what its fields hold (strength 1023 from version 96, for one).

  --dry-run    print what would change, write nothing
)";

const char *const kBackupDetails = R"(
Writes each FILE, as it loads, to its backup beside it: the same path with
the extension replaced by "bak" (Hero.d2s -> Hero.bak), replacing any earlier
backup, as File, Backup does.
)";

const char *const kRestoreDetails = R"(
Replaces each FILE by its backup (Hero.d2s <- Hero.bak), as File, Restore
followed by File, Save does. The backup stays. The character file need not
exist; a missing backup, or one too short to be a character, is an error and
then no file is written.
)";

const char *const kRenameDetails = R"(
Renames the character in FILE to NEWNAME, as Edit, Rename Character does: the
character file and its companion files (.map, .key, .ma0 to .ma3 and .ctl of
the same name, where they exist) move to NEWNAME in the same folder, and
NEWNAME is written into the file. NEWNAME follows the game's rule for the
file's version: 2 to %1 letters a-z, A-Z up to version 89; from version 92, 2
to %2 characters, letters with at most one - or _, neither first nor last.
Nothing moves when any of the new file names is taken.
)";

const char *const kGetDetails = R"(
Prints the unsigned little-endian value held by the bytes FIRST to LAST
(inclusive, at most 4 bytes) of each FILE, as the Edit value tool's Get value.
A range outside the file, LAST before FIRST or more than 4 bytes is an error;
the other files are still read, and the exit status is then 1.
)";

const char *const kPutDetails = R"(
Writes VALUE little-endian over the bytes FIRST to LAST (inclusive, at most 4
bytes) of each FILE and saves it, as the Edit value tool's Set value followed
by File, Save. Only as many low bytes of VALUE as the range holds are written:
put Hero.d2s 100 100 300 writes 44. A range that does not fit writes nothing.

  --dry-run    print what would change, write nothing
)";

const char *const kFindDetails = R"(
Prints the first range FIRST..LAST at which VALUE is stored in each FILE, as
the Find value tool's Find: the lowest offset wins, and at one offset the
narrowest width of 1 to 4 bytes. Exit status 1 when VALUE is found nowhere or
a file could not be read (the others are still searched).

  --all    every match, as repeated Find Next shows them (matches may overlap)
)";

const char *const kDiffDetails = R"(
Compares FILE with OTHER as the Compare tool does, both as they load: one line
"OFFSET: A B" for each offset inside both files at which they differ (A the
byte of FILE, B that of OTHER, in decimal), then, when their lengths differ,
how much bigger or smaller OTHER is. Exit status, as cmp and diff: 0 the files
are the same, 1 they differ, 2 a file could not be read.
)";

// A help text with its numbers filled in from the rules that hold them.
template <class... Numbers>
QString Filled(const char *text, Numbers... numbers)
{
    QString filled = QString::fromLatin1(text);
    ((filled = filled.arg(numbers)), ...);
    return filled;
}

} // namespace

const QList<Command> &Commands()
{
    using namespace FieldLimits;
    static const QList<Command> commands = {
        {"show", "FILE... [--json]", "print every value of characters, as text or JSON", kShowDetails,
         "json", 1, -1, RunShow},
        {"items", "FILE... [--json]", "list the items of characters, read only", ItemsDetails(), "json", 1, -1, RunItems},
        {"set", "FILE... FIELD=VALUE... [--dry-run]", "set panel fields with the panel's limits",
         Filled(kSetDetails, Value, Pool, kLevelCount, kSkillsPerClass - 1, SkillLevel), "dry-run force", 2, -1,
         RunSet},
        {"quest", "FILE... DIFFICULTY ACT QUEST STATE [--dry-run]", "set the state of one quest",
         kQuestDetails, "dry-run force", 5, -1, RunQuest},
        {"waypoint", "FILE... DIFFICULTY NAME on|off [--dry-run]", "switch one waypoint on or off",
         kWaypointDetails, "dry-run force", 4, -1, RunWaypoint},
        {"open-all", "FILE... [--acts | --difficulties] [--dry-run]", "open every difficulty, act and waypoint",
         kOpenAllDetails, "acts difficulties dry-run force", 1, -1, RunOpenAll},
        {"all-quests-done", "FILE... [--dry-run]", "mark every quest done", kAllQuestsDoneDetails,
         "dry-run force", 1, -1, RunAllQuestsDone},
        {"max-skills", "FILE... [--dry-run]", Filled("set every skill level to %1", MaximizedSkillLevel),
         Filled(kMaxSkillsDetails, kSkillsPerClass, MaximizedSkillLevel), "dry-run force", 1, -1, RunMaxSkills},
        {"max-attributes", "FILE... [--dry-run]",
         Filled("set attributes to %1, health, mana, stamina to %2", MaximizedAttribute, MaximizedPool),
         Filled(kMaxAttributesDetails, MaximizedAttribute, MaximizedPool), "dry-run force", 1, -1, RunMaxAttributes},
        {"backup", "FILE...", "write each file's backup beside it", kBackupDetails, "force", 1, -1, RunBackup},
        {"restore", "FILE...", "replace each file by its backup", kRestoreDetails, "force", 1, -1, RunRestore},
        {"rename", "FILE NEWNAME", "rename a character with its files",
         Filled(kRenameDetails, kCharacterNameLength, kLaterCharacterNameLength), "force", 2, 2, RunRename},
        {"get", "FILE... FIRST LAST", "print the value over a range of offsets", kGetDetails, "", 3, -1, RunGet},
        {"put", "FILE... FIRST LAST VALUE [--dry-run]", "write a value over a range of offsets",
         kPutDetails, "dry-run", 4, -1, RunPut},
        {"find", "FILE... VALUE [--all]", "find where a value is stored", kFindDetails, "all", 2, -1, RunFind},
        {"diff", "FILE OTHER", "list the offsets at which two files differ", kDiffDetails, "", 2, 2, RunDiff},
    };
    return commands;
}
