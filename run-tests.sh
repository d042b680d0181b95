#!/usr/bin/env bash
# Builds the editor and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARVINEL_WERROR=$werror
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
