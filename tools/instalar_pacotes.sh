#!/usr/bin/env bash
# Installs the Debian packages Fazelas is built and tested with, and any others named, that are not
# installed yet (with sudo when not run as root). Used by tools/preparar.sh and tools/empacotar.sh.
set -euo pipefail
pacotes=(
  build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libsqlite3-dev sqlite3
  libgl-dev libxcb1-dev libxcb-shape0-dev libxcb-xfixes0-dev libxcb-damage0-dev libbenchmark-dev fonts-liberation2 fonts-dejavu-core
  strace # the companion command's test watches its calls
  qt6-translations-l10n # the toolkit's own texts in Portuguese, embedded in the program
  # the end-to-end tests: a real X server, a window manager with a notification area, and tools to drive it
  xvfb icewm xdotool x11-utils x11-apps x11-xkb-utils x11-xserver-utils xclip imagemagick dbus dbus-x11 procps
  desktop-file-utils appstream # to check the desktop entry and the software centres' metadata
  at-spi2-core python3-pyatspi # to read the board as a screen reader does
  "$@"
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
