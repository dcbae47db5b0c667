#!/usr/bin/env bash
# Installs the Debian 12 packages Vardel needs, only those missing.
#   scripts/deps.sh                  what building and running needs
#   scripts/deps.sh --tests          also what the tests need (the Debian package included)
#   scripts/deps.sh --package        also what making the Debian package needs
#   scripts/deps.sh --package-check  also what installing and using it on a bare root needs
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libsqlite3-dev libicu-dev libx11-dev libgl-dev
    qt6-qpa-plugins fonts-noto-core fonts-noto-ui-core fonts-dejavu-core qt6-translations-l10n
)
package=(dpkg-dev lintian)
case "${1:-}" in
    --tests)
        packages+=(
            clang-tidy xvfb x11-xkb-utils x11-utils xdotool imagemagick
            g++-mingw-w64-x86-64 desktop-file-utils appstream sqlite3 "${package[@]}"
        )
        ;;
    --package) packages+=("${package[@]}") ;;
    --package-check) packages+=("${package[@]}" debootstrap xvfb xdotool imagemagick sqlite3) ;;
    "") ;;
    *) echo "usage: $0 [--tests|--package|--package-check]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
