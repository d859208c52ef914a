#!/usr/bin/env bash
# Runs one libFuzzer target: first every regression input (files that once broke
# the parser, kept in the tree), then coverage-guided fuzzing from the valid seed
# files for a bounded time.
#   fuzz-run.sh TARGET STATE REGRESSIONS [SEEDS...]
# STATE: the build's fuzz folder; the target's corpus grows in STATE/corpus/NAME,
# and a finding is saved in STATE/findings/NAME/ (the test then fails).
# LQ_FUZZ_SECONDS: how long to fuzz (default 25); LQ_FUZZ_RUNS: stop after this
# many executions instead (the long form: 10000000); LQ_FUZZ_JOBS: fuzz in that
# many processes at once, sharing the corpus (the long form uses every core).
set -uo pipefail
target=$1 state=$2 regressions=$3
shift 3
name=$(basename "$target")
corpus=$state/corpus/$name findings=$state/findings/$name
mkdir -p "$corpus" "$findings"
export ASAN_OPTIONS=${ASAN_OPTIONS:-allocator_may_return_null=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
  echo "$name: $(ls "$regressions" | wc -l) regression inputs"
  if ! "$target" -runs=0 "$regressions"/* >"$findings/regressions.log" 2>&1; then
    cat "$findings/regressions.log"
    echo "$name: a regression input breaks the parser again (log: $findings/regressions.log)"
    exit 1
  fi
fi

limit=(-max_total_time="${LQ_FUZZ_SECONDS:-25}")
[ -n "${LQ_FUZZ_RUNS:-}" ] && limit=(-runs="$LQ_FUZZ_RUNS")
[ "${LQ_FUZZ_JOBS:-1}" -gt 1 ] && limit+=(-fork="$LQ_FUZZ_JOBS")
seeds=0
for dir in "$@"; do seeds=$((seeds + $(ls "$dir" 2>/dev/null | wc -l))); done
echo "$name: fuzzing from $seeds seed files and $(ls "$corpus" | wc -l) kept inputs (${limit[*]})"
log=$findings/fuzz.log
# No allocation stacks while fuzzing (a third of the time went to them): a finding
# is reproduced from its saved input with the full report.
ASAN_OPTIONS=$ASAN_OPTIONS:malloc_context_size=0:quarantine_size_mb=16 \
  "$target" "${limit[@]}" -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$findings/" "$corpus" "$@" >"$log" 2>&1
rc=$?
# The figures: executions, edges covered, corpus size, time.
grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" | sed "s/^/$name: /"
grep -E '^INFO: fuzzed for' "$log" | sed "s/^/$name: /"
grep -E '#[0-9]+([[:space:]]+(DONE|pulse|NEW|REDUCE|INITED)|: cov:)' "$log" | tail -1 | sed "s/^/$name: last: /"
if [ $rc -ne 0 ]; then
  tail -60 "$log"
  echo "$name: the fuzzer found an input that breaks the parser; it is saved in $findings/"
  echo "  (reproduce: $target $findings/crash-*; keep it in $regressions once mended)"
  exit 1
fi
echo "$name: no finding"
