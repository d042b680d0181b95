#!/usr/bin/env bash
# Files per second and peak memory of `brennicor-cli items --json` over a
# folder of character files.
#
#   bench/cli/items-json-throughput.sh <build-dir> [file-count] [character-file] [runs]
#
# Makes a folder of file-count (default 10000) copies of one character file
# (default tests/data/v96_sorceress_level94.d2s, a real version-96 file with
# 60 items of its own and 9 socketed into them), then runs `items --json` over
# the whole folder, one call, runs times (default 3), the output going to a
# file in the same folder. Each output is checked: one JSON array of
# file-count objects, each naming its file, every list read to its count and
# the items of the first file in every other. Prints the files per second, the
# CPU time (which other work on the machine does not inflate) and the peak
# resident memory (/usr/bin/time -v) of each run, and the load average before
# and after; the folder is removed at the end. Targets: >= 5,000 files/s,
# peak memory < 50 MB (bench/README.md).
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
build_dir=${1:?usage: items-json-throughput.sh <build-dir> [file-count] [character-file] [runs]}
count=${2:-10000}
source_file=${3:-$root/tests/data/v96_sorceress_level94.d2s}
runs=${4:-3}
cli="$build_dir/cli/brennicor-cli"
[ -x "$cli" ] || { echo "no $cli: build the target brennicor-cli first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "no /usr/bin/time: apt-get install time" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/cli-items-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

base="$work/base.d2s"
cp "$source_file" "$base"
mkdir "$work/saves"
seq -f "$work/saves/c%05g.d2s" 1 "$count" | xargs -n 500 sh -c 'tee "$@" < "$0" > /dev/null' "$base"

echo "files: $count of $(stat -c %s "$base") bytes, file version $("$cli" get "$base" 4 7)"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq 1 "$runs"); do
    status=0
    /usr/bin/time -v -o "$work/time" "$cli" items --json "$work"/saves/*.d2s > "$work/out.json" || status=$?
    [ "$status" -eq 0 ] || { echo "items --json exited with $status: a file's items were not all read" >&2; exit 1; }
    seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' "$work/time")
    cpu=$(awk -F': ' '/User time/ { u = $2 } /System time/ { s = $2 } END { printf "%.2f", u + s }' "$work/time")
    peak_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time")
    echo "run $run: items --json: $seconds s, $(awk -v n="$count" -v s="$seconds" 'BEGIN { printf "%.0f", n / s }') files/s, CPU $cpu s, max RSS $(awk -v kb="$peak_kb" 'BEGIN { printf "%.1f", kb / 1024 }') MiB, output $(stat -c %s "$work/out.json") bytes"
    # The output is some 80 KB of JSON a file: it is read a file's object at a
    # time, the first parsed whole, every other compared with it but its name.
    python3 - "$work/out.json" "$count" <<'PY'
import json, sys
objects, first, lines = 0, None, []
with open(sys.argv[1]) as out:
    assert out.readline() == "[\n"
    for line in out:
        lines.append(line)
        if line not in ("    },\n", "    }\n"):
            continue
        objects += 1
        text = "".join(lines).rstrip(",\n")
        name, rest = lines[1], "".join(lines[2:]).rstrip(",\n")
        assert name.strip().startswith('"file": ') and name.strip().endswith('.d2s",'), name
        if first is None:
            o = json.loads(text)
            assert all(l["decoded"] == l["count"] and "note" not in l for l in o["lists"]), o["file"]
            assert sum(len(l["items"]) for l in o["lists"]) > 0
            first = rest
        assert rest == first, name
        lines = []
assert objects == int(sys.argv[2]), f"{objects} objects"
PY
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
