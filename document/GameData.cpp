#include "GameData.h"

const char *const g_strClassNames[kClassCount] = {
    "Amazon", "Sorceress", "Necromancer", "Paladin", "Barbarian",
};

const char *const g_strDifficultyNames[kDifficultyCount] = {
    "Normal", "Nightmare", "Hell",
};

const char *const g_strActNames[kActCount] = {
    "Act1", "Act2", "Act3", "Act4",
};

const char *const g_strQuestStateNames[kQuestStateCount] = {
    "Not Started", "Started", "Reward", "Done",
};

const quint32 LevelExperienceTable[100] = {
    0,          500,        1500,       3750,       7875,
    14175,      22680,      32886,      44396,      57715,
    72144,      90180,      112725,     140906,     176132,
    220165,     275207,     344008,     430010,     537513,
    671891,     839864,     1049830,    1312287,    1640359,
    2050449,    2563061,    3203826,    3902260,    4663553,
    5493363,    6397855,    7383752,    8458379,    9629723,
    10906488,   12298162,   13815086,   15468534,   17270791,
    19235252,   21376515,   23710491,   26254525,   29027522,
    32050088,   35344686,   38935798,   42850109,   47116709,
    51767302,   56836449,   62361819,   68384473,   74949165,
    82104680,   89904191,   98405658,   107672256,  117772849,
    128782495,  140783010,  153863570,  168121381,  183662396,
    200602101,  219066380,  239192444,  261129853,  285041630,
    311105466,  339515048,  370481492,  404234916,  441026148,
    481128591,  524840254,  572485967,  624419793,  681027665,
    742730244,  809986056,  883294891,  963201521,  1050299747,
    1145236814, 1248718217, 1361512946, 1484459201, 1618470619,
    1764543065, 1923762030, 2097310703, 2286478756, 2492671933,
    2717422497, 2962400612, 3229426756, 3520485254, 3837739017,
};

const char *const SkillNames[kClassCount * kSkillsPerClass] = {
    // Amazon
    "Magic Arrow", "Fire Arrow", "Inner Sight", "Critical Sight", "Jab",
    "Cold Arrow", "Multiple Shot", "Dodge", "Power Strike", "Poison Javalin",
    "Exploding Arrow", "Slow Missles", "Avoid", "Imaple", "Lightning Bolt",
    "Ice Arrow", "Guided Arrow", "Penetrate", "Charged Strike", "Plague Javelin",
    "Strafe", "Immolation Arrow", "Decoy", "Evade", "Fend",
    "Freezing Arrow", "Valkyrie", "Pierce", "Lightning Strike", "Lightning Fury",
    // Sorceress
    "Fire Bolt", "Warmth", "Charged Bolt", "Ice Bolt", "Frozen Armor",
    "Inferno", "Static Field", "Telekenesis", "Frost Nova", "Ice Blast",
    "Blaze", "Fire Ball", "Nova", "Lightning", "Shiver Armor",
    "Fire Wall", "Enchantment", "Chain Lightning", "Teleport", "Glacial Spike",
    "Meteor", "Thunder Strom", "Energy Shield", "Blizzard", "Chilling Armor",
    "Fire Mastery", "Hydra", "Lightning Mastery", "Frozen Orb", "Cold Mastery",
    // Necromancer
    "Amplify Damage", "Teeth", "Bone Armor", "Skeleton Mastery", "Raise Skeleton",
    "Dim Vision", "Weaken", "Poison Dagger", "Corpe Explosion", "Clay Golem",
    "Iron Maiden", "Terror", "Bone Wall", "Golem Mastery", "Raise Skeletal Mage",
    "Confuse", "Life Trap", "Poison Explosion", "Bone Spear", "Blood Golem",
    "Attract", "Decrepify", "Bone Prision", "Summon Resist", "Iron Golem",
    "Lower Resist", "Poison Nova", "Bone Spirit", "Fire Golem", "Revive",
    // Paladin
    "Sacrifice", "Smite", "Might", "Prayer", "Resist Fire",
    "Holy Bolt", "Holy Fire", "Thorns", "Defiance", "Resist Cold",
    "Zeal", "Charge", "Blessed Aim", "Cleansing", "Resist Lightning",
    "Vengence", "Blessed Hammer", "Concentration", "Holy Freeze", "Vigor",
    "Conversion", "Holy Shield", "Holy Shock", "Sanctuary", "Meditation",
    "Fist of Heavens", "Fanaticism", "Conviction", "Redemtion", "Salvation",
    // Barbarian
    "Bash", "Sword Mastery", "Axe Mastery", "Mace Mastery", "Howl",
    "Find Potion", "Leap", "Double Swing", "Pole Arm Mastery", "Throwiing Mastery",
    "Spear Mastery", "Taunt", "Shout", "Stun", "Double Throw",
    "Increased Stamina", "Find Item", "Leap Attack", "Concentrate", "Iron Skin",
    "Battle Cry", "Frenzy", "Increased Speed", "Battle Orders", "Grim Wand",
    "Whirlwind", "Bersek", "Natural Resistance", "War Cry", "Battle Command",
};

const char *const g_strQuestNames[kActCount * kQuestSlotsPerAct] = {
    // Act1, in list order (the file keeps them in another order)
    "Den of Evil", "Sister's Burial Grounds", "The search for Cain",
    "The Forgotten Tower", "Tools of the trade", "Sister to the Slaughter",
    // Act2
    "Radament's Lair", "The Horadric Staff", "Tainted Sun",
    "Arcane Sanctuary", "The Summoner", "The Seven Tombs",
    // Act3
    "Lam Esen's Tomb", "Blade of the Old Religion", "Khalim's Will",
    "The Golden Bird", "The Blackened Temple", "The Guardian",
    // Act4
    "The Fallen Angel", "Hell's Forge", "Terror's End", "", "", "",
};

const char *const g_strWaypointNames[kActCount * kWaypointSlotsPerAct] = {
    // Act1
    "Rogue Encampment", "Cold Plains", "Stony Field", "Dark Wood", "Black Marsh",
    "Outer Cloister", "Jail", "Inner Cloister", "Catacombs",
    // Act2
    "Lut Gholein", "Sewers", "Dry Hills", "Halls of the Dead", "Far Oasis",
    "Lost City", "Pallace Cellar", "Arcane Sanctuary", "Canyon of the Magi",
    // Act3
    "Kurast Docks", "Spider Forest", "Great Marsh", "Flayer Jungle", "Lower Kurast",
    "Kurast Bazaar", "Upper Kurast", "Travincal", "Durance of Hate",
    // Act4
    "Pandemonium Fortress", "City of the Damned", "River of Flame", "", "", "", "", "", "",
};

namespace {

int NamedCount(const char *const *slots, int slotCount)
{
    int count = 0;
    while (count < slotCount && slots[count][0] != '\0')
        ++count;
    return count;
}

} // namespace

int QuestCountOfAct(int act)
{
    if (act < 0 || act >= kActCount)
        return 0;
    return NamedCount(g_strQuestNames + act * kQuestSlotsPerAct, kQuestSlotsPerAct);
}

int WaypointCountOfAct(int act)
{
    if (act < 0 || act >= kActCount)
        return 0;
    return NamedCount(g_strWaypointNames + act * kWaypointSlotsPerAct, kWaypointSlotsPerAct);
}
