#pragma once

#include "Invocation.h"

// The commands of the window's File menu that work on files as a whole.

// backup FILE...
int RunBackup(const Invocation &invocation);
// restore FILE...
int RunRestore(const Invocation &invocation);
// rename FILE NEWNAME
int RunRename(const Invocation &invocation);
