#!/usr/bin/env bash
# The game on a real display server, x11 (Xvfb, without a window manager, then under openbox) or wayland
# (a headless sway): moves, resizes, clicks after a move, holds, growth; on X11 a screen reader, signals, a full disk.
#   usage: e2e_window.sh x11|wayland BRINMOR TST_CORE (which reads the store back)
set -euo pipefail
backend=$1 brinmor=$2 probe=$3
tools=$(dirname "$(realpath "$0")")/../tools
source "$tools/headless-session"
session_begin
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime store=$work/config/Brinmor/Brinmor.conf
unset QT_QPA_PLATFORM QT_QUICK_BACKEND
passes=0 failures=0 game=
trap 'kill -9 $game 2>/dev/null || true; umount -l "$work/small" 2>/dev/null || true; session_end' EXIT
check() { if "${@:2}"; then echo "ok: $1"; ((++passes)); else echo "FAILED: $1"; ((++failures)); fi; }
near() { awk -v t="$1" -v want="$2" -v by="${3:-0.1}" 'BEGIN { exit !(t >= want - by && t <= want + by) }'; }
pixel() { convert "$1" -crop "1x1+$2+$3" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:; }
stored() { "$probe" --probe load "$store"; }

if [ "$backend" = wayland ]; then
    # sway will not run as root: an unprivileged session with a runtime folder of its own.
    mkdir -m 700 "$work/sway" && chown 65534:65534 "$work/sway"
    printf '%s\n' 'output HEADLESS-1 resolution 1280x800' 'xwayland disable' 'default_floating_border none' \
        'for_window [app_id=".*"] floating enable' 'focus_on_window_activation focus' >"$work/sway.conf"
    background env HOME="$work/sway" XDG_RUNTIME_DIR="$work/sway" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_RENDERER=pixman setpriv --reuid=65534 --regid=65534 --clear-groups sway -c "$work/sway.conf"
    for _ in $(seq 100); do ls "$work"/sway/sway-ipc.* >/dev/null 2>&1 && break; sleep 0.05; done
    export WAYLAND_DISPLAY=$work/sway/wayland-1 SWAYSOCK=$(ls "$work"/sway/sway-ipc.*) QT_QPA_PLATFORM=wayland
    # The headless seat has a pointer and a keyboard only while some client provides them.
    background "$tools/virtual-pointer" sleep 600
    background wtype -s 600000; sleep 0.5
    geometry() {
        eval "$(swaymsg -t get_tree | jq -r ".. | objects | select(.pid == $game)"' | select(.app_id != null)
            | "KIND=\(.shell) X=\(.rect.x) Y=\(.rect.y) WIDTH=\(.rect.width) HEIGHT=\(.rect.height)"')"
    }
    pointer() { "$tools/virtual-pointer" "$@"; }
    hold_space() { wtype -P space -s "$1" -p space; }
    screenshot() { grim -t ppm "$1"; }
    windows() { swaymsg -t get_tree | jq '[.. | objects | select(.app_id == "io.github.brinmor.Brinmor")] | length'; }
    focused() { swaymsg -t get_tree | jq '.. | objects | select(.focused) | .pid'; }
    focus_on() { swaymsg "[pid=$1] focus" >/dev/null; }
    look_away() { focus_on "$1"; }
    quit_key() { wtype -M ctrl q -m ctrl; }
else
    start_x11; xset r on
    game_window() { xdotool search --all --onlyvisible --pid "$1" --name '^Brinmor$'; }
    geometry() { eval "$(xdotool getwindowgeometry --shell "$(game_window "$game")")"; }
    pointer() { xdotool $(sed 's/move/mousemove/g; s/down/mousedown 1/; s/up/mouseup 1/' <<<"$*"); }
    hold_space() { xdotool keydown space sleep "$(bc <<<"scale=2; $1 / 1000")" keyup space; }
    screenshot() { xwd -root -silent | convert xwd:- "ppm:$1"; }
    windows() { xdotool search --onlyvisible --name '^Brinmor$' | wc -l; }
    focused() { xdotool getactivewindow getwindowpid; }
    look_away() { xdotool windowminimize "$(game_window "$2")"; }
    focus_on() { xdotool windowraise "$(game_window "$1")" windowfocus "$(game_window "$1")"; }
    quit_key() { xdotool key ctrl+q; }
fi

