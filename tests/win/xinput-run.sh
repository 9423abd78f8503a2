#!/usr/bin/env bash
# Runs a Windows test program (through the Wine emulator) beside an agent that plays X input
# for it: programs inside Wine cannot start xdotool, and input made inside Wine moves the
# cursor without clicking. The program writes xdotool arguments to $KESTAMOR_XINPUT/cmd-N;
# the agent runs each and renames it to done-N.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$ROOT/scripts/wine-env.sh"
trap kestamor_cleanup EXIT
kestamor_ensure_display || exit 1
dir="$(mktemp -d /tmp/kestamor-xinput.XXXXXX)"
export KESTAMOR_XINPUT="$dir"
(
  while [ -d "$dir" ]; do
    for f in "$dir"/cmd-*; do
      [ -e "$f" ] || continue
      # shellcheck disable=SC2046
      xdotool $(cat "$f") >/dev/null 2>&1
      mv "$f" "$dir/done-${f##*/cmd-}"
    done
    sleep 0.02
  done
) </dev/null >/dev/null 2>&1 &
agent=$!
"$ROOT/scripts/wine-emulator" "$@"
rc=$?
rm -rf "$dir"
kill "$agent" 2>/dev/null
wait "$agent" 2>/dev/null
exit $rc
