#!/bin/sh
# Installs the build into a scratch prefix and packs it with CPack; checks
# that both hold the programs, the shipped data, the menu entries and the
# manual page, and that the package declares its library dependencies.
set -eu
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$work/prefix" > "$work/install.log"
for file in bin/salvor-cli share/salvor/Signature share/applications/salvor.desktop \
            share/applications/trawler.desktop share/icons/hicolor/scalable/apps/salvor.svg \
            share/metainfo/io.github.salvor_recovery.Salvor.metainfo.xml \
            share/man/man1/salvor-cli.1; do
  [ -f "$work/prefix/$file" ] || fail "install tree lacks $file"
done
for program in salvor trawler; do
  if [ -x "$build/bin/$program" ]; then
    [ -x "$work/prefix/bin/$program" ] || fail "install tree lacks bin/$program"
  fi
done
grep -q '^NoDisplay=true' "$work/prefix/share/applications/trawler.desktop" ||
  fail "trawler must stay out of the menus"
grep -q 'salvor-cli' "$work/prefix/share/man/man1/salvor-cli.1" || fail "empty manual page"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" > cpack.log 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/*.deb)
dpkg-deb -c "$deb" > "$work/contents"
for file in ./usr/bin/salvor-cli ./usr/share/salvor/Signature ./usr/share/applications/salvor.desktop \
            ./usr/share/man/man1/salvor-cli.1; do
  grep -q " $file\$" "$work/contents" || fail "package lacks $file"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | grep -q 'libc6' || fail "package declares no library dependencies: '$depends'"
echo "packaging: $(basename "$deb"), $(wc -l < "$work/contents") entries, Depends: $depends"