start_game() { # with $args, if any
    unset X; "$brinmor" ${args:-} >"$work/log" 2>&1 & game=$!
    for _ in $(seq 100); do geometry 2>/dev/null && [ -n "${X:-}" ] && break; sleep 0.05; done
    sleep 0.5; geometry
}
quit_game() { kill "$game"; wait "$game" || true; game=; }
quits() { # within two seconds, with status 0
    for _ in $(seq 20); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$game" 2>/dev/null && { quit_game; return 1; }
    wait "$game" && game= || { cat "$work/log"; return 1; }
}
drag() { # from x y, by dx dy; a loaded machine's game has time to hand the press and the first motion over
    local path=(move "$1" "$2" down sleep 0.2)
    for step in 2 4 6 8 10; do
        path+=(move $(($1 + $3 * step / 10)) $(($2 + $4 * step / 10)) sleep "$([ $step = 2 ] && echo 0.2 || echo 0.05)")
    done
    pointer "${path[@]}" up; sleep 0.4; geometry
}
# The hold button (95 px below the middle, 71 over the reset button) held $1 s, let go unless $2 is empty.
hold_mouse() { pointer move $((X + WIDTH / 2)) $((Y + HEIGHT / 2 + ${3:-95})) down sleep "$1" ${2-up}; }

scenario() { # name
    rm -rf "$XDG_CONFIG_HOME"; start_game
    [ "$backend" = wayland ] && check "$1: a native Wayland window ($KIND)" test "$KIND" = xdg_shell
    # A compositor moves the window from the first motion past the drag threshold on.
    local x0=$X y0=$Y
    drag $((X + 30)) $((Y + 300)) 100 40
    local dx=$((X - x0)) dy=$((Y - y0))
    drag $((X + 30)) $((Y + 300)) 100 0
    check "$1: two background drags both move the window ($dx, $dy, then straight sideways)" \
        test $dx -ge 30 -a $dy -ge 12 -a $dy -le 40 -a "$X,$Y" = "$((x0 + 2 * dx)),$((y0 + dy))"
    local x1=$X w1=$WIDTH
    drag $((X + WIDTH - 3)) $((Y + 300)) 60 0
    drag $((X + WIDTH - 3)) $((Y + 300)) 60 0
    check "$1: two right-edge drags both widen it ($w1 -> $WIDTH)" test "$X,$WIDTH" = "$x1,$((w1 + 120))"
    local right=$((X + WIDTH))
    drag $((X + 2)) $((Y + 300)) 400 0
    check "$1: the left edge stops at the minimum width" test "$WIDTH,$((X + WIDTH))" = "360,$right"
    # Another window takes the focus 1 s into a hold: a Space hold ends then, a mouse hold goes on to its release.
    local other held=() && XDG_CONFIG_HOME=$work/other DBUS_SESSION_BUS_ADDRESS=unix:path=/ background "$brinmor"
    other=$started && sleep 1.5
    for hold in "hold_space 2500" "hold_mouse 2.5"; do
        focus_on "$game"; sleep 0.3; (sleep 1; focus_on "$other") & $hold; wait $!; sleep 0.3; held+=("$(stored)")
    done
    check "$1: the focus taken 1 s into a 2.5 s Space hold ends it (${held[0]})" near "${held[0]}" 1.1 0.2
    check "$1: the focus taken 1 s into a 2.5 s mouse hold, all of it is stored (${held[1]})" near "${held[1]}" 2.5 0.25
    focus_on "$game"; kill -- "-$other"; pointer move 0 0; sleep 0.3
    (for i in $(seq 6); do sleep 0.2; screenshot "$work/held$i"; done) & # the last may come after the release
    hold_space 3000; wait $!; sleep 0.3 # the store writes on a thread of its own; under load it may take a moment
    held=$(pixel "$work/held1" $((X + WIDTH / 2)) $((Y + HEIGHT / 2 + 111)))
    check "$1: held Space turns the button green ($held)" test "$held" = "51 199 128"
    check "$1: a 3 s Space hold is stored as such ($(stored))" near "$(stored)" 3.0
    quit_game

    printf '[General]\nhighScore=5\n' >"$store"; start_game
    drag $((X + 30)) $((Y + 300)) 50 0
    pointer move $((X + WIDTH / 2)) $((Y + HEIGHT / 2 + 201)) down sleep 0.05 up sleep 0.4
    check "$1: one click on the reset button right after a move resets ($(stored))" test "$(stored)" = 0
    drag $((X + WIDTH / 2)) $((Y + HEIGHT - 3)) 0 -400
    local h0=$HEIGHT; hold_mouse 0.3; sleep 1; geometry
    check "$1: a first record at the minimum height $h0 grows the window ($HEIGHT)" test $h0 -lt 480 -a $HEIGHT -gt 520
    drag $((X + 30)) $((Y + 100)) 50 0
    pointer move $((X + WIDTH - 30)) $((Y + 32)) down sleep 0.05 up # 10 px left of and below the glyph's centre
    check "$1: one click on the close control right after a move quits with status 0" quits
}

