#!/usr/bin/env bash
# A user's day at random, as a test. Builds the viewer with the sanitizers, starts it in
# a copy of its program folder on an X server of its own under a window manager, and for
# SECONDS (default 120) clicks, types, pastes, drags, opens menus and windows and changes
# settings at random, drawn from SEED (default: a new one). It fails on a sanitizer report
# or toolkit warning, a crash or an exit status other than 0, an end nobody asked for, a
# main window that leaves the window manager's ping unanswered for 5 s, a settings file
# that is not whole, or resident memory of one run growing by more than 20 % after its
# first minute. A failure prints the seed, the last 50 actions and the program's standard
# error; the same SECONDS and SEED replay it.
#
#   scripts/run-monkey.sh [SECONDS] [SEED]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-120}"
seed="${2:-$(($(od -An -N4 -tu4 /dev/urandom) % 1000000))}"
echo "Monkey run of $seconds s with seed $seed (replay: scripts/run-monkey.sh $seconds $seed)"

"$root/scripts/install-dependencies.sh"
build="$root/build-sanitize"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZN_SANITIZE=ON \
  -DZN_BUILD_BENCH=OFF -DZN_WERROR=ON >/dev/null
cmake --build "$build" --target zn-api-viewer wm_ping -j 2
RANDOM=$seed

# ---------------------------------------------------------------- the user's day
# weight  action               what the user does
actions=(
  140 click_topic          # clicks a row of the topic tree
  40  double_click_topic   # opens or closes a node
  30  drag_topic           # drags a topic onto the code view, the search field or away
  50  click_code           # one, two or three clicks into the code (and its links)
  20  menu_in_code         # right click in the code view, then a menu item
  40  scroll_code          # the wheel over the code, with or without Ctrl
  60  type_search          # types a word or junk into the search field
  30  paste_search         # pastes a text into the search field
  10  menu_in_search       # right click in the search field, then a menu item
  30  find_in_code         # Ctrl+F, a word, the next or previous one, or the bar closed
  30  code_search          # the search through all code: a word, a hit chosen, or the window closed
  10  side_button          # the mouse's back or forward button over the main window
  20  type_in_field        # types or pastes into a field of whichever window is open
  100 shortcut_key         # a function key, Return or Alt+letter, wherever the focus is
  60  press_key            # another key: Tab, arrows, Page keys, Ctrl+letters, ...
  60  click_button         # a button of the tool row that opens no menu
  20  pick_history         # an entry of the history list
  30  info_menu            # an entry of the info menu
  60  settings_list        # another value in a list of the settings window
  20  settings_check       # a check box of the settings window
  20  settings_chooser     # the database, library or font chooser
  40  settings_button      # Apply, Save, Cancel, Escape or the close button
  20  database_window      # the icons and fields of the database window
  20  update_window        # checks for updates and closes the window with Escape at once
  10  publish              # the update server publishes another version file
  10  reshape              # moves and resizes the main window
  10  hover                # rests the pointer on a widget until its tooltip shows
  2   quit                 # Escape or the close button of the main window
)
# While a message, a chooser or the about dialog waits, the user answers it.
answers=(
  5 answer_return
  3 answer_escape
  2 answer_close
  2 click_in_dialog
  1 type_in_dialog
)

words=(Button button GTK gtk_ Fenster window Signal clipboard Zeichen "Tree View" Hilfe help
  xyz qqq é ä ß "→" ";" Gdk ZID "  " Datei Liste)
pastes=(gtk_clipboard Button "Das Fenster wird geschlossen und danach nicht mehr gezeigt"
  "qwertzuiopasdfghjklyxcvbnm qwertzuiop" $'erste Zeile\nzweite Zeile' "äöü ß éè → ∑ 漢字" "")
shortcuts=(F1 F2 F3 F4 F5 F6 Return KP_Enter shift+Return alt+g alt+e alt+d alt+f alt+Left alt+Right ctrl+shift+f)
keys=(Tab shift+Tab Up Down Left Right Page_Up Page_Down Home End Delete BackSpace space alt+x ctrl+c ctrl+a
  ctrl+v ctrl+x ctrl+f ctrl+z a 1)

