# An X server of a script's own, for the scripts that run the program on a real display.
# Source it from bash; it makes a temporary folder `work` and sets an exit trap that ends the
# program (`app_pid`, once the script sets it), runs the function `before_x_ends` when the
# script defines one, ends the X server and removes `work`.
#   start_xvfb WIDTHxHEIGHT SECONDS   starts Xvfb on the first free display, exports DISPLAY;
#                                     "${on_xcb[@]}" COMMAND... then runs COMMAND there with
#                                     Qt's xcb platform and a runtime folder of its own
#   wait_until_drawn WINDOW SECONDS   waits until the window shows more than its background;
#                                     sets `area` (its geometry) and `colours`, leaves the
#                                     screen in $work/screen.png
#   shoot_main_window SECONDS PNG [SETTLE]
#                                     finds the program's window titled Vardel (sets `window`),
#                                     fails unless it shows and the program (app_pid) runs,
#                                     waits until it is drawn and SETTLE seconds more (1), and
#                                     keeps a screenshot of it in PNG
#   wait_for_exit SECONDS             waits for the program (app_pid) to end, fails unless it
#                                     ends in time with status 0
#   fail MESSAGE                      prints MESSAGE and the program's output, exits 1
#   names_in DB                       prints how many names the db.mdb at DB holds
#   expect_new_name DB NAME MEANING BEFORE
#                                     fails unless DB holds NAME with MEANING as a male name
#                                     exactly once, and BEFORE + 1 names in all

work=$(mktemp -d)
xvfb_pid='' app_pid=''

x_cleanup() {
    set +e
    if [[ -n $app_pid ]]; then
        kill -KILL "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
    fi
    declare -F before_x_ends >/dev/null && before_x_ends
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap x_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -s $work/app.log ]] && { echo "--- program output:" >&2; cat "$work/app.log" >&2; }
    exit 1
}

start_xvfb() {
    local size=$1 limit=$2 display
    mkfifo "$work/displayfd"
    # The server writes its display's number to the pipe. -noreset: keyboard layouts set with
    # setxkbmap stay, and Qt's windows platform under Wine does not spin when the last client
    # leaves.
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${size}x24" 3>"$work/displayfd" \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    read -r -t "$limit" display <"$work/displayfd" ||
        fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$display"
    mkdir -m 700 "$work/runtime"
    on_xcb=(env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime")
}

names_in() { sqlite3 "$1" 'SELECT count(*) FROM vardel'; }

expect_new_name() {
    local db=$1 name=${2//\'/\'\'} meaning=${3//\'/\'\'} before=$4 found after
    found=$(sqlite3 "$db" "SELECT count(*) FROM vardel
                           WHERE p_name = '$name' AND means = '$meaning' AND gender = 'm'")
    [[ $found == 1 ]] || fail "db.mdb holds the new name $found times; its last rows:" \
        "$(sqlite3 "$db" 'SELECT id, p_name, means, gender FROM vardel ORDER BY id DESC LIMIT 3')"
    after=$(names_in "$db")
    [[ $after == $((before + 1)) ]] || fail "db.mdb went from $before to $after names"
}

wait_until_drawn() {
    local window=$1 limit=$2 WINDOW WIDTH HEIGHT X Y SCREEN
    eval "$(xdotool getwindowgeometry --shell "$window")"
    area="${WIDTH}x${HEIGHT}+${X}+${Y}"
    colours=0
    # Anti-aliased Persian text and the pictures give a drawn window's area many colours.
    for _ in $(seq 1 "$limit"); do
        import -window root "$work/screen.png"
        colours=$(convert "$work/screen.png" -crop "$area" +repage -format '%k' info:)
        ((colours > 64)) && return 0
        sleep 1
    done
    fail "the window was not drawn ($colours colours)"
}

shoot_main_window() {
    local limit=$1 png=$2 settle=${3:-1}
    window=$(timeout "$limit" xdotool search --sync --onlyvisible --name '^Vardel$' | head -n 1) ||
        fail "no window titled Vardel appeared"
    [[ -n $window ]] || fail "no window titled Vardel appeared"
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended on its own"
    wait_until_drawn "$window" "$limit"
    sleep "$settle"
    import -window root "$work/screen.png"
    mkdir -p "$(dirname "$png")"
    convert "$work/screen.png" -crop "$area" +repage "$png"
}

wait_for_exit() {
    local limit=$1 status=0
    timeout "$limit" tail --pid="$app_pid" -f /dev/null || fail "the program did not end after Ctrl+X"
    wait "$app_pid" || status=$?
    app_pid=''
    [[ $status -eq 0 ]] || fail "the program ended with status $status"
}
