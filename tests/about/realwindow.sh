#!/usr/bin/env bash
# Starts the built program on its own X server (Xvfb) with the xcb platform, from a temporary
# application folder holding the program, a starter db.mdb and the two pictures. Checks that the
# main window "Vardel" appears with the program's icon and class, takes a screenshot, sends
# Ctrl+X and checks that the program ends with status 0.
#   realwindow.sh VARDEL VARDEL_MKDB NAMES_TSV ASSETS_DIR SCREENSHOT_PNG
set -euo pipefail
vardel=$1 mkdb=$2 names=$3 assets=$4 screenshot=$5
limit=60 # seconds allowed for each wait; only a hang reaches it

source "$(dirname "$0")/../../scripts/xserver.sh"

# The application folder.
app=$work/app
mkdir "$app"
cp "$vardel" "$app/vardel"
cp "$assets/man.jpg" "$assets/Female.jpg" "$app/"
"$mkdb" "$names" "$app/db.mdb" >/dev/null

start_xvfb 1024x768 "$limit"
echo "Xvfb on $DISPLAY"

"${on_xcb[@]}" "$app/vardel" >"$work/app.log" 2>&1 &
app_pid=$!

window=$(timeout "$limit" xdotool search --sync --onlyvisible --name '^Vardel$' | head -n 1) ||
    fail "no window titled Vardel appeared"
[[ -n $window ]] || fail "no window titled Vardel appeared"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended on its own"
[[ $(xdotool search --pid "$app_pid" --name '^Vardel$' | head -n 1) == "$window" ]] ||
    fail "the window titled Vardel is not the program's"

# The window's class is the one the desktop entry names; the window carries an icon.
class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*", "\(.*\)"$/\1/p')
entry_class=$(sed -n 's/^StartupWMClass=//p' "$(dirname "$0")/../../packaging/vardel.desktop")
[[ $class == "$entry_class" ]] || fail "window class '$class', desktop entry '$entry_class'"
icons=$(xprop -id "$window" _NET_WM_ICON)
for size in 16 32; do
    grep -qF "Icon ($size x $size)" <<<"$icons" || fail "the window has no $size x $size icon"
done

# The screenshot, once the window is drawn.
wait_until_drawn "$window" "$limit"
cp "$work/screen.png" "$screenshot"
convert "$work/screen.png" -crop "$area" +repage "${screenshot%.png}-window.png"
echo "screenshot: $screenshot (window $area)"

# Ctrl+X, the exit command, ends the program with status 0.
xdotool windowfocus --sync "$window"
# The press alone: the program ends on it, before a release could reach its window.
xdotool keydown --window "$window" ctrl+x
wait_for_exit "$limit"
echo "the program ended with status 0"