act_click_topic() { tree_point && click "$main" "$px" "$py" 1 1; }
act_double_click_topic() { tree_point && click "$main" "$px" "$py" 1 2; }
act_drag_topic() {
  tree_point || return 0
  pick target "$((width - 150)) $((height / 2))" "122 17" "$((width + 300)) 40"
  note "to $target"
  x mousemove --window "$main" "$px" "$py" mousedown 1 mousemove_relative 10 6 mousemove_relative 10 6 \
    sleep 0.1 mousemove --window "$main" $target sleep 0.3
  x mouseup 1
}
act_click_code() { code_point && pick count 1 1 2 3 && click "$main" "$px" "$py" 1 "$count"; }
act_menu_in_code() { code_point && click "$main" "$px" "$py" 3 1 && choose_in_menu 8; }
act_scroll_code() {
  code_point || return 0
  roll count 5 && pick wheel 4 5 && pick held "" ctrl && note "wheel $wheel x$((count + 1)) $held"
  x mousemove --window "$main" "$px" "$py" ${held:+keydown ctrl} click --repeat $((count + 1)) "$wheel"
  [ -z "$held" ] || x keyup ctrl
}
act_type_search() {
  pick word "${words[@]}" && pick where End Home Left && note "'$word' at $where"
  click "$main" 122 17 1 1 && x key "$where" && x type --delay 40 "$word"
}
act_paste_search() {
  pick text "${pastes[@]}" && note "'$text'"
  printf %s "$text" | xclip -selection clipboard -i >/dev/null 2>&1
  click "$main" 122 17 1 1 && pick how ctrl+v "ctrl+a ctrl+v" && x key $how
}
act_menu_in_search() { click "$main" 122 17 3 1 && choose_in_menu 7; }
act_find_in_code() {
  pick word "${words[@]}" && pick then Return shift+Return Up Down cross escape && note "'$word' $then"
  x key ctrl+f sleep 0.3 type --delay 40 "$word"
  case $then in
    cross) main_size && click "$main" $((width - 24)) $((height - 28)) 1 1 ;;
    escape) press_ending_key Escape ;;
    *) x key "$then" ;;
  esac
}
act_code_search() {
  open_code_search || return 0
  pick what word hit keys escape && note "$what"
  case $what in
    word) pick word "${words[@]}" && note "'$word'" && click "$search" 300 18 1 1 && x key ctrl+a type --delay 40 "$word" ;;
    hit) window_size "$search" && roll py $((height - 90)) && pick count 1 2 && click "$search" 300 $((py + 45)) 1 "$count" ;;
    keys) roll count 4 && x key --delay 60 $(repeat "$count" Down) Return ;;
    escape) click "$search" 300 18 1 1 && press_ending_key Escape ;;
  esac
}
act_side_button() { code_point && pick button 8 9 && click "$main" "$px" "$py" "$button" 1; }
act_type_in_field() {
  local fields=("$main 122 17")
  visible "$settings" && fields+=("$settings 250 52" "$settings 250 97")
  visible "$info" && fields+=("$info 430 32" "$info 430 158")
  visible "$update" && fields+=("$update 495 23")
  visible "$search" && fields+=("$search 300 18")
  pick field "${fields[@]}" && pick word "${words[@]}" ctrl+a ctrl+v && note "'$word'" && click $field 1 1
  if [[ $word == ctrl+* ]]; then x key "$word"; else x type --delay 40 "$word"; fi
}
act_shortcut_key() { pick key "${shortcuts[@]}" && note "$key" && x key "$key"; }
act_press_key() { pick key "${keys[@]}" && note "$key" && x key "$key"; }
act_click_button() {
  main_size && pick button "20 19" "51 16" "$((width - 119)) 17" "$((width - 89)) 17" "$((width - 49)) 17"
  click "$main" $button 1 1
}
act_pick_history() { click "$main" 301 17 1 1 && choose_in_menu 4; }
act_info_menu() { main_size && click "$main" $((width - 19)) 17 1 1 && choose_in_menu 5; }
act_settings_list() {
  open_settings || return 0
  pick list "285 205" "285 265" "285 295" "285 325" "285 355"
  click "$settings" $list 1 1 && roll count 3 && pick way Up Down
  note "$way x$count" && x sleep 0.3 key --delay 60 $(repeat "$count" "$way") Return
}
act_settings_check() { open_settings && pick box "25 127" "25 389" "25 416" && click "$settings" $box 1 1; }
act_settings_chooser() { open_settings && pick button "515 52" "515 97" "462 235" && click "$settings" $button 1 1; }
act_settings_button() {
  open_settings || return 0
  pick button apply save cancel escape close && note "$button"
  case $button in
    apply) click "$settings" 462 133 1 1 ;;
    save) click "$settings" 404 458 1 1 ;;
    cancel) click "$settings" 135 458 1 1 ;;
    escape) click "$settings" 270 163 1 1 && press_ending_key Escape ;;
    close) click "$settings" 270 163 1 1 && press_ending_key alt+F4 ;;
  esac
}
act_database_window() {
  visible "$info" || { act_info_menu_item 2 && wait_until 5 visible_title "^About: current Database"; }
  pick spot "15 32" "15 158" "430 32" "430 158" escape && note "$spot"
  if [ "$spot" = escape ]; then click "$info" 90 60 1 1 && press_ending_key Escape; else click "$info" $spot 1 1; fi
}
# Escape follows the window's appearance as quickly as a user can react; a window that
# stood open already is clicked first.
act_update_window() {
  if visible "$update"; then note "open already" && click "$update" 90 60 1 1 && press_ending_key Escape; return; fi
  act_info_menu_item 3 && wait_until 15 visible_title "^Zarnel-Linux-API-Viewer: Update check$" &&
    x sleep 0.3 key Escape
}
act_publish() {
  pick version 0.25.36 0.26.0 0.24.40 1.0 "" x.y.z && pick date 2001-01-01 2099-12-31 "" 31.12.2024
  note "version '$version', date '$date'"
  printf '[ZN-Linux-API]\n; published\nGtk2=%s\nGtk3=%s\nDb=%s\n' "$version" "$version" "$date" \
    >"$work/site/Linux/ZN-Linux-API-Version.ini"
}
# The window stays on the screen (1280 x 1024, less the frame), where the user can reach it.
act_reshape() {
  roll w 900 && roll h 650 && w=$((w + 380)) h=$((h + 300)) && roll left $((1280 - w)) && roll top $((1000 - h))
  note "$w x $h at $left,$top" && x windowsize "$main" "$w" "$h" windowmove "$main" "$left" "$top"
}
act_hover() { tree_point && pick spot "$px $py" "122 17" "301 17" "51 16" && x mousemove --window "$main" $spot sleep 1; }
act_quit() { pick how Escape alt+F4 && note "$how" && x windowactivate --sync "$main" && press_ending_key "$how"; }
act_answer_return() { x key Return; }
act_answer_escape() { x key Escape; }
act_answer_close() { x windowactivate "$dialog" key alt+F4; }
act_click_in_dialog() { window_size "$dialog" && roll px "$width" && roll py "$height" && click "$dialog" "$px" "$py" 1 1; }
# A main window out of sight (minimised by a click on its frame, or on another desktop
# after a wheel over the desktop) is brought back, as from a task bar.
act_bring_back() { x windowactivate "$main" && wait_until 5 eval 'survey && visible "$main"'; }
act_type_in_dialog() { pick word "${words[@]}" /tmp/ "$work/program/" && note "'$word'" && x type "$word" key Return; }

