#!/usr/bin/env bash
# Runs one test on an X server of its own. Tests that show windows run side by
# side; on a shared display without a window manager each activation takes the
# keyboard focus from the others' windows.
#
# Neither the server nor the test outlives this script. TERM, INT and HUP go on
# to the test, and the server stops once the test has ended. A KILL, which is
# how CTest ends a test over its time limit, no trap sees: the kernel then ends
# both children by the parent-death signal they were started with.
set -uo pipefail
if ! command -v Xvfb >/dev/null; then
    exec "$@"
fi

# Sets tie to a prefix that runs a command with parent-death signal $1. Once
# the signal is armed the child checks that its parent is still this script:
# had the script died in between, nothing would deliver it. The prefixed
# command must be forked by this script itself (a simple command, not a
# function or subshell), for the signal follows the parent.
tie_to_me() {
    tie=()
    if command -v setpriv >/dev/null; then
        # shellcheck disable=SC2016
        tie=(setpriv --pdeathsig "$1" -- sh -c '[ "$PPID" = "$0" ] && exec "$@"' "$$")
    fi
}

ready=$(mktemp)
server=
test=
# shellcheck disable=SC2317
finish() {
    # Whatever the test started and left behind goes with it.
    [ -n "$test" ] && kill -KILL -- "-$test" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -f "$ready"
}
trap finish EXIT

interrupted=
# shellcheck disable=SC2317
forward() {
    [ -n "$test" ] || exit $((128 + $(kill -l "$1")))
    interrupted=1
    kill -s "$1" -- "-$test" 2>/dev/null
}
for signal in TERM INT HUP; do
    # shellcheck disable=SC2064
    trap "forward $signal" "$signal"
done

# Both children start in process groups of their own (set -m): a Ctrl-C in a
# terminal reaches this script alone, which stops the test before its display;
# and only under job control does bash leave INT at its default in background
# children.
# TERM lets the server remove its socket.
tie_to_me TERM
set -m
"${tie[@]}" Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$ready" 2>/dev/null &
server=$!
set +m
# The server writes its display number once it accepts connections.
for _ in $(seq 600); do
    [ -s "$ready" ] && break
    kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
[ -s "$ready" ] || { echo "Xvfb did not become ready" >&2; exit 1; }
display=":$(head -n1 "$ready")"
# Removed now, a later KILL leaves no file behind.
rm -f "$ready"

# A test whose wrapper was killed has no one left to report to.
tie_to_me KILL
set -m
DISPLAY=$display "${tie[@]}" "$@" &
test=$!
set +m
# A trapped signal cuts the wait short, and the test, told of it, may take a
# while to end; bash keeps the status of an ended child for a later wait.
status=0
while :; do
    interrupted=
    wait "$test" 2>/dev/null
    status=$?
    [ -n "$interrupted" ] || break
done
exit "$status"
