#!/usr/bin/env bash
# Instructions per step of the in-process benchmarks, counted by callgrind:
# repeatable where the wall clock of a shared machine is not.
#
#   bench/editor/instructions.sh <build-dir> [BENCHMARK=FUNCTION ...]
#
# Runs bench_editor under valgrind's callgrind once per BENCHMARK (a name of
# bench_editor, without its /real_time) and prints the instructions of one call
# of FUNCTION (an extended regular expression over callgrind's function names,
# matched from the start), inclusive of everything it calls: the sum over its
# calls divided by their number. Without arguments, the gold keystroke and
# the open of version 71 and of version 96:
#
#   gold_keystroke=QLineEdit::keyPressEvent  gold_keystroke_v96=QLineEdit::keyPressEvent
#   open_character=CBrennicorDlg::OpenPath    open_character_v96=CBrennicorDlg::OpenPath
#
# then the ratio of each version-96 figure to its version-71 one. The target of
# gold_keystroke_v96 (at most 2x gold_keystroke) is stated against the wall
# clock in bench_editor; this is its repeatable counterpart. Exit status 0
# unless the measurement could not be made.
set -euo pipefail
shopt -s inherit_errexit

build_dir=${1:?usage: instructions.sh <build-dir> [BENCHMARK=FUNCTION ...]}
shift
bench="$build_dir/bench/bench_editor"
[ -x "$bench" ] || { echo "no $bench: build the target bench_editor first" >&2; exit 2; }
command -v valgrind > /dev/null || { echo "no valgrind: apt-get install valgrind" >&2; exit 2; }
[ $# -gt 0 ] || set -- gold_keystroke=QLineEdit::keyPressEvent gold_keystroke_v96=QLineEdit::keyPressEvent \
    open_character=CBrennicorDlg::OpenPath open_character_v96=CBrennicorDlg::OpenPath

work=$(mktemp -d "${TMPDIR:-/tmp}/editor-instructions.XXXXXX")
trap 'rm -rf "$work"' EXIT

# per_call FILE REGEX: "calls instructions-per-call" of the functions matching
# REGEX, from the call records of a callgrind file (name compression on).
per_call() {
    python3 - "$1" "$2" <<'EOF'
import re, sys
path, pattern = sys.argv[1], re.compile(sys.argv[2])
names, callee, counting = {}, None, False
calls = cost = 0
for line in open(path):
    match = re.match(r'^(c?fn)=\((\d+)\)(?: (.*))?$', line.rstrip('\n'))
    if match:
        kind, key, name = match.groups()
        if name:
            names[key] = name
        if kind == 'cfn':
            callee = names.get(key, '')
        continue
    if line.startswith('calls='):
        counting = bool(callee and pattern.match(callee))
        if counting:
            calls += int(line.split('=')[1].split()[0])
        continue
    if counting:
        fields = line.split()
        if len(fields) >= 2:
            cost += int(fields[1])
        counting = False
if not calls:
    sys.exit(f"no call of {sys.argv[2]} recorded")
print(calls, cost // calls)
EOF
}

echo "bench_editor under callgrind ($(valgrind --version)); instructions of one call, inclusive"
declare -A figure
for pair in "$@"; do
    name=${pair%%=*}
    function=${pair#*=}
    QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --callgrind-out-file="$work/$name.callgrind" \
        --log-file="$work/$name.log" -- "$bench" --benchmark_filter="^$name/" --benchmark_min_time=0.05 \
        > "$work/$name.out" 2>&1
    grep -q "^$name/" "$work/$name.out" || { echo "bench_editor ran no $name" >&2; exit 2; }
    if grep -q 'ERROR OCCURRED' "$work/$name.out"; then
        echo "$name: $(grep -o "ERROR OCCURRED.*" "$work/$name.out")" >&2
        exit 2
    fi
    read -r calls instructions < <(per_call "$work/$name.callgrind" "$function")
    figure[$name]=$instructions
    printf '  %-22s %-28s %12s instructions (%s calls)\n' "$name" "$function" \
        "$(sed ':a;s/\B[0-9]\{3\}\>/,&/;ta' <<< "$instructions")" "$calls"
done
for name in "${!figure[@]}"; do
    reference=${name%_v96}
    if [ "$reference" != "$name" ] && [ -n "${figure[$reference]:-}" ]; then
        echo "  $name / $reference: $(awk -v a="${figure[$name]}" -v b="${figure[$reference]}" 'BEGIN { printf "%.2f", a / b }')"
    fi
done | sort
