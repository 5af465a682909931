#!/usr/bin/env bash
# Sets everything up and starts the board on the database beside the program.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${FAZELAS_BUILD:-$raiz/build}
bash "$raiz/tools/preparar.sh"
exec "$build/fazelas"
