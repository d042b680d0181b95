#pragma once

#include "Invocation.h"

// items FILE... [--json]
int RunItems(const Invocation &invocation);

// The command's --help after its synopsis.
QString ItemsDetails();
