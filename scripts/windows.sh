#!/usr/bin/env bash
# Cross-builds Vardel for 64-bit Windows with MinGW-w64, tests it under Wine and zips it
# (Debian 12).
#
#   scripts/windows.sh               stage 1 (the cache, once), then stage 2 (Vardel)
#   scripts/windows.sh --cache-only  stage 1 only
#   scripts/windows.sh --cached      stage 2 with the cache as it is: stops when a piece is
#                                    missing instead of building it (CI)
#
# Stage 1 builds, once, into a cache folder outside the repository
# (VARDEL_WIN_CACHE, by default ~/.cache/vardel-win), all from Debian 12's own source packages:
#   qt/           qtbase 6.4.2 for x86_64-w64-mingw32: Core, Gui, Widgets, Test, the windows and
#                 offscreen platform plugins, the windowsvista style, the JPEG image plugin
#   jpeg/         libjpeg-turbo, static (linked into qt/plugins/imageformats/qjpeg.dll)
#   icu/          ICU: icuuc, icuin (i18n) and icudt (the full data) DLLs, headers, pkg-config
#   sqlite/       the SQLite amalgamation (sqlite3.c, sqlite3.h) as source, to compile into Vardel
#   toolchain-mingw64.cmake   the CMake toolchain file (Qt's own qt-cmake chain-loads it)
#   bin/wine-run  runs a cross-built program under Wine with the DLL path and Qt variables set
#   wine/         the Wine prefix;  fonts/  fonts for the offscreen platform;  logs/  build logs
#   locale/       en_US.UTF-8 and fa_IR.UTF-8 compiled for glibc (LOCPATH): Wine takes its
#                 locale, and with it the keyboard layout, from LANG
#   src/          the downloaded Debian source packages
# Each piece is skipped when it is already there: delete its folder to build it again. The
# first run takes about half an hour to an hour on 2 cores (ICU and Qt); later runs seconds.
#
# Stage 2 (minutes) builds the project (VARDEL_WIN_SOURCE, by default this repository) in
# build-win/ (VARDEL_WIN_BUILD) with the cache's qt-cmake, runs its tests under Wine, installs
# it into a folder, adds the Qt plugins and every DLL the program needs, zips
# build-win/vardel-<version>-windows-x64.zip and, from the same folder, the per-user installer
# build-win/vardel-<version>-windows-x64-setup.exe (NSIS, packaging/windows/installer.nsi),
# and runs both end to end under Wine (packaging/windows/e2e.sh; its screenshots stay in
# build-win/).
set -euo pipefail

REPO=$(cd "$(dirname "$0")/.." && pwd)
CACHE=${VARDEL_WIN_CACHE:-$HOME/.cache/vardel-win}
JOBS=${JOBS:-2}
TRIPLE=x86_64-w64-mingw32
QT=$CACHE/qt
ICU=$CACHE/icu
JPEG=$CACHE/jpeg
SQLITE=$CACHE/sqlite
TOOLCHAIN=$CACHE/toolchain-mingw64.cmake
LOGS=$CACHE/logs
# Heavy builds give way to everything else on the machine.
heavy() { nice -n 19 "$@"; }

cache_only=false
build_cache=true
case "${1:-}" in
    --cache-only) cache_only=true ;;
    --cached) build_cache=false ;;
    "") ;;
    *) echo "usage: $0 [--cache-only | --cached]" >&2; exit 2 ;;
esac

# The pieces of the cache that take long to build, each with the file that marks it done.
heavy_pieces=(
    "$SQLITE/sqlite3.c" "$JPEG/lib/libjpeg.a" "$ICU/lib/pkgconfig/icu-i18n.pc"
    "$QT/plugins/imageformats/qjpeg.dll" "$CACHE/wine/system.reg"
)
cache_complete=true
for marker in "${heavy_pieces[@]}"; do
    [[ -f $marker ]] || cache_complete=false
done
if ! $build_cache && ! $cache_complete; then
    echo "The Windows cross toolchain in $CACHE is incomplete; run scripts/windows.sh without" \
        "--cached to build it. Missing:" >&2
    for marker in "${heavy_pieces[@]}"; do [[ -f $marker ]] || echo "  $marker" >&2; done
    exit 1
fi

# ---------------------------------------------------------------------------------------------
# Packages: only the missing ones, and Debian's source entries when there are none.
# ---------------------------------------------------------------------------------------------
as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)

