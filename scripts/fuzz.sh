#!/usr/bin/env bash
# Fuzzes every libFuzzer target for SECONDS each (60 by default) from its seeds and its kept
# corpus, then merges what it found into the kept corpus: tests/fuzz/corpus/<name>/ holds the
# small inputs (up to 4 KiB) that reach code the seeds in tests/fuzz/seeds/<name>/ do not.
# A crash, leak or timeout stops nothing else: its input is kept under
# $BUILD/tests/fuzz/findings/<target>/ and the script exits 1 at the end.
#
#   scripts/fuzz.sh                   # every target, 60 s each
#   scripts/fuzz.sh 600 import_mqo    # one target (or several), 10 minutes each
#
# BUILD names the build folder (build/test by default: clang, the sanitizers, GH02_FUZZ=ON);
# the targets are built first. The figures (runs, coverage, corpus) go to
# $BUILD/tests/fuzz/fuzz_figures.md as a table.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=$(realpath "${BUILD:-build/test}")
root=$PWD  # absolute paths: some targets change the current folder
small=4096
ninja -C "$build" fuzz >/dev/null || exit 1

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$f" _fuzz.cpp)
    [ -x "$build/tests/fuzz/${name}_fuzz" ] && targets+=("$name")
  done
fi

out=$build/tests/fuzz
figures=$out/fuzz_figures.md
{
  echo "| target | seconds | runs | runs/s | coverage | features | kept corpus | finding |"
  echo "|---|---:|---:|---:|---:|---:|---:|---|"
} >"$figures"
failed=0
for name in "${targets[@]}"; do
  bin=$out/${name}_fuzz
  seeds=$root/tests/fuzz/seeds/$name
  kept=$root/tests/fuzz/corpus/$name
  work=$out/corpus/${name}_fuzz
  findings=$out/findings/$name
  log=$out/logs/$name.log
  mkdir -p "$seeds" "$kept" "$work" "$findings" "$(dirname "$log")"
  echo "== $name: $seconds s"
  # A finding ends this target's run; its input is written under findings/.
  nice -n 10 "$bin" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$kept" "$seeds" >"$log" 2>&1
  status=$?
  # The kept corpus anew: the seeds first, then the small inputs that add coverage to them.
  merged=$(mktemp -d) && candidates=$(mktemp -d)
  cp "$seeds"/* "$merged"/ 2>/dev/null
  find "$work" "$kept" -type f -size -$((small + 1))c -exec cp -t "$candidates" {} + 2>/dev/null
  nice -n 10 "$bin" -merge=1 -max_len=65536 -timeout=20 -artifact_prefix="$findings/" \
    "$merged" "$candidates" \
    >"$out/logs/$name.merge.log" 2>&1
  rm -rf "$kept" && mkdir -p "$kept"
  for f in "$merged"/*; do
    base=$(basename "$f")
    [ -e "$seeds/$base" ] || cp "$f" "$kept/"
  done
  rm -rf "$merged" "$candidates"
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | tail -1 | grep -o '[0-9]*$')
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  finding=""
  if [ "$status" -ne 0 ]; then
    finding=$(grep -m1 -E 'ERROR: |runtime error|broken: |Test unit written' "$log" | cut -c1-120)
    finding=${finding:-exit $status}
    failed=1
  fi
  # The row goes to the table and to the output as written: another campaign may share the table.
  echo "| $name | $seconds | ${runs:-0} | $(( ${runs:-0} / seconds )) | ${cov:-?} | ${ft:-?} |" \
    "$(ls "$kept" | wc -l) | ${finding:-none} |" | tee -a "$figures"
done
cat "$figures"
exit $failed
