#!/usr/bin/env bash
# Builds the Debian 12 package build/vardel_<version>_<arch>.deb (CPack's DEB generator, with
# dpkg-shlibdeps for the library dependencies) and checks it with lintian, which must report
# no errors.
#   scripts/package.sh           build the package and run lintian
#   scripts/package.sh --verify  then install it on a bare Debian 12 root and use it as a
#                                user would (packaging/debian/verify.sh; the root is made with
#                                debootstrap once, into ~/.cache/vardel-deb-root)
set -euo pipefail
cd "$(dirname "$0")/.."

verify=false
case "${1:-}" in
    --verify) verify=true ;;
    "") ;;
    *) echo "usage: $0 [--verify]" >&2; exit 2 ;;
esac

if $verify; then scripts/deps.sh --package-check; else scripts/deps.sh --package; fi

started=$(date +%s)
scripts/build.sh
rm -f build/vardel_*.deb
(cd build && cpack -G DEB >cpack.log 2>&1) || { tail -n 30 build/cpack.log >&2; exit 1; }
deb=$(echo build/vardel_*_"$(dpkg --print-architecture)".deb)
[[ -f $deb ]] || { echo "cpack made no package (log: build/cpack.log)" >&2; exit 1; }
echo "Debian package: $deb ($(du -h "$deb" | cut -f1), $(($(date +%s) - started)) s with the build)"

lintian --fail-on error "$deb" 2> >(grep -v 'running with root privileges' >&2)
echo "lintian: no errors"

if $verify; then
    started=$(date +%s)
    bash packaging/debian/verify.sh "$deb" build/vardel-deb-screenshot.png
    echo "end-to-end check of the package: $(($(date +%s) - started)) s"
fi
