#!/usr/bin/env bash
# Installs the build into a temporary prefix twice and checks the installed folder: the
# application folder with the program, its starter db.mdb and pictures, the bin link, the
# desktop entry, the AppStream file and the icons. The user's db.mdb survives the second
# install. A staged install (DESTDIR) lands under the stage.
#   install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
names_in() { sqlite3 "$1" 'SELECT count(*) FROM vardel'; }

check_prefix() {
    local prefix=$1 app=$1/lib/vardel
    for file in vardel db.mdb man.jpg Female.jpg; do
        [[ -f $app/$file ]] || fail "$app/$file is missing"
    done
    [[ -x $app/vardel ]] || fail "$app/vardel is not executable"
    # Only the Debian package's system-wide install keeps db.mdb in each user's folder.
    [[ ! -e $app/per-user-db ]] || fail "a plain install marks $app as system-wide"
    cmp -s "$app/man.jpg" "$source/assets/man.jpg" || fail "man.jpg differs from the asset"
    cmp -s "$app/Female.jpg" "$source/assets/Female.jpg" || fail "Female.jpg differs from the asset"

    local link=$prefix/bin/vardel
    if [[ -L $link ]]; then
        [[ $(readlink "$link") != /* ]] || fail "bin/vardel points to an absolute path"
        [[ $(realpath "$link") == "$(realpath "$app/vardel")" ]] ||
            fail "bin/vardel leads to $(realpath "$link")"
    else
        fail "bin/vardel is not a symbolic link"
    fi

    # The desktop entry starts a program that is there and shows an icon that is there.
    local desktop=$prefix/share/applications/vardel.desktop
    if [[ -f $desktop ]]; then
        desktop-file-validate "$desktop" || fail "the installed desktop entry is not valid"
        local exec icon
        exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
        icon=$(sed -n 's/^Icon=//p' "$desktop")
        [[ -x $prefix/bin/$exec ]] || fail "Exec=$exec is not in $prefix/bin"
        [[ -f $prefix/share/icons/hicolor/scalable/apps/$icon.svg ]] ||
            fail "Icon=$icon has no scalable icon"
    else
        fail "$desktop is missing"
    fi

    # The AppStream file names the installed desktop entry.
    local metainfo
    metainfo=$(find "$prefix/share/metainfo" -name '*.metainfo.xml' 2>/dev/null | head -n 1)
    if [[ -n $metainfo ]]; then
        local launchable
        launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
        [[ -f $prefix/share/applications/$launchable ]] ||
            fail "the AppStream file launches '$launchable', which is not installed"
    else
        fail "no AppStream file in $prefix/share/metainfo"
    fi

    # One icon per hicolor size, each of that size.
    for size in 16 32 48 64 128 256; do
        local png=$prefix/share/icons/hicolor/${size}x${size}/apps/vardel.png
        if [[ -f $png ]]; then
            [[ $(identify -format '%wx%h' "$png") == "${size}x${size}" ]] ||
                fail "$png is not ${size}x${size}"
        else
            fail "$png is missing"
        fi
    done
}

# First install: the starter dictionary holds every name of the list.
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/first.log"
check_prefix "$prefix"
starter=$(grep -v '^#' "$source/data/names.tsv" | grep -c .)
db=$prefix/lib/vardel/db.mdb
[[ $(names_in "$db") == "$starter" ]] ||
    fail "the starter db.mdb holds $(names_in "$db") names, the list $starter"

# The user changes the dictionary and loses a picture; a second install brings the picture
# back and keeps the user's dictionary as it is.
sqlite3 "$db" "INSERT INTO vardel (p_name, means, gender) VALUES ('آزمون', 'آزمایش', 'm')"
sqlite3 "$db" "DELETE FROM vardel WHERE id = (SELECT min(id) FROM vardel)"
sqlite3 "$db" "INSERT INTO vardel (p_name, means, gender) VALUES ('بهار', 'فصل', 'f')"
changed=$(sha256sum <"$db")
rm "$prefix/lib/vardel/man.jpg"
cmake --install "$build" --prefix "$prefix" >"$work/second.log"
check_prefix "$prefix"
[[ $(sha256sum <"$db") == "$changed" ]] || fail "the second install changed the user's db.mdb"
[[ $(names_in "$db") == $((starter + 1)) ]] || fail "the user's names are not all there"
grep -q 'Kept: .*db.mdb' "$work/second.log" || fail "the second install does not report the kept db.mdb"

# A staged install: everything under DESTDIR, nothing at the prefix itself.
DESTDIR=$work/stage cmake --install "$build" --prefix "$work/target" >"$work/staged.log"
check_prefix "$work/stage$work/target"
[[ ! -e $work/target ]] || fail "a staged install wrote to the prefix itself"

if ((failures)); then
    echo "$failures failures; install logs:" >&2
    cat "$work"/*.log >&2
    exit 1
fi
echo "installed folder complete"
