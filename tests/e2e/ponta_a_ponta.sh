#!/usr/bin/env bash
# Runs every end-to-end case (the functions caso_* of tests/e2e/casos/*.sh) against the built
# program, each in a folder of its own, on one X server.
# Usage: ponta_a_ponta.sh FAZELAS CRIAR_BANCO [CASE...]
set -uo pipefail
aqui=$(cd "$(dirname "$0")" && pwd)
export FAZELAS=$1 CRIAR_BANCO=$2
shift 2
source "$aqui/comum.sh"
for f in "$aqui"/casos/*.sh; do source "$f"; done

iniciar_x || { parar_x; exit 1; }
trap 'parar_programa; parar_x' EXIT

casos=("$@")
[ ${#casos[@]} -gt 0 ] || mapfile -t casos < <(declare -F | awk '{print $3}' | grep '^caso_' | sort)
passou=0; falhou=0
for caso in "${casos[@]}"; do
  preparar_pasta
  # Not an `if` condition: errexit would be off inside the case.
  ( set -e; trap parar_programa EXIT; "$caso" )
  if [ $? -eq 0 ]; then
    echo "PASS $caso"; passou=$((passou + 1))
  else
    echo "FAIL $caso (log: $E2E_PASTA/saida.log)"; falhou=$((falhou + 1))
  fi
  parar_programa
  pkill -f "$E2E_PASTA/fazelas" 2>/dev/null || true
done
echo "Screenshots: $E2E_TMP"
echo "$passou passed, $falhou failed"
[ "$falhou" -eq 0 ]