# A run begins with a look around: every chooser and window once, so that what the
# toolkit loads at its first use (the fonts of the font chooser above all) falls into
# the first minute, against which the memory is measured.
act_look_around() {
  looked_around=1
  open_settings || return 0
  for button in "515 52" "515 97" "462 235"; do click "$settings" $button 1 1 && escape_dialog; done
  click "$settings" 135 458 1 1 && act_info_menu_item 1 && escape_dialog
  act_info_menu_item 2 && wait_until 10 visible_title "^About: current Database" && x sleep 0.3 key Escape
  open_code_search && x sleep 0.3 key Escape
  act_update_window
}

act_info_menu_item() {
  main_size && note "info menu item $1" && click "$main" $((width - 19)) 17 1 1
  x sleep 0.3 key --delay 60 $(repeat "$1" Down) Return
}
escape_dialog() { wait_until 10 dialog_shown && x key Escape && wait_until 10 eval '! dialog_shown'; }
dialog_shown() { survey && [ -n "$dialog" ]; }
# The main window takes Ctrl+Shift+F after a click on its tool row, where no control is.
open_code_search() {
  visible "$search" && return 0
  click "$main" 435 17 1 1 && x key ctrl+shift+f
  wait_until 5 visible_title "^(Im Code suchen|Search in code|Rechercher dans le code)$"
}
open_settings() {
  visible "$settings" && return 0
  main_size && click "$main" $((width - 89)) 17 1 1
  wait_until 5 visible_title "^Linux ZN-ZID-Idavode-Ruriva - Settings$"
}
# Item 0 closes the menu with a click beside it, not with Escape: had the menu not opened,
# Escape would end the program.
choose_in_menu() {
  roll count "$1" && note "menu item $count"
  if [ "$count" = 0 ]; then click "$main" 435 17 1 1; else x sleep 0.3 key --delay 60 $(repeat "$count" Down) Return; fi
}
# Escape or Alt+F4 where the focus is; in the main window they end the program, as asked.
press_ending_key() {
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$main" ] && quit_asked=1
  x key "$1"
  [ "$quit_asked" = 0 ] || wait_until 10 program_ended || quit_asked=0
}

