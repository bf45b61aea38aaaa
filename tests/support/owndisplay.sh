#!/usr/bin/env bash
# Runs one test on an X server of its own. Tests that show windows run side by
# side; on a shared display without a window manager each activation takes the
# keyboard focus from the others' windows.
set -uo pipefail
if ! command -v Xvfb >/dev/null; then
    exec "$@"
fi
ready=$(mktemp)
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$ready" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$ready"' EXIT
# The server writes its display number once it accepts connections.
for _ in $(seq 600); do
    [ -s "$ready" ] && break
    kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
[ -s "$ready" ] || { echo "Xvfb did not become ready" >&2; exit 1; }
DISPLAY=":$(head -n1 "$ready")" "$@"
