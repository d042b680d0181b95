#!/usr/bin/env bash
# Files per second and peak memory of `brennicor-cli show --json` and of
# text `show` over a folder of character files.
#
#   bench/cli/show-json-throughput.sh <build-dir> [file-count] [character-file | v71] [runs]
#
# Makes a folder of file-count (default 10000) copies of one character file
# (default tests/data/v96_sorceress_level94.d2s, a real version-96 file; "v71"
# stands for the version-71 character of set-throughput.sh), then runs
# `show --json` and right after it `show` over the whole folder, one call
# each, runs times (default 3), with the output going to a file. Each output
# is checked: one JSON array of file-count objects, each naming its file;
# text that starts the list of every file with "FILE: version: N". Prints of
# each the files per second, the CPU time (which other work on the machine
# does not inflate) and the peak resident memory (/usr/bin/time), then the
# ratio of text to JSON, and the load average before and after; the folder is
# removed at the end.
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

# measure OUT [OPTION]: `show [OPTION]` over the folder into OUT, one line of
# figures printed; its seconds and CPU time left in seconds and cpu.
measure() {
    local out=$1
    shift
    /usr/bin/time -o "$work/time" -f '%e %U %S %M' "$cli" show "$@" "$work"/saves/*.d2s > "$out"
    local user system peak_kb
    read -r seconds user system peak_kb < "$work/time"
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
    echo "  show${*:+ $*}: $seconds s, $(awk -v n="$count" -v s="$seconds" 'BEGIN { printf "%.0f", n / s }') files/s, CPU $cpu s, max RSS $(awk -v kb="$peak_kb" 'BEGIN { printf "%.1f", kb / 1024 }') MiB, output $(stat -c %s "$out") bytes"
}

echo "files: $count of $(stat -c %s "$base") bytes, file version $("$cli" get "$base" 4 7)"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq 1 "$runs"); do
    echo "run $run:"
    measure "$work/out.json" --json
    json_seconds=$seconds json_cpu=$cpu
    python3 - "$work/out.json" "$count" <<'EOF'
import json, sys
shown = json.load(open(sys.argv[1]))
assert len(shown) == int(sys.argv[2]), f"{len(shown)} objects"
assert all(o["file"].endswith(".d2s") for o in shown)
EOF
    measure "$work/out.txt"
    listed=$(grep -c '\.d2s: version: [0-9]*$' "$work/out.txt" || true)
    [ "$listed" = "$count" ] || { echo "show listed $listed files, not $count" >&2; exit 1; }
    echo "  show / show --json: wall $(awk -v a="$seconds" -v b="$json_seconds" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'), CPU $(awk -v a="$cpu" -v b="$json_cpu" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }')"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
