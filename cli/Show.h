#pragma once

#include "Invocation.h"

// show FILE... [--json]
int RunShow(const Invocation &invocation);
