// The tooltips of the window's controls other than the number boxes, whose
// texts carry the limits of the open file and are set with the panel. Each
// text is also the control's accessible description.

#include "BrennicorDlg.h"

#include "resources/MainDialogIds.h"

#include <utility>

void CBrennicorDlg::ExplainControls()
{
    const std::pair<int, const char *> explained[] = {
        {IDC_NAME, "The character's name, up to 15 letters. Change it with Rename, which renames the "
                   "character's files too."},
        {IDC_LEVEL, "The level the game shows on its character-selection screen."},
        {IDC_LEVEL_LIST, "The character's level, 1 to 99. Choosing one also sets the experience to where "
                         "that level begins."},
        {IDC_LEVEL_FROM_EXPERIENCE, "Sets the level to the one the experience has reached."},
        {IDC_CLASS, "The character's class. The skill levels stay as they are; only their names change."},
        {IDC_SKILL, "One of the class's 30 skills."},
        {IDC_SKILL_LEVEL, "The chosen skill's level: a whole number from 0 to 20. A larger number is taken "
                          "as 20."},
        {IDC_DIFFICULTY, "The difficulty whose acts, quests and waypoints are shown."},
        {IDC_ACT, "The act whose quests and waypoints are shown."},
        {IDC_QUEST, "One of the act's quests."},
        {IDC_QUEST_STATE, "The chosen quest's state: Not Started, Started, Reward (the reward not yet "
                          "collected) or Done."},
        {IDC_WAYPOINT, "One of the act's waypoints."},
        {IDC_DIFFICULTY_ACTIVE, "Diff. Activ.: whether the chosen difficulty is open to the character. Normal is "
                                "always open; opening another opens nothing else."},
        {IDC_ACT_ACTIVE, "Act Activ.: whether the chosen act of the chosen difficulty is open. Act1 is always "
                         "open; opening an act opens its difficulty too."},
        {IDC_WAYPOINT_ACTIVE, "WP Activ.: whether the chosen waypoint is active. Activating one opens its act "
                              "and that act's difficulty too."},
    };
    for (const auto &[id, text] : explained)
        Explain(GetDlgItem(id), QString::fromLatin1(text));
}
