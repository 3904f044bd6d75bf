# Sourced by the test and run commands: a private Wine prefix and, when asked for, a private Xvfb
# display, both removed again by wine_session_end.
#   wine_session_begin [xvfb] [dpi]   sets WINEPREFIX, DISPLAY, LANG for Chinese (code page 936);
#                                     dpi: the display's scaling (96 at 100 %, 144 at 150 %)
#   wine_session_end

wine_session_begin() {
    local want_xvfb=${1:-} dpi=${2:-}
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
    export WINEDEBUG=-all
    export WINEARCH=win64
    # No Mono or Gecko installer prompts in a fresh prefix.
    export WINEDLLOVERRIDES="mscoree=;mshtml="
    GLYVORA_WINE_PREFIX_OWNED=1
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/glyvora-wine.XXXXXX")
    export WINEPREFIX

    if [ "$want_xvfb" = xvfb ]; then
        local fifo
        fifo=$(mktemp -u)
        mkfifo "$fifo"
        # A scaled session's display is the same screen in the layer's units: 1280 x 1024 at 96 DPI.
        local size=1280x1024
        [ -n "$dpi" ] && size="$((1280 * dpi / 96))x$((1024 * dpi / 96))"
        Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
        GLYVORA_XVFB_PID=$!
        local n
        read -r n <"$fifo"
        rm -f "$fifo"
        export DISPLAY=":$n"
    fi

    # Create the prefix without a display (faster, no dialogs), then keep one server running.
    (unset DISPLAY; wineboot -i >/dev/null 2>&1) || true
    wineserver -w
    if [ -n "$dpi" ]; then
        # Read by the server and the system fonts when they start: set before the server that stays.
        (unset DISPLAY; wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            >/dev/null 2>&1) || true
        wineserver -w
    fi
    # Wine's own fonts (Marlett draws the caption buttons, Tahoma the dialogs) are not found from
    # Debian's data directory; a Windows system keeps them in its Fonts folder.
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -p
    # Without a window manager, hiding a top-level window blocks for seconds unless Wine's X11
    # driver leaves windows unmanaged.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

wine_session_end() {
    if [ -n "${WINEPREFIX:-}" ] && [ -n "${GLYVORA_WINE_PREFIX_OWNED:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
        unset WINEPREFIX GLYVORA_WINE_PREFIX_OWNED
    fi
    if [ -n "${GLYVORA_XVFB_PID:-}" ]; then
        kill "$GLYVORA_XVFB_PID" 2>/dev/null || true
        wait "$GLYVORA_XVFB_PID" 2>/dev/null || true
        unset GLYVORA_XVFB_PID
    fi
}
