#!/usr/bin/env bash
# Builds the editor and starts it; a character file may be named: ./start-editor.sh Hero.d2s
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target brennicor
exec build/app/brennicor "$@"
