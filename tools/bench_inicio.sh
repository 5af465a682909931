#!/usr/bin/env bash
# Start-up of the board against two baselines started the same way, runs interleaved: a bare Qt
# window of the same size, and the same window showing one label (any window with text pays for
# the font machinery, so that is the floor for a board with text). Prints the median and spread
# of each and the board's ratios to both, and two peaks of resident memory: when the window is
# mapped, and once start-up is over, which is what a system monitor shows (window painted, event
# loop idle, and for the board its second stage done: its doorbell made; see medir_inicio.cpp).
# With FAZELAS_BENCH_ANTES=OTHER_BUILD_DIR, the board of another build (an earlier version) is run
# interleaved too, on a database of its own.
# Usage: tools/bench_inicio.sh [BUILD_DIR] [RUNS]   (needs Xvfb; starts its own)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$raiz/build}" && pwd)
runs=${2:-40}
source "$raiz/tools/tela_de_medida.sh"

cp "$build/fazelas" "$tmp/fazelas"
"$build/tools/fazelas-criar-banco" "$tmp" >/dev/null
[ -n "${FAZELAS_BENCH_SQL:-}" ] && sqlite3 "$tmp/fzldados.mdb" < "$FAZELAS_BENCH_SQL"
medir=("$build/tools/fazelas-medir-inicio" --depois)
# The board is sampled after its doorbell, the last thing its second stage makes, appears here.
prancheta=("$build/tools/fazelas-medir-inicio" --campainha "$XDG_RUNTIME_DIR")
# Warm the page cache and the font cache before measuring.
nua="$build/tools/fazelas-janela-nua"
"${prancheta[@]}" "$tmp/fazelas" >/dev/null; "${medir[@]}" "$nua" >/dev/null; "${medir[@]}" "$nua" --rotulo >/dev/null
antes=${FAZELAS_BENCH_ANTES:+$tmp/antes/fazelas}
if [ -n "$antes" ]; then
  mkdir "$tmp/antes" && cp "$FAZELAS_BENCH_ANTES/fazelas" "$antes"
  "$build/tools/fazelas-criar-banco" "$tmp/antes" >/dev/null
  [ -n "${FAZELAS_BENCH_SQL:-}" ] && sqlite3 "$tmp/antes/fzldados.mdb" < "$FAZELAS_BENCH_SQL"
  "${prancheta[@]}" "$antes" >/dev/null
fi

for i in $(seq "$runs"); do
  "${medir[@]}" "$nua" >>"$tmp/nua"
  "${medir[@]}" "$nua" --rotulo >>"$tmp/rotulo"
  "${prancheta[@]}" "$tmp/fazelas" >>"$tmp/prancheta"
  [ -z "$antes" ] || "${prancheta[@]}" "$antes" >>"$tmp/antes.txt"
done

python3 - "$tmp" "$runs" <<'PY'
import os, statistics, sys
def ler(f):
    t, m, d = zip(*[map(float, l.split()) for l in open(f"{sys.argv[1]}/{f}")])
    return statistics.median(t), t, statistics.median(m) / 1024, statistics.median(d) / 1024
def q(v, p): v = sorted(v); return v[int(p * (len(v) - 1))]
nua, rot, pra = ler("nua"), ler("rotulo"), ler("prancheta")
antes = ler("antes.txt") if os.path.exists(f"{sys.argv[1]}/antes.txt") else None
print(f"start-up to window mapped, {sys.argv[2]} interleaved runs each; peak RSS at the map and once started")
print(f"{'':26}{'median ms':>10}{'p10':>8}{'p90':>8}{'peak map MiB':>14}{'peak started':>14}")
linhas = (("bare Qt window", nua), ("bare window with a label", rot), ("Fazelas board", pra))
for nome, (med, t, m, d) in linhas + ((("earlier board", antes),) if antes else ()):
    print(f"{nome:26}{med:10.1f}{q(t,.1):8.1f}{q(t,.9):8.1f}{m:14.1f}{d:14.1f}")
for nome, (med, _, m, d) in (("ratio board/labelled", rot), ("ratio board/bare", nua)) + ((("ratio board/earlier", antes),) if antes else ()):
    print(f"{nome:26}{pra[0]/med:10.2f}{'':16}{pra[2]/m:14.2f}{pra[3]/d:14.2f}")
PY
