set -eu
here=$(cd "$(dirname "$0")" && pwd)
wine_dir=$here/../wine
build=$(cd "$1" && pwd)
state=$build/idle-wine
export SKELVO_WINE_STATE="$state"
pids=""
stop() {
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    sh "$wine_dir/wine-setup" prefix-stop "$state" >/dev/null 2>&1 || true
    sh "$wine_dir/wine-setup" xvfb-stop "$state" >/dev/null 2>&1 || true
}
trap stop EXIT INT TERM
sh "$wine_dir/wine-setup" xvfb-start "$state"
sh "$wine_dir/wine-setup" wm-start "$state"
sh "$wine_dir/wine-setup" prefix-init "$state" "$build/fixture.exe"
. "$wine_dir/wine-env.sh"; skelvo_wine_env
/usr/lib/wine/wineserver64 -k || true; sleep 1
/usr/lib/wine/wineserver64 -f -d1 2> /tmp/ws.log & pids="$pids $!"
sleep 1
for n in 1 2 3; do
    tail -f /dev/null | "$wine_dir/wine-run" "$build/fixture.exe" open --title "idle $n" \
        --rect "$((40 * n)),$((30 * n)),400,300" >/dev/null 2>&1 &
    pids="$pids $!"
done
(cd "$state" && exec "$wine_dir/wine-run" "$build/Skelvo.exe") >/dev/null 2>&1 &
skelvo=$!
pids="$pids $skelvo"
sleep 12
: > /tmp/ws.log
sleep 6
cp /tmp/ws.log /tmp/ws-sample.log
