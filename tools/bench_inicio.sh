#!/usr/bin/env bash
# Start-up of the board against a bare Qt window of the same size, started the same way, runs
# interleaved. Prints the median and spread of each and their ratios.
# Usage: tools/bench_inicio.sh [BUILD_DIR] [RUNS]   (needs Xvfb; starts its own)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$raiz/build}" && pwd)
runs=${2:-40}
source "$raiz/tools/tela_de_medida.sh"

cp "$build/fazelas" "$tmp/fazelas"
"$build/tools/fazelas-criar-banco" "$tmp" >/dev/null
[ -n "${FAZELAS_BENCH_SQL:-}" ] && sqlite3 "$tmp/fzldados.mdb" < "$FAZELAS_BENCH_SQL"
medir="$build/tools/fazelas-medir-inicio"
# Warm the page cache and the font cache before measuring.
"$medir" "$tmp/fazelas" >/dev/null; "$medir" "$build/tools/fazelas-janela-nua" >/dev/null

for i in $(seq "$runs"); do
  "$medir" "$build/tools/fazelas-janela-nua" >>"$tmp/nua"
  "$medir" "$tmp/fazelas" >>"$tmp/prancheta"
done

python3 - "$tmp/nua" "$tmp/prancheta" "$runs" <<'PY'
import statistics, sys
def ler(f):
    t, m = zip(*[map(float, l.split()) for l in open(f)])
    return t, m
nt, nm = ler(sys.argv[1]); pt, pm = ler(sys.argv[2])
def q(v, p): v = sorted(v); return v[int(p * (len(v) - 1))]
print(f"start-up to window mapped, {sys.argv[3]} interleaved runs each")
print(f"{'':22}{'median ms':>10}{'p10':>8}{'p90':>8}{'peak RSS MiB':>14}")
for nome, t, m in (("bare Qt window", nt, nm), ("Fazelas board", pt, pm)):
    print(f"{nome:22}{statistics.median(t):10.1f}{q(t,.1):8.1f}{q(t,.9):8.1f}{statistics.median(m)/1024:14.1f}")
print(f"{'ratio board/bare':22}{statistics.median(pt)/statistics.median(nt):10.2f}{'':16}"
      f"{statistics.median(pm)/statistics.median(nm):14.2f}")
PY
