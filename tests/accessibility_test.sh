#!/bin/sh
# Starts Kovaldi on a real X server with Qt's accessibility bridge on, on a private session
# bus that brings its own accessibility bus and registry, and reads the windows as a screen
# reader reads them (AT-SPI through pyatspi): accessibility_test.py.
#   accessibility_test.sh <kovaldi executable>
set -eu
if [ "${1:-}" != --inside ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- sh "$0" --inside "$@"
fi
shift
exec env -u QT_QPA_PLATFORM -u AT_SPI_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    /usr/bin/python3 "$(dirname "$0")/accessibility_test.py" "$1"
