#pragma once

#include <QString>

// A character lives on disk as a file named after the character with the
// extension ".d2s" (its companion files are listed in CharacterFiles.h).
// Renaming a character moves them and writes the new name into the file. The
// main window and the command-line tool both take these rules from here.

inline constexpr const char *kCharacterFileExtension = ".d2s";

// A new name holds at most 14 characters: with its ending zero byte it fills
// the 15-byte name field.
inline constexpr int kCharacterNameLength = 14;

// Whether name is one the game accepts for a character: at least one letter,
// and letters a-z and A-Z only. The length is checked on its own, against
// kCharacterNameLength. An empty name is refused: it would move the files to
// ".d2s", ".map" and ".key".
inline bool IsValidCharacterName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        const bool letter = (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
        if (!letter)
            return false;
    }
    return true;
}

// What is wrong with a new name, checked in the order of the rename box: its
// length first (the box refuses a longer text as it is read), then its letters.
enum class NewNameCheck { Ok, TooLong, NotAName };
inline NewNameCheck CheckNewCharacterName(const QString &name)
{
    if (name.size() > kCharacterNameLength)
        return NewNameCheck::TooLong;
    return IsValidCharacterName(name) ? NewNameCheck::Ok : NewNameCheck::NotAName;
}