# ---------------------------------------------------------------- the user's hands
x() { xdotool "$@" >/dev/null 2>&1 || true; }
roll() { printf -v "$1" %d $((RANDOM % $2)); }
pick() {
  local name=$1
  shift
  printf -v "$name" %s "${@:$((RANDOM % $# + 1)):1}"
}
repeat() { for ((i = 0; i < $1; i++)); do printf '%s ' "$2"; done; }
note() { action_note+=" $*"; }
click() {
  note "click $5x button $4 at $2,$3"
  [ -n "$1" ] && x mousemove --window "$1" "$2" "$3" click --repeat "$5" --delay 90 "$4"
}
window_size() {
  eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=')" || true
  width=${WIDTH:-800} height=${HEIGHT:-600}
}
main_size() { window_size "$main"; }
# The user reaches the tree and the code: the code search window, which stays above
# the main window, is closed first, and the main window comes up over the others.
main_in_front() {
  if visible "$search"; then note "closes the code search" && click "$search" 300 18 1 1 && press_ending_key Escape; fi
  x windowraise "$main"
}
tree_point() { main_in_front && main_size && roll px 220 && roll py $((height - 60)) && px=$((px + 15)) py=$((py + 42)); }
code_point() {
  main_in_front && main_size && roll px $((width - 400)) && roll py $((height - 110)) && px=$((px + 380)) py=$((py + 95))
}

# ---------------------------------------------------------------- the stage
work="$(mktemp -d "${TMPDIR:-/tmp}/zn-monkey.XXXXXX")"
cp -r "$build/program" "$work/program"
mkdir -p "$work/bin" "$work/home" "$work/site/Linux"
# The programs the viewer starts only note that they were started.
for fake in xdg-open gnome-open beep; do
  printf '#!/bin/sh\necho "%s $*" >>"%s/started.log"\n' "$fake" "$work" >"$work/bin/$fake"
  chmod +x "$work/bin/$fake"
done
ping_tool="$build/tests/wm_ping"
settings_file="$work/program/DizerEZ VAV-AruRuvove.ini"
pid="" xvfb_pid="" wm_pid="" http_pid="" passed=0
cleanup() {
  for process in $pid $http_pid $wm_pid $xvfb_pid; do kill "$process" 2>/dev/null || true; done
  if [ "$passed" = 1 ]; then rm -rf "$work"; fi
}
trap cleanup EXIT

wait_until() {
  local limit=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < limit)) || return 1
    sleep 0.05
  done
}
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_until 20 test -s "$work/display"
export DISPLAY=":$(cat "$work/display")"
HOME="$work/home" openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
ASAN_OPTIONS=detect_leaks=0 "$ping_tool" --manager 20000
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/site" >"$work/http.log" 2>&1 &
http_pid=$!
wait_until 20 grep -qs " port " "$work/http.log"
port="$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$work/http.log" | head -n 1)"
act_publish

