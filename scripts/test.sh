#!/usr/bin/env bash
# Builds and runs every test: the whole suite under a virtual X server, the unit tests again
# with AddressSanitizer and UBSan, the thread tests with ThreadSanitizer, and a short run of
# every fuzz target. test.sh fuzz runs the fuzz stage alone.
set -euo pipefail
cd "$(dirname "$0")/.."
export ALSOFT_DRIVERS=null
fuzz_seconds=${FUZZ_SECONDS:-10}
failed=()

stage() { echo; echo "=== $*"; }

run_ctest() {  # run_ctest DIR [ctest options...]
  local dir=$1; shift
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$dir" --output-on-failure "$@"
}

fuzz_stage() {
  stage "fuzz targets, ${fuzz_seconds}s each (clang, libFuzzer)"
  CC=clang CXX=clang++ TARGET=fuzz_targets scripts/build.sh build-fuzz -DTOLVANE_FUZZ=ON -DTOLVANE_TESTS=OFF -DTOLVANE_BENCH=OFF
  for f in build-fuzz/fuzz/fuzz_*; do
    name=${f##*/fuzz_}
    corpus=$(mktemp -d)
    cp -r "fuzz/corpus/$name/." "$corpus/" 2>/dev/null || true
    log=$(mktemp)
    if "$f" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" > "$log" 2>&1; then
      echo "--- $name: $(grep -c . "$corpus"/* 2>/dev/null | wc -l) corpus inputs, $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?') runs"
    else
      echo "--- $name FAILED"
      tail -n 40 "$log"
      failed+=("fuzz $name")
    fi
    rm -rf "$corpus" "$log"
  done
}

if [[ "${1:-}" == fuzz ]]; then
  fuzz_stage
else
  stage "build and run every test"
  scripts/build.sh build
  run_ctest build || failed+=("tests")

  stage "unit tests with AddressSanitizer and UBSan"
  TARGET=unit_tests scripts/build.sh build-asan -DTOLVANE_SANITIZE=ON -DTOLVANE_BENCH=OFF
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build-asan -L unit || failed+=("sanitizer tests")

  if grep -rqs 'LABELS.*threads' tests; then
    stage "thread tests with ThreadSanitizer"
    TARGET=thread_tests scripts/build.sh build-tsan -DTOLVANE_TSAN=ON -DTOLVANE_BENCH=OFF
    run_ctest build-tsan -L threads || failed+=("thread sanitizer tests")
  fi

  fuzz_stage
fi

echo
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All test stages passed."
