#!/usr/bin/env bash
# What only a real X11 display shows: the boss key hides and shows the main window, and F1 hands
# the help page to the browser (a stub that records what it was given). Where a window manager
# and a tray can be started: -tray before there is a tray minimises the window, the boss key and
# the tray bring back a window the window manager restored before, minimising with
# MinSendTray = 1 puts the window in the tray, and the window reopens where it was closed. Runs
# VLT on a private Xvfb display. Exit 77 (skipped) when the X11 tools are missing.
set -u
vlt="$1"
for tool in Xvfb xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
    # Newest first, so that the display goes last and no client sees it vanish.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[$i]}" 2>/dev/null
        for _ in $(seq 20); do kill -0 "${pids[$i]}" 2>/dev/null || break; sleep 0.1; done
        kill -9 "${pids[$i]}" 2>/dev/null  # one that would not end would hold the test
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; [ -f "$log" ] && tail -20 "$log"; exit 1; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

tray=0
if command -v trayer >/dev/null && command -v twm >/dev/null; then
    # Windows are placed where they ask to be, never by a click the test cannot give.
    # Only the "fixed" font is sure to be on a bare X server.
    printf 'RandomPlacement\nUsePPosition "on"\n' > "$work/twmrc"
    for font in TitleFont ResizeFont MenuFont IconFont IconManagerFont; do
        printf '%s "fixed"\n' "$font" >> "$work/twmrc"
    done
    twm -f "$work/twmrc" >/dev/null 2>&1 &
    pids+=($!)
    tray=1  # the tray itself starts later, once the window has been sent to the tray without one
    sleep 1
fi

# The browser stub: the first program Qt tries for a file URL.
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' "$work/opened" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

export XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data"
data="$XDG_CONFIG_HOME/Orvelline/Orvelline Vaultwick"
mkdir -p "$data"
log="$data/VLT.log"
printf '[MainSettings]\r\nLogActions = 1\r\nMinSendTray = 1\r\nEnableBossKey = 1\r\n' > "$data/Config.ini"
printf 'BossKey1 = 1\r\nBossKey2 = 5\r\n' >> "$data/Config.ini"  # Alt+5

# Starts VLT with the given arguments and sets $vltpid and $window (empty if none appeared).
startVlt() {
    "$vlt" "$@" >"$work/vlt.out" 2>&1 &
    vltpid=$!
    pids+=($vltpid)
    window=""
    for _ in $(seq 100); do
        window="$(timeout 2 xdotool search --name "no container open" 2>/dev/null | head -1)"
        [ -n "$window" ] && break
        sleep 0.1
    done
}

# Started as the autostart entry starts it: in the tray, which is not there yet.
startVlt -tray
[ -n "$window" ] || fail "the main window did not appear"

mapped() { timeout 2 xwininfo -id "$window" | grep -q "IsViewable"; }
waitFor() {  # waitFor yes|no
    for _ in $(seq 40); do
        if mapped; then [ "$1" = yes ] && return 0; else [ "$1" = no ] && return 0; fi
        sleep 0.1
    done
    return 1
}
if [ "$tray" = 1 ]; then
    # Without a tray the window is only minimised, until the window manager restores it.
    for _ in $(seq 100); do grep -q "SendToTray() -> Returning" "$log" 2>/dev/null && break; sleep 0.1; done
    sleep 1
    mapped && fail "-tray without a tray did not minimise the window"
    timeout 2 xdotool windowmap "$window"
fi
waitFor yes || fail "the main window is not shown"

timeout 2 xdotool key alt+5
waitFor no || fail "the boss key did not hide the window"
timeout 2 xdotool key alt+5
waitFor yes || fail "the boss key did not show the window again"
echo "boss key: hides and shows the window"

# A second VLT cannot have the key the first one holds: it says so once and runs on.
"$vlt" >"$work/second.out" 2>&1 &
second=$!
pids+=($second)
warning=""
for _ in $(seq 100); do
    warning="$(timeout 2 xdotool search --name "^Warning$" 2>/dev/null | head -1)"
    [ -n "$warning" ] && break
    sleep 0.1
done
[ -n "$warning" ] || fail "a refused boss key was not reported"
timeout 2 xdotool windowfocus "$warning"
timeout 2 xdotool key Return
sleep 1
kill -0 "$second" 2>/dev/null || fail "a refused boss key ended the program"
[ "$(timeout 2 xdotool search --name "no container open" | wc -l)" -ge 2 ] ||
    fail "the second VLT did not open its window after the report"
