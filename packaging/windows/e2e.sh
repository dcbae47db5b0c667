#!/usr/bin/env bash
# The Windows package end to end, under Wine: unpacks the zip into a fresh folder, makes a
# fresh Wine prefix, starts vardel.exe on its own X server (Xvfb) with Qt's real windows
# platform, and checks that
#   - the main window "Vardel" appears and is drawn (screenshot kept at SCREENSHOT_PNG);
#   - a name typed into the add-name window (Ctrl+N, Unicode keystrokes, Enter, Esc; played
#     by vardel-keys.exe) lands in db.mdb as a new row;
#   - Ctrl+X ends the program with status 0.
# Only the zip's own files are on the program's DLL path: nothing comes from the build cache.
#   e2e.sh ZIP VARDEL_KEYS_EXE SCREENSHOT_PNG
set -euo pipefail
zip=$1 keys=$2 screenshot=$3
limit=120 # seconds allowed for each wait; only a hang reaches it

source "$(dirname "$0")/../../scripts/xserver.sh"
# The prefix's own server, and with it any program still running in the prefix.
before_x_ends() {
    [[ -d $work/prefix ]] && WINEPREFIX=$work/prefix wineserver -k 2>/dev/null
}
step() { echo "[$(date +%T)] $*"; }

# --- the unpacked folder ------------------------------------------------------------------
step "unpacking $(basename "$zip")"
unzip -q "$zip" -d "$work/unpacked"
app=$(find "$work/unpacked" -name vardel.exe -printf '%h\n' | head -n 1)
[[ -n $app ]] || fail "the zip holds no vardel.exe"
for file in vardel.exe db.mdb man.jpg Female.jpg translations/qtbase_fa.qm \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qjpeg.dll \
    Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll; do
    [[ -f $app/$file ]] || fail "the zip lacks $file"
done
db=$app/db.mdb
starter=$(grep -v '^#' "$(dirname "$0")/../../data/names.tsv" | grep -c .)
before=$(sqlite3 "$db" 'SELECT count(*) FROM vardel')
[[ $before == "$starter" ]] || fail "db.mdb holds $before names, the starter list $starter"

# --- an X server and a fresh Wine prefix ------------------------------------------------------
start_xvfb 1280x1024 "$limit"
step "Xvfb on $DISPLAY"

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Nothing of the build's set-up reaches the program: no extra DLL folders, no Qt variables.
unset WINEPATH
for variable in $(env | sed -n 's/^\(WINEQT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    unset "$variable"
done
step "making a fresh Wine prefix"
timeout "$limit" wine wineboot --init >"$work/wineboot.log" 2>&1 ||
    fail "wineboot failed: $(tail -n 5 "$work/wineboot.log")"
timeout "$limit" wineserver --wait || true

# --- the program's window ----------------------------------------------------------------------
step "starting vardel.exe"
(cd "$app" && exec wine ./vardel.exe) >"$work/app.log" 2>&1 &
app_pid=$!
window=$(timeout "$limit" xdotool search --sync --onlyvisible --name '^Vardel$' | head -n 1) ||
    fail "no window titled Vardel appeared"
[[ -n $window ]] || fail "no window titled Vardel appeared"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended on its own"

# The screenshot, once the window is drawn.
wait_until_drawn "$window" "$limit"
# A moment more for the list and the details panel to settle before the picture is kept.
sleep 2
import -window root "$work/screen.png"
mkdir -p "$(dirname "$screenshot")"
convert "$work/screen.png" -crop "$area" +repage "$screenshot"
step "screenshot: $screenshot (window $area, $colours colours)"

# --- adding a name through the keyboard ---------------------------------------------------------
name='نیلوفر‌آبی' meaning='گل نیلوفر آبی، نام آزمون ویندوز'
printf '%s\n%s\n' "$name" "$meaning" >"$work/entry.txt"
step "adding $name with vardel-keys.exe"
cp "$keys" "$work/vardel-keys.exe"
(cd "$work" && timeout "$limit" wine ./vardel-keys.exe add entry.txt) ||
    fail "vardel-keys.exe could not add the name"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended while the name was added"
sql_name=${name//\'/\'\'} sql_meaning=${meaning//\'/\'\'}
found=$(sqlite3 "$db" "SELECT count(*) FROM vardel
                       WHERE p_name = '$sql_name' AND means = '$sql_meaning' AND gender = 'm'")
[[ $found == 1 ]] || fail "db.mdb holds the new name $found times; its last rows:" \
    "$(sqlite3 "$db" 'SELECT id, p_name, means, gender FROM vardel ORDER BY id DESC LIMIT 3')"
after=$(sqlite3 "$db" 'SELECT count(*) FROM vardel')
[[ $after == $((before + 1)) ]] || fail "db.mdb went from $before to $after names"
step "db.mdb holds the new row ($after names)"

# --- Ctrl+X ------------------------------------------------------------------------------------
step "Ctrl+X"
(cd "$work" && timeout "$limit" wine ./vardel-keys.exe exit) ||
    fail "vardel-keys.exe could not send Ctrl+X"
wait_for_exit "$limit"
step "the program ended with status 0: end-to-end test passed"
