#!/usr/bin/env bash
# Takes the README's pictures under a private X server: the main window with a
# character open, the About box, the rename dialog and the three raw tools.
# They are written to docs/screenshots/*.png; look at them before committing.
#
#     scripts/screenshots.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target brennicor qv_e2e_fixture
exec /usr/bin/python3 scripts/screenshots.py \
  --editor "$build/app/brennicor" \
  --fixture "$build/tests/qv_e2e_fixture" \
  --out docs/screenshots
