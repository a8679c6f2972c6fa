#!/bin/sh
# Builds the Debian package and checks its files and relations.
#   package_test.sh <build folder> <application id>
set -eu
build=$1
id=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
info=$(dpkg-deb --info "$deb")
contents=$(dpkg-deb --contents "$deb")
echo "$info"
echo "$contents"

status=0
has() {
    if printf '%s\n' "$1" | grep -q -E "$2"; then echo "ok      $2"; else echo "MISSING $2"; status=1; fi
}
has "$info" '^ Package: kovaldi$'
has "$info" '^ Version: 1\.0\.0$'
has "$info" '^ Depends: .*libqt6widgets6'
has "$info" '^ Depends: .*fonts-ipafont-gothic \| fonts-noto-cjk \| fonts-japanese-gothic'
has "$info" '^ Depends: .*qt6-translations-l10n'
has "$info" '^ Suggests: xdg-utils, caja-actions$'
has "$info" '^ Recommends: qt6-wayland$'
has "$contents" '\./usr/bin/kovaldi$'
has "$contents" "\./usr/share/applications/$id\.desktop$"
has "$contents" "\./usr/share/metainfo/$id\.metainfo\.xml$"
has "$contents" "\./usr/share/icons/hicolor/scalable/apps/$id\.svg$"
has "$contents" "\./usr/share/icons/hicolor/256x256/apps/$id\.png$"
has "$contents" '\./usr/share/man/man1/kovaldi\.1\.gz$'
has "$contents" '\./usr/share/kovaldi/screenshots/mainwindow\.png$'
has "$contents" '\./usr/bin/kovaldi-cli$'
has "$contents" '\./usr/share/man/man1/kovaldi-cli\.1\.gz$'
has "$contents" '\./usr/share/kovaldi/translations/kovaldi-cli_ja\.qm$'
has "$contents" '\./usr/share/bash-completion/completions/kovaldi-cli$'
has "$contents" "^-rwxr-xr-x .*\./usr/share/kio/servicemenus/$id\.desktop$"
has "$contents" '\./usr/share/nemo/actions/kovaldi-here\.nemo_action$'
has "$contents" "\./usr/share/file-manager/actions/$id\.desktop$"
has "$contents" '\./usr/share/doc/kovaldi/changelog\.gz$'

# Lintian, where it is installed, finds neither an error nor a warning.
if command -v lintian >/dev/null; then
    lintian --pedantic --info --fail-on error,warning "$deb" || { echo "LINTIAN complains"; status=1; }
else
    echo "lintian is not installed: not run"
fi
exit $status
