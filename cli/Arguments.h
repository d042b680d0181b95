#pragma once

#include "Invocation.h"

#include <QStringList>

// Parses the arguments (without the program's name) and runs the subcommand
// they name; returns the exit status.
int RunCommandLine(const QStringList &arguments);
