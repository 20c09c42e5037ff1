#!/bin/sh
# Runs switch_bench under Wine on its own Xvfb (1024x768x24) and a fresh prefix, made and
# removed as the e2e fixtures make them.
#   tests/bench/run-switch-bench.sh BUILD_DIR [--unmanaged] [switch_bench options]
# --unmanaged has Wine's X11 driver leave the bench's windows to itself. Otherwise, with no
# window manager on the display, Wine waits about 2 s for one at every window it hides.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
wine_dir=$here/../wine
[ $# -ge 1 ] || { echo "usage: run-switch-bench.sh BUILD_DIR [--unmanaged] [options]" >&2; exit 2; }
build=$(cd "$1" && pwd)
shift
unmanaged=0
if [ "${1:-}" = --unmanaged ]; then
    unmanaged=1
    shift
fi
[ -f "$build/switch_bench.exe" ] || { echo "no $build/switch_bench.exe: build the target switch_bench" >&2; exit 2; }

state=$build/bench-wine
export SKELVO_WINE_STATE="$state"
stop() {
    sh "$wine_dir/wine-setup" prefix-stop "$state" >/dev/null 2>&1 || true
    sh "$wine_dir/wine-setup" xvfb-stop "$state" >/dev/null 2>&1 || true
}
trap stop EXIT INT TERM

sh "$wine_dir/wine-setup" xvfb-start "$state"
sh "$wine_dir/wine-setup" wm-start "$state"
sh "$wine_dir/wine-setup" prefix-init "$state"
if [ "$unmanaged" = 1 ]; then
    "$wine_dir/wine-run" reg add 'HKCU\Software\Wine\AppDefaults\switch_bench.exe\X11 Driver' \
        /v Managed /t REG_SZ /d N /f >/dev/null
    echo "windows of switch_bench.exe unmanaged"
fi
"$wine_dir/wine-run" "$build/switch_bench.exe" "$@"
