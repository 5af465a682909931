#!/usr/bin/env bash
# CPU time the program spends while the message panel waits for an answer, side by side with the
# idle board as the baseline. Runs the real program on its own X server, as the end-to-end tests do.
# Usage: tools/medir_espera.sh FAZELAS CRIAR_BANCO [SECONDS]
set -uo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
export FAZELAS=$1 CRIAR_BANCO=$2
segundos=${3:-5}
source "$raiz/tests/e2e/comum.sh"
source "$raiz/tests/e2e/casos/entradas.sh"
source "$raiz/tests/e2e/casos/mensagens.sh"

iniciar_x || { parar_x; exit 1; }
trap 'parar_programa; parar_x' EXIT
preparar_pasta
sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa'); UPDATE Config SET Ultimo_Grupo = 1;"
iniciar_programa || exit 1
geometria "$E2E_JANELA"

# User plus system CPU time of the program so far, in milliseconds.
cpu_ms() {
  local campos
  campos=$(sed 's/^.*) //' "/proc/$E2E_PID/stat")
  awk -v t="$(getconf CLK_TCK)" '{ print int(($12 + $13) * 1000 / t) }' <<<"$campos"
}
# The interval is what is measured here, not a wait for something to happen.
medir() { local a; a=$(cpu_ms); sleep "$segundos"; echo $(( $(cpu_ms) - a )); }

ocioso=$(medir)
# The question of deleting the group, answered "Cancelar" after the measure.
entradas_clicar 68 75
esperar "$E2E_PRAZO" mensagens_aberta || { echo "the question did not unfold" >&2; exit 1; }
esperando=$(medir)
entradas_clicar 324 325

printf '%-34s %12s\n' "CPU do programa em ${segundos} s" "ms"
printf '%-34s %12s\n' "prancheta parada (referência)" "$ocioso"
printf '%-34s %12s\n' "mensagem esperando resposta" "$esperando"
