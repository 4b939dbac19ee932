#!/usr/bin/env bash
# The game on a real display server: x11 (Xvfb, without a window manager, then under openbox), x11_kwin (KWin's
# frosted glass), or natively on a headless Wayland compositor (wayland_sway, wayland_mutter, wayland_kwin, phoc):
# moves, resizes, clicks after a move, holds, growth; on X11 a screen reader, signals, a full disk. Exits 77, saying
# why, where the compositor cannot start.
#   usage: e2e_window.sh x11|x11_kwin|wayland_sway|wayland_mutter|wayland_kwin|phoc BRINMOR TST_CORE (reads the store)
set -euo pipefail
backend=${1#wayland_} brinmor=$2 probe=$3
tools=$(dirname "$(realpath "$0")")/../tools
# A full disk is a small tmpfs, which root mounts, and anyone else in a user namespace of the test's own.
if [ "$backend" = x11 ] && [ "$(id -u)" != 0 ] && unshare --user --map-root-user --mount true 2>/dev/null; then
    exec unshare --user --map-root-user --mount "$0" "$@"
fi
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
apart() { DBUS_SESSION_BUS_ADDRESS=unix:path=/ background "$brinmor"; } # a window apart: a game of its own

start_desktop "$backend"
case $backend in # how a scenario takes the focus from the game
sway) look_away() { swaymsg "[pid=$1] focus" >/dev/null; };;
mutter|kwin) # a new window comes up in front; a game without a bus would not be seen
    apart() { background zenity --info --text 'Another window'; }
    look_away() { kill "$1" && apart && alone=$started && sleep 1.5; };;
x11*) xset r on
    look_away() { xdotool windowminimize "$(xdotool search --all --onlyvisible --pid "$2" --name '^Brinmor$')"; };;
esac

start_game() { # with $args, if any
    unset X; "$brinmor" ${args:-} >"$work/log" 2>&1 & game=$!
    local until=$((SECONDS + 10)) # a screenshot may take seconds where the window is read off the screen
    while [ $SECONDS -lt $until ]; do geometry 2>/dev/null && [ -n "${X:-}" ] && break; sleep 0.05; done
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
    [ "$backend" = sway ] && check "$1: a native Wayland window ($KIND)" test "$KIND" = xdg_shell
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
    check "$1: the left edge stops at the minimum width ($WIDTH, its right at $((X + WIDTH)) for $right)" \
        test "$WIDTH,$((X + WIDTH))" = "360,$right"
    hold_mouse 1.5
    sleep 0.3 # the store writes on a thread of its own; under load it may take a moment
    check "$1: a 1.5 s mouse hold is stored as such ($(stored))" near "$(stored)" 1.5
    pointer move 0 0
    (for i in $(seq 6); do sleep 0.2; screenshot "$work/held$i"; done) & # the last may come after the release
    hold_space 2000; wait $!; sleep 0.3
    # a compositor's key may come a frame late: any of the first three frames of the hold
    held=$(for i in 1 2 3; do pixel "$work/held$i" $((X + WIDTH / 2)) $((Y + HEIGHT / 2 + 111)) && echo; done)
    check "$1: held Space turns the button green (${held//$'\n'/, })" grep -qx '51 199 128' <<<"$held"
    check "$1: a 2 s Space hold is stored as such ($(stored))" near "$(stored)" 2.0
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
    mkdir "$XDG_CONFIG_HOME" && mount -t tmpfs -o size=64k tmpfs "$XDG_CONFIG_HOME" 2>/dev/null ||
        { echo "skipped: a full disk, for want of root or a user namespace to mount a tmpfs in"; return; }
    mkdir "$XDG_CONFIG_HOME/Brinmor"
    printf '[General]\nhighScore=5\n' >"$store"
    dd if=/dev/zero of="$XDG_CONFIG_HOME/fill" bs=4k 2>/dev/null || true
    start_game; xdotool key Tab space; hold_space 1000
    xdotool key space && sleep 0.5 # one more release that cannot store it either: said once is enough
    rm "$XDG_CONFIG_HOME/fill"; xdotool key ctrl+q
    check "full disk: Tab, Space on Reset, Space held 1 s, space freed, Ctrl+Q: quits" quits
    check "and stores the hold over the old best ($(stored))" near "$(stored)" 1.0
    check "having said where the reset and the record could not be saved" \
        test "$(grep -c "could not be saved to $store" "$work/log")" = 2
}

session_bus() {
    background dbus-daemon --session --nofork --print-address=3 3>"$work/bus"
    for _ in $(seq 100); do [ -s "$work/bus" ] && break; sleep 0.05; done
    export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
}

