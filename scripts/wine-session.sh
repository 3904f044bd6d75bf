# Sourced by the test and run commands: a private Wine prefix and, when asked for, a private Xvfb
# display, both removed again by wine_session_end.
#   wine_session_begin [xvfb] [CODEPAGE]   sets WINEPREFIX, DISPLAY, and LANG for the system's ANSI
#                                          code page: 936 (Simplified Chinese, the default), 1252
#                                          (Western) or 950 (Traditional Chinese)
#   wine_session_begin xvfb CODEPAGE DPI   the same with the display's scaling (96 at 100 %, 144 at 150 %)
#   wine_session_end
# Wine takes the code page from the Unix locale, which must exist (scripts/deps.sh makes them);
# each session has a prefix of its own, so each code page does.

wine_session_begin() {
    local want_xvfb=${1:-} codepage=${2:-936} dpi=${3:-} locale
    case $codepage in
    936) locale=zh_CN.UTF-8 ;;
    1252) locale=en_US.UTF-8 ;;
    950) locale=zh_TW.UTF-8 ;;
    *)
        echo "wine_session_begin: no locale for code page $codepage" >&2
        return 1
        ;;
    esac
    if ! locale -a 2>/dev/null | grep -qix "${locale%.UTF-8}.utf-\?8"; then
        echo "wine_session_begin: the $locale locale is missing (scripts/deps.sh makes it)" >&2
        return 1
    fi
    export LANG=$locale LC_ALL=$locale GLYVORA_WINE_CODEPAGE=$codepage
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
    # A Western or Traditional Chinese Windows that shows Chinese links a Chinese font behind its
    # dialog fonts; Wine links fonts it does not have here, so the installed one is linked instead.
    if [ "$codepage" != 936 ]; then
        local face
        for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
            wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
                /v "$face" /t REG_MULTI_SZ /d 'wqy-zenhei.ttc,WenQuanYi Zen Hei' /f >/dev/null 2>&1
        done
    fi
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
