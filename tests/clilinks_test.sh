#!/bin/sh
# kovaldi-cli stands on Qt Core alone: no Gui or Widgets library among what it links.
#   clilinks_test.sh <kovaldi-cli>
set -eu
needed=$(readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
echo "$needed"
printf '%s\n' "$needed" | grep -q '^libQt6Core\.so' || { echo "MISSING libQt6Core"; exit 1; }
if printf '%s\n' "$needed" | grep -E '^libQt6(Gui|Widgets|OpenGL)'; then
    echo "UNEXPECTED: the command-line program links a window toolkit library"
    exit 1
fi
