#pragma once

#include "Invocation.h"

// set FILE... FIELD=VALUE... [--dry-run]: the character panel's fields, with
// the panel's limits, applied in order to every file, then one save each.
int RunSet(const Invocation &invocation);
