#!/usr/bin/env bash
# Runs every scenario of the Windows test executable in a process of its own, as each scenario
# starts the program afresh: what one scenario leaves in the process (fonts loaded privately, the
# program's windows and their messages) never reaches the next.
#   each_scenario.sh WINE_EXEC TESTS_EXE FILTER
set -u
wine_exec=$1
exe=$2
filter=$3

mapfile -t names < <("$wine_exec" "$exe" --gtest_list_tests "--gtest_filter=$filter" 2>/dev/null | tr -d '\r' |
    awk '/^[^ ]/ { suite = $1; next } /^  / { print suite $1 }')
if [ ${#names[@]} -eq 0 ]; then
    echo "each_scenario: no scenario matches $filter" >&2
    exit 1
fi

failed=()
for name in "${names[@]}"; do
    if timeout 180 "$wine_exec" "$exe" "--gtest_filter=$name" > /tmp/each_scenario.$$ 2>&1 &&
        grep -qa "\[  PASSED  \] 1 test" /tmp/each_scenario.$$; then
        echo "ok      $name"
    elif grep -qa "\[  SKIPPED \] 1 test" /tmp/each_scenario.$$; then
        echo "skipped $name"
    else
        echo "FAILED  $name"
        cat /tmp/each_scenario.$$
        failed+=("$name")
    fi
done
rm -f /tmp/each_scenario.$$
echo "${#names[@]} scenarios, ${#failed[@]} failed"
for name in "${failed[@]}"; do echo "  failed: $name"; done
[ ${#failed[@]} -eq 0 ]