signals_and_a_full_disk() {
    rm -f "$store"; start_game
    hold_mouse 0.6; sleep 0.1
    { kill -9 "$game" && wait "$game"; } 2>/dev/null || true
    check "a record is on disk 100 ms after the release ($(stored))" near "$(stored)" 0.6
    for signal in INT HUP; do
        rm -f "$store"; start_game; hold_mouse 1 "" 71
        kill -$signal "$game"
        check "SIG$signal mid-hold quits" quits
        pointer up
        check "and the hold is stored ($(stored))" near "$(stored)" 1.0
    done
    # A store that never answers (a home folder on a server gone): its lock a pipe that no one writes to. A second
    # signal ends the wait for it at once.
    rm -f "$store" && mkfifo "$store.best-lock"
    start_game; hold_mouse 0.5
    local since status=0
    for signal in TERM TERM; do sleep 0.3 && kill -$signal "$game" && since=$(date +%s%N); done
    wait "$game" || status=$?; game= since=$((($(date +%s%N) - since) / 10**9))
    check "a hung store, SIGTERM twice: killed by the second at once ($status, $since s)" test "$status,$since" = 143,0
    rm "$store.best-lock"
    # A disk that is full until told otherwise: a small tmpfs under the settings.
    export XDG_CONFIG_HOME=$work/small store=$work/small/Brinmor/Brinmor.conf
    mkdir "$XDG_CONFIG_HOME" && mount -t tmpfs -o size=64k tmpfs "$XDG_CONFIG_HOME" && mkdir "$XDG_CONFIG_HOME/Brinmor"
    printf '[General]\nhighScore=5\n' >"$store"
    dd if=/dev/zero of="$XDG_CONFIG_HOME/fill" bs=4k 2>/dev/null || true
    start_game; xdotool key Tab space; hold_space 1000
    xdotool key space # one more release that cannot store it: said once is enough
    rm "$XDG_CONFIG_HOME/fill"; xdotool key ctrl+q
    check "full disk: Tab, Space on Reset, Space held 1 s, space freed, Ctrl+Q: quits" quits
    check "and stores the hold over the old best ($(stored))" near "$(stored)" 1.0
    check "having said where the reset and the record could not be saved" \
        test "$(grep -c "could not be saved to $store" "$work/log")" = 2
}

closing_on_a_slow_disk() { # a record, Ctrl+Q, a start meanwhile, which plays at once; the record lands 4 s on
    rm -f "$store"; start_game; mkfifo "$store.best-lock" # the store answers when this test lets it
    hold_mouse 0.5; quit_key; sleep 0.4; background "$brinmor"
    local second=$started since=$(date +%s%N) status=0
    for _ in $(seq 100); do [ "$(windows)" = 1 ] && break; sleep 0.02; done; since=$((($(date +%s%N) - since) / 10**6))
    check "a start while the closing game saves opens at once ($since ms)" test $since -lt 1500
    sleep 3.5; exec 3<>"$store.best-lock"; rm "$store.best-lock"; exec 3>&-
    wait "$game" || status=$?; game=
    check "the closing game waits for the record, exits $status, and it is on disk ($(stored))" \
        test "$status,$(near "$(stored)" 0.5 && echo stored)" = 0,stored
    kill -- "-$second"
}

session_bus() {
    background dbus-daemon --session --nofork --print-address=3 3>"$work/bus"
    for _ in $(seq 100); do [ -s "$work/bus" ] && break; sleep 0.05; done
    export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
}

token() { [ "$backend" = x11 ] || XDG_RUNTIME_DIR=$work/sway "$tools/activation-token"; } # as a launcher passes
app() { gdbus call --session --dest io.github.brinmor.Brinmor --object-path /io/github/brinmor/Brinmor \
    --method "org.freedesktop.Application.$1" "${@:2}"; }
one_game_a_session() { # a second start on the bus brings the first game forward; without a bus, a game of its own
    background "$brinmor"; local first=$started status=0 && sleep 1.5
    DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent background "$brinmor"; local alone=$started && sleep 1.5
    check "without a bus a second game opens, in front" test "$(windows),$(focused)" = "2,$alone"
    look_away $alone $first
    xev -root -event property >"$work/xev" 2>/dev/null & local xev=$! since=$(date +%s%N)
    XDG_ACTIVATION_TOKEN=$(token) DESKTOP_STARTUP_ID='e2e 0123' "$brinmor" || status=$?
    local took=$((($(date +%s%N) - since) / 1000000)) && sleep 0.5
    check "with a bus a second start exits ($status) in $took ms, the first game's window back in front" \
        test "$status,$(windows),$(focused)" = "0,2,$first" -a $took -lt 3000
    look_away $alone $first # then ids and tokens of 100 kB, more than a Wayland message holds: not sent on
    local long=$(head -c 100000 /dev/zero | tr '\0' x) && app Activate "{'activation-token': <'$long'>}" >/dev/null
    app Open "['a']" "{'activation-token': <'$(token)'>, 'desktop-startup-id': <'$long'>}" >/dev/null && sleep 0.5
    kill $xev 2>/dev/null || true; [ "$backend" = wayland ] || check "and the launch ends: one message in two pieces" \
        test "$(grep -o 'STARTUP_INFO[A-Z_]*)' "$work/xev" | xargs)" = "STARTUP_INFO_BEGIN) STARTUP_INFO)"
    local got="$(windows),$(focused),$(app ActivateAction none [] {} 2>&1 | grep -c 'no action')"
    check "Open over the bus brings it forward too; ActivateAction of no action is an error ($got)" \
        test "$got" = "2,$first,1"
    kill $first $alone && sleep 0.5
}

