#!/bin/sh
# Starts Kovaldi on a real X server (Xvfb) and checks that the class of its window, by which
# the desktop finds the menu entry, is the desktop id, as the entry's StartupWMClass says.
#   desktopclass_test.sh <kovaldi executable> <desktop file> <application id>
set -eu
if [ "${1:-}" != --inside ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" --inside "$@"
fi
shift
program=$1
desktop=$2
id=$3
scratch=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# A first start of its own, on the X server rather than offscreen.
env -u QT_QPA_PLATFORM HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" \
    "$program" >"$scratch/log" 2>&1 &
pid=$!

# Waits for the window, at most about 20 seconds; a program that ended stops the wait.
window=
tries=0
while [ -z "$window" ] && [ "$tries" -lt 200 ] && kill -0 "$pid" 2>/dev/null; do
    window=$(xwininfo -root -tree 2>/dev/null |
        sed -n -E 's/^ *(0x[0-9a-f]+) "Kovaldi - Version [^"]*".*/\1/p' | head -n 1)
    if [ -z "$window" ]; then tries=$((tries + 1)); sleep 0.1; fi
done
if [ -z "$window" ]; then
    echo "no Kovaldi window appeared"
    cat "$scratch/log"
    exit 1
fi

properties=$(xprop -id "$window" WM_CLASS _KDE_NET_WM_DESKTOP_FILE)
echo "$properties"
status=0
class=$(printf '%s\n' "$properties" | sed -n -E 's/^WM_CLASS\(STRING\) = "[^"]*", "([^"]*)"$/\1/p')
if [ "$class" = "$id" ]; then echo "ok      window class $class"; else
    echo "MISMATCH window class '$class', desktop id $id"; status=1; fi
startup=$(sed -n 's/^StartupWMClass=//p' "$desktop")
if [ "$startup" = "$id" ]; then echo "ok      StartupWMClass $startup"; else
    echo "MISMATCH StartupWMClass '$startup', desktop id $id"; status=1; fi
exit $status
