#!/usr/bin/env bash
# Installs for real under Wine, driven like a person from the X side, and checks the outcome
# on disk: the files and the instance identifier, the desktop link, the Program Manager group,
# uninstall.ini, installing again while the product runs (Cancel undoes the run, then Retry),
# a second install over the first, a folder picked in the folder dialog, a damaged payload
# record (undone), a folder that cannot be made, launching the product from the finish page,
# and the product's uninstaller.
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
. "$ROOT/tests/e2e/installer_lib.sh"

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
expect_uninstall_ini "$ini" "$pf" Kestamor 1
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
# replaced. The message names it and asks to close Kestamor; Cancel undoes the run and says
# so: the folder, uninstall.ini, the link and the group are as they were, byte for byte.
state() { disk_state "$dir"; disk_state "$PROGRAMS/Kestamor"; sha256sum <"$link_unix"; }
before="$(state)"
to_path_page "$pf" "$EXE"
set_desktop_icon 1
click "Install"
if wait_for 15 message_shown; then
  text="$(message_text)"
  shot_rect 2-in-use "$(message_box)"
  case "$text" in *"$pf\\Kestamor\\kestamor.exe"*"Close Kestamor"*) ;;
    *) fail "the in-use message does not name kestamor.exe and ask to close Kestamor: $text" ;; esac
  expect_buttons "&Retry" Cancel
  CAPTION="$TITLE" click Cancel
  expect_outcome "$EARLIER_KEPT" 2-stopped-message
  [ "$(progress)" = 20 ] || fail "after Cancel the progress is $(progress), not 20"
  expect_state "Finish" 0
  shot 2-cancelled
else
  fail "no message box \"$TITLE\" for a running kestamor.exe (progress $(progress))"
fi
close_app
[ "$(identifier "$dir")" = "$first_id" ] || fail "the cancelled install changed the running kestamor.exe"
[ "$(state)" = "$before" ] || fail "the cancelled reinstall left changes: $(diff <(echo "$before") <(state) | head -5)"

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
expect_uninstall_ini "$dir3/uninstall.ini" "$pf3" "Kestamor Games" 0
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

# 6. A damaged fifth record on a fresh install: the message names the file, then the run is
# undone (no folder is left) and a second message says that nothing was changed.
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
  expect_outcome "$NOTHING_CHANGED" 6-stopped-message
else
  fail "no message box for the damaged record (progress $(progress))"
fi
[ "$(progress)" = 60 ] || fail "the damaged install stopped at $(progress), not 60"
expect_state "Finish" 0
shot 6-damaged
[ -e "$(unix_path "$pf4")/Kestamor" ] && fail "the undone install left $(find "$(unix_path "$pf4")/Kestamor" | head -5 | tr '\n' ' ')"
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
