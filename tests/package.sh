#!/usr/bin/env bash
# The Debian package that cpack makes of BUILD: lintian says no error and no warning, and the menu entry and the
# D-Bus service start the game where the package puts it. Without lintian it skips (77).
#   usage: package.sh BUILD
set -euo pipefail
command -v lintian >/dev/null || { echo "lintian is not installed (tools/install-deps installs it): skipped"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(echo "$out"/brinmor_*.deb)
lintian "$deb" 2>&1 | tee "$out/said"
! grep -q '^[EW]:' "$out/said"
dpkg-deb -x "$deb" "$out/root" && cd "$out/root/usr/share"
test -x ../games/brinmor
grep -x 'Exec=/usr/games/brinmor' dbus-1/services/io.github.brinmor.Brinmor.service applications/*.desktop | wc -l |
    grep -qx 2
for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES ENVIRONMENT; do zgrep -q "^\.SH $section" man/man6/brinmor.6.gz; done
