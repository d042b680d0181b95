#pragma once

#include "Invocation.h"

class CDiablo2Doc;

// How one run of the tool treats a character saved in another file version
// than 71, whose layout the tool does not know. A command that changes files
// refuses such a file unless --force is given; show prints it with a warning;
// get, put, find and diff work on any file, byte by byte, as the raw tools do.
// A file held for the raw tools only (FileVersion::ShowsValues) is refused,
// with its reason, by every command but those four and backup and restore,
// which copy it whole (with --force, as any file of another version).
namespace VersionGuard {

// Chooses the rule for this run from its command and options.
void ChooseFor(const Command &command, const Invocation &invocation);

// Applies the run's rule to a character just loaded: false, after a message
// naming the version, when the command must not go on with it.
[[nodiscard]] bool Accept(const CDiablo2Doc &doc);

} // namespace VersionGuard
