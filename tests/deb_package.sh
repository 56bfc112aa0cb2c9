#!/usr/bin/env bash
# The Debian package: CPack builds it from the build tree given as $1; it holds
# the installed tree under /usr, names its library dependencies, carries the
# metainfo's version, and its launcher works from wherever it is unpacked.
set -u
build=$1
app_id=io.github.vaultwick.Vaultwick
tmp=$(mktemp -d /tmp/vw-deb-XXXXXX)
fail() {
  echo "FAIL: $*"
  rm -rf "$tmp"
  exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/cpack.txt" 2>&1 || fail "cpack: $(cat "$tmp/cpack.txt")"
deb=$(ls "$tmp"/vaultwick_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "no package in $tmp"

version=$(grep -o '<release version="[^"]*"' "$(dirname "$0")/../dist/$app_id.metainfo.xml" | head -n1 | cut -d'"' -f2)
[ "$(dpkg-deb -f "$deb" Package)" = vaultwick ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version), want $version"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libglfw3 libopenal1 libc6; do
  echo "$depends" | grep -q "$lib" || fail "no dependency on $lib: $depends"
done
echo "ok: vaultwick $version with its library dependencies"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/vaultwick ./usr/libexec/vaultwick/vaultwick ./usr/share/vaultwick/data/velk_font.png \
  ./usr/share/applications/$app_id.desktop ./usr/share/metainfo/$app_id.metainfo.xml \
  ./usr/share/icons/hicolor/256x256/apps/$app_id.png ./usr/share/icons/hicolor/16x16/apps/$app_id.png; do
  echo "$contents" | grep -qx "$path" || fail "the package lacks $path"
done
echo "ok: the package holds the program, launcher, data, desktop entry, metainfo and icons under /usr"

# Unpacked anywhere, the launcher still finds the program and the data; with
# no display the game itself reports that it cannot start.
dpkg-deb -x "$deb" "$tmp/root" || fail "cannot unpack"
out=$(env -u DISPLAY XDG_DATA_HOME="$tmp/xdg" "$tmp/root/usr/bin/vaultwick" 2>&1); status=$?
[ "$status" -eq 255 ] && [ "$out" = "glfwInit failed" ] || fail "unpacked launcher: status $status, '$out'"
[ "$(readlink -f "$tmp/xdg/vaultwick/data")" = "$(readlink -f "$tmp/root/usr/share/vaultwick/data")" ] ||
  fail "unpacked launcher: no link to the unpacked data"
echo "ok: the unpacked launcher runs the unpacked program"

rm -rf "$tmp"
echo "3 passed, 0 failed"
