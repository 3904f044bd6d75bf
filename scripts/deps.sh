#!/usr/bin/env bash
# Makes sure everything the build and the tests need is on this machine. As root it installs what is
# missing from Debian's packages; otherwise it names what to install and fails.
set -euo pipefail

# Debian packages the build and the tests use. Later parts of the project add to this list.
packages=(
    cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev clang-format
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    wine wine64 xvfb xauth x11-utils imagemagick locales
    fonts-wqy-zenhei fonts-dejavu-core fontconfig
    fonts-urw-base35 fonts-liberation fonts-wine
    python3 unzip
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

need_locale=0
locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$' || need_locale=1
# Wine takes the ANSI code page from the locale: en_US gives a Western system (1252), zh_TW a
# Traditional Chinese one (950); the Windows tests run under both besides 936.
other_locales=()
for l in en_US zh_TW; do
    locale -a 2>/dev/null | grep -qi "^$l\.utf-\?8$" || other_locales+=("$l")
done

if [ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ] && [ ${#other_locales[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing from this machine:" >&2
    [ ${#missing[@]} -gt 0 ] && echo "  sudo apt-get install -y ${missing[*]}" >&2
    [ $need_locale -eq 1 ] && echo "  the zh_CN.UTF-8 locale: uncomment 'zh_CN.UTF-8 UTF-8' in /etc/locale.gen, then sudo locale-gen" >&2
    for l in "${other_locales[@]}"; do
        echo "  the $l.UTF-8 locale: sudo localedef -i $l -f UTF-8 $l.UTF-8" >&2
    done
    exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if [ $need_locale -eq 1 ]; then
    echo "== generating the zh_CN.UTF-8 locale"
    [ -f /etc/locale.gen ] || touch /etc/locale.gen
    if grep -q '^# *zh_CN.UTF-8 UTF-8' /etc/locale.gen; then
        sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    elif ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen; then
        echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    fi
    locale-gen >/dev/null
fi
for l in "${other_locales[@]}"; do
    echo "== generating the $l.UTF-8 locale"
    localedef -i "$l" -f UTF-8 "$l.UTF-8"
done
