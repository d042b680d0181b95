#!/usr/bin/env bash
# Prints the non-blank lines of the program (C++ outside tests/, bench/, fuzz/),
# of the tests (tests/ in .cpp .h .py .sh .cmake) and the share of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { if [ $# -eq 0 ]; then echo 0; else cat -- "$@" 2>/dev/null | grep -cv '^\s*$' || true; fi; }
mapfile -t program < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | grep -Ev '^(tests|bench|fuzz)/')
mapfile -t tests < <(git ls-files --cached --others --exclude-standard 'tests/*.cpp' 'tests/*.h' 'tests/*.py' 'tests/*.sh' 'tests/*.cmake')
p=$(count "${program[@]}")
t=$(count "${tests[@]}")
echo "program: $p non-blank lines"
echo "tests:   $t non-blank lines"
awk -v t="$t" -v p="$p" 'BEGIN { printf "share:   %.2f of the program (aim: 0.25 to 0.40)\n", (p ? t / p : 0) }'
