#!/bin/sh
# Installs what is missing, builds Kovaldi in Release (incrementally) and starts it, on
# the folder given if any (a relative one taken from where this was started).
set -eu
here=$(pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
sh tools/deps.sh run
cmake --preset release >/dev/null
cmake --build --preset release --target kovaldi
cd "$here"
exec "$root/build/release/kovaldi" "$@"
