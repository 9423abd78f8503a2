#!/usr/bin/env bash
# Walks through the installer's pages like a person: real mouse clicks from the
# X side (xdotool) on the windows that wininfo.exe finds, screenshots of every
# page, and checks of what each page shows.
#   walk.sh <install_kestamor.exe> <wininfo.exe> <screenshot folder>
# Uses the display and Wine prefix of scripts/wine-env.sh (starting Xvfb if needed).
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
EXE="$1" WININFO="$2" SHOTS="$3"
SHOT_PREFIX=walk
. "$ROOT/tests/e2e/lib.sh"
e2e_start
mkdir -p "$SHOTS"

start_app "$EXE"

shot 1-licence
in_front "Yes. I agree."
# Minimized and restored as from the taskbar: the picture flies off and back (a few hundred
# milliseconds), then the window is its plain self again, on the same page.
wininfo minimize "$CAPTION"
wait_for 10 shown_is "iconic plain" || fail "not minimized: $(wininfo shown "$CAPTION")"
wininfo restore "$CAPTION"
wait_for 10 shown_is "normal plain" || fail "not restored: $(wininfo shown "$CAPTION")"
shot 1b-restored
in_front "Yes. I agree."
expect_state "Next >" 0
expect_state "Yes. I agree." 1 0
click "No. I don’t agree."
expect_state "Next >" 0
click "Yes. I agree."
expect_state "Next >" 1
click "Next >"
shot 2-path
in_front "Install"
expect_state "Kestamor" 1
path="$("$WINE64" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_[A-Z_]*SZ *//p')"
[ -n "$(control "${path%\\}\\Kestamor")" ] || fail "the path edit does not show ${path%\\}\\Kestamor"
click "< Back"
in_front "Yes. I agree."
expect_state "Yes. I agree." 1 1
# The keyboard: Tab from the accepted licence goes to Cancel, then to Next; Enter and Space
# each press the focused Next once (the path page comes to the front), Back returns.
focus_is() {
  local f; f="$(wininfo focus "$CAPTION")"
  [ "$f" = "$1" ] || fail "the focus is on \"$f\", not \"$1\""
}
for key in Return space; do
  click "Yes. I agree."
  xdotool key Tab; sleep 0.3; focus_is "TsButton Cancel"
  xdotool key Tab; sleep 0.3; focus_is "TsButton Next >"
  xdotool key "$key"; sleep 0.5
  in_front "Install"
  click "< Back"
  in_front "Yes. I agree."
done
click "Next >"
click "Install"
shot 3-progress
in_front "Finish"
expect_state "Finish" 0
# Closing while it installs asks first; Yes undoes the run and the window goes.
wininfo close "$CAPTION" || true
TITLE="$(basename "$EXE")"; TITLE="${TITLE%%.*}"; TITLE="${TITLE:0:1}$(echo "${TITLE:1}" | tr 'A-Z' 'a-z')"
if wait_for 10 window_exists "$TITLE"; then
  CAPTION="$TITLE" click "&Yes"
else
  fail "closing during the installation did not ask first"
fi
wait_for 20 window_gone "$CAPTION" || fail "the wizard stayed after Yes"
wait "$app" || true
echo "walk: $failures failures"
[ "$failures" = 0 ]
