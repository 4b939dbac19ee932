#!/usr/bin/env bash
# What only a real X server shows: the frameless window moved, resized and closed with the
# mouse, Ctrl+Q, Space held with the server's key repeat, and the backdrop with and without
# a compositor that blurs.
#   usage: e2e_window.sh BRINMOR TST_CORE (which reads the store back)
set -euo pipefail
brinmor=$1 probe=$2
work=$(mktemp -d)
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 3>"$work/display" >/dev/null 2>&1 &
xvfb=$! game= compositor=
disown $xvfb
trap 'kill -9 $game $compositor $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display") XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work
unset QT_QPA_PLATFORM QT_QUICK_BACKEND
store=$XDG_CONFIG_HOME/Brinmor/Brinmor.conf passes=0 failures=0
check() { if "${@:2}"; then echo "ok: $1"; passes=$((passes + 1)); else echo "FAILED: $1"; failures=$((failures + 1)); fi; }
geometry() { eval "$(xdotool getwindowgeometry --shell "$window")"; }
start_game() {
    "$brinmor" >"$work/log" 2>&1 & game=$!
    window=$(xdotool search --sync --onlyvisible --name '^Brinmor$' | head -n 1)
    sleep 0.5; geometry
}
stop_game() { kill "$game"; wait "$game" 2>/dev/null || true; game=; }
drag() { # from x y, by dx dy
    xdotool mousemove "$1" "$2" mousedown 1
    for step in 2 4 6 8 10; do xdotool mousemove $(($1 + $3 * step / 10)) $(($2 + $4 * step / 10)); sleep 0.02; done
    xdotool mouseup 1; sleep 0.3; geometry
}
pixel() { convert "$1" -crop "1x1+$2+$3" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:; }

start_game
x0=$X y0=$Y w0=$WIDTH h0=$HEIGHT
drag $((X + 30)) $((Y + 300)) 100 60
check "dragging the backdrop moves the window" test "$X,$Y,$WIDTH" = "$((x0 + 100)),$((y0 + 60)),$w0"
drag $((X + WIDTH - 3)) $((Y + HEIGHT - 3)) -400 -400
check "a corner resizes down to 360 x 460 at most" test "$WIDTH" -lt "$w0" -a "$WIDTH" -ge 360 -a "$HEIGHT" -lt "$h0" -a "$HEIGHT" -ge 460
right=$((X + WIDTH)) w1=$WIDTH
drag $((X + 2)) $((Y + 200)) 300 0
check "the left edge keeps the minimum width and the right edge" test "$WIDTH,$((X + WIDTH))" = "$w1,$right"
xdotool mousemove $((X + WIDTH - 18)) $((Y + 22)) click 1; sleep 0.5
check "the close control ends the game" bash -c "! kill -0 $game 2>/dev/null"

start_game
xdotool key ctrl+q; sleep 0.5
check "Ctrl+Q quits" bash -c "! kill -0 $game 2>/dev/null"

xset r on
start_game
xdotool keydown space
# Screenshots meanwhile, as on a busy desktop, split the server's repeats where Qt looks for them.
(for _ in $(seq 8); do sleep 0.15; xwd -root -silent >"$work/held.xwd"; done) &
sleep 1.8; xdotool keyup space; wait $!; sleep 0.3
stop_game
held=$(pixel "$work/held.xwd" $((X + WIDTH / 2)) $((Y + 445)))
check "holding Space turns the button green ($held)" test "$held" = "51 199 128"
stored=$("$probe" --probe load "$store")
check "a 1.8 s hold of Space stores about 1.8 s ($stored)" awk -v t="$stored" 'BEGIN { exit !(t >= 1.7 && t <= 1.9) }'

backdrop() { # what, depth, blur requested, backdrop lightness from, to
    start_game
    xwd -root -silent >"$work/shot.xwd"
    local depth blur light
    depth=$(xwininfo -id "$window" | awk '/Depth:/ { print $2 }')
    xprop -id "$window" _KDE_NET_WM_BLUR_BEHIND_REGION | grep -q CARDINAL && blur=yes || blur=no
    light=$(pixel "$work/shot.xwd" $((X + 20)) $((Y + HEIGHT / 2)) | cut -d' ' -f2)
    stop_game
    check "$1: depth $depth, blur $blur, backdrop $light" test "$depth,$blur" = "$2,$3" -a "$light" -ge "$4" -a "$light" -le "$5"
}
backdrop "no compositor: opaque" 24 no 230 255
xcompmgr >/dev/null 2>&1 & compositor=$!
sleep 0.3
backdrop "a compositor without blur: opaque" 24 no 230 255
xprop -root -f _KDE_NET_WM_BLUR_BEHIND_REGION 32c -set _KDE_NET_WM_BLUR_BEHIND_REGION 0
backdrop "a compositor that blurs: frosted over the black root" 32 yes 150 225
kill $compositor; wait $compositor 2>/dev/null || true; compositor=

echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
