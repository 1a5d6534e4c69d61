#!/bin/sh
# The tree `cmake --install` makes, moved elsewhere, runs `pattern` from a
# directory without PSE.DAT: the program finds its data in ../share/isoquill.
# Its output is the build folder's, where PSE.DAT lies in the current directory.
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/installed" >/dev/null
mv "$root/installed" "$root/moved"
for file in bin/isoquill-cli share/isoquill/PSE.DAT share/applications/isoquill.desktop \
            share/icons/hicolor/scalable/apps/isoquill.svg; do
  test -f "$root/moved/$file" || { echo "not installed: $file"; exit 1; }
done
mkdir "$root/work"
cd "$root/work"
installed=$("$root/moved/bin/isoquill-cli" pattern C6H12O6 Br2)
expected=$(cd "$build" && ./isoquill-cli pattern C6H12O6 Br2)
if [ "$installed" != "$expected" ]; then
  printf 'installed tree gave:\n%s\nbuild folder gave:\n%s\n' "$installed" "$expected"
  exit 1
fi
# Without the data folder the message names both places.
rm -r "$root/moved/share/isoquill"
if "$root/moved/bin/isoquill-cli" pattern C6H12O6 2>"$root/err"; then echo "ran without element data"; exit 1; fi
grep -qF "Datei nicht gefunden: $root/work/PSE.DAT, $root/moved/share/isoquill/PSE.DAT" "$root/err" ||
  { cat "$root/err"; exit 1; }
