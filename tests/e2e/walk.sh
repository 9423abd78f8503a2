#!/usr/bin/env bash
# Walks through the installer's pages like a person: real mouse clicks from the
# X side (xdotool) on the windows that wininfo.exe finds, screenshots of every
# page, and checks of what each page shows.
#   walk.sh <install_kestamor.exe> <wininfo.exe> <screenshot folder>
# Uses the display and Wine prefix of scripts/wine-env.sh (starting Xvfb if needed).
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
EXE="$1" WININFO="$2" SHOTS="$3"
. "$ROOT/scripts/wine-env.sh"
trap kestamor_cleanup EXIT
kestamor_ensure_display || exit 1
kestamor_ensure_prefix
"$WINE64" cmd /c exit </dev/null >/dev/null 2>&1
mkdir -p "$SHOTS"
CAPTION="Kestamor Installer"
failures=0

wininfo() { "$WINE64" "$WININFO" "$@" 2>/dev/null | tr -d '\r'; }
fail() { echo "walk: FAILED: $*" >&2; failures=$((failures + 1)); }

# A control's line from wininfo: left top right bottom enabled checked.
control() { wininfo child "$CAPTION" "$1"; }
expect_state() {  # text, enabled, checked
  local line; line="$(control "$1")"
  [ -n "$line" ] || { fail "no control \"$1\""; return; }
  read -r _ _ _ _ en ch <<<"$line"
  [ "$en" = "$2" ] || fail "\"$1\" enabled=$en, expected $2"
  [ -z "${3:-}" ] || [ "$ch" = "$3" ] || fail "\"$1\" checked=$ch, expected $3"
}
click() {
  local l t r b
  read -r l t r b _ _ <<<"$(control "$1")"
  [ -n "${b:-}" ] || { fail "cannot click \"$1\""; return; }
  xdotool mousemove "$(((l + r) / 2))" "$(((t + b) / 2))" click 1
  sleep 0.5
}
# The topmost window at the centre of a control is that control: its page is in front.
in_front() {
  local l t r b
  read -r l t r b _ _ <<<"$(control "$1")"
  [ -n "${b:-}" ] || { fail "no control \"$1\""; return; }
  local hit; hit="$(wininfo at "$(((l + r) / 2))" "$(((t + b) / 2))")"
  [ "$hit" = "$1" ] || fail "\"$1\" is not in front (found \"$hit\")"
}
shot() {
  sleep 0.5
  local l t r b
  read -r l t r b _ _ <<<"$(wininfo find "$CAPTION")"
  import -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$SHOTS/walk-$1.png" && echo "walk: screenshot $SHOTS/walk-$1.png"
}

"$WINE64" "$EXE" &
app=$!
geometry=""
for _ in $(seq 1 60); do
  geometry="$(wininfo find "$CAPTION" || true)"
  [ -n "$geometry" ] && break
  sleep 0.5
done
if [ -z "$geometry" ]; then
  echo "walk: FAILED: the wizard window did not appear" >&2
  exit 1
fi

shot 1-licence
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
click "Next >"
click "Install"
shot 3-progress
in_front "Finish"
expect_state "Finish" 0
wininfo close "$CAPTION" || true
wait "$app" || true
echo "walk: $failures failures"
[ "$failures" = 0 ]
