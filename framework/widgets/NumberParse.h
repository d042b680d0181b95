#pragma once

#include <QString>
#include <QtGlobal>

// How an edit's text is read as a number by the data exchange.
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
