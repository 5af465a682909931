#!/usr/bin/env bash
# Installs the Debian packages Fazelas needs and builds it in ./build (or $FAZELAS_BUILD).
# Used by both commands of the README.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${FAZELAS_BUILD:-$raiz/build}

pacotes=(
  build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libsqlite3-dev sqlite3
  libgl-dev libxcb1-dev libxcb-shape0-dev libxcb-damage0-dev libbenchmark-dev fonts-liberation2 fonts-dejavu-core
  qt6-translations-l10n # the toolkit's own texts in Portuguese, embedded in the program
  # the end-to-end tests: a real X server, a window manager with a notification area, and tools to drive it
  xvfb icewm xdotool x11-utils x11-apps x11-xkb-utils xclip imagemagick dbus dbus-x11 procps
)
faltam=()
for p in "${pacotes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltam+=("$p")
done
if [ ${#faltam[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${faltam[@]}"
fi

cmake -S "$raiz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${FAZELAS_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
