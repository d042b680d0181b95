#pragma once

#include <QString>

class CDiablo2Doc;

// File, Open and the Compare tool's Load: drops what doc holds, asks for a
// character file with the open-file dialog and loads it into doc. False when
// cancelled or not loaded (the load has said why); the load's C-string error
// (a file too short for its fields) passes to the caller.
bool OpenCharacterFile(CDiablo2Doc &doc);
