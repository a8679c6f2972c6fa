#!/bin/sh
# Installs what is missing, builds Kovaldi in Release (incrementally) and starts it.
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh run
cmake --preset release >/dev/null
cmake --build --preset release --target kovaldi
exec build/release/kovaldi
