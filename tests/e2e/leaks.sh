#!/usr/bin/env bash
# A person's long use of the installer leaves its GDI objects and windows where the first round
# left them: pages back and forth, the mouse over the buttons, the folder dialog opened and
# cancelled, minimize and restore, round after round. The counts are read from outside the
# installer's process (wininfo.exe reads its GDI handle table and counts its windows).
#   leaks.sh <install_kestamor.exe> <wininfo.exe> <screenshot folder> [rounds]
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
EXE="$1" WININFO="$2" SHOTS="$3" ROUNDS="${4:-4}"
SHOT_PREFIX=leaks
. "$ROOT/tests/e2e/lib.sh"
e2e_start
mkdir -p "$SHOTS"

start_app "$EXE"
hover() {  # over a control's centre, then away onto the caption
  local l t r b
  read -r l t r b _ _ <<<"$(control "$1")"
  [ -n "${b:-}" ] || { fail "cannot hover over \"$1\""; return; }
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) sleep 0.4
  read -r l t _ _ _ _ <<<"$(wininfo find "$CAPTION")"
  xdotool mousemove $((l + 60)) $((t + 8)) sleep 0.4
}
folder_dialog() {  # opened by the path edit's browse button, closed with Cancel
  local l t r b
  read -r l t r b _ _ <<<"$(control "$path")"
  [ -n "${b:-}" ] || { fail "no path edit"; return; }
  xdotool mousemove $((r - 12)) $(((t + b) / 2)) click 1
  wait_for 10 window_exists "Select directory" || { fail "the browse button opened no folder dialog"; return; }
  sleep 0.5
  CAPTION="Select directory" click "Cancel"
  wait_for 10 window_gone "Select directory" || fail "Cancel did not close the folder dialog"
}
round() {
  click "Yes. I agree."
  hover "Next >"
  hover "Cancel"
  click "Next >"
  wait_for 5 in_front_quiet "Install" || fail "the path page did not come to the front"
  hover "Install"
  folder_dialog
  folder_dialog
  click "< Back"
  wininfo minimize "$CAPTION"
  wait_for 10 shown_is "iconic plain" || fail "not minimized: $(wininfo shown "$CAPTION")"
  wininfo restore "$CAPTION"
  wait_for 10 shown_is "normal plain" || fail "not restored: $(wininfo shown "$CAPTION")"
  # Wine sends the last paints and timer ends after the restore; let them pass before counting.
  sleep 1
}
path="$("$WINE64" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir 2>/dev/null |
  tr -d '\r' | sed -n 's/.*REG_[A-Z_]*SZ *//p')"
path="${path%\\}\\Kestamor"

objects() { wininfo objects "$CAPTION"; }
start="$(objects)"
[ -n "$start" ] || fail "wininfo reads no objects of the installer"
round
first="$(objects)"
shot 1-after-first-round
for i in $(seq 2 "$ROUNDS"); do round; done
last="$(objects)"
shot 2-after-last-round
echo "leaks: GDI objects and windows at start: $start; after the first round: $first; after $ROUNDS rounds: $last"
read -r gdi0 win0 <<<"$start"
read -r gdi1 win1 <<<"$first"
read -r gdin winn <<<"$last"
# A positive control: the first round opened dialogs and made the pictures of every page.
[ "${gdi1:-0}" -gt "${gdi0:-0}" ] || fail "the counter saw nothing made in the first round ($start -> $first)"
# A fade timer whose fade ended inside its own tick stays parked (its window and picture) until
# the next fade, so a round may end with one window and one picture more than another; a leak
# grows with every round and ends above the first round's count.
[ "${gdin:-1}" -le "${gdi1:-0}" ] || fail "GDI objects $gdi1 after the first round, $gdin after $ROUNDS"
[ "${winn:-1}" -le "${win1:-0}" ] || fail "windows $win1 after the first round, $winn after $ROUNDS"
wininfo close "$CAPTION" || true
wait "$app" || true
echo "leaks: $failures failures"
[ "$failures" = 0 ]
