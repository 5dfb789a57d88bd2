#!/usr/bin/env bash
# run-target.sh TARGET CORPUS WORK SECONDS [DICT]
# Replays every input of the corpus once, then fuzzes from it for SECONDS.
# New inputs and crash files go to WORK (in the build), never into the
# corpus in the source tree. Any crash, leak, timeout (1 s) or single
# allocation past 256 MB fails the test; the input that did it is named in
# the output. The process as a whole may grow to 512 MB: the sanitizer's
# allocator keeps what tens of thousands of inputs of every size made it
# map, although little of it is live (the tag reader's run reached 265 MB
# with 24 MB in use).
set -euo pipefail
target=$1 corpus=$2 work=$3 seconds=$4 dict=${5:-}
limits=(-timeout=1 -malloc_limit_mb=256 -rss_limit_mb=512)

if [[ ! -d "$corpus" ]] || [[ -z "$(ls -A "$corpus")" ]]; then
  echo "run-target: the corpus $corpus is missing or empty" >&2
  exit 1
fi
rm -rf "$work"
mkdir -p "$work/new" "$work/artifacts"

echo "== replaying $(ls "$corpus" | wc -l) inputs of $corpus"
find "$corpus" -type f -print0 | xargs -0 "$target" "${limits[@]}" -artifact_prefix="$work/artifacts/"

# A fixed seed unless one is asked for: a test run that fails must fail the
# same way when it is run again; the long runs (long-run.sh) explore freely.
seed=${KOLVEX_FUZZ_SEED:-1}
echo "== fuzzing for $seconds s (seed $seed)"
options=("${limits[@]}" -seed="$seed" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/artifacts/")
[[ -n "$dict" ]] && options+=(-dict="$dict")
"$target" "${options[@]}" "$work/new" "$corpus"
