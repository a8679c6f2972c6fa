#!/bin/sh
# Installs what is missing, builds everything (incrementally) and runs every test headless.
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh test
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test
QT_QPA_PLATFORM=offscreen ctest --test-dir build/test --output-on-failure "$@"
