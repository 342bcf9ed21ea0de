#!/usr/bin/env bash
# Installs a finished build into a temporary prefix and checks what a user or a packager gets:
# the installed programs run from there and answer --version, the desktop entry, the AppStream
# metainfo and the file type entry pass their validators, both manual pages render without a
# warning, nothing installed names the build folder, and the Debian package holds the files
# with the dependencies dpkg-shlibdeps found.
# Usage: tests/install/check-install.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
id=io.github.korvane.Korvane
fail() { echo "check-install: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for program in korvane korvane-cli; do
  [ -x "$prefix/bin/$program" ] || fail "$program is not installed"
  answer=$("$prefix/bin/$program" --version)
  [ "$answer" = "$program $version" ] || fail "$program --version says \"$answer\""
done
"$prefix/bin/korvane-cli" demo "$work/demo.nes" >/dev/null
[ "$(stat -c %s "$work/demo.nes")" = 393232 ] || fail "the installed korvane-cli made no demo"
"$prefix/bin/korvane-cli" info "$work/demo.nes" >/dev/null

expected=(
  bin/korvane bin/korvane-cli
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
  "share/mime/packages/$id.xml"
  share/man/man1/korvane.1.gz share/man/man1/korvane-cli.1.gz
)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
if grep -rlF "$build" "$prefix" >/dev/null; then
  fail "installed files name the build folder: $(grep -rlF "$build" "$prefix" | tr '\n' ' ')"
fi

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null
xmllint --noout "$prefix/share/mime/packages/$id.xml"
# The file type database takes the entry, and a .nes file is of that type.
XDG_DATA_DIRS="$prefix/share:/usr/share" update-mime-database "$prefix/share/mime"
grep -q 'application/x-nes-rom' "$prefix/share/mime/globs2" || fail "no *.nes glob"
for page in korvane korvane-cli; do
  warnings=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
  MANWIDTH=80 man -l "$prefix/share/man/man1/$page.1.gz" 2>/dev/null | grep -q -- '--version' ||
    fail "man $page does not show --version"
done

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/package/korvane_"$version"_*.deb)
info=$(dpkg-deb --info "$deb")
depends=$(printf '%s\n' "$info" | sed -n 's/^ Depends: //p')
for library in libqt6widgets6 libqt6gui6 libqt6core6 zlib1g libc6; do
  printf '%s' "$depends" | grep -q "$library" || fail "the package does not depend on $library: $depends"
done
contents=$(dpkg-deb --contents "$deb")
for file in "${expected[@]}"; do
  printf '%s\n' "$contents" | grep -q " \./usr/$file\$" || fail "the package lacks /usr/$file"
done
echo "installed and packaged: $(basename "$deb")"
