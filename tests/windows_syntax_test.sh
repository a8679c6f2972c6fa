#!/bin/sh
# Compiles every listed source for Windows with -fsyntax-only, so that a Windows branch that
# cannot compile fails here. The folder holds flags.rsp (the compiler's flags), moc.rsp
# (moc's options for Windows) and sources.txt (a source a line); a source that includes its
# own moc file gets one made for Windows in <folder>/moc first.
#   windows_syntax_test.sh <MinGW-w64 g++> <folder> <moc>
set -eu
cxx=$1
folder=$2
moc=$3
if ! command -v "$cxx" >/dev/null 2>&1; then
    echo "$cxx is missing: install g++-mingw-w64-x86-64 (sh tools/deps.sh test)"
    exit 1
fi
mkdir -p "$folder/moc"
while IFS= read -r source; do
    name=$(basename "$source" .cpp)
    if grep -q "^#include \"$name.moc\"" "$source"; then
        "$moc" @"$folder/moc.rsp" "$source" -o "$folder/moc/$name.moc"
    fi
done <"$folder/sources.txt"
count=$(grep -c . "$folder/sources.txt")
if xargs -P "$(nproc 2>/dev/null || echo 2)" -I{} "$cxx" @"$folder/flags.rsp" -fsyntax-only {} \
    <"$folder/sources.txt"; then
    echo "$count sources compile for Windows"
else
    echo "a source does not compile for Windows (of $count)"
    exit 1
fi
