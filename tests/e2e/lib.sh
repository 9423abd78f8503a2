# Helpers shared by the end-to-end drivers (sourced): Wine's display and prefix, window
# queries through wininfo.exe, and clicks and keys from the X side like a person's.
# Needs WININFO (path of wininfo.exe) and ROOT set; CAPTION names the window being driven.
. "$ROOT/scripts/wine-env.sh"
CAPTION="${CAPTION:-Kestamor Installer}"
failures=0

e2e_start() {
  trap kestamor_cleanup EXIT
  kestamor_ensure_display || exit 1
  kestamor_ensure_prefix
  "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1
}

wininfo() { "$WINE64" "$WININFO" "$@" 2>/dev/null | tr -d '\r' | iconv -f CP1252 -t UTF-8; }
fail() { echo "e2e: FAILED: $*" >&2; failures=$((failures + 1)); }

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
  local x=$(((l + r) / 2)) y=$(((t + b) / 2))
  # Another window over the control would take the click: say what was there, with a picture.
  local hit; hit="$(wininfo at "$x" "$y")"
  if [ "$hit" != "$1" ]; then
    fail "\"$1\" is covered by \"$hit\""
    import -window root "$SHOTS/${SHOT_PREFIX:-e2e}-covered-$failures.png" 2>/dev/null
  fi
  xdotool mousemove "$x" "$y" click 1
  sleep 0.5
}
enabled() { local l; l="$(control "$1")"; read -r _ _ _ _ en _ <<<"$l"; [ "${en:-0}" = 1 ]; }
# The topmost window at the centre of a control is that control: its page is in front.
in_front() {
  local l t r b
  read -r l t r b _ _ <<<"$(control "$1")"
  [ -n "${b:-}" ] || { fail "no control \"$1\""; return; }
  local hit; hit="$(wininfo at "$(((l + r) / 2))" "$(((t + b) / 2))")"
  [ "$hit" = "$1" ] || fail "\"$1\" is not in front (found \"$hit\")"
}
# The same without a failure: for waiting until the control's page is in front.
in_front_quiet() {
  local l t r b
  read -r l t r b _ _ <<<"$(control "$1")"
  [ -n "${b:-}" ] && [ "$(wininfo at "$(((l + r) / 2))" "$(((t + b) / 2))")" = "$1" ]
}
# The window is "iconic|normal layered|plain" (see wininfo shown).
shown_is() { [ "$(wininfo shown "$CAPTION")" = "$1" ]; }
# Saves the screen area of a rectangle "left top right bottom" as <SHOTS>/<prefix>-<name>.png.
shot_rect() {
  local name="$1" l t r b
  read -r l t r b _ _ <<<"$2"
  [ -n "${b:-}" ] || { fail "nothing to photograph for $name"; return; }
  import -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$SHOTS/$SHOT_PREFIX-$name.png" &&
    echo "e2e: screenshot $SHOTS/$SHOT_PREFIX-$name.png"
}
shot() {
  sleep 0.5
  shot_rect "$1" "$(wininfo find "$CAPTION")"
}
# Waits up to $1 seconds for the command in the remaining arguments to succeed. Under
# emulation everything is many times slower: E2E_TIME_SCALE stretches every wait alike.
wait_for() {
  local seconds="$1"; shift
  local i
  for i in $(seq 1 $((seconds * 4 * ${E2E_TIME_SCALE:-1}))); do
    "$@" && return 0
    sleep 0.25
  done
  return 1
}
window_exists() { [ -n "$(wininfo find "$1")" ]; }
window_gone() { ! window_exists "$1"; }

# Starts a program in Wine and waits for the wizard window.
start_app() {
  "$WINE64" "$@" &
  app=$!
  wait_for 30 window_exists "$CAPTION" || { echo "e2e: FAILED: the window \"$CAPTION\" did not appear" >&2; exit 1; }
}
