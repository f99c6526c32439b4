#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The help window as an X11 desktop sees it, with the real programs of the
# build: it belongs to the main window (WM_TRANSIENT_FOR), F1 twice gives one
# help window, and it goes within 2 s when Quillmere is killed or exits.
# Runs under xvfb-run:  help-on-x11.sh <build folder>
set -eu
build="$1"
export QT_QPA_PLATFORM=xcb

fail() { echo "FAIL: $*" >&2; exit 1; }
window() { timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
# A process that has ended but is not yet reaped is gone too: an orphan waits
# for the machine's init, which may reap it only seconds later.
running() { state=$(sed -n 's/^State:[[:space:]]*\(.\).*/\1/p' "/proc/$1/status" 2>/dev/null); [ -n "$state" ] && [ "$state" != Z ]; }
# Waits up to 2 s for a process to end.
gone() { i=0; while running "$1"; do i=$((i + 1)); [ $i -le 20 ] || return 1; sleep 0.1; done; }
start() {
    "$build/quillmere" 2>/dev/null &
    quillmere=$!
    main=$(window '^Quillmere$')
    xdotool windowfocus --sync "$main" key F1
    help=$(window '^Quillmere Help$')
    [ -n "$help" ] || fail "F1 showed no help window"
    viewer=$(xdotool getwindowpid "$help")
}

start
owner=$(xprop -id "$help" WM_TRANSIENT_FOR | sed -n 's/.*# //p')
[ "$((owner))" = "$main" ] || fail "the help window belongs to $owner, not to the main window $main"
xdotool windowfocus --sync "$main" key F1
sleep 1
[ "$(xdotool search --onlyvisible --name '^Quillmere Help$' | wc -l)" = 1 ] ||
    fail "F1 again opened a second help window"
[ "$(xdotool getwindowpid "$(window '^Quillmere Help$')")" = "$viewer" ] ||
    fail "F1 again started another viewer"
kill -KILL "$quillmere"
gone "$viewer" || fail "the viewer outlived a killed Quillmere by more than 2 s"

# File > Exit, by position: without a window manager both windows sit at the
# screen's top-left corner, so the help window moves aside first.
start
xdotool windowmove --sync "$help" 600 0
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 15)) $((Y + 10)) click 1
sleep 0.5
xdotool mousemove $((X + 45)) $((Y + 28)) click 1
gone "$quillmere" || fail "File > Exit did not end Quillmere"
gone "$viewer" || fail "the viewer outlived File > Exit by more than 2 s"
echo "help on X11: owned by the main window, one viewer, gone with Quillmere"