token() { [[ $backend = x11* ]] || "$tools/activation-token"; } # as a launcher passes
app() { gdbus call --session --dest io.github.brinmor.Brinmor --object-path /io/github/brinmor/Brinmor \
    --method "org.freedesktop.Application.$1" "${@:2}"; }
one_game_a_session() { # a second start on the bus brings the first game forward; without a bus, a game of its own
    background sh -c 'WAYLAND_DEBUG=1 exec "$0" 2>"$1"' "$brinmor" "$work/first"; local first=$started status=0
    sleep 1.5 && apart; local alone=$started && sleep 1.5
    check "a window apart (a game without a bus, or another program) opens, in front" \
        test "$(windows),$(focused)" = "2,$alone"
    # mutter and KWin raise a window only for a token that follows the player's input, as a launcher's does
    front() { [[ $backend = mutter || $backend = kwin ]] && echo $alone || echo $first; }
    look_away $alone $first
    xev -root -event property >"$work/xev" 2>/dev/null & local xev=$! since=$(date +%s%N) wanted=$(token)
    XDG_ACTIVATION_TOKEN=$wanted DESKTOP_STARTUP_ID='e2e 0123' "$brinmor" || status=$?
    local took=$((($(date +%s%N) - since) / 1000000)) && sleep 0.5
    check "with a bus a second start exits ($status) in $took ms, the first game's window in front ($backend's way)" \
        test "$status,$(windows),$(focused)" = "0,2,$(front)" -a $took -lt 3000
    [[ $backend = x11* ]] || check "and the first game hands the compositor the launcher's token" \
        grep -q "activate(\"$wanted\"" "$work/first"
    look_away $alone $first # then ids and tokens of 100 kB, more than a Wayland message holds: not sent on
    local long=$(head -c 100000 /dev/zero | tr '\0' x) && app Activate "{'activation-token': <'$long'>}" >/dev/null
    app Open "['a']" "{'activation-token': <'$(token)'>, 'desktop-startup-id': <'$long'>}" >/dev/null && sleep 0.5
    kill $xev 2>/dev/null || true; [[ $backend != x11* ]] || check "and the launch ends: one message in two pieces" \
        test "$(grep -o 'STARTUP_INFO[A-Z_]*)' "$work/xev" | xargs)" = "STARTUP_INFO_BEGIN) STARTUP_INFO)"
    local got="$(windows),$(focused),$(app ActivateAction none [] {} 2>&1 | grep -c 'no action')"
    check "Open over the bus does so too ($backend's way); ActivateAction of no action is an error ($got)" \
        test "$got" = "2,$(front),1"
    kill $first $alone && sleep 0.5
}

accessibility_bus() {
    session_bus
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    background /usr/libexec/at-spi-bus-launcher --launch-immediately
    for _ in $(seq 50); do "$tools/atspi-probe" enable 2>/dev/null && break; sleep 0.1; done
}

