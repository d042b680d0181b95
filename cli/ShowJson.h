#pragma once

class CDiablo2Doc;
class IndentedJson;

// The parts of a character's JSON object that make it a stable format:
// "formatVersion", "class" (the class name, or null when the class byte names
// no class) beside "classByte" (the byte itself), and "absentFromFile", the
// keys of the optional values that the file itself left out and that the
// load filled with 0 (null when the file can no longer be read to tell).
inline constexpr int kJsonFormatVersion = 2;
// They are written as members of the object that json has open.
void AddFormatFields(IndentedJson &json, const CDiablo2Doc &doc);
