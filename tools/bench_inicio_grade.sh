#!/usr/bin/env bash
# Start-up of the real program on an empty database and with a remembered group of 10,000 and of
# 100,000 tasks (among other groups), against the two baselines of tools/bench_inicio.sh (a bare Qt
# window of the board's size, and the same window showing one label), all runs interleaved. Each
# run is timed from the start of the program until its window is mapped.
# Usage: tools/bench_inicio_grade.sh [BUILD_DIR] [RUNS]   (needs Xvfb; starts its own, without a
# window manager, so the program's own map is seen)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$raiz/build}" && pwd)
runs=${2:-30}
source "$raiz/tools/tela_de_medida.sh"

medir="$build/tools/fazelas-medir-inicio"
nua="$build/tools/fazelas-janela-nua"
casos=(vazio grupo10k grupo100k)
for caso in "${casos[@]}"; do mkdir "$tmp/$caso"; cp "$build/fazelas" "$tmp/$caso/fazelas"; done
"$build/tools/fazelas-criar-banco" "$tmp/vazio" >/dev/null
"$build/tools/fazelas-bench-grade" --banco "$tmp/grupo10k" 10000 2>/dev/null
"$build/tools/fazelas-bench-grade" --banco "$tmp/grupo100k" 100000 2>/dev/null

# The files and the fonts into the system's caches before measuring.
for caso in "${casos[@]}"; do "$medir" "$tmp/$caso/fazelas" >/dev/null; done
"$medir" "$nua" >/dev/null; "$medir" "$nua" --rotulo >/dev/null
for _ in $(seq "$runs"); do
  "$medir" "$nua" >>"$tmp/nua.txt"
  "$medir" "$nua" --rotulo >>"$tmp/rotulo.txt"
  for caso in "${casos[@]}"; do "$medir" "$tmp/$caso/fazelas" >>"$tmp/$caso.txt"; done
done

python3 - "$tmp" "$runs" <<'PY'
import statistics, sys
pasta, runs = sys.argv[1], sys.argv[2]
def ler(nome):
    t, m = zip(*[map(float, l.split()) for l in open(f"{pasta}/{nome}.txt")])
    return t, m
def q(v, p): v = sorted(v); return v[round(p * (len(v) - 1))]
print(f"start-up to window mapped, {runs} interleaved runs each")
print(f"{'':34}{'median ms':>10}{'p10':>8}{'p90':>8}{'peak RSS MiB':>14}{'vs labelled':>13}{'vs bare':>9}")
med = {}
for nome, rotulo in (("nua", "bare Qt window"), ("rotulo", "bare window with a label"),
                     ("vazio", "board, empty database"), ("grupo10k", "board, group of 10,000 tasks"),
                     ("grupo100k", "board, group of 100,000 tasks")):
    t, m = ler(nome)
    med[nome] = (statistics.median(t), statistics.median(m) / 1024)
    razao = ""
    if nome not in ("nua", "rotulo"):
        razao = (f"{med[nome][0] / med['rotulo'][0]:7.2f}/{med[nome][1] / med['rotulo'][1]:.2f}"
                 f"{med[nome][0] / med['nua'][0]:6.2f}/{med[nome][1] / med['nua'][1]:.2f}")
    print(f"{rotulo:34}{med[nome][0]:10.1f}{q(t,.1):8.1f}{q(t,.9):8.1f}{med[nome][1]:14.1f}  {razao}")
print("ratios: time/peak memory")
PY
