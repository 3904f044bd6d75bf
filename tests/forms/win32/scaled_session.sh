#!/usr/bin/env bash
# Runs test cases of the Windows test executable in a Wine session of its own whose display is
# scaled to the given DPI (a fresh prefix and display: the scaling is read when the server starts).
#   scaled_session.sh SCRIPTS_DIR DPI TEST_EXE GTEST_FILTER
set -u
scripts=$1 dpi=$2 exe=$3 filter=$4
# shellcheck source=../../../scripts/wine-session.sh
. "$scripts/wine-session.sh"
unset WINEPREFIX DISPLAY
trap wine_session_end EXIT
wine_session_begin xvfb 936 "$dpi"
export GLYVORA_EXPECT_DPI=$dpi
wine "$exe" --gtest_brief=0 "--gtest_filter=$filter"
