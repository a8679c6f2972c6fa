#!/bin/sh
# Installs the Debian packages that are missing, and nothing else.
#   tools/deps.sh run    what building and starting Kovaldi needs
#   tools/deps.sh test   that, plus what the headless tests need
set -eu

run_packages="g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
fonts-ipafont-gothic qt6-tools-dev qt6-l10n-tools"
test_packages="xvfb xauth x11-utils man-db librsvg2-bin desktop-file-utils appstream dpkg-dev
file clang libclang-rt-14-dev g++-mingw-w64-x86-64 dbus-daemon at-spi2-core python3-pyatspi
bash-completion lintian"

case "${1:-run}" in
run) wanted=$run_packages ;;
test) wanted="$run_packages $test_packages" ;;
*) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=""
for package in $wanted; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
    *" installed") ;;
    *) missing="$missing $package" ;;
    esac
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Installing:$missing (needs root)" >&2
    exec sudo "$0" "$@"
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing
