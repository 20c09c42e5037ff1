#!/bin/sh
# Shows the panel: runs Skelvo.exe under Wine on $DISPLAY, or, with no display, on an Xvfb
# of its own with openbox on it, as the tests have; saves a screenshot of the panel as
# build/panel.png and runs until Ctrl-C or until the panel quits. The panel runs in
# build/run, so that its KQZ.txt stays there between runs and out of the checkout.
# Usage: tools/run-panel.sh [path/to/Skelvo.exe]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(cd "$(dirname "${1:-build/windows/Skelvo.exe}")" && pwd)/$(basename "${1:-build/windows/Skelvo.exe}")
wine_dir="$root/tests/wine"
# A prefix of its own, kept between runs (the tests make theirs afresh).
export SKELVO_WINE_STATE="$root/build/run"
shot="$root/build/panel.png"
mkdir -p "$SKELVO_WINE_STATE"

panel_pid=""
own_xvfb=""
cleanup() {
    trap - INT TERM EXIT
    if [ -n "$panel_pid" ] && kill -0 "$panel_pid" 2>/dev/null; then
        kill "$panel_pid" 2>/dev/null || true
    fi
    WINEPREFIX="$SKELVO_WINE_STATE/prefix" wineserver -k 2>/dev/null || true
    if [ -n "$own_xvfb" ]; then
        sh "$wine_dir/wine-setup" xvfb-stop "$SKELVO_WINE_STATE" || true
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

[ -f "$exe" ] || { echo "run-panel: no $exe (make build first)" >&2; exit 1; }

if [ -z "${DISPLAY:-}" ]; then
    own_xvfb=1
    sh "$wine_dir/wine-setup" xvfb-start "$SKELVO_WINE_STATE"
    # Without a window manager Wine waits about 2 s at every hide for one to answer.
    sh "$wine_dir/wine-setup" wm-start "$SKELVO_WINE_STATE"
    DISPLAY=$(cat "$SKELVO_WINE_STATE/display")
    export DISPLAY
else
    rm -f "$SKELVO_WINE_STATE/display"  # wine-run would prefer a stale Xvfb's
fi

(cd "$SKELVO_WINE_STATE" && exec "$wine_dir/wine-run" "$exe") &
panel_pid=$!
echo "Skelvo.exe started on $DISPLAY (WINEPREFIX $SKELVO_WINE_STATE/prefix)"

# The first run also makes the prefix, hence the long deadline.
xid=""
i=0
while [ -z "$xid" ]; do
    xid=$(xdotool search --onlyvisible --name '^WindowControl$' 2>/dev/null | head -n 1 || true)
    [ -n "$xid" ] && break
    kill -0 "$panel_pid" 2>/dev/null || { echo "run-panel: Skelvo.exe ended" >&2; exit 1; }
    i=$((i + 1))
    [ "$i" -lt 1200 ] || { echo "run-panel: no panel window after 120 s" >&2; exit 1; }
    sleep 0.1
done
eval "$(xdotool getwindowgeometry --shell "$xid")"
# The window is mapped before its first paint; give that a moment by waiting for
# pixels other than the black of an empty root.
i=0
while :; do
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
    colours=$(identify -format '%k' "$shot" 2>/dev/null || echo 2)
    [ "$colours" != 1 ] && break
    i=$((i + 1))
    [ "$i" -lt 50 ] || break
    sleep 0.1
done
echo "panel at ${X},${Y} ${WIDTH}x${HEIGHT}; screenshot: $shot"
echo "running; Ctrl-C to stop"
wait "$panel_pid" || true
panel_pid=""
