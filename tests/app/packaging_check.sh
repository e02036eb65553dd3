#!/bin/sh
# Installs the build into a temporary prefix and validates the installed desktop entry and
# AppStream metadata, and checks that the program and every icon size are in place.
# Arguments: the build folder.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
test -x "$prefix/bin/vantrel"
desktop-file-validate "$prefix/share/applications/org.vantrel.Vantrel.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.vantrel.Vantrel.metainfo.xml"
test -f "$prefix/share/icons/hicolor/scalable/apps/org.vantrel.Vantrel.svg"
for size in 16 24 32 48 64 128 256 512; do
  test -f "$prefix/share/icons/hicolor/${size}x${size}/apps/org.vantrel.Vantrel.png"
done
echo "packaging: installed files valid"