kill "$second"
timeout 2 xdotool key alt+5
waitFor no || fail "the first VLT lost its boss key"
timeout 2 xdotool key alt+5
waitFor yes || fail "the first VLT's window did not come back"
echo "boss key: a key held by another program is reported once, not fatal"

timeout 2 xdotool windowfocus "$window"
timeout 2 xdotool key F1
for _ in $(seq 50); do [ -s "$work/opened" ] && break; sleep 0.1; done
grep -qx "file://.*/help/Introduction.html" "$work/opened" 2>/dev/null ||
    fail "F1 did not open the help page: $(cat "$work/opened" 2>/dev/null)"
echo "help: $(cat "$work/opened")"

if [ "$tray" != 1 ]; then
    echo "tray and window position: not checked (no tray host or window manager installed)"
    exit 0
fi

# The icons VLT shows in the tray (22 x 22 windows of its name).
trayIcons() { timeout 2 xwininfo -root -tree | grep '"Orvelline Vaultwick": (' | grep ' 22x22'; }
sendToTray() { timeout 2 xdotool windowfocus "$window"; timeout 2 xdotool key ctrl+t; }

# Without a tray the window is only minimised; the window manager restores it. Once minimised by
# the program, a window keeps "start minimised" in its hints: restoring from the tray must still
# end with the window on the screen and focused, and only then lose the icon.
sendToTray
waitFor no || fail "Send To Tray without a tray did not minimise the window"
timeout 2 xdotool windowmap "$window"
waitFor yes || fail "the window manager did not restore the minimised window"
timeout 2 xdotool key alt+5
waitFor no || fail "the boss key did not hide the restored window"
timeout 2 xdotool key alt+5
waitFor yes || fail "the boss key did not show a window once minimised again"
trayer --edge bottom --align right --widthtype pixel --width 100 --height 24 >/dev/null 2>&1 &
pids+=($!)
sleep 1
sendToTray
waitFor no || fail "Send To Tray did not hide the window"
icon=""
for _ in $(seq 40); do
    icon="$(trayIcons | grep -o '+[0-9]*+[0-9]*$' | tail -1)"  # its place on the screen
    [ -n "$icon" ] && break
    sleep 0.1
done
[ -n "$icon" ] || fail "no tray icon was shown"
iconX="$(echo "$icon" | cut -d+ -f2)"
iconY="$(echo "$icon" | cut -d+ -f3)"
timeout 2 xdotool mousemove $((iconX + 5)) $((iconY + 2))  # the panel's foot may be off screen
timeout 2 xdotool click --repeat 2 --delay 80 1
waitFor yes || fail "a double click on the tray icon did not bring the window back"
sleep 0.5
[ "$(timeout 2 xdotool getwindowfocus)" = "$window" ] || fail "the restored window has no focus"
[ -z "$(trayIcons)" ] || fail "the tray icon stayed after the window came back"
echo "boss key and tray: a window the window manager restored before comes back, focused"

timeout 2 xdotool windowminimize "$window"
waitFor no || fail "minimising with MinSendTray = 1 did not hide the window"
grep -q "SendToTray() -> Adding systray icon" "$log" || fail "no tray icon was added"
echo "minimise: the window went to the tray"

# The start puts the window back where the exit found it, start after start.
kill "$vltpid"
printf '[MainSettings]\r\n[Window]\r\nMainWinX = 100\r\nMainWinY = 80\r\n' > "$data/Config.ini"
for round in 1 2; do
    startVlt
    [ -n "$window" ] && waitFor yes || fail "round $round: the main window is not shown"
    sleep 0.5
    corner="$(timeout 2 xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $4 }
        /Absolute upper-left Y/ { y = $4 } END { print x "," y }')"
    [ "$corner" = "100,80" ] || fail "round $round: the window opened at $corner, not at 100,80"
    timeout 2 xdotool windowfocus "$window"
    timeout 2 xdotool key alt+f
    sleep 0.3
    timeout 2 xdotool key x  # File, Exit
    for _ in $(seq 50); do kill -0 "$vltpid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$vltpid" 2>/dev/null && fail "round $round: File, Exit did not end the program"
    stored="$(tr -d '\r' <"$data/Config.ini" | grep "^MainWin[XY] = " | tr '\n' ' ')"
    [ "$stored" = "MainWinX = 100 MainWinY = 80 " ] || fail "round $round: the exit stored $stored"
done
echo "position: the window reopens where it was closed"
exit 0
