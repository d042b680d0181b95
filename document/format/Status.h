#pragma once

#include "ParsedCharacter.h"

#include <QString>

// The status byte, the game mode of version 105 and the title the
// progression byte gives: what may be changed and why not. A Set function
// that refuses returns the reason, in words for the user, and changes nothing;
// one that takes the change returns an empty string.
namespace Format {

// Hardcore, died and ladder where the layout's status byte holds them
// (FamilyLayout::statusFlags); the expansion is ReadsAsExpansion.
[[nodiscard]] bool HoldsFlag(const ParsedCharacter &c, quint8 bit);
[[nodiscard]] bool HasFlag(const ParsedCharacter &c, quint8 bit);
// Hardcore, died or ladder. Clearing died on a hardcore character revives it.
[[nodiscard]] QString SetFlag(ParsedCharacter &c, quint8 bit, bool on);

// An expansion character: the status bit, or in version 105 a game mode of
// the expansion (its new characters leave the bit clear). Versions 71 to 89
// mark none and are read as classic.
[[nodiscard]] bool ReadsAsExpansion(const ParsedCharacter &c);

// What keeps an expansion character from becoming classic ("it is a Druid",
// "it has Act5 open in Normal", ...), or an empty string.
[[nodiscard]] QString ExpansionContent(const ParsedCharacter &c);

// A classic character may join the expansion; one leaves it only without
// expansion content. Version 105 changes its game mode (to expansion, or to
// classic, clearing the status bit too); a Warlock-mode character is already
// of the expansion.
[[nodiscard]] QString SetExpansion(ParsedCharacter &c, bool on);

// Version 105 only. A Warlock stays in the Warlock's mode; a mode without the
// expansion follows SetExpansion's rule.
[[nodiscard]] QString SetGameMode(ParsedCharacter &c, GameMode mode);

// "classic", "expansion", "warlock", or an empty string for a file without
// a game mode byte or a byte of another value.
[[nodiscard]] QString GameModeKey(const ParsedCharacter &c);
[[nodiscard]] bool GameModeFromKey(const QString &key, GameMode &mode);

// The title the game shows before the name, from the progression byte, the
// expansion, hardcore and the class ("Slayer", "Countess", "Lord or Lady" for
// a class whose sex the program does not know); an empty string for none and
// for version 71, whose byte holds flags.
[[nodiscard]] QString TitleOf(const ParsedCharacter &c);

} // namespace Format