# ---------------------------------------------------------------- the program
start_program() {
  # The sanitizer's quarantine of freed memory is kept small, or its filling would count as growth.
  (cd "$work" && exec env HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" \
    XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
    XDG_STATE_HOME="$work/home/.local/state" PATH="$work/bin:$PATH" \
    ZN_DIALOG_LOG="$work/dialogs.log" ZN_UPDATE_URL="http://127.0.0.1:$port/Linux/ZN-Linux-API-Version.ini" \
    ASAN_OPTIONS="detect_leaks=1:allow_user_segv_handler=0:handle_abort=1:handle_sigill=1:quarantine_size_mb=4" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    LSAN_OPTIONS="suppressions=$root/scripts/toolkit-leaks.supp:print_suppressions=0" \
    "$work/program/zn-api-viewer") >/dev/null 2>>"$work/stderr.log" &
  pid=$!
  starts=$((starts + 1)) started_at=$SECONDS rss_base="" rss_samples=() quit_asked=0 looked_around=0
  main="" settings="" info="" update="" search="" dialog=""
}
program_ended() { ! [ -d "/proc/$pid" ] || grep -q '^State:.*Z' "/proc/$pid/status" 2>/dev/null; }
visible() { [ -n "$1" ] && [[ " $shown " == *" $1 "* ]]; }
visible_title() {
  survey
  local id
  for id in $shown; do [[ "$(xdotool getwindowname "$id" 2>/dev/null)" =~ $1 ]] && return 0; done
  return 1
}

# Notes the program's visible windows: the five of its own by their titles (the main
# window is the big one with its title), any other one as a waiting dialog. Menus,
# tooltips and drag icons bear the bare program name.
survey() {
  shown="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tr '\n' ' ' || true)" dialog=""
  local id name
  for id in $shown; do
    [[ " $main $settings $info $update $search " == *" $id "* ]] && continue
    name="$(xdotool getwindowname "$id" 2>/dev/null)" || continue
    case $name in
      "Linux ZN-ZID-Idavode-Ruriva - Settings") settings=$id ;;
      "About: current Database & File") info=$id ;;
      "Zarnel-Linux-API-Viewer: Update check") update=$id ;;
      "Im Code suchen" | "Search in code" | "Rechercher dans le code") search=$id ;;
      "" | Zarnel-Linux-API-Viewer) ;;
      *)
        if [[ $name =~ ^Linux\ ZN-ZID-Idavode-Ruriva( ~ .*)?$ ]] &&
          [ "$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=//p')" -ge 600 ]; then
          main=$id
        else
          dialog=$id dialog_name=$name
        fi
        ;;
    esac
  done
}

