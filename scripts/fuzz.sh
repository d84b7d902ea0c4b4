#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each for a fixed time.
#   bash scripts/fuzz.sh [seconds per target, 20 by default]
# Crashes, leaks and sanitizer reports fail the run; the execution counts are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
duree=${1:-20}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
for cible in fuzz_lit_dans_ini fuzz_demarrage fuzz_activee fuzz_ecrit_ini fuzz_editeurs; do
  mkdir -p "$travail/$cible"
  journal="$travail/$cible.log"
  if ! "build/fuzz/tests/fuzz/$cible" -max_total_time="$duree" -print_final_stats=1 \
      -artifact_prefix="$travail/" "$travail/$cible" "tests/fuzz/corpus/$cible" >"$journal" 2>&1; then
    tail -n 40 "$journal"
    echo "$cible: FAILED" >&2
    exit 1
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$journal")
  echo "$cible: ${duree} s, $executions executions, no crash, leak or sanitizer report"
done