screen_reader() { # over the accessibility bus, as Orca hears it
    accessibility_bus
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
        mapfile -t x < <(grep 'push button' "$work/tree" | sed 's/.* | //; s/ .*//') # hold, reset, minimise, close
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

another_window_mid_hold() { # another game's window comes up 0.5 s in: the release of a press still comes to the
    rm -rf "$XDG_CONFIG_HOME" && start_game # game that took the press, while a key's goes to the window in front
    local held=() holding
    for hold in "hold_space 4000" "hold_mouse 2"; do
        pointer move $((X + 20)) $((Y + 300)) down up && sleep 0.3 && { $hold & holding=$!; } && sleep 0.5
        DBUS_SESSION_BUS_ADDRESS=unix:path=/ XDG_CONFIG_HOME=$work/other background "$brinmor"
        wait $holding && sleep 0.3 && held+=("$(stored)") && kill -- "-$started"
    done
    quit_game
    check "$1: another game's window up mid-hold, a 4 s Space hold ends then (${held[0]})" \
        awk "BEGIN { exit !(${held[0]} > 0.4 && ${held[0]} < 3.8) }"
    check "$1: another game's window up mid-hold, a 2 s mouse hold is stored whole (${held[1]})" near "${held[1]}" 2.0
}

one_window_since() { # ms from $1 (in ns) until one game window is up, or 200 looks have not seen it
    for _ in $(seq 200); do [ "$(windows)" = 1 ] && break; sleep 0.02; done; echo $((($(date +%s%N) - $1) / 10**6))
}
closing_on_a_slow_disk() { # a record, Ctrl+Q, a start meanwhile, which plays at once; the record lands 4 s on
    rm -f "$store"; start_game; mkfifo "$store.best-lock" # the store answers when this test lets it
    hold_mouse 0.5; quit_key; sleep 0.4; background "$brinmor"
    local second=$started since=$(date +%s%N) status=0 took
    took=$(one_window_since "$since")
    sleep 3; exec 3<>"$store.best-lock"; rm "$store.best-lock"; exec 3>&-
    wait "$game" || status=$?; game=
    kill -- "-$second" && sleep 0.5 && since=$(date +%s%N) && background "$brinmor" # beside a plain start
    since=$(one_window_since "$since")
    check "a start while the closing game saves opens as one with none running does ($took, $since ms)" \
        test $took -lt $((since + 1000))
    check "the closing game waits for the record, exits $status, and it is on disk ($(stored))" \
        test "$status,$(near "$(stored)" 0.5 0.3 && echo stored)" = 0,stored
    kill -- "-$started"
}

phone() { # held upright, after a record: the title, the readout, the button, the badge and the reset button
    accessibility_bus && rm -rf "$XDG_CONFIG_HOME" && start_game && hold_mouse 1 && sleep 1
    "$tools/atspi-probe" tree >"$work/tree" && quit_game
    local seen=$(awk -F ' [|] ' '$2 ~ /^(Brinmor|[0-9.]+|HOLD ME|.*New Record!|Reset High Score)$/ && $1 !~ /notif/ \
        && $5 { split($5, b, " "); off = b[1] < 0 || b[2] < 0 || b[3] > 360 || b[4] > 720
        printf "%s%s, ", $2, off ? " OFF" : "" }' "$work/tree")
    check "phoc, 360 x 720: a 1 s hold stored ($(stored)), each part on the screen ($seen)" \
        test "$(near "$(stored)" 1.0 && echo held),$(grep -o ', ' <<<"$seen" | wc -l),$(grep -c OFF <<<"$seen")" \
        = held,6,0
}

kwin_glass() { # over sharp stripes: frosted while KWin's blur effect is on, opaque once it is off
    strip() { # the backdrop's grey, its spread and mean by the thousand; the blur asked for over Wayland
        WAYLAND_DEBUG=1 start_game && screenshot "$work/glass" && quit_game
        echo "$(convert "$work/glass" -crop "200x10+$((X + 100))+$((Y + HEIGHT - 60))" -colorspace gray -format \
            '%[fx:int(1000 * standard_deviation)] %[fx:int(1000 * mean)]' info:) $(grep -c \
            'kwin_blur_manager@[0-9]*\.create(\|kwin_blur@[0-9]*\.commit()' "$work/log")"
    }
    local sd mean asked opaque && read -r sd mean asked <<<"$(strip)"
    $kwin gdbus call --session -d org.kde.KWin -o /Effects -m org.kde.kwin.Effects.unloadEffect blur >/dev/null
    sleep 2 && opaque=($(strip)) # KWin takes its blur's Wayland global away a second later
    check "frosted glass, KWin's blur on: smooth, not the opaque grey, asked for ($sd $mean $asked; ${opaque[*]})" \
        test $sd -lt 20 -a $mean != ${opaque[1]} -a $asked = $([ $backend = kwin ] && echo 2 || echo 0)
    check "frosted glass, KWin's blur off: opaque, no stripe shows, none asked for (${opaque[*]})" \
        test "${opaque[0]} ${opaque[2]}" = "0 0"
}

case $backend in
sway) scenario sway && another_window_mid_hold sway && session_bus && one_game_a_session && closing_on_a_slow_disk;;
mutter) scenario mutter && another_window_mid_hold mutter && accessibility_bus && one_game_a_session \
    && closing_on_a_slow_disk;;
phoc) phone;;
kwin) # the window's edges are exact where it is opaque: blur off from the glass on
    kwin=as_desk && convert -size 1280x800 pattern:horizontal2 "$desk/stripes.png"
    background "${desk_env[@]}" swaybg -i "$desk/stripes.png" && sleep 0.5 && screenshot "$work/empty" && kwin_glass
    scenario kwin && another_window_mid_hold kwin && accessibility_bus && one_game_a_session && closing_on_a_slow_disk;;
x11_kwin) # KWin's own compositor, OpenGL on llvmpipe, its blur on as on a GPU
    mkdir -p "$work/kwin" && printf '[Plugins]\nblurEnabled=true\n' >"$work/kwin/kwinrc"
    session_bus && kwin= && background env XDG_CONFIG_HOME="$work/kwin" kwin_x11 && sleep 2
    convert -size 1280x800 pattern:horizontal2 "$work/stripes.png"
    background display -geometry +0+0 "$work/stripes.png"
    sleep 1 && kwin_glass;;
x11)
    scenario "x11 without a window manager"
    screen_reader
    background openbox
    sleep 0.5
    scenario "x11 under openbox"
    another_window_mid_hold "x11 under openbox"
    one_game_a_session
    closing_on_a_slow_disk
    frosted_glass
    signals_and_a_full_disk;;
esac
echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
