#!/bin/sh
# The program starts natively under a Wayland compositor (weston, headless) and tells it its
# desktop id, by which the shell matches its windows to the launcher and the icon. Any further
# arguments go to the program (a window test's functions, say).
# Usage: wayland_start.sh WESTON PROGRAM APP_ID [ARGUMENT...]
set -u
weston=$1 program=$2 app_id=$3
shift 3
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'kill "$weston_pid" 2>/dev/null; wait "$weston_pid" 2>/dev/null; rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime"
socket=palimo-test
# Older westons name their backends by module file (headless-backend.so), newer ones by a plain
# name (headless); the help lists the names this one takes.
backend=$("$weston" --help 2>&1 | grep -o -m1 '^[[:space:]]*headless[[:alnum:].-]*' |
    tr -d '[:space:]')
"$weston" --backend="${backend:-headless}" --socket="$socket" --idle-time=0 \
    >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    sleep 0.1
done
[ -S "$runtime/$socket" ] || { echo "weston did not start:"; cat "$runtime/weston.log"; exit 1; }

WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
    "$program" "$@" >"$runtime/program.log" 2>&1
status=$?
if [ $status -ne 0 ]; then
    echo "the program failed under Wayland with status $status:"
    grep -v '^\[' "$runtime/program.log" | tail -20
    exit 1
fi
# libwayland's protocol log names an object xdg_toplevel@16 in older releases, xdg_toplevel#16
# in newer ones.
if ! grep -q "xdg_toplevel[@#][0-9]*\.set_app_id(\"$app_id\")" "$runtime/program.log"; then
    echo "no window told the compositor its app id $app_id; the ids it gave:"
    grep -o 'set_app_id([^)]*)' "$runtime/program.log" | sort -u
    exit 1
fi
echo "started under Wayland as $app_id"
