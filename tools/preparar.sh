#!/usr/bin/env bash
# Installs the Debian packages Fazelas needs and builds it in ./build (or $FAZELAS_BUILD).
# Used by both commands of the README.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${FAZELAS_BUILD:-$raiz/build}
bash "$raiz/tools/instalar_pacotes.sh"
cmake -S "$raiz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${FAZELAS_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
