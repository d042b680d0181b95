#!/usr/bin/env bash
# The reliability run: builds the tree with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer (clang, with libFuzzer's coverage), runs the whole
# test suite there, then runs each fuzz target for a bounded time. Any test
# failure, sanitizer report, crash, leak, hang or wrong result fails the run.
#
#   scripts/reliability.sh                      # everything, 60 s per fuzz target
#   QUARVINEL_FUZZ_SECONDS=600 scripts/reliability.sh
#   QUARVINEL_FUZZ_SECONDS=0 scripts/reliability.sh      # tests only
#   QUARVINEL_RELIABILITY_TESTS=0 scripts/reliability.sh # fuzzing only
#
# The build goes to build-asan (QUARVINEL_ASAN_BUILD to change it). A fuzz
# finding is kept as build-asan/fuzz-findings/<target>/crash-* (or leak-*,
# timeout-*); replay it with build-asan/fuzz/<target> <file>.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${QUARVINEL_ASAN_BUILD:-build-asan}
fuzz_seconds=${QUARVINEL_FUZZ_SECONDS:-60}
run_tests=${QUARVINEL_RELIABILITY_TESTS:-1}
jobs=$(nproc)

# Sanitizer settings, for the tests and the fuzz targets alike:
# - every report ends the process with an error (UBSan is also built with
#   -fno-sanitize-recover=all);
# - leaks are checked at exit (and after each fuzz input that leaves memory
#   behind); the suppressions name system libraries only, see the file;
# - Qt is not built with the sanitizers and needs nothing turned off: no
#   container-overflow report (the usual false positive of mixing
#   instrumented and plain code) has come from it, so that check stays on.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:abort_on_error=0:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitizers/lsan.supp:print_suppressions=0"
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
[ -x "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH="$symbolizer"

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

start=$(date +%s)
echo "== reliability: sanitizer build in $build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQUARVINEL_FUZZ=ON -DQUARVINEL_WERROR=$werror -DQUARVINEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs"
built=$(date +%s)
echo "== reliability: build took $((built - start)) s"

if [ "$run_tests" != "0" ]; then
  echo "== reliability: the test suite under ASan, LSan and UBSan"
  ctest --test-dir "$build" --output-on-failure -j"$jobs"
  tested=$(date +%s)
  echo "== reliability: the test suite took $((tested - built)) s"
fi

if [ "$fuzz_seconds" -gt 0 ]; then
  # Every target fuzz/CMakeLists.txt adds with qv_add_fuzzer, as the build lists them.
  mapfile -t targets < <(grep -v '^$' "$build/fuzz/targets.txt")
  [ "${#targets[@]}" -gt 0 ] || { echo "== reliability: no fuzz targets in $build/fuzz/targets.txt" >&2; exit 1; }
  summary=()
  for target in "${targets[@]}"; do
    binary="$build/fuzz/$target"
    seeds="fuzz/corpus/$target"
    corpus="$build/fuzz-corpus/$target"
    findings="$build/fuzz-findings/$target"
    log="$build/fuzz-logs/$target.log"
    mkdir -p "$corpus" "$findings" "$(dirname "$log")"
    echo "== reliability: $target for $fuzz_seconds s"
    # New inputs go to the working corpus; the starting inputs in the repository are
    # only read. A finding stops the target and fails the run.
    status=0
    "$binary" "$corpus" "$seeds" -max_total_time="$fuzz_seconds" -timeout=30 -rss_limit_mb=4096 \
      -max_len=4096 -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" -ne 0 ] || [ -n "$(ls -A "$findings")" ]; then
      tail -n 60 "$log"
      echo "== reliability: $target FOUND A FAULT (exit $status); input kept in $findings" >&2
      exit 1
    fi
    summary+=("$target: ${runs:-?} executions in $fuzz_seconds s, nothing found")
  done
  echo "== reliability: fuzzing"
  printf '   %s\n' "${summary[@]}"
  echo "fuzz: ${#targets[@]} passed, 0 failed"
fi
echo "== reliability: done in $(( $(date +%s) - start )) s, no finding"
