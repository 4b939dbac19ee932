#!/usr/bin/env bash
# The real game in a real X server, driven with the mouse and keyboard as a player would:
# moving and resizing the frameless window, its close control and Ctrl+Q, a hold that sets
# a record over damaged stores, and a record that survives a SIGKILL right after the release.
#   usage: e2e_window.sh BRINMOR STORE_PROBE
set -euo pipefail
brinmor=$1
probe=$2
for tool in Xvfb xdotool xset xwd convert xprop xwininfo xcompmgr; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
# Xvfb picks a free display itself and writes its number to the file.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
display=:$(cat "$work/display")
game=
compositor=
cleanup() {
    [ -n "$game" ] && kill -9 "$game" 2>/dev/null || true
    [ -n "$compositor" ] && kill "$compositor" 2>/dev/null || true
    kill $xvfb 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work
unset QT_QPA_PLATFORM QT_QUICK_BACKEND
store=$XDG_CONFIG_HOME/Brinmor/Brinmor.conf
failures=0
check() { # description, then a test command
    local what=$1; shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.05; done

start_game() {
    "$brinmor" >"$work/log" 2>&1 &
    game=$!
    for _ in $(seq 200); do
        window=$(xdotool search --onlyvisible --name '^Brinmor$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.025
    done
    [ -n "$window" ] || { echo "FAILED: no window"; cat "$work/log"; exit 1; }
    sleep 0.5
    geometry
}
geometry() { eval "$(xdotool getwindowgeometry --shell "$window")"; }
drag() { # from x y, by dx dy
    xdotool mousemove "$1" "$2" mousedown 1
    for step in 1 2 3 4 5 6 7 8 9 10; do
        xdotool mousemove $(($1 + $3 * step / 10)) $(($2 + $4 * step / 10)); sleep 0.02
    done
    xdotool mouseup 1; sleep 0.3
}
hold() { # seconds
    geometry
    xdotool mousemove $((X + WIDTH / 2)) $((Y + 405)) mousedown 1; sleep "$1"; xdotool mouseup 1
}
best() { "$probe" load "$store"; }
is_above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a + 0 > b + 0) }'; }

# Move, resize, close.
start_game
x0=$X; y0=$Y; w0=$WIDTH; h0=$HEIGHT
check "opens at least 360 x 460" test "$w0" -ge 360 -a "$h0" -ge 460
drag $((X + 30)) $((Y + 300)) 100 60
geometry
check "dragging the backdrop moves the window" test "$X" -eq $((x0 + 100)) -a "$Y" -eq $((y0 + 60)) -a "$WIDTH" -eq "$w0"
drag $((X + WIDTH - 3)) $((Y + HEIGHT - 3)) -400 -400
geometry
check "a corner resizes, never below 360 x 460" test "$WIDTH" -lt "$w0" -a "$WIDTH" -ge 360 -a "$HEIGHT" -lt "$h0" -a "$HEIGHT" -ge 460
drag $((X + WIDTH - 3)) $((Y + HEIGHT - 3)) 80 50
geometry
w1=$WIDTH
drag $((X + 2)) $((Y + 200)) -40 0
geometry
check "the left edge resizes too" test "$WIDTH" -eq $((w1 + 40))
xdotool mousemove $((X + WIDTH - 18)) $((Y + 22)) click 1
sleep 0.5
check "the close control ends the game" bash -c "! kill -0 $game 2>/dev/null"
game=

start_game
xdotool windowfocus --sync "$window" key ctrl+q
sleep 0.5
check "Ctrl+Q quits" bash -c "! kill -0 $game 2>/dev/null"
game=

# Keyboard play: Space held for 1.8 s, with the server repeating the held key.
xset r on
start_game
xdotool keydown space
(sleep 0.9; xwd -root -silent >"$work/held.xwd") &
sleep 1.8; xdotool keyup space; wait $!; sleep 0.3
held=$(convert "$work/held.xwd" -crop 1x1+$((X + WIDTH / 2))+$((Y + 445)) -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
kill "$game"; wait "$game" 2>/dev/null || true; game=
check "holding Space turns the button green ($held)" awk -v rgb="$held" 'BEGIN { split(rgb, c, " "); exit !(c[2] > c[1] + 100 && c[2] > c[3] + 40) }'
stored=$(awk -v t="$(best)" 'BEGIN { printf "%.3f", t }')
check "a 1.8 s hold of Space stores about 1.8 s ($stored)" awk -v t="$stored" 'BEGIN { exit !(t > 1.7 && t < 1.9) }'

# Damaged stores: the game starts, plays, and stores the new best where it can.
mkdir -p "$(dirname "$store")"
damaged() {
    local name=$1 writable=$2
    start_game
    hold 0.4
    sleep 0.3
    local after
    after=$(best)
    kill "$game"; wait "$game" 2>/dev/null || true; game=
    if [ "$writable" = yes ]; then
        check "$name: plays and stores the record" is_above "$after" 0.3
    else
        check "$name: starts and plays" test -n "$after"
    fi
}
head -c 100000 /dev/urandom >"$store"; damaged "random bytes" yes
printf '[General]\nhighScore=nan\n' >"$store"; damaged "nan" yes
printf '[General]\nhighScore=1e400\n' >"$store"; damaged "1e400" yes
printf '[General]\nhighScore=1, 2\n' >"$store"; damaged "a list" yes
rm -f "$store"; mkdir "$store"; damaged "a folder in its place" no
rmdir "$store"

# A record is on disk the moment the button is let go.
printf '[General]\nhighScore=0.1\n' >"$store"
start_game
geometry
xdotool mousemove $((X + WIDTH / 2)) $((Y + 405)) mousedown 1; sleep 0.6; xdotool mouseup 1
sleep 0.05
kill -9 "$game"; wait "$game" 2>/dev/null || true; game=
check "a record survives SIGKILL right after the release" is_above "$(best)" 0.5

# The backdrop: frosted only where the compositor blurs, opaque everywhere else.
backdrop() { # what, expected depth, expected blur request (yes/no), expected backdrop lightness range
    start_game
    local depth blur lightness
    depth=$(xwininfo -id "$window" | awk '/Depth:/ { print $2 }')
    xprop -id "$window" _KDE_NET_WM_BLUR_BEHIND_REGION | grep -q CARDINAL && blur=yes || blur=no
    lightness=$(xwd -root -silent | convert xwd:- -crop 1x1+$((X + 20))+$((Y + HEIGHT / 2)) -format '%[fx:int(255*g)]' info:)
    kill "$game"; wait "$game" 2>/dev/null || true; game=
    check "$1: depth $depth, blur $blur, backdrop $lightness" \
        test "$depth" -eq "$2" -a "$blur" = "$3" -a "$lightness" -ge "$4" -a "$lightness" -le "$5"
}
backdrop "no compositor" 24 no 230 255
xcompmgr >/dev/null 2>&1 & compositor=$!
sleep 0.3
backdrop "a compositor without blur" 24 no 230 255
xprop -root -f _KDE_NET_WM_BLUR_BEHIND_REGION 32c -set _KDE_NET_WM_BLUR_BEHIND_REGION 0
backdrop "a compositor that blurs (over the black root)" 32 yes 150 225
kill "$compositor"; compositor=

[ $failures -eq 0 ] && echo "e2e: all passed" || { echo "e2e: $failures failed"; exit 1; }
