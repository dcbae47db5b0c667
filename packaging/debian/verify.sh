#!/usr/bin/env bash
# The Debian package end to end on a bare Debian 12 system, as a fresh machine has it: a
# minimal root made by debootstrap (once, cached outside the repository in VARDEL_DEB_ROOT, by
# default ~/.cache/vardel-deb-root), used through a throw-away overlay so that every run
# starts from the same bare system. In it:
#   - `apt-get install ./vardel_<version>_<arch>.deb` (without recommended packages) pulls in
#     everything the program needs;
#   - an ordinary user starts `vardel` on an X server (Xvfb, the real xcb platform; the X
#     server and xdotool run outside the root, which holds only the package and what it
#     pulled in); the main window is drawn (screenshot kept at SCREENSHOT_PNG);
#   - ~/.local/share/vardel/db.mdb is seeded with the starter names, owned by the user;
#   - a name typed into the add-name window (Ctrl+N, the name, Tab, the meaning, Enter, Esc)
#     is stored in that file, and Ctrl+X ends the program with status 0;
#   - reinstalling, then removing the package leave the user's file as it is.
# Needs root (chroot, mounts) and the network (debootstrap, apt-get).
#   verify.sh PACKAGE.deb SCREENSHOT_PNG
set -euo pipefail
deb=$(realpath "$1") screenshot=$2
base=${VARDEL_DEB_ROOT:-$HOME/.cache/vardel-deb-root}
mirror=${VARDEL_DEB_MIRROR:-http://deb.debian.org/debian}
limit=120 # seconds allowed for each wait; only a hang reaches it
user=nasrin
[[ $(id -u) -eq 0 ]] || { echo "verify.sh needs root (chroot, mounts): run it with sudo" >&2; exit 1; }

source "$(dirname "$0")/../../scripts/xserver.sh"
root=$work/root
mounted=()
# Unmounted before the trap removes $work: the overlay keeps the cached root untouched.
before_x_ends() {
    local index
    for ((index = ${#mounted[@]} - 1; index >= 0; index--)); do
        umount "${mounted[index]}" 2>/dev/null || umount -l "${mounted[index]}"
    done
}
step() { echo "[$(date +%T)] $*"; }
elapsed() { echo "$(($(date +%s) - $1)) s"; }
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }
# apt-get with ARGUMENTS (one string) in the root, its output added to apt.log.
apt_in_root() {
    in_root sh -c "cd /tmp && DEBIAN_FRONTEND=noninteractive apt-get $1" >>"$work/apt.log" 2>&1 ||
        fail "apt-get $1 failed: $(tail -n 20 "$work/apt.log")"
}

# --- the bare Debian 12 root, once ---------------------------------------------------------
if [[ ! -f $base/etc/debian_version ]]; then
    step "making a bare Debian 12 root in $base (debootstrap, minbase)"
    started=$(date +%s)
    rm -rf "$base.tmp"
    mkdir -p "$(dirname "$base")"
    debootstrap --variant=minbase bookworm "$base.tmp" "$mirror" >"$work/debootstrap.log" 2>&1 ||
        fail "debootstrap failed: $(tail -n 5 "$work/debootstrap.log")"
    mv "$base.tmp" "$base"
    step "debootstrap took $(elapsed "$started")"
fi

# --- a throw-away system over it ---------------------------------------------------------------
mkdir -p "$root" "$work/upper" "$work/overlay-work"
mount -t overlay overlay -o "lowerdir=$base,upperdir=$work/upper,workdir=$work/overlay-work" "$root"
mounted+=("$root")
mount -t proc proc "$root/proc"
mounted+=("$root/proc")
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
package=$(basename "$deb")

step "apt-get install ./$package"
started=$(date +%s)
in_root apt-get update -qq >"$work/apt.log" 2>&1 || fail "apt-get update failed: $(tail -n 5 "$work/apt.log")"
apt_in_root "install -y --no-install-recommends ./$package"
step "installed with $(grep -c '^Setting up' "$work/apt.log") packages in $(elapsed "$started")"
for file in /usr/bin/vardel /usr/lib/vardel/vardel /usr/lib/vardel/db.mdb \
    /usr/lib/vardel/man.jpg /usr/lib/vardel/Female.jpg /usr/share/applications/vardel.desktop; do
    [[ -e $root$file ]] || fail "the package did not install $file"
done

in_root useradd --create-home --shell /bin/bash "$user"
home=$root/home/$user
userdb=$home/.local/share/vardel/db.mdb
starter=$(names_in "$root/usr/lib/vardel/db.mdb")

# --- the program, as the user ---------------------------------------------------------------------
# The root reaches the X server through its abstract socket, which a chroot does not hide.
start_xvfb 1280x1024 "$limit"
step "starting vardel as $user on $DISPLAY"
# exec: the program's process is the one started here.
(exec chroot --userspec="$user:$user" "$root" env -i PATH=/usr/bin:/bin HOME="/home/$user" \
    USER="$user" LANG=C.UTF-8 DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb \
    XDG_RUNTIME_DIR="/tmp/runtime-$user" vardel) >"$work/app.log" 2>&1 &
app_pid=$!
shoot_main_window "$limit" "$screenshot"
step "screenshot: $screenshot (window $area, $colours colours)"

[[ -f $userdb ]] || fail "no db.mdb in ~/.local/share/vardel"
[[ $(stat -c %u "$userdb") == "$(in_root id -u "$user")" ]] || fail "db.mdb does not belong to $user"
before=$(names_in "$userdb")
[[ $before == "$starter" ]] || fail "the user's db.mdb holds $before names, the starter $starter"
leftovers=$(find "$home/.local/share/vardel" -mindepth 1 ! -name db.mdb)
[[ -z $leftovers ]] || fail "the user's folder holds more than db.mdb: $leftovers"
step "~/.local/share/vardel/db.mdb seeded with $before names"

# --- adding a name through the window ----------------------------------------------------------
name='نیلوفر‌آبی' meaning='گل نیلوفر آبی، نام آزمون دبیان'
step "adding $name"
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+n
timeout "$limit" xdotool search --sync --onlyvisible --pid "$app_pid" --name 'Add New Name' \
    >/dev/null || fail "Ctrl+N opened no add-name window"
# The add-name window takes the focus itself, into its name box, whose keyboard switch runs
# before the first character. (Moving the X focus onto it from outside loses the keys.)
sleep 1
xdotool type --delay 60 "$name"
xdotool key Tab
xdotool type --delay 60 "$meaning"
xdotool key Return
sleep 1
xdotool key Escape
expect_new_name "$userdb" "$name" "$meaning" "$before"
[[ $(names_in "$root/usr/lib/vardel/db.mdb") == "$starter" ]] || fail "the starter db.mdb changed"
step "the user's db.mdb holds the new name"

step "Ctrl+X"
for _ in 1 2 3 4 5; do
    kill -0 "$app_pid" 2>/dev/null || break
    xdotool windowfocus --sync "$window" 2>/dev/null || break
    xdotool keydown ctrl+x
    xdotool keyup ctrl+x 2>/dev/null || true
    sleep 2
done
wait_for_exit "$limit"

# --- reinstall and remove ----------------------------------------------------------------------------
kept=$(sha256sum <"$userdb")
for action in "install -y --reinstall ./$package" "remove -y vardel"; do
    step "apt-get $action"
    apt_in_root "$action"
    [[ $(sha256sum <"$userdb") == "$kept" ]] || fail "apt-get $action changed the user's db.mdb"
done
[[ ! -e $root/usr/lib/vardel && ! -e $root/usr/bin/vardel ]] || fail "removing left the program"
step "the package is gone, the user's db.mdb with the new name stays: end-to-end test passed"
