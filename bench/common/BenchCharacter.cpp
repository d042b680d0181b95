#include "BenchCharacter.h"

#include "document/GameData.h"

CharacterFixture BenchCharacter()
{
    CharacterFixture character;
    character.Name("Launchbench")
        .Class(3)
        .Level(42)
        .Experience(LevelExperienceTable[41])
        .Gold(123456)
        .GoldInStash(654321);
    return character;
}
