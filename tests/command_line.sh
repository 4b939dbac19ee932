#!/usr/bin/env bash
# The command line without a display: arguments|exit status|stdout|stderr (bash ERE, whole text). A game that starts
# leaves Qt's options to Qt, which aborts for want of a display or of the platform plugin named.
set -uo pipefail
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_CONFIG_HOME=$(mktemp -d) DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent ASAN_OPTIONS=detect_leaks=0 failed=0
usage=$'\n?''Usage: brinmor \[options\].*-h, --help.*-v, --version.*--platform <name>'
while IFS='|' read -r args want out err; do
    o=$(timeout 20 "$1" $args 2>"$XDG_CONFIG_HOME/err"); got=$? e=$(<"$XDG_CONFIG_HOME/err")
    [ "$got" = "$want" ] && [[ $o =~ ^${out//USAGE/$usage}$ && $e =~ ^${err//USAGE/$usage}$ ]] ||
        { echo "FAILED: '$args' exits $got, not $want; stdout: $o; stderr: $e"; failed=1; }
done <<'TABLE'
--help|0|USAGE.*|
--version|0|brinmor [0-9]+\.[0-9]+\.[0-9]+|
--no-such-option|2||brinmor: Unknown option 'no-such-option'\.USAGE.*
stray|2||brinmor: unexpected argument 'stray'\.USAGE.*
-platform|2||brinmor: Missing value after '-platform'\.USAGE.*
-platform nowhere -reverse -qwindowgeometry 400x500|134||.*Could not find the Qt platform plugin "nowhere".*
|134||.*could not connect to display.*
TABLE
rm -rf "$XDG_CONFIG_HOME"
exit $failed
