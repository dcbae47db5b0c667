#!/usr/bin/env bash
# The Windows packages end to end, under Wine, each in a fresh Wine prefix, with the
# program started on its own X server (Xvfb) with Qt's real windows platform:
#   e2e.sh zip ZIP VARDEL_KEYS_EXE SCREENSHOT_PNG
#       unpacks the zip into a fresh folder;
#   e2e.sh installer SETUP_EXE NEWER_SETUP_EXE VARDEL_KEYS_EXE SCREENSHOT_PNG
#       installs silently (/S) for the current user: the program lands in
#       %LOCALAPPDATA%\Programs\Vardel, with the Start-menu entry and the entry in the list of
#       installed programs at the installer's version;
# then, for both, checks that
#   - the main window "Vardel" appears and is drawn (screenshot kept at SCREENSHOT_PNG);
#   - a name typed into the add-name window (Ctrl+N, Unicode keystrokes, Enter, Esc; played
#     by vardel-keys.exe) lands in db.mdb as a new row;
#   - Ctrl+X ends the program with status 0;
# and, for the installer, that the newer installer (/S) over it keeps db.mdb as it is and
# records its version, and that the silent uninstaller removes the program, its Start-menu
# entry and its entry in the list, and leaves db.mdb with the user's names.
# Only the package's own files are on the program's DLL path: nothing comes from the build
# cache.
set -euo pipefail
kind=$1
shift
case "$kind" in
    zip) package=$1 keys=$2 screenshot=$3 ;;
    installer) package=$1 newer=$2 keys=$3 screenshot=$4 ;;
    *) echo "usage: $0 zip ZIP KEYS SHOT | installer SETUP NEWER_SETUP KEYS SHOT" >&2; exit 2 ;;
esac
limit=120 # seconds allowed for each wait; only a hang reaches it

source "$(dirname "$0")/../../scripts/xserver.sh"
# The prefix's own server, and with it any program still running in the prefix.
before_x_ends() {
    [[ -d $work/prefix ]] && WINEPREFIX=$work/prefix wineserver -k 2>/dev/null
}
step() { echo "[$(date +%T)] $*"; }
starter=$(grep -v '^#' "$(dirname "$0")/../../data/names.tsv" | grep -c .)

# --- an X server and a fresh Wine prefix ------------------------------------------------------
start_xvfb 1280x1024 "$limit"
step "Xvfb on $DISPLAY"

