#!/usr/bin/env bash
# Installs for real under Wine, driven like a person from the X side, and checks the outcome
# on disk: the files and the instance identifier, the desktop link, the Program Manager group,
# uninstall.ini, installing again while the product runs (Cancel, then Retry), a second install
# over the first, a folder picked in the folder dialog, a damaged payload record, a folder that cannot be made, launching the product
# from the finish page, and the product's uninstaller.
#   install.sh <install_kestamor.exe> <wininfo.exe> <screenshot folder> <the 8 payload files>
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
EXE="$1" WININFO="$2" SHOTS="$3"
shift 3
PRODUCT=("$@")
[ "${#PRODUCT[@]}" = 8 ] || { echo "install.sh: give the eight payload files in record order" >&2; exit 2; }
SHOT_PREFIX=install
. "$ROOT/tests/e2e/lib.sh"
e2e_start
mkdir -p "$SHOTS"
WORK="$(mktemp -d)"
TITLE="$(basename "$EXE")"; TITLE="${TITLE%%.*}"; TITLE="${TITLE:0:1}$(echo "${TITLE:1}" | tr 'A-Z' 'a-z')"
PAYLOAD_OFFSET=2329600
TARGETS=(kestamor.exe help.chm uninstall.exe kestamor.ini sounds/endgame.wav sounds/free.wav sounds/newnews.wav sounds/wingame.wav)

