#!/usr/bin/env bash
# Builds the release tree, installs it into a temporary prefix, makes both Debian packages
# with cpack and checks what users get: the programs run from the prefix; each package holds
# its files; the dependencies come from dpkg-shlibdeps and the server's hold no desktop
# library; the desktop entry, the AppStream data, the manual pages and the service pass their
# validators; lintian reports no error. Exits non-zero at the first fault.
#   tools/checkpackage.sh [BUILD_DIR]        (default build-rel; the .deb files stay there)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-rel}
version=$(sed -n 's/^project(Zorbela VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "checkpackage: $*" >&2; exit 1; }

echo "-- release tree ($build), install into a temporary prefix, cpack -G DEB"
# cpack reads the configuration that this configure run writes, never one left from before.
rm -f "$build/CPackConfig.cmake" "$build/CPackSourceConfig.cmake"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORBELA_TESTS=OFF -DZORBELA_BENCH=OFF \
  -DZORBELA_INSTALL_BINDIR=games -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DZORBELA_WEB_URL="${ZORBELA_WEB_URL:-}" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target zorbela zorbela-dealer zorbela_docs
cmake --install "$build" --prefix "$work/prefix/usr" >/dev/null
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)

echo "-- the programs from the prefix"
got=$(QT_QPA_PLATFORM=offscreen "$work/prefix/usr/games/zorbela" --version)
[ "$got" = "Zorbela $version" ] || fail "zorbela --version said '$got'"
"$work/prefix/usr/games/zorbela-dealer" --help | grep -q -- "--lasthand-folder" || fail "zorbela-dealer --help"

game="$build/zorbela_${version}_${arch}.deb"
server="$build/zorbela-dealer_${version}_${arch}.deb"
for deb in "$game" "$server"; do
  [ -f "$deb" ] || fail "cpack made no $(basename "$deb")"
  dpkg-deb -x "$deb" "$work/root"
done

echo "-- contents"
expect() { # package, then the paths it must hold
  local deb=$1; shift
  local list; list=$(dpkg-deb -c "$deb" | awk '{print $6}')
  for path in "$@"; do
    grep -qx "./$path" <<<"$list" || fail "$(basename "$deb") lacks /$path"
  done
}
icons=()
for size in 16 22 24 32 48 64 128 256; do icons+=("usr/share/icons/hicolor/${size}x${size}/apps/zorbela.png"); done
expect "$game" usr/games/zorbela usr/share/applications/zorbela.desktop "${icons[@]}" \
  usr/share/metainfo/org.zorbela.Zorbela.metainfo.xml usr/share/man/man6/zorbela.6.gz \
  usr/share/doc/zorbela/copyright usr/share/doc/zorbela/changelog.gz
expect "$server" usr/games/zorbela-dealer usr/share/man/man6/zorbela-dealer.6.gz \
  usr/lib/systemd/system/zorbela-dealer.service \
  usr/share/doc/zorbela-dealer/copyright usr/share/doc/zorbela-dealer/changelog.gz
if dpkg-deb -c "$server" | grep -q "usr/games/zorbela$"; then fail "the server package holds the game"; fi

echo "-- dependencies"
game_depends=$(dpkg-deb -f "$game" Depends)
server_depends=$(dpkg-deb -f "$server" Depends)
echo "zorbela: $game_depends"
echo "zorbela-dealer: $server_depends"
# Library packages in the Depends line are dpkg-shlibdeps' work: CPack names none by hand.
grep -q "libqt6widgets6" <<<"$game_depends" || fail "zorbela's dependencies do not come from dpkg-shlibdeps"
grep -q "zorbela-dealer (= $version)" <<<"$game_depends" || fail "zorbela does not depend on zorbela-dealer"
grep -q "libqt6network6" <<<"$server_depends" || fail "zorbela-dealer's dependencies do not come from dpkg-shlibdeps"
if grep -Eqi "libqt6(widgets|gui|multimedia|opengl)" <<<"$server_depends"; then
  fail "zorbela-dealer depends on a desktop library"
fi

echo "-- validators"
desktop-file-validate "$work/root/usr/share/applications/zorbela.desktop"
metainfo="$work/root/usr/share/metainfo/org.zorbela.Zorbela.metainfo.xml"
appstreamcli validate --no-net "$metainfo"
if [ -n "${ZORBELA_WEB_URL:-}" ]; then
  grep -q ">$ZORBELA_WEB_URL/resources/screenshots/table.png<" "$metainfo" || fail "the AppStream data does not name the screenshots below $ZORBELA_WEB_URL"
elif grep -q "<screenshots>" "$metainfo"; then
  fail "the AppStream data names screenshots though no ZORBELA_WEB_URL is set"
fi
for page in zorbela zorbela-dealer; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$work/root/usr/share/man/man6/$page.6.gz" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "man page $page.6: $warnings"
done
unit="$work/root/usr/lib/systemd/system/zorbela-dealer.service"
grep -q "^ExecStart=/usr/games/zorbela-dealer " "$unit" || fail "the service does not start /usr/games/zorbela-dealer"
if command -v systemd-analyze >/dev/null; then
  # verify wants the program where the unit names it: check a copy that names the extracted one.
  sed "s#^ExecStart=/usr/games/#ExecStart=$work/root/usr/games/#" "$unit" >"$work/zorbela-dealer.service"
  SYSTEMD_LOG_LEVEL=warning systemd-analyze verify --man=no "$work/zorbela-dealer.service"
  systemd-analyze security --offline=yes --threshold=25 "$unit" | tail -1
else
  echo "systemd-analyze is not installed: the service is not verified"
fi

echo "-- lintian"
lintian --fail-on error --tag-display-limit 0 "$game" "$server"
echo "checkpackage: both packages pass"
