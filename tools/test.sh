#!/bin/sh
# Installs what is missing, builds everything (incrementally) and runs every test headless,
# twice: in the normal build, then in a Clang build under AddressSanitizer (with leak
# detection) and UndefinedBehaviorSanitizer, where any report fails the test that made it.
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh test
cmake --preset test >/dev/null
cmake --build --preset test
ctest --preset test "$@"

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize "$@"
