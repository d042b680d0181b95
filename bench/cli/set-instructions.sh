#!/usr/bin/env bash
# Instructions of `brennicor-cli set` with ten fields against `set` with one,
# on a real version-96 file: what each further field of one command costs.
#
#   bench/cli/set-instructions.sh <build-dir> [runs] [character-file]
#   COUNTER=callgrind|perf bench/cli/set-instructions.sh ...
#   KEEP=DIR bench/cli/set-instructions.sh ...   # keeps the last run's callgrind
#                                                # files, for callgrind_annotate
#
# Target: the ten fields cost at most 1.05 times the instructions of the one
# field (the file is rebuilt once per command, not once per field).
#
# Each run copies the file (default tests/data/v96_sorceress_level94.d2s) to
# a fresh temporary file and counts the whole process of one call, from its
# start to its exit:
#
#   set FILE gold=100000
#   set FILE gold=100000 goldInStash=200000 strength=130 dexterity=30 vitality=370
#            energy=40 attributePointsToAdd=5 skillPointsToAdd=3 maxStamina=600 stamina=550
#
# then reads the file back with `show` to check that every value was written.
# Instructions are counted by `perf stat -e instructions:u` where the processor's
# counter is available to perf (`perf stat -e instructions true` prints a
# number), else by valgrind's callgrind; COUNTER chooses one. Both are
# repeatable: unlike time, they do not depend on what else the machine runs.
# The two tools count differently (callgrind runs the program on its own
# processor model), so compare figures of one tool only. Both programs run with
# the same small environment.
#
# Prints both counts of every run, their medians, the ratio and what each
# further field costs. The exit status is 0 whether the target is met or not;
# it is not 0 only when the measurement could not be made.
set -euo pipefail
shopt -s inherit_errexit

root="$(cd "$(dirname "$0")/../.." && pwd)"
build_dir=${1:?usage: set-instructions.sh <build-dir> [runs] [character-file]}
runs=${2:-3}
source_file=${3:-$root/tests/data/v96_sorceress_level94.d2s}
cli="$build_dir/cli/brennicor-cli"
[ -x "$cli" ] || { echo "no $cli: build the target brennicor-cli first" >&2; exit 2; }
[ -f "$source_file" ] || { echo "no $source_file" >&2; exit 2; }
target=1.05

one_field=(gold=100000)
ten_fields=(gold=100000 goldInStash=200000 strength=130 dexterity=30 vitality=370
            energy=40 attributePointsToAdd=5 skillPointsToAdd=3 maxStamina=600 stamina=550)

counter=${COUNTER:-auto}
if [ "$counter" = auto ]; then
    counter=callgrind
    if command -v perf > /dev/null \
        && perf stat -x, -e instructions:u true 2>&1 >/dev/null | grep -q '^[0-9]'; then
        counter=perf
    fi
fi
case "$counter" in
    perf) command -v perf > /dev/null || { echo "no perf" >&2; exit 2; } ;;
    callgrind) command -v valgrind > /dev/null || { echo "no valgrind: apt-get install valgrind" >&2; exit 2; } ;;
    *) echo "COUNTER is callgrind or perf, not $counter" >&2; exit 2 ;;
esac

work=$(mktemp -d "${TMPDIR:-/tmp}/set-instructions.XXXXXX")
trap 'rm -rf "$work"' EXIT

# count ARGS...: the instructions of one call of the command line, printed.
count() {
    local -a environment=(env -i PATH=/usr/bin:/bin HOME="$work" LC_ALL=C.UTF-8)
    if [ "$counter" = perf ]; then
        "${environment[@]}" perf stat -x, -e instructions:u -o "$work/counted" -- "$cli" "$@" > /dev/null
        awk -F, '$3 ~ /^instructions/ && $1 ~ /^[0-9]+$/ { print $1; found = 1 } END { exit !found }' "$work/counted" \
            || { echo "perf counted no instructions: $(grep instructions "$work/counted")" >&2; exit 2; }
    else
        "${environment[@]}" valgrind --tool=callgrind --callgrind-out-file="$work/counted" \
            --log-file="$work/valgrind.log" -- "$cli" "$@" > /dev/null
        awk '$1 == "totals:" { print $2; found = 1 } END { exit !found }' "$work/counted" \
            || { echo "callgrind wrote no totals:" >&2; tail -5 "$work/valgrind.log" >&2; exit 2; }
    fi
}

# measure NAME FIELD=VALUE...: set on a fresh copy of the file, counted, then
# checked; with KEEP and callgrind, its callgrind file is kept as NAME.callgrind.
measure() {
    local name=$1
    shift
    local file="$work/character.d2s"
    cp "$source_file" "$file"
    count set "$file" "$@"
    if [ -n "${KEEP:-}" ] && [ "$counter" = callgrind ]; then
        mkdir -p "$KEEP"
        cp "$work/counted" "$KEEP/$name.callgrind"
    fi
    local shown
    shown=$("$cli" show "$file")
    local assignment
    for assignment in "$@"; do
        grep -qix "${assignment%%=*}: ${assignment#*=}" <<< "$shown" \
            || { echo "set did not write $assignment" >&2; exit 1; }
    done
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# grouped N: N with a comma between groups of three digits.
grouped() { sed ':a;s/\B[0-9]\{3\}\>/,&/;ta' <<< "$1"; }

version=$("$cli" show "$source_file" | sed -n 's/^version: //p')
echo "brennicor-cli set on $(basename "$source_file") (version $version, $(stat -c %s "$source_file") bytes)"
echo "instructions of the whole process, counted by $counter ($(
    if [ "$counter" = perf ]; then perf --version; else valgrind --version; fi))"
: > "$work/one"
: > "$work/ten"
for run in $(seq 1 "$runs"); do
    one=$(measure set-1-field "${one_field[@]}")
    ten=$(measure set-10-fields "${ten_fields[@]}")
    echo "$one" >> "$work/one"
    echo "$ten" >> "$work/ten"
    echo "  run $run: 1 field $(grouped "$one"), 10 fields $(grouped "$ten")"
done
one=$(median < "$work/one")
ten=$(median < "$work/ten")
ratio=$(awk -v a="$ten" -v b="$one" 'BEGIN { printf "%.3f", a / b }')
verdict=$(awk -v r="$ratio" -v t="$target" 'BEGIN { print (r <= t ? "met" : "missed") }')
echo "set with 1 field (median):   $(grouped "$one") instructions"
echo "set with 10 fields (median): $(grouped "$ten") instructions"
echo "each further field:          $(grouped $(( (ten - one) / 9 ))) instructions"
echo "10 fields / 1 field:         $ratio (target <= $target: $verdict)"
[ -z "${KEEP:-}" ] || [ "$counter" != callgrind ] || echo "callgrind files of the last run: $KEEP/set-1-field.callgrind, $KEEP/set-10-fields.callgrind"
