#!/usr/bin/env bash
# scripts/fuzz.sh [seconds] [target...]
# Builds the fuzz targets under fuzz/ with clang, libFuzzer, ASan and UBSan
# into build-fuzz/ and runs each for the given time (default 60 seconds),
# at most four at once and at low priority. The committed corpus
# fuzz/corpus/<target> seeds each run; what a run adds stays in
# build-fuzz/corpus/<target>, a fault leaves its input in
# build-fuzz/findings/<target>/ and makes the script fail. An input that
# found a fault belongs in fuzz/corpus/<target> once it is mended, so that
# ./test.sh replays it from then on.
set -euo pipefail
seconds=${1:-60}
shift || true

source "$(dirname "${BASH_SOURCE[0]}")/install-packages.sh"
install_packages clang libclang-rt-14-dev

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build-fuzz"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$build" -DMURVEL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build "$build" -j"${FUZZ_BUILD_JOBS:-6}" --target fuzz_targets

if [ $# -gt 0 ]; then targets=("$@"); else read -r -a targets <<<"$(tr ';' ' ' <"$build/fuzz/targets.txt")"; fi

run_one() {
  local target=$1
  mkdir -p "$build/corpus/$target" "$build/findings/$target" "$build/logs"
  # Qt keeps caches for the whole process; only leaks of a single input count.
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
  nice -n 10 "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$target/" \
      "$build/corpus/$target" "$top/fuzz/corpus/$target" >"$build/logs/$target.log" 2>&1
}
export -f run_one
export build top seconds

status=0
printf '%s\n' "${targets[@]}" | xargs -P 4 -I{} bash -c 'run_one {}' || status=1

printf '%-10s %12s %8s %8s %8s  %s\n' target executions exec/s cov ft findings
for target in "${targets[@]}"; do
  log="$build/logs/$target.log"
  [ -f "$log" ] || continue
  # A run that ended without its statistics leaves "?".
  execs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{print $2}' | tail -1 || true)
  rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | awk '{print $2}' | tail -1 || true)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | awk '{print $2}' || true)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | awk '{print $2}' || true)
  found=$(find "$build/findings/$target" -type f | wc -l)
  printf '%-10s %12s %8s %8s %8s  %s\n' "$target" "${execs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "$found"
  [ "$found" -eq 0 ] || status=1
done
exit $status
