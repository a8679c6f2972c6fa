#!/bin/sh
# Installs what is missing, builds Kovaldi in Release (incrementally) and starts it.
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target kovaldi
exec build/release/kovaldi
