#!/bin/sh
# Installs the Debian 12 packages that building and testing Skelvo need, and the
# ja_JP.UTF-8 locale (Wine takes its ANSI code page, 932, from it). Silent and quick
# when everything is already there.
set -eu

packages="cmake g++ make g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool imagemagick
locales fonts-ipafont-gothic libgtest-dev python3 x11-utils x11-xkb-utils x11-xserver-utils
openbox"

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
else
    as_root="sudo"
fi

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *" installed") ;;
        *) missing="$missing $p" ;;
    esac
done

if [ -n "$missing" ]; then
    echo "install-deps: installing$missing"
    export DEBIAN_FRONTEND=noninteractive
    $as_root apt-get update -qq
    # shellcheck disable=SC2086
    $as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi

# `locale -a` spells the generated locale ja_JP.utf8.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    echo "install-deps: generating the ja_JP.UTF-8 locale"
    if grep -q '^# *ja_JP\.UTF-8 UTF-8' /etc/locale.gen; then
        $as_root sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -q '^ja_JP\.UTF-8 UTF-8' /etc/locale.gen; then
        echo 'ja_JP.UTF-8 UTF-8' | $as_root tee -a /etc/locale.gen >/dev/null
    fi
    $as_root locale-gen >/dev/null
fi
