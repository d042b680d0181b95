#pragma once

#include "Invocation.h"

// The raw byte tools: a value over any offsets, a search, a comparison.

// get FILE... FIRST LAST
int RunGet(const Invocation &invocation);
// put FILE... FIRST LAST VALUE [--dry-run]
int RunPut(const Invocation &invocation);
// find FILE... VALUE [--all]
int RunFind(const Invocation &invocation);
// diff FILE OTHER
int RunDiff(const Invocation &invocation);
