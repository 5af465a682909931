#!/usr/bin/env bash
# Installs the Debian packages Fazelas needs and builds it in ./build (or $FAZELAS_BUILD), with the
# configuration CMakePresets.json calls "normal" (or $FAZELAS_PRESET: CI's is "ci").
# Used by both commands of the README.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${FAZELAS_BUILD:-$raiz/build}
bash "$raiz/tools/instalar_pacotes.sh"
(cd "$raiz" && cmake --preset "${FAZELAS_PRESET:-normal}" -B "$build" ${FAZELAS_CMAKE_ARGS:-} >/dev/null)
cmake --build "$build" -j"$(nproc)"
