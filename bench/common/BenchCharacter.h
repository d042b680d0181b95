#pragma once

#include "support/CharacterFixture.h"

// The character every benchmark opens: a level-42 Paladin at the start of its
// level, with gold and points to spend, every stat value present; a file of
// ordinary size.
CharacterFixture BenchCharacter();

// The title the editor shows once it has opened a file named Launchbench.d2s.
inline constexpr const char *kBenchCharacterFileName = "Launchbench.d2s";
