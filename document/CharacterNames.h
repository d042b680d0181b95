#pragma once

#include "FileVersion.h"
#include "Messages.h"
#include "core/NumberParse.h"

#include <QString>
#include <QtGlobal>

// A character lives on disk as a file named after the character with the
// extension ".d2s" (its companion files are listed in CharacterFiles.h).
// Renaming a character moves them and writes the new name into the file. The
// main window and the command-line tool both take these rules from here.

inline constexpr const char *kCharacterFileExtension = ".d2s";

// The game's rule for a new name depends on the file version it is written
// into. Versions 71 to 89 take 2 to 14 letters a-z and A-Z: with its ending
// zero byte the name fills version 71's 15-byte field. Versions 92 on take 2
// to 15 characters, letters with at most one '-' or '_' that is neither the
// first nor the last.
inline constexpr int kCharacterNameMinimum = 2;
inline constexpr int kCharacterNameLength = 14;
inline constexpr int kLaterCharacterNameLength = 15;
inline constexpr quint32 kFirstVersionOfLaterNames = 92;

struct CharacterNameRule
{
    int longest;    // characters
    bool separator; // one '-' or '_' inside the name
};

inline constexpr CharacterNameRule kWrittenNameRule{kCharacterNameLength, false};
inline constexpr CharacterNameRule kLaterNameRule{kLaterCharacterNameLength, true};

// The rule of a new name for the character in doc: that of its version for a
// file read as a later version; version 71's for any other.
inline CharacterNameRule NameRuleOf(const CDiablo2Doc &doc)
{
    return FileVersion::KindOf(doc) == FileVersion::Kind::Later && FileVersion::Of(doc) >= kFirstVersionOfLaterNames
               ? kLaterNameRule
               : kWrittenNameRule;
}

namespace NameMessages {
// Fewer than two characters; %1 is the fewest.
inline constexpr const char *TooShort = "Please enter at least %1 characters.";
// A character other than a letter, '-' or '_' in a name of version 92 on.
inline constexpr const char *NotALaterName =
    "This is not a valid Diablo2 character name. Try to use only a-z, A-Z and one - or _.";
// A second '-' or '_', or one at either end.
inline constexpr const char *MisplacedSeparator =
    "This is not a valid Diablo2 character name. Use at most one - or _, and neither first nor last.";
} // namespace NameMessages

// What the user is told of a new name under rule, or empty when the name is
// good. The length is checked first (the rename box refuses a longer text as
// it reads it, with the framework's "Please enter no more than %1
// characters."), then the characters, then the fewest, then where a '-' or
// '_' stands. An empty name is refused: it would move the files to ".d2s",
// ".map" and so on.
inline QString NewNameRefusal(const QString &name, CharacterNameRule rule)
{
    if (name.size() > rule.longest)
        return QString::fromLatin1(kMaxCharsMessage).arg(rule.longest);
    const auto isSeparator = [](QChar c) { return c == QLatin1Char('-') || c == QLatin1Char('_'); };
    int separators = 0;
    for (const QChar c : name) {
        const bool letter = (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
        if (rule.separator && isSeparator(c))
            ++separators;
        else if (!letter)
            return QString::fromLatin1(rule.separator ? NameMessages::NotALaterName : Messages::InvalidName);
    }
    if (name.size() < kCharacterNameMinimum)
        return QString::fromLatin1(NameMessages::TooShort).arg(kCharacterNameMinimum);
    if (separators > 1 || isSeparator(name.front()) || isSeparator(name.back()))
        return QString::fromLatin1(NameMessages::MisplacedSeparator);
    return QString();
}
