#!/bin/sh
# Installs what is missing, builds everything (incrementally) and runs every test headless,
# twice: in the normal build, then in a Clang build under AddressSanitizer (with leak
# detection) and UndefinedBehaviorSanitizer, where any report fails the test that made it.
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh test
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test
QT_QPA_PLATFORM=offscreen ctest --test-dir build/test --output-on-failure "$@"

cmake --preset sanitize >/dev/null
cmake --build build/sanitize
ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1 \
LSAN_OPTIONS="suppressions=$(pwd)/tools/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
QT_QPA_PLATFORM=offscreen ctest --test-dir build/sanitize --output-on-failure "$@"
