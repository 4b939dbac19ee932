#!/usr/bin/env bash
# The .deb that cpack makes of the build folder $1: lintian says no E: or W:, the menu entry (D-Bus activatable) and
# the D-Bus service start the game where the package puts it, the manual page has its sections. 77 without lintian.
set -euo pipefail
command -v lintian >/dev/null || { echo "lintian is not installed (tools/install-deps installs it): skipped"; exit 77; }
out=$(mktemp -d) && trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$out" >/dev/null
lintian --fail-on error,warning "$out"/brinmor_*.deb
dpkg-deb -x "$out"/brinmor_*.deb "$out/root" && cd "$out/root/usr/share" && test -x ../games/brinmor
# Compressed as Debian wants it: at most, without a name or time stamp in the header.
test -z "$(file -b man/man6/*.gz doc/brinmor/changelog.gz | grep -v '^gzip compressed data, max compression')"
test "$(grep -chx -e DBusActivatable=true -e Name=io.github.brinmor.Brinmor -e Exec=/usr/games/brinmor \
    applications/io.github.brinmor.Brinmor.desktop dbus-1/services/io.github.brinmor.Brinmor.service | xargs)" = "2 2"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES ENVIRONMENT; do zgrep -q "^\.SH $section" man/man6/*.6.gz; done
