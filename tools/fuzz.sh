#!/usr/bin/env bash
# Runs every fuzz target of a sanitized build for the given seconds, all at
# once (one core each), each on a working copy of its seed corpus, so that
# what it learns stays in the build folder. Every input of the seed corpus is
# replayed first. A crash, a leak, a broken rule or a hang fails the run and
# prints the input. A target named in fuzz/pending/ (a folder holding the
# inputs that break it) has a known fault whose mend is not in yet: its
# finding is printed and does not fail the run. With the mend, its inputs move
# into fuzz/corpus/<target>/ and the folder goes.
#   tools/fuzz.sh BUILD_DIR SECONDS
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
seconds=${2:?seconds}
out="$build/fuzz-run"
rm -rf "$out"
mkdir -p "$out"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:allocator_may_return_null=1:quarantine_size_mb=32:print_legend=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen

targets=()
for binary in "$build"/fuzz/*_fuzz; do
  [ -x "$binary" ] && targets+=("$(basename "$binary" _fuzz)")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "No fuzz targets in $build/fuzz: build with -DZIDUVER_FUZZ=ON." >&2
  exit 1
fi

pids=()
for name in "${targets[@]}"; do
  work="$out/$name"
  mkdir -p "$work/corpus" "$work/artifacts"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -max_len=65536
           -print_final_stats=1 -artifact_prefix="$work/artifacts/")
  [ -f "fuzz/dict/$name.dict" ] && options+=(-dict="fuzz/dict/$name.dict")
  "$build/fuzz/${name}_fuzz" "${options[@]}" "$work/corpus" "fuzz/corpus/$name" > "$work/log" 2>&1 &
  pids+=($!)
done

failed=0
printf '%-20s %10s %10s %8s  %s\n' target runs exec/s corpus result
for i in "${!targets[@]}"; do
  name=${targets[$i]}
  work="$out/$name"
  wait "${pids[$i]}"
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log" | tail -1)
  units=$(find "$work/corpus" -type f | wc -l)
  result=passed
  if [ $status -ne 0 ]; then
    if [ -e "fuzz/pending/$name" ]; then
      result="found the pending fault (fuzz/pending/$name)"
    else
      result="FAILED (exit $status)"
      failed=1
    fi
  fi
  printf '%-20s %10s %10s %8s  %s\n' "$name" "${runs:-?}" "${speed:-?}" "$units" "$result"
  if [ $status -ne 0 ]; then
    echo "---- $name: the finding ----"
    grep -v '^#[0-9]' "$work/log" | grep -v '^INFO:' | tail -60
    for artifact in "$work"/artifacts/*; do
      [ -f "$artifact" ] || continue
      echo "---- $name: input $artifact ($(stat -c %s "$artifact") bytes) ----"
      head -c 4096 "$artifact" | od -A d -c | head -40
    done
  fi
done
exit $failed
