#!/usr/bin/env bash
# Runs end-to-end cases (by default the drag with each button) under the window managers of the
# desktops Debian users run, each on an X server and a session bus of its own.
# Usage: tools/experimentar_desktops.sh [mutter|openbox|kwin_x11|xfwm4|icewm ...]
# FAZELAS_BUILD: the build folder (./build); E2E_CASOS: the cases; E2E_TELA: the first display tried.
set -uo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${FAZELAS_BUILD:-$raiz/build}
declare -A comando=(
  [mutter]="mutter --x11 --replace" # GNOME's, X11 session
  [openbox]="openbox"
  [kwin_x11]="kwin_x11 --replace" # KDE's
  [xfwm4]="xfwm4 --replace" # Xfce's
  [icewm]="icewm"
)
[ $# -gt 0 ] || set -- mutter openbox kwin_x11 xfwm4 icewm
falhas=0
for g in "$@"; do
  if [ -z "${comando[$g]:-}" ] || ! command -v "$g" >/dev/null; then
    echo "$g: unknown or not installed"; falhas=$((falhas + 1)); continue
  fi
  registro=$(mktemp "/tmp/fazelas-$g.XXXX.log")
  # kwin is a Qt program too: on the X server, not on a Wayland session the caller may be in.
  if E2E_GERENCIADOR=${comando[$g]} QT_QPA_PLATFORM=xcb dbus-run-session -- bash "$raiz/tests/e2e/ponta_a_ponta.sh" \
    "$build/fazelas" "$build/tools/fazelas-criar-banco" ${E2E_CASOS:-caso_janela_arrasto} >"$registro" 2>&1; then
    echo "$g: $(grep -E '^[0-9]+ passed' "$registro")"
  else
    echo "$g: FAILED (log: $registro)"; grep -E '^(FALHA|FAIL)' "$registro"; falhas=$((falhas + 1))
  fi
done
[ "$falhas" -eq 0 ]