unix_path() { "$WINE64" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
CURRENT_VERSION='HKLM\Software\Microsoft\Windows\CurrentVersion'
original_pf="$("$WINE64" reg query "$CURRENT_VERSION" /v ProgramFilesDir 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_[A-Z_]*SZ *//p')"
set_program_files() { "$WINE64" reg add "$CURRENT_VERSION" /v ProgramFilesDir /d "$1" /f >/dev/null 2>&1; }
restore() {
  [ -n "$original_pf" ] && set_program_files "$original_pf"
  rm -rf "$WORK"
  kestamor_cleanup
}
trap restore EXIT
DRIVE_C="$(unix_path 'C:\')"
PROGRAMS="$(unix_path "$("$WINE64" cmd /c echo %APPDATA% | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs")"
E2E_ROOT='C:\KestamorE2E'
rm -rf "$(unix_path "$E2E_ROOT")"

# The wizard up to the path page, with the install folder proposed below $1.
to_path_page() {
  set_program_files "$1"
  start_app "$2"
  click "Yes. I agree."
  click "Next >"
  wait_for 5 in_front_quiet "Install" || fail "the path page did not come to the front"
}
set_desktop_icon() {  # 1 or 0
  local line; line="$(control "Create a desktop icon")"
  read -r _ _ _ _ _ ch <<<"$line"
  [ "$ch" = "$1" ] || click "Create a desktop icon"
  expect_state "Create a desktop icon" 1 "$1"
}
# Replaces the group edit's text the way a person does: click, select to the start, type.
set_group() {
  click "Kestamor"
  xdotool key --clearmodifiers End shift+Home BackSpace
  [ -z "$1" ] || xdotool type --delay 30 "$1"
  sleep 0.3
}
progress() { wininfo progress "$CAPTION"; }
progress_at_least() { local p; p="$(progress)"; [ -n "$p" ] && [ "$p" -ge "$1" ]; }
finish_enabled() { local l; l="$(control "Finish")"; read -r _ _ _ _ en _ <<<"$l"; [ "${en:-0}" = 1 ]; }
install_and_finish() {  # program group, screenshot name prefix or ""
  click "Install"
  finish_install "$@"
}
finish_install() {  # as install_and_finish, once Install has been pressed
  if [ -n "$2" ]; then
    wait_for 20 progress_at_least 60 && shot "$2-progress"
  fi
  wait_for 40 finish_enabled || { fail "Finish never became enabled (progress $(progress))"; return 1; }
  # Program Manager opened a window on the group, which may cover the wizard; a person closes it.
  wait_for 20 window_exists "$1" && wininfo close "$1"
  wait_for 5 window_gone "$1"
  # When the shell's Program Manager did not answer at once, the installer started PROGMAN
  # itself; its window may cover the wizard too.
  pkill -x -f 'PROGMAN PROGMAN' 2>/dev/null || true
  sleep 1
  [ "$(progress)" = 100 ] || fail "progress is $(progress) on the finish page"
  expect_state "Launch Kestamor" 1 1
  [ -z "$2" ] || shot "$2-finish"
}
close_app() {
  wininfo close "$CAPTION" || true
  wait_for 10 window_gone "$CAPTION" || fail "the wizard did not close"
  wait "$app" 2>/dev/null || true
}
# The installer's message box (caption: the application title) and its text, copied with
# Ctrl+C as from any Windows message box.
message_box() { wininfo class TMessageForm "$TITLE"; }
message_shown() { [ -n "$(message_box)" ]; }
message_text() {
  xdotool key --clearmodifiers ctrl+c
  sleep 0.5
  wininfo clipboard
}
# Fails unless the message box offers exactly these buttons (their captions).
expect_buttons() {
  local b
  for b in OK "&Retry" Cancel; do
    local want=0 have=0
    case " $* " in *" $b "*) want=1 ;; esac
    [ -n "$(CAPTION="$TITLE" control "$b")" ] && have=1
    [ "$want" = "$have" ] || fail "the message box $([ "$have" = 1 ] && echo offers || echo lacks) \"$b\""
  done
}
ini_value() { tr -d '\r' <"$1" | sed -n "s/^$2=//p" | head -1; }

# Installed files equal the payload's, kestamor.exe with 32 upper-case hex digits after it.
check_files() {  # unix install dir
  local i
  for i in "${!TARGETS[@]}"; do
    local got="$1/${TARGETS[$i]}" want="${PRODUCT[$i]}"
    [ -f "$got" ] || { fail "${TARGETS[$i]} was not installed"; continue; }
    if [ "$i" = 0 ]; then
      local size; size="$(stat -c %s "$want")"
      [ "$(stat -c %s "$got")" = $((size + 32)) ] || fail "kestamor.exe is not 32 bytes longer than its record"
      cmp -s -n "$size" "$got" "$want" || fail "kestamor.exe differs from its record"
      tail -c 32 "$got" | grep -Eq '^[0-9A-F]{32}$' || fail "kestamor.exe does not end in 32 upper-case hex digits"
    else
      cmp -s "$got" "$want" || fail "${TARGETS[$i]} differs from its record"
    fi
  done
  local d
  for d in Data Data/b Data/e Data/h Data/s Data/t Data/u Data/w sounds; do
    [ -d "$1/$d" ] || fail "directory $d is missing"
  done
}
identifier() { tail -c 32 "$1/kestamor.exe"; }

# 1. A default install with the desktop icon, then Finish launches the product.
pf="$E2E_ROOT\\Programs"
mkdir -p "$(unix_path "$pf")"
dir="$(unix_path "$pf")/Kestamor"
rm -rf "$PROGRAMS/Kestamor" "$PROGRAMS/Kestamor Games"
to_path_page "$pf" "$EXE"
expect_state "$pf\\Kestamor" 1
set_desktop_icon 1
install_and_finish Kestamor 1
check_files "$dir"
first_id="$(identifier "$dir")"
ini="$dir/uninstall.ini"
link="$(ini_value "$ini" u_ico_path)"
expected_ini="$(printf '[main_section]\r\nu_path=%s\\Kestamor\\kestamor.exe\r\nu_group=Kestamor\r\nu_ico=1\r\nu_ico_path=%s\r\n' "$pf" "$link")"
[ "$(cat "$ini")" = "$expected_ini" ] || fail "uninstall.ini of a first install is not the five expected lines: $(cat -A "$ini")"
case "$link" in *\\Kestamor.lnk) ;; *) fail "u_ico_path is \"$link\"" ;; esac
link_unix="$(unix_path "$link")"
[ -f "$link_unix" ] || fail "no desktop link at $link"
# Wine's Program Manager service runs the first command of the block only (it does not skip
# line breaks between commands): the group folder is what it makes.
wait_for 10 test -d "$PROGRAMS/Kestamor" || fail "Program Manager made no group \"Kestamor\""
click "Finish"
wait "$app" 2>/dev/null || true
product_window() { [ -n "$(wininfo class KestamorApp Kestamor)" ]; }
if wait_for 20 product_window; then
  shot_rect 1-launched "$(wininfo class KestamorApp Kestamor)"
else
  fail "Finish with \"Launch Kestamor\" did not start kestamor.exe"
fi

