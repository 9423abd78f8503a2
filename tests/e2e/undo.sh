#!/usr/bin/env bash
# Installations that do not complete give the computer back as it was, checked on disk:
# closing the window mid-install (asked first; Yes undoes the group and the desktop link the
# run had made), and a disk that fills up (a small drive mapped into the Wine prefix).
#   undo.sh <install_kestamor.exe> <wininfo.exe> <screenshot folder> <the 8 payload files>
# Mounting the small drive needs root (or sudo without a password).
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
EXE="$1" WININFO="$2" SHOTS="$3"
shift 3
PRODUCT=("$@")
[ "${#PRODUCT[@]}" = 8 ] || { echo "undo.sh: give the eight payload files in record order" >&2; exit 2; }
SHOT_PREFIX=undo
. "$ROOT/tests/e2e/lib.sh"
. "$ROOT/scripts/lib.sh"
e2e_start
. "$ROOT/tests/e2e/installer_lib.sh"

DESKTOP="$(unix_path "$("$WINE64" cmd /c echo %USERPROFILE% | tr -d '\r')\\Desktop")"
SMALL="$WORK/small-drive"
DRIVE_LINK="$WINEPREFIX/dosdevices/k:"
unmount_small() {
  rm -f "$DRIVE_LINK"
  mountpoint -q "$SMALL" && as_root umount "$SMALL"
}
RESTORE_MORE=unmount_small

# 1. Closed mid-install (once the first pause has passed, with four seconds of the run still
# ahead): the question; Yes undoes everything and the window goes. The in-process tests close
# at a chosen step, after the group and the link were made, and answer No as well.
pf="$E2E_ROOT\\Closed"
mkdir -p "$(unix_path "$pf")"
group="Kestamor Closed"
rm -rf "$PROGRAMS/$group"
link_before="$(disk_state "$DESKTOP/Kestamor.lnk")"
to_path_page "$pf" "$EXE"
set_desktop_icon 1
set_group "$group"
click "Install"
wait_for 30 progress_at_least 60 || fail "the installation never got going (progress $(progress))"
wininfo close "$CAPTION"
if wait_for 10 message_shown; then
  text="$(message_text)"
  case "$text" in *"Stop the installation?"*) ;; *) fail "closing asks \"$text\"" ;; esac
  shot_rect 1-close-question "$(message_box)"
  [ -n "$(CAPTION="$TITLE" control "&Yes")" ] && [ -n "$(CAPTION="$TITLE" control "&No")" ] ||
    fail "the question does not offer Yes and No"
  CAPTION="$TITLE" click "&Yes"
  wait_for 20 window_gone "$CAPTION" || fail "the wizard stayed after Yes"
else
  fail "closing mid-install did not ask first"
fi
wait "$app" 2>/dev/null || true
# The window Wine's shell opened on the new group, showing the desktop once the group went.
wininfo close "$group" 2>/dev/null || wininfo close Desktop 2>/dev/null || true
[ -e "$(unix_path "$pf")/Kestamor" ] && fail "closing left the install folder"
[ -e "$PROGRAMS/$group" ] && fail "closing left the program group \"$group\""
[ "$(disk_state "$DESKTOP/Kestamor.lnk")" = "$link_before" ] || fail "closing left the desktop link changed"

# 2. A disk too small for the product: the file that does not fit is told with Retry and
# Cancel; Cancel undoes the run and the drive is empty again.
mkdir -p "$SMALL"
# Room for the first five files and a little more: the sixth (the largest sound) cannot fit.
room=0
for i in 0 1 2 3 4; do room=$((room + ($(stat -c %s "${PRODUCT[$i]}") + 4095) / 4096 * 4096)); done
room=$((room + 64 * 1024))
if as_root mount -t tmpfs -o "size=$room" kestamor-small "$SMALL"; then
  ln -sfn "$SMALL" "$DRIVE_LINK"
  to_path_page 'K:\' "$EXE"
  click "Install"
  if wait_for 30 message_shown; then
    text="$(message_text)"
    shot_rect 2-disk-full "$(message_box)"
    case "$text" in *'K:\Kestamor\sounds\free.wav'*) ;; *) fail "the full-disk message does not name free.wav: $text" ;; esac
    expect_buttons "&Retry" Cancel
    CAPTION="$TITLE" click Cancel
    expect_outcome "$NOTHING_CHANGED" 2-stopped-message
    shot 2-stopped
  else
    fail "no message when the disk filled up (progress $(progress))"
  fi
  close_app
  [ -z "$(ls -A "$SMALL")" ] || fail "the undone install left $(ls -A "$SMALL" | tr '\n' ' ') on the small drive"
else
  fail "could not mount a small drive (root or sudo is needed)"
fi

rm -rf "$(unix_path "$E2E_ROOT")"
echo "undo: $failures failures"
[ "$failures" = 0 ]
