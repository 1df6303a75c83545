#!/usr/bin/env bash
# Runs the desktop pass on several screens at once. Each pass spends its time waiting on its own
# X server, window manager and program, not computing: five together take about as long as the
# longest alone, and leave the processors to the other tests meanwhile.
# Usage: on_screens.sh PASS SCREEN...   SCREEN: WIDTHxHEIGHT@SCALE, with :roads to walk the
# marks down every road there. PALIMO_DESKTOP_SCREENS (screens apart by spaces) replaces the list.
set -u
pass=$1
shift
# shellcheck disable=SC2086 # the variable is a list
[ -n "${PALIMO_DESKTOP_SCREENS:-}" ] && set -- $PALIMO_DESKTOP_SCREENS
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
declare -A started
for screen in "$@"; do
    size=${screen%%@*}
    rest=${screen#*@}
    scale=${rest%%:*}
    roads=
    [ "$rest" != "$scale" ] && roads=1
    env PALIMO_DESKTOP_SCREEN="$size" PALIMO_DESKTOP_SCALE="$scale" \
        ${roads:+PALIMO_DESKTOP_ROADS=1} "$pass" >"$logs/$size@$scale" 2>&1 &
    started[$!]="$size@$scale"
    # Apart, so that the programs do not all start at one moment: the first start on a new
    # machine builds the font cache, and six at once left a window unframed for 30 s.
    sleep 3
done
failed=0
for pid in "${!started[@]}"; do
    if wait "$pid"; then
        echo "== ${started[$pid]}: passed"
    else
        echo "== ${started[$pid]}: FAILED"
        cat "$logs/${started[$pid]}"
        failed=1
    fi
done
exit $failed
