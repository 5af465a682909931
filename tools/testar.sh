#!/usr/bin/env bash
# Sets everything up and runs every test.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${FAZELAS_BUILD:-$raiz/build}
bash "$raiz/tools/preparar.sh"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