# winemenubuilder would turn the installer's Start-menu entry into one of this machine's own.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
# Nothing of the build's set-up reaches the program: no extra DLL folders, no Qt variables.
unset WINEPATH
for variable in $(env | sed -n 's/^\(WINEQT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    unset "$variable"
done
step "making a fresh Wine prefix"
timeout "$limit" wine wineboot --init >"$work/wineboot.log" 2>&1 ||
    fail "wineboot failed: $(tail -n 5 "$work/wineboot.log")"
timeout "$limit" wineserver --wait || true

# Windows' own view of the prefix.
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vardel'
registry_value() {
    wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
windows_variable() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
installer_version() { basename "$1" | sed -n 's/^vardel-\([0-9.]*\)-windows-.*/\1/p'; }
# run_silently EXE WHAT: says WHAT it does, runs the installer or uninstaller EXE silently and
# waits for everything it started.
run_silently() {
    step "$2 silently"
    timeout "$limit" wine "$1" /S >>"$work/setup.log" 2>&1 || fail "$(basename "$1") /S failed"
    timeout "$limit" wineserver --wait || true
}

# --- the application folder ---------------------------------------------------------------------
if [[ $kind == zip ]]; then
    step "unpacking $(basename "$package")"
    unzip -q "$package" -d "$work/unpacked"
    app=$(find "$work/unpacked" -name vardel.exe -printf '%h\n' | head -n 1)
    [[ -n $app ]] || fail "the zip holds no vardel.exe"
else
    run_silently "$package" "installing $(basename "$package")"
    location=$(registry_value InstallLocation)
    expected="$(windows_variable LOCALAPPDATA)\Programs\Vardel"
    [[ $location == "$expected" ]] || fail "installed into '$location', not '$expected'"
    app=$(winepath -u "$location" 2>/dev/null)
    app=${app%/}
    version=$(installer_version "$package")
    [[ $(registry_value DisplayVersion) == "$version" ]] ||
        fail "the list of installed programs shows version '$(registry_value DisplayVersion)'"
    [[ $(registry_value Publisher) == "Vardel team" ]] ||
        fail "the list of installed programs shows publisher '$(registry_value Publisher)'"
    uninstaller=$(registry_value UninstallString | tr -d '"')
    [[ $(winepath -u "$uninstaller" 2>/dev/null) == "$app/uninstall.exe" && -f $app/uninstall.exe ]] ||
        fail "no uninstaller at '$uninstaller'"
    shortcut="$(winepath -u "$(windows_variable APPDATA)" 2>/dev/null)"
    shortcut="${shortcut%/}/Microsoft/Windows/Start Menu/Programs/وردل.lnk"
    [[ -f $shortcut ]] || fail "no Start-menu entry وردل"
    strings -e l "$shortcut" | grep -qi 'Vardel\\vardel.exe' ||
        fail "the Start-menu entry does not start vardel.exe"
    step "installed into $location, version $version"
fi
for file in vardel.exe db.mdb man.jpg Female.jpg translations/qtbase_fa.qm \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qjpeg.dll \
    Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll; do
    [[ -f $app/$file ]] || fail "the $kind lacks $file"
done
db=$app/db.mdb
before=$(names_in "$db")
[[ $before == "$starter" ]] || fail "db.mdb holds $before names, the starter list $starter"

# --- the program's window ----------------------------------------------------------------------
step "starting vardel.exe"
(cd "$app" && exec wine ./vardel.exe) >"$work/app.log" 2>&1 &
app_pid=$!
# The screenshot, once the window is drawn and the list and the details panel have settled.
shoot_main_window "$limit" "$screenshot" 2
step "screenshot: $screenshot (window $area, $colours colours)"

# --- adding a name through the keyboard ---------------------------------------------------------
name='نیلوفر‌آبی' meaning='گل نیلوفر آبی، نام آزمون ویندوز'
printf '%s\n%s\n' "$name" "$meaning" >"$work/entry.txt"
step "adding $name with vardel-keys.exe"
cp "$keys" "$work/vardel-keys.exe"
(cd "$work" && timeout "$limit" wine ./vardel-keys.exe add entry.txt) ||
    fail "vardel-keys.exe could not add the name"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended while the name was added"
expect_new_name "$db" "$name" "$meaning" "$before"
step "db.mdb holds the new row ($((before + 1)) names)"

# --- Ctrl+X ------------------------------------------------------------------------------------
step "Ctrl+X"
(cd "$work" && timeout "$limit" wine ./vardel-keys.exe exit) ||
    fail "vardel-keys.exe could not send Ctrl+X"
wait_for_exit "$limit"
step "the program ended with status 0"

if [[ $kind == zip ]]; then
    step "end-to-end test of the zip passed"
    exit 0
fi

# --- upgrade and uninstall --------------------------------------------------------------------
kept=$(sha256sum <"$db")
run_silently "$newer" "installing $(basename "$newer")"
[[ $(sha256sum <"$db") == "$kept" ]] || fail "the upgrade changed db.mdb"
[[ $(registry_value DisplayVersion) == "$(installer_version "$newer")" ]] ||
    fail "after the upgrade the list shows version '$(registry_value DisplayVersion)'"
[[ -f $app/vardel.exe && -f $app/Qt6Core.dll && -f $app/uninstall.exe ]] ||
    fail "the upgrade left the program incomplete"
step "the upgrade to $(installer_version "$newer") kept db.mdb with the new name"

# The uninstaller copies itself away and returns at once: the wait is for the copy.
run_silently "$app/uninstall.exe" uninstalling
left=$(cd "$app" && find . -mindepth 1 | sed 's|^\./||' | sort | tr '\n' ' ')
[[ $left == "db.mdb " ]] || fail "the uninstaller left: $left"
[[ $(sha256sum <"$db") == "$kept" ]] || fail "the uninstaller changed db.mdb"
[[ ! -e $shortcut ]] || fail "the uninstaller left the Start-menu entry"
[[ -z $(registry_value DisplayName) ]] || fail "the uninstaller left the entry in the list"
step "uninstalled: only db.mdb with the user's names stays in $app"
step "end-to-end test of the installer passed"
