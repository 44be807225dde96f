#!/bin/bash
# Installs what is missing, builds Oberin, lays out the sample Windows NT 4.0 server (all 18
# products) in a fresh Wine prefix and, there, previews the cleanup ("oberin.exe /preview"), runs
# it ("oberin.exe s") and restores what it changed ("oberin.exe /restore"), with a summary of
# each: what the preview counted, what the run did, and what did not come back. It runs on the
# architecture this machine can run (see tools/test-arch.sh).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/test-arch.sh"
build_for_arch
build=$OBERIN_BUILD
[ "$OBERIN_TEST_ARCH" = x86 ] && wine_arch=win32 || wine_arch=win64
out="$build/main-job.out"
OBERIN_DISPLAY=1 OBERIN_RUN_NAME=main-job "$top/tests/bed/wine-run" "$build/bed" "$wine_arch" \
  "$build/bin/machine.exe" sample-server-undo >"$out" || true
sed -i 's/\r$//' "$out"
# The lines of step $1 ("/preview", "s", "/restore") from the runner's output.
step() { awk -v step="=== oberin.exe $1" '/^=== (oberin.exe|what all)/ { in_step = $0 == step } in_step' "$out"; }
# The text of the report $2 that step $1 wrote, which the runner shows after the report's line.
report() { step "$1" | awk -v name="$2" '/^[-+] / { shown = index($0, name) > 0; next }
  shown && sub(/^    \| /, "")'; }
echo "=== 1. oberin.exe /preview: nothing changed; oberin-preview.txt counts what a run would change"
report /preview oberin-preview.txt | sed -n '/^Changes by action/,$p'
echo "=== 2. oberin.exe s: oberin.log"
step s | sed -n '/^=== .*oberin.log/,/^=== what changed/p' | sed '1d;$d'
echo "=== 2. oberin.exe s: oberin-changes.txt, changes by action and outcome"
report s oberin-changes.txt | awk -F'\t' '{print $2 " - " $4 ($5 ? ", " $5 : "")}' | sort | uniq -c
echo "=== 2. oberin.exe s: what the run changed on the machine, by kind"
step s | grep -E '^[-+] ' | awk '{print $1, $2}' | sort | uniq -c |
  sed 's/ - / removed /; s/ + / added /'
echo "=== 3. oberin.exe /restore: oberin-restore.txt"
report /restore oberin-restore.txt | awk -F'\t' '$3 != "restored" && $3 != "already as saved"'
echo "=== 3. what is not as before the preview, the reports and the kit left out: what the kit's"
echo "    README.txt says cannot come back"
sed -n '/^=== what all the steps changed/,$p' "$out" | grep -E '^[-+] ' |
  grep -v -e 'oberin-restore' -e 'C:\\server\\oberin' || true
grep -E '^(MISMATCH|NOT IN THE PREVIEW)' "$out" && exit 1 || echo "=== every step as expected"
