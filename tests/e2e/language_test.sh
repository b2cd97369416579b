#!/usr/bin/env bash
# The clock's words on an English system (code page 1252), with a window manager and real input:
# without a language choice the task list's view button reads "View"; with russian.vml chosen
# (UTF-8, so its letters do not depend on the code page) the clock's menu, the task list, the
# process manager and the task editor read Russian in Cyrillic letters. Screenshots:
# build/language-*.png.
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"
shots="$SRC/build"
mkdir -p "$shots"
require_tools openbox xdotool xwininfo import convert tesseract
tesseract --list-langs 2>/dev/null | grep -qx rus || skip "tesseract-ocr-rus is not installed (Russian texts cannot be read)"

CLOCK_PID=""
cleanup() {
  [ -n "$CLOCK_PID" ] && close_clock >/dev/null 2>&1
  stop_window_manager
}
trap cleanup EXIT
start_window_manager || { fail "the window manager starts"; finish; }

find_named() {  # find_named PATTERN MIN_WIDTH SECONDS: a visible window of that caption
  local i id w
  for i in $(seq 1 $(($3 * 4))); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      w=$(xwininfo -id "$id" 2>/dev/null | awk '/Width:/ {print $2}')
      [ "${w:-0}" -ge "$2" ] && { echo "$id"; return 0; }
    done
    sleep 0.25
  done
  return 1
}
geometry() {  # geometry ID: the window's client rectangle as W x H + X + Y
  xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} /Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print w"x"h"+"x"+"y}'
}
read_area() {  # read_area W x H + X + Y LANG: the text on the screen there, enlarged three times
  local png
  png=$(mktemp --suffix=.png)
  import -display "$DISPLAY" -window root -crop "$1" -resize 300% "$png" 2>/dev/null
  tesseract "$png" - -l "$2" --psm 6 2>/dev/null | tr -s ' \n' ' '
  rm -f "$png"
}
reads() {  # reads AREA LANG TEXT: the area shows TEXT (blanks ignored), tried for a few seconds
  local i seen
  for i in 1 2 3 4 5; do
    seen=$(read_area "$1" "$2")
    grep -qiF -- "$(tr -d ' ' <<<"$3")" <<<"$(tr -d ' ' <<<"$seen")" && return 0
    sleep 1
  done
  echo "  read: $seen"
  return 1
}
shot() { import -display "$DISPLAY" -window root "$shots/$1" 2>/dev/null; }
ctrl_key() {  # ctrl_key CLOCK KEY: the shortcut typed on the clock
  xdotool windowactivate --sync "$1" 2>/dev/null
  xdotool windowfocus "$1" 2>/dev/null
  sleep 0.3
  xdotool keydown ctrl key "$2" keyup ctrl
}
close_window() {
  xdotool windowactivate --sync "$1" 2>/dev/null
  sleep 0.3
  xdotool key alt+F4
  sleep 1
}

# ---- English: no language chosen ----
reset_registry
dir=$(new_program_folder)
start_clock "$dir"
check "the clock starts" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
clock=$(find_named '^Vemtaro$' 250 20)
check "the clock window is on screen" test -n "$clock"
if [ -n "$clock" ]; then
  sleep 1
  ctrl_key "$clock" t
  list=$(find_named '^Task List$' 300 15)
  check "Ctrl+T opens the task list" test -n "$list"
  if [ -n "$list" ]; then
    sleep 1
    shot language-task-list-en.png
    # The tool band: add, edit, delete, the view button.
    check "the view button reads \"View\"" reads "$(geometry "$list" | sed 's/^[0-9]*x[0-9]*/480x50/')" eng "View"
    close_window "$list"
  fi
fi
close_clock
CLOCK_PID=""
rm -rf "$dir"

# ---- Russian, chosen on an English system ----
reset_registry
dir=$(new_program_folder)
cp "$SRC/lang/russian.vml" "$dir/"
"$WINE_RUN" reg add 'HKCU\Software\Vemtaro' /v Language /t REG_SZ \
  /d "$("$WINE_RUN" winepath -w "$dir" 2>/dev/null | tr -d '\r')\\russian.vml" /f >/dev/null 2>&1
start_clock "$dir"
check "the clock starts in Russian" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
clock=$(find_named '^Vemtaro$' 250 20)
check "the clock window is on screen" test -n "$clock"
if [ -n "$clock" ]; then
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$clock")"
  xdotool mousemove $((X + 60)) $((Y + 30)) sleep 0.3 click 3  # the clock's options menu
  sleep 1.5
  shot language-options-menu-ru.png
  check "the clock's options menu reads \"Язык\"" reads "400x300+$X+$Y" rus "Язык"
  check "and \"Поверх всех окон\"" reads "400x300+$X+$Y" rus "Поверх всех окон"
  xdotool key Escape
  sleep 0.5

  ctrl_key "$clock" t
  list=$(find_named '^Список задач$' 300 15)
  check "Ctrl+T opens \"Список задач\"" test -n "$list"
  if [ -n "$list" ]; then
    sleep 1
    shot language-task-list-ru.png
    check "the view button reads \"Вид\"" reads "$(geometry "$list" | sed 's/^[0-9]*x[0-9]*/480x50/')" rus "Вид"
    close_window "$list"
  fi

  ctrl_key "$clock" p
  procs=$(find_named '^Процессы$' 300 15)
  check "Ctrl+P opens \"Процессы\"" test -n "$procs"
  if [ -n "$procs" ]; then
    sleep 2
    shot language-process-ru.png
    # The column headers, below the tool band.
    headers=$(geometry "$procs" | awk -F'[x+]' '{print $1"x24+"$3"+"$4+49}')
    check "the columns read \"Имя процесса\"" reads "$headers" rus "Имя процесса"
    check "and \"Приоритет\"" reads "$headers" rus "Приоритет"
    close_window "$procs"
  fi

  # The editor, from the notification-area icon's menu ("Новая задача", its fourth item).
  xdotool mousemove $((X + 263)) $((Y + 7)) sleep 0.3 click 1  # "_"
  sleep 1.5
  xdotool mousemove 12 32 sleep 0.3 click 3
  sleep 1.5
  shot language-menu-ru.png
  check "the clock's menu reads \"Процессы\"" reads "300x260+0+30" rus "Процессы"
  check "and \"Новая задача\"" reads "300x260+0+30" rus "Новая задача"
  xdotool mousemove 64 105 sleep 0.3 click 1
  editor=$(find_named '^Новая задача$' 600 15)
  check "the icon's menu opens \"Новая задача\"" test -n "$editor"
  if [ -n "$editor" ]; then
    sleep 1
    shot language-editor-ru.png
    area=$(geometry "$editor")
    check "the sound test reads \"Тест\"" reads "$(awk -F'[x+]' '{print "120x40+"$3+40"+"$4+380}' <<<"$area")" rus "Тест"
    check "the events page reads \"Выключение\" and \"Завершение заставки\"" \
      reads "$(awk -F'[x+]' '{print "340x130+"$3+300"+"$4+280}' <<<"$area")" rus "Завершение заставки"
    xdotool windowactivate --sync "$editor" 2>/dev/null
    xdotool key Escape
    sleep 1
  fi
fi
close_clock
CLOCK_PID=""
rm -rf "$dir"
reset_registry
finish
