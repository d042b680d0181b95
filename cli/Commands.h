#pragma once

#include "Invocation.h"

#include <QList>

// Every subcommand of the tool, in the order --help lists them.
const QList<Command> &Commands();
