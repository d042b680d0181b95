#!/usr/bin/env bash
# Builds the editor and starts it; a character file may be named, from any
# folder: path/to/start-editor.sh saves/Hero.d2s
# The script never changes folder, so a relative path means what it says
# where it was typed.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target brennicor
exec "$root/build/app/brennicor" "$@"
