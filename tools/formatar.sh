#!/usr/bin/env bash
# Formats the C++ sources of the tree with clang-format (.clang-format), or with --conferir only
# says which are not formatted and fails.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
cd "$raiz"
command -v clang-format >/dev/null || bash tools/instalar_pacotes.sh clang-format
mapfile -t fontes < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --conferir ]; then
  clang-format --dry-run --Werror "${fontes[@]}"
else
  clang-format -i "${fontes[@]}"
fi
