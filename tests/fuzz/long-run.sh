#!/usr/bin/env bash
# long-run.sh TARGET [SECONDS]
# The long campaign of one target (default 30 minutes; at the speeds here no
# target reaches ten million executions sooner), at the lowest priority, one at a time:
# the machine is shared. Needs `tools/build fuzz`. The corpus it grows and
# its log stay in build/fuzz/long/TARGET; the last line printed is the
# figures for README.md.
#
# It runs in fork mode and goes on past findings: on a loaded machine a
# process at the lowest priority can wait a second for the processor, so
# every input it saves (artifacts/) is replayed afterwards at normal
# priority, and only what fails again there is a finding.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
target=$1 seconds=${2:-1800}
bin="$root/build/fuzz/fuzz/fuzz_$target"
long="$root/build/fuzz/long/$target"
mkdir -p "$long/corpus" "$long/artifacts"
options=(-timeout=1 -rss_limit_mb=256 -max_total_time="$seconds" -fork=1 -ignore_crashes=1 -ignore_timeouts=1
         -ignore_ooms=1 -artifact_prefix="$long/artifacts/")
case "$target" in
  cue_sheet) options+=(-dict="$root/tests/fuzz/dict/cue.dict") ;;
  profile|skin_file) options+=(-dict="$root/tests/fuzz/dict/ini.dict") ;;
esac
log="$long/run-$(date +%Y%m%d-%H%M%S).log"
start=$(date +%s)
status=0
# The decoder module is loaded by name, from the program folder.
export LD_LIBRARY_PATH="$root/build/fuzz/bin"
# As in the tests: the default quarantine alone would reach the limit.
export ASAN_OPTIONS=quarantine_size_mb=32
LSAN_OPTIONS=suppressions="$root/tests/fuzz/lsan.supp" \
  nice -n 19 "$bin" "${options[@]}" "$long/corpus" "$root/tests/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
last=$(grep -E '^#[0-9]+: cov: ' "$log" | tail -1 || true)
echo "$target: $(date -u -d @"$start" +%H:%M)-$(date -u +%H:%M) UTC, $(( $(date +%s) - start )) s, exit $status; $last; log $log"
echo "replaying $(ls "$long/artifacts" | wc -l) saved inputs at normal priority:"
for input in "$long/artifacts"/*; do
  [[ -e "$input" ]] || continue
  if LSAN_OPTIONS=suppressions="$root/tests/fuzz/lsan.supp" "$bin" -timeout=1 -rss_limit_mb=256 "$input" >/dev/null 2>&1; then
    echo "  passes now: $(basename "$input")"
  else
    echo "  FINDING: $input"
  fi
done
