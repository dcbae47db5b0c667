#!/usr/bin/env bash
# Takes the screenshots in docs/ from the built program on its own X server (Xvfb): the main
# window with a name selected, the add window, the edit window (on that name) and the about
# window.
#   scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
docs=$PWD/docs
source scripts/xserver.sh

app=$work/app
mkdir "$app"
cp "$build/bin/vardel" assets/man.jpg assets/Female.jpg "$app/"
"$build/tools/vardel-mkdb" data/names.tsv "$app/db.mdb" >/dev/null

start_xvfb 1024x768 30
"${on_xcb[@]}" "$app/vardel" >"$work/app.log" 2>&1 &
app_pid=$!

main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vardel$' | head -n 1)
shot() { # shot WINDOW NAME
    sleep 1
    import -window "$1" "$docs/$2.png"
    echo "docs/$2.png"
}
window_of() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }

# A name selected whose meaning is longer than the meaning box shows: of the first 150 names
# in the list's order, the one with the longest meaning. Tab from the name box to the list, End and Home to
# select its first entry, then down to that name.
row=$(sqlite3 "$app/db.mdb" "SELECT n FROM (SELECT row_number() OVER (ORDER BY p_order, p_name)
    AS n, length(means) AS length FROM vardel) WHERE n <= 150 ORDER BY length DESC, n LIMIT 1")
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
downs=()
for ((i = 1; i < row; i++)); do downs+=(Down); done
xdotool key --window "$main" Tab End Home "${downs[@]}"
shot "$main" screenshot

xdotool key ctrl+e
edit=$(window_of "Edit Name's")
shot "$edit" screenshot-edit
xdotool key Escape
sleep 0.5

xdotool windowfocus --sync "$main"
xdotool key ctrl+n
add=$(window_of 'Add New Name')
shot "$add" screenshot-add
xdotool key Escape
sleep 0.5

xdotool windowfocus --sync "$main"
# The about window: the menu "فايل" at the right end of the menu bar, then its second item.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --window "$main" $((WIDTH - 20)) 10 click 1
sleep 0.5
xdotool key Down Down Return
about=$(window_of '^About Vardel$')
shot "$about" screenshot-about