screen_reader() { # over the accessibility bus, as Orca hears it
    session_bus
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    background /usr/libexec/at-spi-bus-launcher --launch-immediately
    for _ in $(seq 50); do "$tools/atspi-probe" enable 2>/dev/null && break; sleep 0.1; done
    rm -f "$store"
    "$tools/atspi-probe" events 6 >"$work/heard" &
    local listener=$!
    sleep 0.5
    start_game
    check "screen reader: the window, then the hold button" \
        grep -qz 'window:activate frame | Brinmor.*focus: push button | HOLD ME' "$work/heard"
    hold_space 2000
    wait $listener
    # Between the press and the release, whatever changed, only the readout's whole seconds are sent.
    local during=$(sed -n '/HOLDING/,/key:release/p' "$work/heard" | grep -vc 'HOLDING\|key:')
    local heard=$(grep -c 'HOLDING\|key:press space' "$work/heard")
    check "screen reader: $during events in a 2 s Space hold, the press and Space heard once ($heard)" \
        test "$during" -le 2 -a "$heard" = 2
    quit_game
    # The desktop's first language that the game has, English among them; Arabic mirrored, whatever LANG says.
    # Qt's -reverse mirrors any language.
    local languages=("de:en 0 Bestzeit zurücksetzen" "en_GB:de 0 Reset High Score"
                     "sv:ar 1 إعادة تعيين الرقم القياسي" "en_GB,-reverse 1 Reset High Score")
    for language in "${languages[@]}"; do
        local wanted mirrored reset x args && read -r wanted mirrored reset <<<"$language"
        IFS=, read -r wanted args <<<"$wanted"
        LANGUAGE=$wanted LANG=C.UTF-8 start_game && "$tools/atspi-probe" tree >"$work/tree" && quit_game
        mapfile -t x < <(grep 'push button' "$work/tree" | sed 's/.* | //') # hold, reset, minimise, close
        check "screen reader, LANGUAGE=$wanted $args: $reset, mirrored $mirrored (the controls at ${x[2]}, ${x[3]})" \
            test "$(grep -c "push button | $reset |" "$work/tree"),$((x[3] < x[2]))" = "1,$mirrored"
    done
    unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
}

frosted_glass() { # translucent only where a running compositor blurs; "blurred" where the game asked for blur
    local blur=_KDE_NET_WM_BLUR_BEHIND_REGION compositor opaque glass
    backdrop() {
        start_game
        screenshot "$work/glass"
        xprop -id "$(xdotool search --onlyvisible --name '^Brinmor$')" $blur | grep -q = && echo -n "blurred "
        pixel "$work/glass" $((X + 20)) $((Y + 300))
        quit_game
    }
    background xcompmgr && compositor=$started && sleep 0.3 && opaque=$(backdrop)
    xprop -root -f $blur 32c -set $blur 0 && xprop -root -remove $blur && glass=$(backdrop) # the atom alone
    check "frosted glass: a compositor, the blur atom without its property: opaque ($glass)" test "$glass" = "$opaque"
    xprop -root -f $blur 32c -set $blur 0 && glass=$(backdrop)
    check "frosted glass: a compositor that blurs: translucent ($glass, $opaque opaque)" \
        test "${glass#blurred }" != "$opaque" -a "${glass%% *}" = blurred
    kill -9 -- "-$compositor" && sleep 0.3 && glass=$(backdrop)
    check "frosted glass: blur, the compositor's selection owned by nobody: opaque ($glass)" test "$glass" = "$opaque"
    xprop -root -remove $blur
}

if [ "$backend" = wayland ]; then
    scenario wayland
    session_bus
    one_game_a_session
    closing_on_a_slow_disk
else
    scenario "x11 without a window manager"
    screen_reader
    background openbox
    sleep 0.5
    scenario "x11 under openbox"
    one_game_a_session
    closing_on_a_slow_disk
    frosted_glass
    signals_and_a_full_disk
fi
echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
