#!/usr/bin/env bash
# A whole installation with the keyboard alone, from the X side: Tab, arrows, Space and Return.
# On every page and while the installation runs, Tab only ever reaches controls a person can
# see (the screen point at the focused control's centre is that control); keys on a covered
# page's Install button change nothing on disk; Return on the finished page never installs
# again.
#   keys.sh <install_kestamor.exe> <wininfo.exe> <screenshot folder> <the 8 payload files>
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
EXE="$1" WININFO="$2" SHOTS="$3"
shift 3
PRODUCT=("$@")
[ "${#PRODUCT[@]}" = 8 ] || { echo "keys.sh: give the eight payload files in record order" >&2; exit 2; }
SHOT_PREFIX=keys
. "$ROOT/tests/e2e/lib.sh"
e2e_start
. "$ROOT/tests/e2e/installer_lib.sh"

pf="$E2E_ROOT\\Keys"
mkdir -p "$(unix_path "$pf")"
dir="$(unix_path "$pf")/Kestamor"
rm -rf "$PROGRAMS/Kestamor"
set_program_files "$pf"
start_app "$EXE"
sleep 1

focus() { wininfo focus "$CAPTION"; }
press() { xdotool key --clearmodifiers "$1"; sleep 0.3; }
# Tabs $1 times; each stop must be seen. Keeps the stops in $stops, one per line.
tab_round() {
  local i seen
  stops=""
  for i in $(seq 1 "$1"); do
    press Tab
    seen="$(wininfo focusseen "$CAPTION")"
    case "$seen" in
      seen) stops+="$(focus)"$'\n' ;;
      none) [ "${2:-}" = none_ok ] || fail "Tab $i left no control focused" ;;
      *) fail "Tab $i focused \"$(focus)\", which nobody sees ($seen)" ;;
    esac
  done
}
expect_stops() {  # the stops of a round, then the controls that must be among them
  local stops="$1" want; shift
  for want in "$@"; do
    grep -qxF "$want" <<<"$stops" || fail "Tab never reaches \"$want\" (stops: $(tr '\n' '|' <<<"$stops"))"
  done
}
tab_to() {  # Tabs until the focus is on "$1" (at most 12 presses)
  local i
  for i in $(seq 1 12); do
    [ "$(focus)" = "$1" ] && return 0
    press Tab
  done
  fail "Tab never reached \"$1\""
  return 1
}

# The licence page. The check of what a person sees must be able to fail: the covered
# Install button, given the focus from outside, is reported as covered; Return and Space on it
# change nothing (no folder, the licence still in front).
wininfo focuschild "$CAPTION" Install || fail "no Install button to focus"
sleep 0.3
[ "$(wininfo focusseen "$CAPTION")" = covered ] || fail "a covered Install button is not reported as covered"
press Return
press space
sleep 1.5
[ -e "$dir" ] && fail "keys on the covered Install button installed into $dir"
in_front "Yes. I agree."
tab_round 6
expect_stops "$stops" "TsRadioButton Yes. I agree." "TsButton Cancel"
shot 1-licence-keys
# Arrows move between the answers and check them; the answer is the licence's.
tab_to "TsRadioButton Yes. I agree."
press Down
[ "$(focus)" = "TsRadioButton No. I don’t agree." ] || fail "Down moved the focus to \"$(focus)\""
expect_state "No. I don’t agree." 1 1
press Up
expect_state "Yes. I agree." 1 1
expect_state "Next >" 1
tab_to "TsButton Next >" && press Return
wait_for 5 in_front_quiet "Install" || fail "Return on Next did not bring the path page"

# The path page: Space toggles the desktop icon; Return on Install starts the installation.
tab_round 8
expect_stops "$stops" "TsDirectoryEdit $pf\\Kestamor" "TsEdit Kestamor" "TsCheckBox Create a desktop icon" \
  "TsButton Install" "TsButton < Back" "TsButton Cancel"
tab_to "TsCheckBox Create a desktop icon"
press space
expect_state "Create a desktop icon" 1 1
press space
expect_state "Create a desktop icon" 1 0
shot 2-path-keys
tab_to "TsButton Install" && press Return

# While it runs, Tab reaches nothing a person cannot see (there may be nothing to reach).
wait_for 5 test -n "$(progress)" || fail "no progress bar after Install"
tab_round 4 none_ok
wait_for 40 finish_enabled || fail "Finish never became enabled (progress $(progress))"
wait_for 20 window_exists Kestamor && wininfo close Kestamor
wait_for 5 window_gone Kestamor
pkill -i -f 'progman(\.exe)?"? progman$' 2>/dev/null || true
[ "$(focus)" = "TsButton Finish" ] || fail "the finished page focuses \"$(focus)\", not Finish"
check_files "$dir"
first_id="$(identifier "$dir")"

# The finished page: Return on the launch box finishes or does nothing, never installs again;
# Return on Finish finishes.
tab_round 4
expect_stops "$stops" "TsCheckBox Launch Kestamor" "TsButton Finish"
tab_to "TsCheckBox Launch Kestamor"
press space
expect_state "Launch Kestamor" 1 0
shot 3-finished-keys
press Return
sleep 2
if window_exists "$CAPTION"; then
  [ "$(progress)" = 100 ] || fail "Return on the finished page moved the bar to $(progress)"
  tab_to "TsButton Finish" && press Return
  wait_for 10 window_gone "$CAPTION" || fail "Return on Finish did not close the wizard"
fi
wait "$app" 2>/dev/null || true
[ "$(identifier "$dir")" = "$first_id" ] || fail "Return on the finished page installed again"
product_window() { [ -n "$(wininfo class KestamorApp Kestamor)" ]; }
product_window && fail "finishing with \"Launch Kestamor\" unchecked started the product"

rm -rf "$(unix_path "$E2E_ROOT")" "$PROGRAMS/Kestamor"
echo "keys: $failures failures"
[ "$failures" = 0 ]
