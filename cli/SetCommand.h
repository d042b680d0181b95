#pragma once

#include "Invocation.h"

#include <QStringList>

// set FILE... FIELD=VALUE... [--dry-run]: the character panel's fields, with
// the panel's limits, applied in order to every file, then one save each.
int RunSet(const Invocation &invocation);

// The fields of the status byte, the game mode and the mercenary that set
// takes ("hardcore", ..., "mercenaryName"), for the shell's completion.
QStringList StatusFieldKeys();
