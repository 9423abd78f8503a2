# The installer's end-to-end runs (sourced after lib.sh, with EXE, SHOTS and PRODUCT set): the
# Program Files value they propose from, the wizard's pages, its messages, and the installed
# files checked against the payload's.
mkdir -p "$SHOTS"
WORK="$(mktemp -d)"
TITLE="$(basename "$EXE")"; TITLE="${TITLE%%.*}"; TITLE="${TITLE:0:1}$(echo "${TITLE:1}" | tr 'A-Z' 'a-z')"
PAYLOAD_OFFSET=2329600
TARGETS=(kestamor.exe help.chm uninstall.exe kestamor.ini sounds/endgame.wav sounds/free.wav sounds/newnews.wav sounds/wingame.wav)

# A drive-letter path through the prefix's drive link, as winepath maps it, without starting a
# Wine process (under emulation each costs a minute); other paths through winepath.
unix_path() {
  case "$1" in
    [A-Za-z]:\\*)
      local letter="${1:0:1}" rest="${1:3}"
      local drive; drive="$(readlink -f "$WINEPREFIX/dosdevices/${letter,,}:")"
      printf '%s/%s\n' "${drive%/}" "${rest//\\//}" ;;
    *) "$WINE64" winepath -u "$1" 2>/dev/null | tr -d '\r' ;;
  esac
}
CURRENT_VERSION='HKLM\Software\Microsoft\Windows\CurrentVersion'
original_pf="$("$WINE64" reg query "$CURRENT_VERSION" /v ProgramFilesDir 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_[A-Z_]*SZ *//p')"
set_program_files() { "$WINE64" reg add "$CURRENT_VERSION" /v ProgramFilesDir /d "$1" /f >/dev/null 2>&1; }
# Extra clean-up of a script runs first (RESTORE_MORE, a function name).
restore() {
  [ -z "${RESTORE_MORE:-}" ] || "$RESTORE_MORE"
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
checked_is() { local l; l="$(control "$1")"; read -r _ _ _ _ _ ch <<<"$l"; [ "${ch:-}" = "$2" ]; }
set_desktop_icon() {  # 1 or 0
  checked_is "Create a desktop icon" "$1" || click "Create a desktop icon"
  wait_for 5 checked_is "Create a desktop icon" "$1"
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
finish_enabled() { enabled "Finish"; }
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
  wait_for "${GROUP_WINDOW_WAIT:-20}" window_exists "$1" && wininfo close "$1"
  wait_for 5 window_gone "$1"
  # When the shell's Program Manager did not answer at once, the installer started PROGMAN
  # itself; its window may cover the wizard too.
  end_progman
  sleep 1
  [ "$(progress)" = 100 ] || fail "progress is $(progress) on the finish page"
  expect_state "Launch Kestamor" 1 1
  [ -z "$2" ] || shot "$2-finish"
}
end_progman() { pkill -i -f 'progman(\.exe)?"? progman$' 2>/dev/null || true; }
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
# uninstall.ini as an install into "<Program Files>\Kestamor" writes it; with the desktop icon
# its last line names the link.
expect_uninstall_ini() {  # unix ini path, Program Files (Windows path), group, icon 1|0
  local link="..."
  if [ "$4" = 1 ]; then
    link="$(ini_value "$1" u_ico_path)"
    case "$link" in *\\Kestamor.lnk) ;; *) fail "u_ico_path is \"$link\"" ;; esac
  fi
  local want; want="$(printf '[main_section]\r\nu_path=%s\\Kestamor\\kestamor.exe\r\nu_group=%s\r\nu_ico=%s\r\nu_ico_path=%s\r\n' "$2" "$3" "$4" "$link")"
  [ "$(cat "$1")" = "$want" ] || fail "uninstall.ini is not the five expected lines: $(cat -A "$1")"
}


# Every folder and file below a folder, with the files' checksums: what "as it was" means on disk.
disk_state() {
  [ -e "$1" ] || { echo "absent"; return; }
  (cd "$1" && find . -printf '%y %p\n' | sort && find . -type f -print0 | sort -z | xargs -0 -r sha256sum)
}
# After a stop: one message says what state the computer is in; OK closes it.
expect_outcome() {  # text, screenshot name
  if wait_for 20 message_shown; then
    local text; text="$(message_text)"
    case "$text" in *"$1"*) ;; *) fail "the closing message says \"$text\", not \"$1\"" ;; esac
    shot_rect "$2" "$(message_box)"
    expect_buttons OK
    CAPTION="$TITLE" click OK
    wait_for 5 eval '! message_shown' || fail "OK did not close the closing message"
  else
    fail "no message after the stop says what state the computer is in"
  fi
}
NOTHING_CHANGED="Kestamor was not installed; nothing was changed."
EARLIER_KEPT="The installation was stopped; the earlier Kestamor is as it was."
