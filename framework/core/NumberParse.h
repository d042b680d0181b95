#pragma once

#include <QString>
#include <QtGlobal>

// How a text is read as a number: the data exchange's reading of an edit,
// and the command line's stricter reading of an argument, on one scanner.
// QtCore only; the framework's validation messages stand here too.

// The framework's validation messages.
inline constexpr const char *kParseUIntMessage = "Please enter a positive integer.";
inline constexpr const char *kParseIntMessage = "Please enter an integer.";
inline constexpr const char *kMaxCharsMessage = "Please enter no more than %1 characters.";

// The data exchange's reading of an edit's text.
//
// Unsigned: at most the first 31 characters count; blanks and tabs may stand
// before and after the number, and a plus sign before its digits; a minus sign
// is refused; a number beyond 4294967295 reads as 4294967295; a result of 0
// whose first non-blank character is not the digit "0" is refused (so an empty
// text is refused); anything else after the number is refused.
//
// Signed: the same, with a leading minus sign allowed and the result saturated
// to the range of a signed 32-bit number.
bool ParseUnsignedText(const QString &text, quint32 &value);
bool ParseSignedText(const QString &text, qint32 &value);

// The command line's reading of an unsigned decimal number of 0 to
// 4294967295: blanks around it (any white space) and a leading '+' are
// accepted; anything else, an empty text, or a number too large for 32 bits
// is refused, the last with its own answer.
enum class WholeNumber { Ok, NotANumber, TooLarge };
WholeNumber ParseWholeUnsigned(const QString &text, quint32 &value);
