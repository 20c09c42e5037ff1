#!/bin/sh
# Takes the README's screenshots from the real Skelvo.exe under Wine, on a private Xvfb and
# in a prefix of their own, into docs/. Usage: tools/readme-pictures.sh [windows-build-tree]
# (the tree must hold Skelvo.exe and fixture.exe: `make pictures` builds both).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-$root/build/windows}" && pwd)
setup="$root/tests/wine/wine-setup"
state=

cleanup() {
    [ -n "$state" ] || return 0
    sh "$setup" prefix-stop "$state" >/dev/null 2>&1 || true
    sh "$setup" wm-stop "$state" >/dev/null 2>&1 || true
    sh "$setup" xvfb-stop "$state" >/dev/null 2>&1 || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# One display of one monitor with no window manager, then one of two monitors, on which
# openbox maximises a window over its own monitor.
for layout in one two; do
    cleanup
    state="$root/build/pictures-$layout"
    sh "$setup" xvfb-start "$state" "$layout"
    [ "$layout" = one ] || sh "$setup" wm-start "$state"
    sh "$setup" prefix-init "$state" "$tree/fixture.exe"
    SKELVO_EXE="$tree/Skelvo.exe" SKELVO_FIXTURE="$tree/fixture.exe" SKELVO_WINE_STATE="$state" \
        SKELVO_WINE_RUN="$root/tests/wine/wine-run" SKELVO_ARTIFACTS="$state/artifacts" \
        python3 "$root/tools/readme_pictures.py" "$root/docs" "$layout"
done