packages=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 cmake ninja-build make g++ pkg-config dpkg-dev xz-utils zip unzip
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n tcl nasm locales
    fonts-dejavu-core fonts-noto-core
    # the installer and the end-to-end tests
    nsis xvfb xdotool imagemagick sqlite3
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
have_deb_src() {
    grep -rqsE '^(deb-src[[:space:]]|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}
updated=false
# The source packages are needed only to build the cache.
if ! $cache_complete && ! have_deb_src; then
    echo "Adding Debian's source packages (deb-src) to apt's sources"
    "${as_root[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    "${as_root[@]}" apt-get update -qq
    updated=true
fi
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing: ${missing[*]}"
    $updated || "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# ---------------------------------------------------------------------------------------------
# Stage 1: the cache (half an hour to an hour on 2 cores the first time; seconds afterwards)
# ---------------------------------------------------------------------------------------------
mkdir -p "$CACHE"/{src,build,bin} "$LOGS"
GCC_RUNTIME=$(dirname "$($TRIPLE-g++-posix -print-file-name=libstdc++-6.dll)")
MINGW_RUNTIME=/usr/$TRIPLE/lib
# The host Qt's exact Debian version: host tools (moc, rcc, uic) and the cross build must match.
QT_DEB_VERSION=$(dpkg-query -W -f='${source:Version}' libqt6core6)

$cache_complete ||
    echo "Building the Windows cross toolchain into $CACHE: the first time this takes about" \
        "half an hour to an hour on 2 idle cores, longer on a busy machine (logs in $LOGS)."

# write_if_changed FILE: stdin into FILE, leaving FILE untouched when its text is the same.
write_if_changed() {
    local tmp
    tmp=$(mktemp)
    cat >"$tmp"
    if cmp -s "$tmp" "$1"; then rm -f "$tmp"; else chmod 644 "$tmp" && mv "$tmp" "$1"; fi
}

# step PIECE COMMAND...: runs a command with its output in logs/PIECE.log; on failure shows
# the end of that log and stops.
step() {
    local piece=$1
    shift
    echo "+ $*" >>"$LOGS/$piece.log"
    if ! "$@" >>"$LOGS/$piece.log" 2>&1; then
        echo "FAILED ($piece): $*" >&2
        tail -n 40 "$LOGS/$piece.log" >&2
        exit 1
    fi
}

started=0
begin() {
    started=$(date +%s)
    : >"$LOGS/$1.log"
    echo "[$(date +%T)] building $1 (log: $LOGS/$1.log)"
}
finish() {
    local took=$(($(date +%s) - started))
    printf '%s\t%dm%02ds\t%s\n' "$1" $((took / 60)) $((took % 60)) "$(date -Is)" >>"$LOGS/times.tsv"
    printf '[%s] %s done in %dm%02ds\n' "$(date +%T)" "$1" $((took / 60)) $((took % 60))
}
# Build trees and unpacked sources go once a piece is installed (VARDEL_WIN_KEEP_BUILD=1 keeps them).
tidy() {
    [[ ${VARDEL_WIN_KEEP_BUILD:-0} == 1 ]] || rm -rf "$@"
}

# unpack SOURCE [VERSION]: Debian's source package SOURCE, patched, in src/SOURCE.
unpack() {
    local source=$1 version=${2:-} dsc
    [[ -d $CACHE/src/$source ]] && return 0
    dsc=$(cd "$CACHE/src" && ls "${source}_${version#*:}"*.dsc 2>/dev/null | tail -n 1 || true)
    if [[ -z $dsc ]]; then
        (cd "$CACHE/src" && apt-get source --download-only "$source${version:+=$version}") \
            >>"$LOGS/download.log" 2>&1
        dsc=$(cd "$CACHE/src" && ls "${source}_${version#*:}"*.dsc | tail -n 1)
    fi
    dpkg-source -x "$CACHE/src/$dsc" "$CACHE/src/$source" >>"$LOGS/download.log" 2>&1
}

write_if_changed "$TOOLCHAIN" <<EOF
# Cross toolchain for 64-bit Windows (MinGW-w64, posix threads), written by scripts/windows.sh.
# Qt's own toolchain (qt/lib/cmake/Qt6/qt.toolchain.cmake, used by qt/bin/qt-cmake) loads it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER   $TRIPLE-gcc-posix)
set(CMAKE_CXX_COMPILER $TRIPLE-g++-posix)
set(CMAKE_RC_COMPILER  $TRIPLE-windres)
set(CMAKE_AR           /usr/bin/$TRIPLE-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/$TRIPLE-ranlib CACHE FILEPATH "")
# Libraries and headers come only from MinGW's own folder and the cache, never from the host.
set(CMAKE_FIND_ROOT_PATH /usr/$TRIPLE $JPEG $ICU $QT)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

# --- the SQLite amalgamation, from Debian's sqlite3 source ---------------------------------------
if [[ ! -f $SQLITE/sqlite3.c ]]; then
    begin sqlite
    unpack sqlite3
    rm -rf "$CACHE/build/sqlite" && mkdir -p "$CACHE/build/sqlite"
    cd "$CACHE/build/sqlite"
    step sqlite "$CACHE/src/sqlite3/configure" --disable-tcl
    step sqlite heavy make -j"$JOBS" sqlite3.c
    mkdir -p "$SQLITE.tmp"
    cp sqlite3.c sqlite3.h sqlite3ext.h "$SQLITE.tmp/"
    cp "$CACHE/src/sqlite3/VERSION" "$SQLITE.tmp/VERSION"
    rm -rf "$SQLITE" && mv "$SQLITE.tmp" "$SQLITE"
    cd "$CACHE"
    tidy "$CACHE/build/sqlite" "$CACHE/src/sqlite3"
    finish sqlite
fi

# --- libjpeg-turbo, static, for Qt's JPEG image plugin ---------------------------------------------
if [[ ! -f $JPEG/lib/libjpeg.a ]]; then
    begin jpeg
    unpack libjpeg-turbo
    rm -rf "$CACHE/build/jpeg" "$JPEG"
    step jpeg heavy cmake -G Ninja -S "$CACHE/src/libjpeg-turbo" -B "$CACHE/build/jpeg" \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$JPEG" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
        -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=/usr/bin/nasm
    step jpeg heavy cmake --build "$CACHE/build/jpeg" -j"$JOBS"
    step jpeg cmake --install "$CACHE/build/jpeg"
    tidy "$CACHE/build/jpeg" "$CACHE/src/libjpeg-turbo"
    finish jpeg
fi

# --- ICU: a native build of the same version first (its tools make the data), then MinGW -----
if [[ ! -f $ICU/lib/pkgconfig/icu-i18n.pc ]]; then
    begin icu
    unpack icu "$(dpkg-query -W -f='${source:Version}' libicu-dev 2>/dev/null || true)"
    native=$CACHE/build/icu-native cross=$CACHE/build/icu-cross
    rm -rf "$native" "$cross" "$ICU"
    mkdir -p "$native" "$cross"
    icu_common=(--disable-tests --disable-samples --disable-extras --disable-layoutex
        --disable-icu-config PYTHON=/usr/bin/python3)
    cd "$native"
    step icu "$CACHE/src/icu/source/configure" "${icu_common[@]}" --disable-static
    step icu heavy make -j"$JOBS"
    cd "$cross"
    step icu "$CACHE/src/icu/source/configure" "${icu_common[@]}" \
        --host=$TRIPLE --build="$(dpkg-architecture -qDEB_BUILD_GNU_TYPE)" \
        --with-cross-build="$native" --prefix="$ICU" --enable-shared --disable-static \
        --with-data-packaging=library \
        CC=$TRIPLE-gcc-posix CXX=$TRIPLE-g++-posix AR=$TRIPLE-ar RANLIB=$TRIPLE-ranlib \
        CFLAGS=-O2 CXXFLAGS=-O2
    step icu heavy make -j"$JOBS"
    step icu make install
    cd "$CACHE"
    tidy "$native" "$cross" "$CACHE/src/icu"
    finish icu
fi

# --- qtbase 6.4.2, the subset Vardel needs ----------------------------------------------------
if [[ ! -f $QT/plugins/imageformats/qjpeg.dll ]]; then
    begin qt
    unpack qt6-base "$QT_DEB_VERSION"
    rm -rf "$CACHE/build/qt" "$QT"
    # No OpenGL, D-Bus, network, SQL or ICU in Qt. tabletevent: Debian has no wintab.h;
    # directwrite3: qtbase 6.4.2 fails to link qwindows.dll with it when direct2d is off.
    # The JPEG plugin links the static libjpeg-turbo above; the rest of Qt's third-party code
    # (zlib, png, freetype, harfbuzz, pcre2, double-conversion) is Qt's bundled copy.
    step qt heavy cmake -G Ninja -S "$CACHE/src/qt6-base" -B "$CACHE/build/qt" \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$QT" -DBUILD_SHARED_LIBS=ON \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_pkg_config=OFF -DFEATURE_dbus=OFF -DINPUT_opengl=no -DFEATURE_opengl=OFF \
        -DFEATURE_vulkan=OFF -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_xml=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_icu=OFF \
        -DFEATURE_zstd=OFF -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF \
        -DFEATURE_directwrite3=OFF -DFEATURE_gif=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_doubleconversion=OFF \
        -DFEATURE_jpeg=ON -DFEATURE_system_jpeg=ON \
        -DJPEG_INCLUDE_DIR="$JPEG/include" -DJPEG_LIBRARY_RELEASE="$JPEG/lib/libjpeg.a" \
        -DFEATURE_freetype=ON -DFEATURE_testlib=ON -DFEATURE_widgets=ON \
        -DFEATURE_style_windowsvista=ON
    step qt heavy cmake --build "$CACHE/build/qt" -j"$JOBS"
    step qt cmake --install "$CACHE/build/qt"
    for plugin in platforms/qwindows.dll platforms/qoffscreen.dll \
        styles/qwindowsvistastyle.dll imageformats/qjpeg.dll; do
        [[ -f $QT/plugins/$plugin ]] || { echo "qtbase installed without $plugin" >&2; exit 1; }
    done
    cd "$CACHE"
    tidy "$CACHE/build/qt" "$CACHE/src/qt6-base"
    finish qt
fi

# --- running under Wine ------------------------------------------------------------------------
# Fonts for the offscreen platform (it reads one folder, not fontconfig).
mkdir -p "$CACHE/fonts"
for font in /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf \
    /usr/share/fonts/truetype/noto/Noto{Sans,Naskh}Arabic*-Regular.ttf \
    /usr/share/fonts/truetype/noto/Noto{Sans,Naskh}Arabic*-Bold.ttf \
    /usr/share/fonts/truetype/noto/NotoSans-{Regular,Bold}.ttf; do
    [[ -f $font ]] && ln -sf "$font" "$CACHE/fonts/"
done

winpath() { echo "Z:${1//\//\\}"; }
write_if_changed "$CACHE/bin/wine-run" <<EOF
#!/bin/sh
# wine-run PROGRAM.exe [ARGS]: runs a program of the Windows cross build under Wine, finding
# the cache's Qt, ICU and MinGW runtime DLLs. Written by scripts/windows.sh; use it as
# CMAKE_CROSSCOMPILING_EMULATOR. Wine does not hand variables named QT_* to Windows programs,
# so each QT_* of the caller goes over as WINEQT_* (Wine passes WINEQT_X on as QT_X); with no
# QT_QPA_PLATFORM the program runs offscreen, and Qt Test writes its log to stderr.
export WINEPREFIX="\${WINEPREFIX:-$CACHE/wine}"
export WINEDEBUG="\${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="\${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEPATH='$(winpath "$QT/bin");$(winpath "$ICU/bin");$(winpath "$GCC_RUNTIME");$(winpath "$MINGW_RUNTIME")'
for variable in \$(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE\$variable=\"\\\$\$variable\""
done
export WINEQT_QPA_PLATFORM="\${WINEQT_QPA_PLATFORM:-offscreen}"
export WINEQT_QPA_FONTDIR="\${WINEQT_QPA_FONTDIR:-$(winpath "$CACHE/fonts")}"
export WINEQT_FORCE_STDERR_LOGGING="\${WINEQT_FORCE_STDERR_LOGGING:-1}"
exec wine "\$@"
EOF
chmod +x "$CACHE/bin/wine-run"

if [[ ! -f $CACHE/wine/system.reg ]]; then
    begin wine
    step wine env WINEPREFIX="$CACHE/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        wine wineboot --init
    step wine env WINEPREFIX="$CACHE/wine" wineserver --wait
    finish wine
fi

# --- the locales Wine is started in by the keyboard tests (seconds) ---------------------------
for locale in en_US fa_IR; do
    if [[ ! -d $CACHE/locale/$locale.UTF-8 ]]; then
        mkdir -p "$CACHE/locale"
        localedef -i "$locale" -f UTF-8 "$CACHE/locale/$locale.UTF-8" >>"$LOGS/locale.log" 2>&1 ||
            { echo "localedef $locale.UTF-8 failed (log: $LOGS/locale.log)" >&2; exit 1; }
    fi
done

echo "Windows cross toolchain ready in $CACHE"
echo "  Qt: $QT (qt-cmake: $QT/bin/qt-cmake)   toolchain: $TOOLCHAIN"
echo "  ICU: $ICU   SQLite: $SQLITE/sqlite3.c   libjpeg-turbo: $JPEG   Wine: $CACHE/bin/wine-run"
$cache_only && exit 0

# ---------------------------------------------------------------------------------------------
# Stage 2: Vardel for Windows (minutes)
# The project's CMake, on WIN32, compiles SQLite from VARDEL_SQLITE_DIR, finds ICU through
# ICU_ROOT, runs its tests and vardel-mkdb through CMAKE_CROSSCOMPILING_EMULATOR (wine-run), and
# installs the application folder flat: vardel.exe, db.mdb, the pictures, translations/.
# ---------------------------------------------------------------------------------------------
SRC=${VARDEL_WIN_SOURCE:-$REPO}
BUILD=${VARDEL_WIN_BUILD:-$SRC/build-win}
version=$(sed -n 's/^project([A-Za-z0-9_-]* VERSION \([0-9][0-9.]*\).*/\1/p' "$SRC/CMakeLists.txt" | head -n 1)
name=vardel-${version:-0}-windows-x64
mkdir -p "$BUILD"
: >"$BUILD/times.tsv"

# stage_done STEP: prints and records how long STEP took since the previous one.
stage_started=$(date +%s)
stage_done() {
    local now took
    now=$(date +%s)
    took=$((now - stage_started))
    stage_started=$now
    printf '%s\t%dm%02ds\n' "$1" $((took / 60)) $((took % 60)) >>"$BUILD/times.tsv"
    printf '[%s] %s took %dm%02ds\n' "$(date +%T)" "$1" $((took / 60)) $((took % 60))
}

# --- configure and build -------------------------------------------------------------------------
echo "[$(date +%T)] configuring $SRC in $BUILD"
heavy "$QT/bin/qt-cmake" -S "$SRC" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$CACHE/bin/wine-run" \
    -DICU_ROOT="$ICU" -DVARDEL_SQLITE_DIR="$SQLITE" -DVARDEL_WINE_LOCALES="$CACHE/locale" \
    >"$BUILD/configure.log" 2>&1 ||
    { tail -n 40 "$BUILD/configure.log" >&2; exit 1; }
echo "[$(date +%T)] building"
heavy cmake --build "$BUILD" --parallel "$JOBS"
stage_done build

# --- the test suite under Wine, offscreen ---------------------------------------------------------
echo "[$(date +%T)] testing under Wine (offscreen)"
# Wine's server and its system processes, started apart from the tests and kept for a while:
# started by the first test, they would hold that test's output open until the last one ends.
# (wineserver fails when one already runs.)
WINEPREFIX=$CACHE/wine wineserver -p60 </dev/null >/dev/null 2>&1 || true
"$CACHE/bin/wine-run" wineboot </dev/null >/dev/null 2>&1
(cd "$BUILD" && ctest --output-on-failure --timeout 600 --parallel "$JOBS") | tee "$BUILD/ctest.log"
stage_done tests

# --- the application folder ---------------------------------------------------------------------
echo "[$(date +%T)] packaging $name.zip"
stage=$BUILD/$name
rm -rf "$stage" "$BUILD/$name.zip"
cmake --install "$BUILD" --prefix "$stage" >"$BUILD/install.log"

# Qt plugins beside the program: the windows platform, the Windows style, JPEG pictures.
plugins=(platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qjpeg.dll)
dll_dirs=("$QT/bin" "$ICU/bin" "$GCC_RUNTIME" "$MINGW_RUNTIME")
[[ -f $stage/vardel.exe ]] || { echo "the install put no vardel.exe into $stage" >&2; exit 1; }
for plugin in "${plugins[@]}"; do
    mkdir -p "$stage/$(dirname "$plugin")"
    cp "$QT/plugins/$plugin" "$stage/$plugin"
done
# Every DLL the program and the plugins import, found in the cache or MinGW's runtime, and the
# DLLs those import in turn; what is in none of those folders is Windows' own.
shopt -s nullglob
queue=("$stage"/*.exe "$stage"/*/*.dll)
while [[ ${#queue[@]} -gt 0 ]]; do
    binary=${queue[0]}
    queue=("${queue[@]:1}")
    for dll in $($TRIPLE-objdump -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
        [[ -f $stage/$dll ]] && continue
        for dir in "${dll_dirs[@]}"; do
            if [[ -f $dir/$dll ]]; then
                cp "$dir/$dll" "$stage/"
                queue+=("$stage/$dll")
                break
            fi
        done
    done
done
shopt -u nullglob
find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec $TRIPLE-strip --strip-unneeded {} +

# What the folder must hold. That its DLLs are complete shows in the end-to-end test below,
# which runs it with nothing else on the DLL path.
for file in vardel.exe db.mdb man.jpg Female.jpg translations/qtbase_fa.qm "${plugins[@]}"; do
    [[ -f $stage/$file ]] || { echo "the Windows folder lacks $file" >&2; exit 1; }
done
(cd "$BUILD" && zip -qr "$name.zip" "$name")
echo "Windows package: $BUILD/$name.zip ($(du -h "$BUILD/$name.zip" | cut -f1))"
stage_done package

# --- the installer: the same folder, installed per user (NSIS) ----------------------------------
# The uninstaller deletes the installed files one by one, every one but db.mdb, then the
# folders they were in, deepest first.
echo "[$(date +%T)] making $name-setup.exe"
installer=$BUILD/installer
rm -rf "$installer" "$BUILD/$name-setup.exe"
mkdir -p "$installer"
(
    cd "$stage"
    find . -type f ! -path ./db.mdb | sed 's|^\./||; s|/|\\|g' | sort |
        sed 's|.*|    Delete "$INSTDIR\\&"|'
    find . -mindepth 1 -type d | sed 's|^\./||; s|/|\\|g' | sort -r |
        sed 's|.*|    RMDir "$INSTDIR\\&"|'
) >"$installer/uninstall-files.nsh"
# make_installer VERSION OUTFILE [MAKENSIS_OPTION...]
make_installer() {
    local version=$1 outfile=$2
    shift 2
    makensis -V2 "$@" -DVERSION="$version" -DSTAGE="$stage" \
        -DUNINSTALL_LIST="$installer/uninstall-files.nsh" -DICON="$SRC/assets/icons/vardel.ico" \
        -DOUTFILE="$outfile" "$SRC/packaging/windows/installer.nsi" >>"$installer/makensis.log" 2>&1 ||
        { tail -n 30 "$installer/makensis.log" >&2; exit 1; }
}
make_installer "$version" "$BUILD/$name-setup.exe"
# A newer version of the same folder, for the end-to-end test's upgrade; packed faster, as
# only its version matters.
IFS=. read -r major minor patch <<<"$version"
newer=$major.$minor.$((patch + 1))
make_installer "$newer" "$installer/vardel-$newer-windows-x64-setup.exe" \
    '-XSetCompressor /FINAL zlib'
echo "Windows installer: $BUILD/$name-setup.exe ($(du -h "$BUILD/$name-setup.exe" | cut -f1))"
stage_done installer

# --- end to end: fresh folder or install, fresh Wine prefix, real windows platform on Xvfb ----
echo "[$(date +%T)] end-to-end test of the zip under Wine"
bash "$SRC/packaging/windows/e2e.sh" zip "$BUILD/$name.zip" "$BUILD/packaging/vardel-keys.exe" \
    "$BUILD/vardel-windows-screenshot.png"
stage_done e2e-zip
echo "[$(date +%T)] end-to-end test of the installer under Wine"
bash "$SRC/packaging/windows/e2e.sh" installer "$BUILD/$name-setup.exe" \
    "$installer/vardel-$newer-windows-x64-setup.exe" "$BUILD/packaging/vardel-keys.exe" \
    "$BUILD/vardel-windows-installed-screenshot.png"
stage_done e2e-installer

echo "Windows build, tests and package done; times in $BUILD/times.tsv:"
cat "$BUILD/times.tsv"
