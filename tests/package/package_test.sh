#!/usr/bin/env bash
# The Debian package as a family gets it: made by cpack from the build, checked by
# lintian (no error) and by the AppStream and desktop-entry validators, unpacked
# into a scratch root, and started from there far enough to show the welcome
# window. The package stays light (installed size at most 60 MB, no starting
# gallery), and the first start writes no picture into the user's own folder.
# Usage: package_test.sh BUILD_DIR
set -uo pipefail

build=$(realpath "${1:?usage: package_test.sh BUILD_DIR}")
bin=$build/pyatnushki/pyatnushki
source "$(dirname "$0")/../e2e/lib.sh"

for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (run scripts/setup.sh)"; exit 1; }
done

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; echo "FAIL: cpack could not make the package"; exit 1; }
deb=$(ls "$work"/package/pyatnushki_*.deb 2>/dev/null | head -n 1)
[[ -f $deb ]] || { cat "$work/cpack.log"; echo "FAIL: no .deb was made"; exit 1; }
echo "package: $(basename "$deb"), $(du -h "$deb" | cut -f1)"
depends=$(dpkg-deb --field "$deb" Depends)
echo "depends: $depends"
for needed in libqt6widgets6 libsdl2-mixer fonts-liberation2 timgm6mb-soundfont; do
    [[ $depends == *"$needed"* ]] || fail "the package does not depend on $needed"
done

if command -v lintian >/dev/null; then
    lintian --fail-on error,warning --no-tag-display-limit "$deb" | tee "$work/lintian.log"
    ((PIPESTATUS[0] == 0)) || fail "lintian reports errors or warnings"
fi

installed_kb=$(dpkg-deb --field "$deb" Installed-Size)
echo "installed size: $installed_kb KB"
((installed_kb <= 60 * 1024)) || fail "the package installs $installed_kb KB, more than 60 MB"

root=$work/root
dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x"; exit 1; }
for file in usr/bin/pyatnushki usr/share/pyatnushki/data/\ 1.mac usr/share/pyatnushki/kn.wav \
    usr/share/pyatnushki/LICENSES.md usr/share/doc/pyatnushki/copyright \
    usr/share/applications/ru.pyatnushki.pyatnushki.desktop usr/share/metainfo/ru.pyatnushki.pyatnushki.metainfo.xml \
    usr/share/icons/hicolor/256x256/apps/pyatnushki.png; do
    [[ -f $root/$file ]] || fail "the package lacks /$file"
done
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.xml || fail "the AppStream file does not validate"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "the desktop entry does not validate"
fi

width=1280 height=1024
start_xvfb || exit 1
DISPLAY=$display QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy LANG=C.UTF-8 XDG_RUNTIME_DIR=$work \
    XDG_DATA_HOME=$work/user-data "$root/usr/bin/pyatnushki" >"$work/app.log" 2>&1 &
app_pid=$!
wait_colour "welcome window of the installed program" 30 1168 461 "0 0 255" || exit 1
starting=$(find "$root/usr/share/pyatnushki/data" -name 'gl*' | wc -l)
((starting == 0)) || fail "the package holds $starting starting gallery files, which are made when needed"
slots=$(find "$work/user-data/pyatnushki" -name '*.mac' 2>/dev/null | wc -l)
((slots == 0)) || fail "the first start wrote $slots pictures into the user's folder, which holds only what the child saves"

((failed)) && { echo "package: FAILED"; exit 1; }
echo "package: passed"
