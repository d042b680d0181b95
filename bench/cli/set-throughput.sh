#!/usr/bin/env bash
# Files per second of `brennicor-cli set` over a folder of character files.
#
#   bench/cli/set-throughput.sh <build-dir> [file-count]
#   PER_FILE=0 bench/cli/set-throughput.sh ...   # without the call per file
#
# Makes a folder of file-count (default 10000) copies of one character file,
# then times one call of `set` that changes two fields of every file, one call
# of `backup` over them all, and a
# second round in which every file gets its own call, and first the same call
# as a dry run. Each file is loaded,
# changed in memory and saved atomically (a temporary file renamed over it),
# as in everyday use: one call writes every file, syncs them together and
# then renames each into place. Prints files per second for each round and
# the load average before and after; the folder is removed at the end.
set -euo pipefail

build_dir=${1:?usage: set-throughput.sh <build-dir> [file-count]}
count=${2:-10000}
cli="$build_dir/cli/brennicor-cli"
[ -x "$cli" ] || { echo "no $cli: build the target brennicor-cli first" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/cli-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# One character: a version-71 Sorceress at level 10 (v71-character.sh).
base="$work/base.d2s"
. "$(dirname "$0")/v71-character.sh"
make_v71_character "$cli" "$base"

mkdir "$work/saves"
seq -f "$work/saves/c%05g.d2s" 1 "$count" | xargs -n 500 sh -c 'tee "$@" < "$0" > /dev/null' "$base"

now() { date +%s%N; }
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
rate() { awk -v n="$1" -v ns="$2" 'BEGIN { printf "%.0f", n / (ns / 1e9) }'; }

# The same call as a dry run: every file loaded and changed in memory, none
# saved, so the difference to the call below is the cost of the saves.
start=$(now)
"$cli" set "$work"/saves/*.d2s gold=5000 level=20 --dry-run > /dev/null
dry_run=$(( $(now) - start ))

start=$(now)
"$cli" set "$work"/saves/*.d2s gold=5000 level=20
one_call=$(( $(now) - start ))

# Every file changed: check a few.
for f in "$work/saves/c00001.d2s" "$work/saves/c$(printf %05d "$count").d2s"; do
    [ "$("$cli" get "$f" 621 624)" = 5000 ] || { echo "not written: $f" >&2; exit 1; }
done

# Backups of every file in one call: one batch, synced together like the save.
start=$(now)
"$cli" backup "$work"/saves/*.d2s
backup_call=$(( $(now) - start ))
[ "$("$cli" get "$work/saves/c00001.bak" 621 624)" = 5000 ] || { echo "no backup written" >&2; exit 1; }

per_file=0
if [ "${PER_FILE:-1}" != 0 ]; then
    start=$(now)
    for f in "$work"/saves/*.d2s; do
        "$cli" set "$f" gold=6000
    done
    per_file=$(( $(now) - start ))
fi

echo "files: $count"
echo "dry run, nothing saved:    $(awk -v ns="$dry_run" 'BEGIN { printf "%.2f", ns / 1e9 }') s, $(rate "$count" "$dry_run") files/s"
echo "one call over the folder:  $(awk -v ns="$one_call" 'BEGIN { printf "%.2f", ns / 1e9 }') s, $(rate "$count" "$one_call") files/s"
echo "one backup call:           $(awk -v ns="$backup_call" 'BEGIN { printf "%.2f", ns / 1e9 }') s, $(rate "$count" "$backup_call") files/s"
[ "$per_file" = 0 ] ||
    echo "one call per file:         $(awk -v ns="$per_file" 'BEGIN { printf "%.2f", ns / 1e9 }') s, $(rate "$count" "$per_file") files/s"
echo "load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg)"
