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
expect bin/kovaldi-cli
expect share/applications/$id.desktop
expect share/metainfo/$id.metainfo.xml
expect share/icons/hicolor/scalable/apps/$id.svg
for size in 16 32 48 64 128 256; do
    expect share/icons/hicolor/${size}x${size}/apps/$id.png
done
expect share/doc/kovaldi/copyright
expect share/doc/kovaldi/changelog.gz
expect share/lintian/overrides/kovaldi
expect share/man/man1/kovaldi.1.gz
expect share/man/man1/kovaldi-cli.1.gz
expect share/kovaldi/translations/kovaldi-cli_ja.qm
expect share/kovaldi/translations/kovaldi_ja.qm
expect share/kio/servicemenus/$id.desktop
expect share/nemo/actions/kovaldi-folder.nemo_action
expect share/nemo/actions/kovaldi-here.nemo_action
expect share/file-manager/actions/$id.desktop
expect share/bash-completion/completions/kovaldi-cli
expect share/kovaldi/screenshots/mainwindow.png
expect share/kovaldi/screenshots/aboutwindow.png

# Nothing else is installed: no tests, no tools.
extra=$(cd "$prefix" && find . -type f | grep -v -E "^\./(bin/kovaldi(-cli)?$|share/(applications|metainfo|icons/hicolor|doc/kovaldi|kovaldi/(screenshots|translations)|kio/servicemenus|nemo/actions|file-manager/actions)/|share/lintian/overrides/kovaldi$|share/man/man1/kovaldi(-cli)?\.1\.gz$|share/bash-completion/completions/kovaldi-cli$)" || true)
if [ -n "$extra" ]; then echo "UNEXPECTED $extra"; status=1; fi

desktop-file-validate "$prefix/share/applications/$id.desktop" || status=1
appstreamcli validate --no-net --explain "$prefix/share/metainfo/$id.metainfo.xml" || status=1
grep -q "^Icon=$id\$" "$prefix/share/applications/$id.desktop" || { echo "icon name differs"; status=1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" ||
    { echo "launchable differs"; status=1; }
grep -q "^StartupWMClass=$id\$" "$prefix/share/applications/$id.desktop" ||
    { echo "window class differs"; status=1; }

# Every screenshot the metainfo names by web address is one of the installed files, at the
# size the metainfo gives, so that the packager can publish exactly those.
images=$(grep -o '<image [^>]*>[^<]*</image>' "$prefix/share/metainfo/$id.metainfo.xml" || true)
[ -n "$images" ] || { echo "MISSING screenshots in the metainfo"; status=1; }
for image in $(printf '%s\n' "$images" | sed -E 's#.*width="([0-9]+)" height="([0-9]+)">[^<]*/([^/<]+)</image>#\3:\1x\2#'); do
    file=$prefix/share/kovaldi/screenshots/${image%%:*}
    size=$(file -b "$file" 2>/dev/null | sed -n -E 's/^PNG image data, ([0-9]+) x ([0-9]+),.*/\1x\2/p')
    if [ "$size" = "${image#*:}" ]; then echo "ok      screenshot $image"; else
        echo "MISMATCH screenshot $image: installed ${size:-nothing}"; status=1; fi
done

# The manual pages read without a warning from the formatter.
for page in kovaldi kovaldi-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l \
        "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then echo "manual page $page: $warnings"; status=1; fi
    LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$prefix/share/man/man1/$page.1.gz" 2>/dev/null |
        grep -q -E "^ *$page +- " || { echo "manual page $page: no NAME line"; status=1; }
done

# The installed command-line program finds its installed Japanese messages.
message=$(LC_ALL=ja_JP.UTF-8 "$prefix/bin/kovaldi-cli" "$prefix/missing" 2>&1 || true)
case $message in
*指定したパスが見つかりません*) echo "ok      Japanese messages installed" ;;
*) echo "NOT JAPANESE: $message"; status=1 ;;
esac

# bash-completion loads the completion by the command's name and offers the options.
completion=$(bash -c '. /usr/share/bash-completion/bash_completion &&
    . "$1" && COMP_WORDS=(kovaldi-cli --from) && COMP_CWORD=1 && COMP_LINE="kovaldi-cli --from" &&
    COMP_POINT=${#COMP_LINE} && _kovaldi_cli kovaldi-cli --from kovaldi-cli && echo "${COMPREPLY[*]}"' \
    sh "$prefix/share/bash-completion/completions/kovaldi-cli" 2>&1)
if [ "$completion" = "--from-settings --from-list" ]; then echo "ok      bash completion"; else
    echo "bash completion: $completion"; status=1; fi
exit $status