# 2. Again into the same folder while the launched product runs: kestamor.exe cannot be
# replaced. The message names it and asks to close Kestamor; Cancel leaves the page stopped.
to_path_page "$pf" "$EXE"
click "Install"
if wait_for 15 message_shown; then
  text="$(message_text)"
  shot_rect 2-in-use "$(message_box)"
  case "$text" in *"$pf\\Kestamor\\kestamor.exe"*"Close Kestamor"*) ;;
    *) fail "the in-use message does not name kestamor.exe and ask to close Kestamor: $text" ;; esac
  expect_buttons "&Retry" Cancel
  CAPTION="$TITLE" click Cancel
  wait_for 5 eval '! message_shown' || fail "Cancel did not close the message"
  sleep 1
  [ "$(progress)" = 20 ] || fail "after Cancel the progress is $(progress), not 20"
  expect_state "Finish" 0
  shot 2-cancelled
else
  fail "no message box \"$TITLE\" for a running kestamor.exe (progress $(progress))"
fi
close_app
[ "$(identifier "$dir")" = "$first_id" ] || fail "the cancelled install changed the running kestamor.exe"

# 3. Once more; this time the user closes Kestamor when told and chooses Retry.
to_path_page "$pf" "$EXE"
click "Install"
if wait_for 15 message_shown; then
  wininfo closeclass KestamorApp Kestamor
  wait_for 10 eval '! product_window' || fail "Kestamor did not close"
  CAPTION="$TITLE" click "&Retry"
  finish_install Kestamor 3
  check_files "$dir"
  [ "$(identifier "$dir")" != "$first_id" ] || fail "Retry kept the identifier $first_id"
  first_id="$(identifier "$dir")"
else
  fail "no message box \"$TITLE\" for a running kestamor.exe (progress $(progress))"
fi
close_app

# 4. Again into the same folder, with an empty group name; a section of the user's stays.
printf '[user]\r\nkeep=yes\r\n' >"$WORK/user.ini"
cat "$ini" >>"$WORK/user.ini"
cp "$WORK/user.ini" "$ini"
to_path_page "$pf" "$EXE"
set_desktop_icon 1
set_group ""
install_and_finish Kestamor ""
check_files "$dir"
[ "$(identifier "$dir")" != "$first_id" ] || fail "a second install kept the identifier $first_id"
grep -q '^keep=yes' "$ini" || fail "a second install lost the user's section: $(cat -A "$ini")"
[ "$(ini_value "$ini" u_group)" = Kestamor ] || fail "an empty group name did not give \"Kestamor\""
click "Launch Kestamor"
expect_state "Launch Kestamor" 1 0
click "Finish"
wait "$app" 2>/dev/null || true
sleep 2
product_window && { fail "Finish without \"Launch Kestamor\" started the product"; wininfo closeclass KestamorApp Kestamor; }

# 5. A fresh folder without the desktop icon and a group name of the user's.
pf3="$E2E_ROOT\\Fresh"
mkdir -p "$(unix_path "$pf3")"
to_path_page "$pf3" "$EXE"
set_desktop_icon 0
set_group "Kestamor Games"
install_and_finish "Kestamor Games" ""
dir3="$(unix_path "$pf3")/Kestamor"
check_files "$dir3"
expected_ini="$(printf '[main_section]\r\nu_path=%s\\Kestamor\\kestamor.exe\r\nu_group=Kestamor Games\r\nu_ico=0\r\nu_ico_path=...\r\n' "$pf3")"
[ "$(cat "$dir3/uninstall.ini")" = "$expected_ini" ] || fail "uninstall.ini without icon: $(cat -A "$dir3/uninstall.ini")"
wait_for 10 test -d "$PROGRAMS/Kestamor Games" || fail "Program Manager made no group \"Kestamor Games\""
close_app

# 5b. A folder picked in the folder dialog: the browse button opens it at the proposed folder,
# Create makes "New folder1" there, the name typed over it renames it, OK puts its path into
# the path edit, and the installation goes there.
pf6="$E2E_ROOT\\Picked"
mkdir -p "$(unix_path "$pf6")/Kestamor"
to_path_page "$pf6" "$EXE"
read -r l t r b _ _ <<<"$(control "$pf6\\Kestamor")"
if [ -n "${b:-}" ]; then
  xdotool mousemove $((r - 12)) $(((t + b) / 2)) click 1
  if wait_for 10 window_exists "Select directory"; then
    sleep 1
    shot_rect 5b-folder-dialog "$(wininfo find "Select directory")"
    CAPTION="Select directory" click "Create"
    wait_for 5 test -d "$(unix_path "$pf6")/Kestamor/New folder1" || fail "Create made no \"New folder1\""
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 30 "Chosen"
    xdotool key --clearmodifiers Return
    wait_for 5 test -d "$(unix_path "$pf6")/Kestamor/Chosen" || fail "the typed name did not rename the new folder"
    shot_rect 5b-folder-renamed "$(wininfo find "Select directory")"
    CAPTION="Select directory" click "OK"
    wait_for 5 window_gone "Select directory" || fail "OK did not close the folder dialog"
    expect_state "$pf6\\Kestamor\\Chosen" 1
    install_and_finish Kestamor 5b
    check_files "$(unix_path "$pf6")/Kestamor/Chosen"
  else
    fail "the browse button opened no folder dialog"
  fi
