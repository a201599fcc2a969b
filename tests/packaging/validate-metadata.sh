#!/bin/sh
# The menu entry and the AppStream metadata as the desktop's own tools read them:
# any error, warning, hint or remark fails. Skipped (77) where the tools are missing.
#   validate-metadata.sh PACKAGING_FOLDER
set -u
for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (apt-get install desktop-file-utils appstream)"
        exit 77
    fi
done
status=0
for entry in "$1"/*.desktop; do
    said=$(desktop-file-validate "$entry" 2>&1) || status=1
    [ -z "$said" ] || { echo "$said"; status=1; }
done
said=$(appstreamcli validate --no-net --pedantic "$1"/*.metainfo.xml 2>&1) || status=1
echo "$said"
# Each remark is a line "E:", "W:", "I:" or "P:" even where the tool does not fail.
if printf '%s\n' "$said" | grep -q '^[A-Z]: '; then
    status=1
fi
exit $status
