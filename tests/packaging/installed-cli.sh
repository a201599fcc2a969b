#!/bin/sh
# Installs the command-line companion alone under a new prefix and plays a song
# with it: the installed program must find its player module.
#   installed-cli.sh CMAKE BUILD_FOLDER SONG.mp3
set -eu
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$1" --install "$2" --component cli --prefix "$prefix" >/dev/null
out=$("$prefix/bin/sonivo-cli" play --output null "$3")
echo "$out"
[ "$(printf '%s\n' "$out" | cut -f1)" = "$3" ]