else
  fail "no path edit showing $pf6\\Kestamor"
fi
close_app

# 6. A damaged fifth record: the message names the file, four files are in place, the page
# stops at "Copy sound file #1...".
damaged="$WORK/install_kestamor.exe"
cp "$EXE" "$damaged"
offset=$PAYLOAD_OFFSET
for _ in 1 2 3 4; do
  n="$(od -An -tu4 -j "$offset" -N4 "$damaged" | tr -d ' ')"
  offset=$((offset + 4 + n))
done
n5="$(od -An -tu4 -j "$offset" -N4 "$damaged" | tr -d ' ')"
# Flip the bytes in the middle of the deflate data.
printf '\xff\x00\xff\x00' | dd of="$damaged" bs=1 seek=$((offset + 4 + n5 / 2)) conv=notrunc status=none
pf4="$E2E_ROOT\\Damaged"
mkdir -p "$(unix_path "$pf4")"
to_path_page "$pf4" "$damaged"
click "Install"
if wait_for 30 message_shown; then
  text="$(message_text)"
  shot_rect 6-damaged-message "$(message_box)"
  case "$text" in *"installer file is damaged"*'sounds\endgame.wav'*"download the installer again"*) ;;
    *) fail "the damaged-installer message does not say so or name sounds\\endgame.wav: $text" ;; esac
  expect_buttons OK
  CAPTION="$TITLE" click OK
else
  fail "no message box for the damaged record (progress $(progress))"
fi
sleep 1
[ "$(progress)" = 60 ] || fail "the damaged install stopped at $(progress), not 60"
expect_state "Finish" 0
shot 6-damaged
dir4="$(unix_path "$pf4")/Kestamor"
for i in 1 2 3; do cmp -s "$dir4/${TARGETS[$i]}" "${PRODUCT[$i]}" || fail "record $((i + 1)) before the damaged one is not complete"; done
[ -f "$dir4/kestamor.exe" ] || fail "record 1 before the damaged one is missing"
[ -f "$dir4/sounds/endgame.wav" ] || fail "the damaged record's file was not created"
cmp -s "$dir4/sounds/endgame.wav" "${PRODUCT[4]}" && fail "the damaged record was written whole"
[ -e "$dir4/sounds/free.wav" ] && fail "records after the damaged one were installed"
close_app

# 7. A folder that cannot be made: the message, then the path page with the path edit focused.
pf5="$E2E_ROOT\\Blocked"
mkdir -p "$(unix_path "$pf5")"
echo "in the way" >"$(unix_path "$pf5")/Kestamor"
to_path_page "$pf5" "$EXE"
click "Install"
if wait_for 15 message_shown; then
  shot_rect 7-directory-failure "$(message_box)"
  CAPTION="$TITLE" click "OK"
  wait_for 5 in_front_quiet "Install" || fail "the path page is not in front after the message"
  focus="$(wininfo focus "$CAPTION")"
  [ "$focus" = "TsDirectoryEdit $pf5\\Kestamor" ] || fail "the focus is on \"$focus\", not on the path edit"
  [ "$(progress)" = 10 ] || fail "the progress bar moved to $(progress)"
else
  fail "no message box \"$TITLE\" for a folder that cannot be made"
fi
close_app

# 8. The product's uninstaller leaves no trace of the first installation.
"$WINE64" "$(unix_path "$pf")/Kestamor/uninstall.exe" /quiet
wait_for 20 test ! -e "$dir" || fail "the uninstaller left $(find "$dir" 2>/dev/null | head -5 | tr '\n' ' ')"
[ -e "$link_unix" ] && fail "the uninstaller left the desktop link"
wait_for 10 test ! -e "$PROGRAMS/Kestamor" || fail "the uninstaller left the program group"

rm -rf "$(unix_path "$E2E_ROOT")" "$PROGRAMS/Kestamor Games"
echo "e2e: $failures failures"
[ "$failures" = 0 ]
