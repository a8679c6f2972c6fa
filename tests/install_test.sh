#!/bin/sh
# Installs into a temporary prefix, checks the tree and validates the desktop entry and
# the metainfo.   install_test.sh <build folder> <application id>
set -eu
build=$1
id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
expect() {
    if [ -e "$prefix/$1" ]; then echo "ok      $1"; else echo "MISSING $1"; status=1; fi
}
expect bin/kovaldi
expect share/applications/$id.desktop
expect share/metainfo/$id.metainfo.xml
expect share/icons/hicolor/scalable/apps/$id.svg
for size in 16 32 48 64 128 256; do
    expect share/icons/hicolor/${size}x${size}/apps/$id.png
done
expect share/doc/kovaldi/copyright

# Nothing else is installed: no tests, no tools.
extra=$(cd "$prefix" && find . -type f | grep -v -E "^\./(bin/kovaldi|share/(applications|metainfo|icons/hicolor|doc/kovaldi)/)" || true)
if [ -n "$extra" ]; then echo "UNEXPECTED $extra"; status=1; fi

desktop-file-validate "$prefix/share/applications/$id.desktop" || status=1
appstreamcli validate --no-net --explain "$prefix/share/metainfo/$id.metainfo.xml" || status=1
grep -q "^Icon=$id\$" "$prefix/share/applications/$id.desktop" || { echo "icon name differs"; status=1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" ||
    { echo "launchable differs"; status=1; }
exit $status
