#!/usr/bin/env bash
# Files per second and peak memory of `brennicor-cli show --json` over a
# folder of character files.
#
#   bench/cli/show-json-throughput.sh <build-dir> [file-count] [character-file | v71] [runs]
#
# Makes a folder of file-count (default 10000) copies of one character file
# (default tests/data/v96_sorceress_level94.d2s, a real version-96 file; "v71"
# stands for the version-71 character of set-throughput.sh), then runs
# `show --json` over the whole folder in one call, runs times (default 3),
# with the output going to a file. Each run's output is checked: one JSON
# array of file-count objects, each naming its file. Prints of each run the
# files per second, the CPU time (which other work on the machine does not
# inflate) and the peak resident memory (/usr/bin/time), and the load average
# before and after; the folder is removed at the end.
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
build_dir=${1:?usage: show-json-throughput.sh <build-dir> [file-count] [character-file | v71] [runs]}
count=${2:-10000}
source_file=${3:-$root/tests/data/v96_sorceress_level94.d2s}
runs=${4:-3}
cli="$build_dir/cli/brennicor-cli"
[ -x "$cli" ] || { echo "no $cli: build the target brennicor-cli first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "no /usr/bin/time: apt-get install time" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/cli-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

base="$work/base.d2s"
if [ "$source_file" = v71 ]; then
    . "$(dirname "$0")/v71-character.sh"
    make_v71_character "$cli" "$base"
else
    cp "$source_file" "$base"
fi

mkdir "$work/saves"
seq -f "$work/saves/c%05g.d2s" 1 "$count" | xargs -n 500 sh -c 'tee "$@" < "$0" > /dev/null' "$base"

echo "files: $count of $(stat -c %s "$base") bytes, file version $("$cli" get "$base" 4 7)"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq 1 "$runs"); do
    /usr/bin/time -o "$work/time" -f '%e %U %S %M' "$cli" show --json "$work"/saves/*.d2s > "$work/out.json"
    read -r seconds user system peak_kb < "$work/time"
    python3 - "$work/out.json" "$count" <<'EOF'
import json, sys
shown = json.load(open(sys.argv[1]))
assert len(shown) == int(sys.argv[2]), f"{len(shown)} objects"
assert all(o["file"].endswith(".d2s") for o in shown)
EOF
    echo "run $run: $seconds s, $(awk -v n="$count" -v s="$seconds" 'BEGIN { printf "%.0f", n / s }') files/s, CPU $(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }') s, max RSS $(awk -v kb="$peak_kb" 'BEGIN { printf "%.1f", kb / 1024 }') MiB, output $(stat -c %s "$work/out.json") bytes"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
