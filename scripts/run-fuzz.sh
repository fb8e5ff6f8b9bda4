#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a set time each, on a corpus
# that starts from fuzz/seeds and grows in the build folder. Prints the
# executions per target. An input that crashes a target is copied to
# fuzz/regressions/<target>/ (the regression test runs it from then on) and
# the run fails.
#   scripts/run-fuzz.sh BUILD_DIR SECONDS [TARGET...]
# With FUZZ_RUNS=N in the environment a target also stops after N
# executions (a campaign to a set count; SECONDS stays the cap).
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
seconds=${2:?seconds per target}
shift 2
targets=("$@")
if ((${#targets[@]} == 0)); then
  for src in fuzz/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi

failed=0
printf '%-10s %12s %8s %8s %8s\n' target executions "exec/s" "peak MB" corpus
for t in "${targets[@]}"; do
  exe="$build/out/fuzz_$t"
  corpus="$build/corpus/$t"
  crashes="$build/crashes/$t"
  mkdir -p "$corpus" "$crashes"
  log="$build/fuzz-$t.log"
  # A malloc limit well under the machine's memory: a decoder that trusts a
  # count and allocates for it is a finding.
  "$exe" -max_total_time="$seconds" ${FUZZ_RUNS:+-runs="$FUZZ_RUNS"} -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
    -malloc_limit_mb=512 -artifact_prefix="$crashes/" "$corpus" "fuzz/seeds/$t" \
    >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  peak=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -1)
  size=$(find "$corpus" -type f | wc -l)
  printf '%-10s %12s %8s %8s %8s\n' "$t" "${runs:-?}" "${speed:-?}" "${peak:-?}" "$size"
  if ((rc != 0)); then
    failed=1
    mkdir -p "fuzz/regressions/$t"
    for f in "$crashes"/*; do
      [ -f "$f" ] && cp "$f" "fuzz/regressions/$t/" && echo "  finding kept: fuzz/regressions/$t/$(basename "$f")"
    done
    tail -40 "$log"
  fi
done
exit $failed