# ---------------------------------------------------------------- the checks
recent=()
fail() {
  echo
  echo "MONKEY FAILURE: $1"
  echo "Seed $seed; replay with: scripts/run-monkey.sh $seconds $seed"
  echo "The last ${#recent[@]} actions:"
  printf '  %s\n' "${recent[@]}"
  echo "The program's standard error:"
  sed 's/^/  /' "$work/stderr.log" | head -c 200000
  echo "The windows in sight: $(for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf "'%s' " "$(xdotool getwindowname "$id")"
  done)"
  import -window root "$work/failure.png" 2>/dev/null || true
  echo "Screenshot and logs kept in $work"
  exit 1
}
settings_whole() {
  [ "$(head -c 4 "$settings_file" | od -An -tx1 | tr -d ' \n')" = efbbbf0a ] || return 1
  [ "$(tail -c 1 "$settings_file" | od -An -tx1 | tr -d ' ')" = 0a ] || return 1
  ! tail -n +2 "$settings_file" | grep -qvE '^(;.*|\[.*\]|[^=;[]+=.*)$' || return 1
  local key
  for key in about Language SearchHint SearchMode CodeMarks FontSize SavePaths SourceInTitle SaveWinSetting \
    DyeingNews; do grep -qE "^$key=-?[0-9]+$" "$settings_file" || return 1; done
  for key in db-path Lib-path FontName CodeEditorPath; do grep -q "^$key=" "$settings_file" || return 1; done
}
check_end() {
  local status=0
  wait "$pid" || status=$?
  [ "$status" = 0 ] || fail "the program ended with exit status $status"
  [ "$quit_asked" = 1 ] || [ -z "$main" ] || fail "the program ended without being asked to"
  settings_whole || fail "the settings file is not whole"
}
# Memory is the least of the last three samples, 10 s apart: the peak of one action
# (a search result being built) passes, while growth raises even the least.
check_memory() {
  ((SECONDS - started_at >= 60 && SECONDS - last_sample >= 10)) || return 0
  last_sample=$SECONDS
  local rss
  rss="$(sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\).*/\1/p' "/proc/$pid/status" 2>/dev/null)"
  [ -n "$rss" ] || return 0
  echo "memory of run $starts after $((SECONDS - started_at)) s: $rss kB" >>"$work/actions.log"
  peak_rss=$((rss > peak_rss ? rss : peak_rss))
  rss_samples+=("$rss")
  ((${#rss_samples[@]} <= 3)) || rss_samples=("${rss_samples[@]:1}")
  ((${#rss_samples[@]} == 3)) || return 0
  local least=$rss sample
  for sample in "${rss_samples[@]}"; do least=$((sample < least ? sample : least)); done
  [ -n "$rss_base" ] || rss_base=$least
  ((least * 100 <= rss_base * 120)) ||
    fail "resident memory grew from $rss_base kB after the first minute to $least kB (the least of 30 s)"
}
check_health() {
  [ ! -s "$work/stderr.log" ] || fail "the program wrote to standard error"
  ! grep -q "A program error was detected" "$work/dialogs.log" 2>/dev/null || fail "the program reported a crash"
  if program_ended || [ -z "$main" ]; then return 0; fi
  ASAN_OPTIONS=detect_leaks=0 "$ping_tool" "$main" 5000 || program_ended ||
    fail "the main window did not answer the window manager's ping within 5 s"
  check_memory
}

# ---------------------------------------------------------------- the day
choose() {
  local -n table=$1
  local total=0 r
  for ((i = 0; i < ${#table[@]}; i += 2)); do total=$((total + table[i])); done
  r=$((RANDOM % total))
  for ((i = 0; i < ${#table[@]}; i += 2)); do
    ((r < table[i])) && chosen=${table[i + 1]} && return
    r=$((r - table[i]))
  done
}
starts=0 steps=0 peak_rss=0 last_sample=0
trap 'fail "the monkey itself stumbled at line $LINENO"' ERR
start_program
deadline=$((SECONDS + seconds))
while ((SECONDS < deadline)); do
  if program_ended; then
    check_end
    start_program
  fi
  survey
  if [ -z "$main" ] && [ -z "$dialog" ]; then
    ((SECONDS - started_at < 60)) || fail "the main window did not appear within a minute"
    sleep 0.1
    continue
  fi
  steps=$((steps + 1)) action_note=""
  if [ -n "$dialog" ]; then
    choose answers && note "to '$dialog_name'"
  elif [ "$looked_around" = 0 ]; then
    chosen=look_around
  elif ! visible "$main"; then
    chosen=bring_back
  else
    choose actions
  fi
  "act_$chosen" || true
  recent+=("$steps ($SECONDS s, run $starts): $chosen$action_note")
  echo "${recent[-1]}" >>"$work/actions.log"
  ((${#recent[@]} <= 50)) || recent=("${recent[@]:1}")
  check_health
done

# The day ends as it should: what waits is answered, then the main window is closed.
quit_asked=1
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  program_ended && break
  survey
  if [ -n "$dialog" ]; then x key Escape; else x windowactivate --sync "$main" key Escape; fi
  wait_until 3 program_ended || true
done
program_ended || fail "the program did not end when asked to"
check_end
[ ! -s "$work/stderr.log" ] || fail "the program wrote to standard error"
passed=1
echo "Monkey run passed: $steps actions, $((starts - 1)) restarts, $((seconds / 60)) min $((seconds % 60)) s," \
  "peak memory $((peak_rss / 1024)) MiB, seed $seed"
