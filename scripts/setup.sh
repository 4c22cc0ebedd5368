#!/usr/bin/env bash
# Installs what the build, the program and the tests need (Debian 12, as root),
# then configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config git python3
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins libgl-dev libfontconfig-dev
  libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev libfluidsynth3 timgm6mb-soundfont fluid-soundfont-gm
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick poppler-utils libx11-dev libxtst-dev
  dpkg-dev lintian appstream desktop-file-utils
  fonts-dejavu-core fonts-liberation2 fonts-urw-base35
  fonts-ebgaramond fonts-sil-andika fonts-roboto-unhinted
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPYATNUSHKI_WERROR=ON
cmake --build build -j"$(nproc)"
