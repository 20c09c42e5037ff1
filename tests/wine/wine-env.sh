# Shared by wine-run and wine-setup (sourced, POSIX sh): the Wine environment of a state
# directory ($SKELVO_WINE_STATE: prefix/, display, xvfb.pid, logs) and prefix creation.

if command -v wine >/dev/null 2>&1; then
    SKELVO_WINE=wine
else
    SKELVO_WINE=/usr/lib/wine/wine64
fi

# Exports WINEPREFIX, DISPLAY (the state's Xvfb, when it has one) and the settings every
# run shares: no debug output, no Mono/Gecko prompts, Japanese locale (ANSI code page 932).
skelvo_wine_env() {
    if [ -n "${SKELVO_WINE_STATE:-}" ]; then
        WINEPREFIX="$SKELVO_WINE_STATE/prefix"
        if [ -s "$SKELVO_WINE_STATE/display" ]; then
            DISPLAY=$(cat "$SKELVO_WINE_STATE/display")
            export DISPLAY
        fi
    fi
    if [ -z "${WINEPREFIX:-}" ]; then
        echo "wine: set SKELVO_WINE_STATE (or WINEPREFIX)" >&2
        exit 125
    fi
    export WINEPREFIX
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
}

# Makes the prefix from scratch: wineboot, crash dialog off, the contract's windows
# placed by Wine, registry flushed to disk.
skelvo_prefix_create() {
    mkdir -p "$WINEPREFIX"
    log="$WINEPREFIX/../prefix-init.log"
    "$SKELVO_WINE" wineboot --init >"$log" 2>&1
    "$SKELVO_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
        /t REG_DWORD /d 0 /f >>"$log" 2>&1
    # The window contract has Wine place, maximise and minimise its windows itself at
    # once, as Windows does; left to a window manager (or to none, on a bare display), a
    # maximised window keeps its normal size until the manager answers, if ever, and
    # MoveWindow drops the maximised state.
    "$SKELVO_WINE" reg add 'HKCU\Software\Wine\AppDefaults\contract_win.exe\X11 Driver' \
        /v Managed /t REG_SZ /d N /f >>"$log" 2>&1
    # fixture_unmanaged.exe is the fixture program whose windows no window manager takes:
    # for a window moved off the screen and back within one drop.
    "$SKELVO_WINE" reg add 'HKCU\Software\Wine\AppDefaults\fixture_unmanaged.exe\X11 Driver' \
        /v Managed /t REG_SZ /d N /f >>"$log" 2>&1
    # A text document opens in Notepad, as on Windows (Wine's prefix lacks the .txt key).
    "$SKELVO_WINE" reg add 'HKCR\.txt' /ve /t REG_SZ /d txtfile /f >>"$log" 2>&1
    wineserver -w
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine: could not create the prefix $WINEPREFIX (see $log)" >&2
        exit 125
    fi
}

# Creates the prefix if it is not there yet; concurrent callers wait for the first.
skelvo_prefix_ensure() {
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [ -f "$WINEPREFIX/system.reg" ] || skelvo_prefix_create
    ) 9>"$WINEPREFIX.lock"
}
