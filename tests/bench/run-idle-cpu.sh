#!/bin/sh
# The panel's CPU time while it idles under Wine, with three programs' windows on its
# desktop: Skelvo.exe and three fixture programs on their own Xvfb (with openbox) and a
# fresh prefix, the CPU time of the Skelvo process read from /proc over SECONDS.
#   tests/bench/run-idle-cpu.sh BUILD_DIR [SECONDS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
wine_dir=$here/../wine
build=$(cd "$1" && pwd)
seconds=${2:-60}
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
for n in 1 2 3; do
    tail -f /dev/null | "$wine_dir/wine-run" "$build/fixture.exe" open --title "idle $n" \
        --rect "$((40 * n)),$((30 * n)),400,300" >/dev/null 2>&1 &
    pids="$pids $!"
done
(cd "$state" && exec "$wine_dir/wine-run" "$build/Skelvo.exe") >/dev/null 2>&1 &
skelvo=$!
pids="$pids $skelvo"
i=0
until "$wine_dir/wine-run" "$build/fixture.exe" list 2>/dev/null | grep -q '"class":"WindowControl"'; do
    i=$((i + 1)); [ "$i" -lt 300 ] || { echo "no panel" >&2; exit 1; }
    sleep 0.1
done
sleep 5
# CPU time of every thread of the process in nanoseconds (schedstat), finer than the
# clock ticks of /proc/PID/stat.
cpu_ns() { cat /proc/"$skelvo"/task/*/schedstat | awk '{ s += $1 } END { printf "%d", s }'; }
before=$(cpu_ns)
sleep "$seconds"
after=$(cpu_ns)
awk -v d=$((after - before)) -v s="$seconds" \
    'BEGIN { printf "panel CPU over %d s idling: %.3f s, %.3f %% of one core\n", s, d / 1e9, 100 * d / 1e9 / s }'
