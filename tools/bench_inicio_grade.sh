#!/usr/bin/env bash
# Start-up of the real program with a remembered group of 10,000 tasks (among other groups)
# against start-up on an empty database, runs interleaved; then the peak memory with a
# remembered group of 100,000 tasks. Each run is timed from the start of `fazelas` until its
# window is mapped (the grid is loaded before the window is shown).
# Usage: tools/bench_inicio_grade.sh [BUILD_DIR] [RUNS]   (needs Xvfb; starts its own, without a
# window manager, so the program's own map is seen)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$raiz/build}" && pwd)
runs=${2:-30}
source "$raiz/tools/tela_de_medida.sh"

medir="$build/tools/fazelas-medir-inicio"
for caso in vazio grupo10k grupo100k; do mkdir "$tmp/$caso"; cp "$build/fazelas" "$tmp/$caso/fazelas"; done
"$build/tools/fazelas-criar-banco" "$tmp/vazio" >/dev/null
"$build/tools/fazelas-bench-grade" --banco "$tmp/grupo10k" 10000 2>/dev/null
"$build/tools/fazelas-bench-grade" --banco "$tmp/grupo100k" 100000 2>/dev/null

# The files and the fonts into the system's caches before measuring.
for caso in vazio grupo10k grupo100k; do "$medir" "$tmp/$caso/fazelas" >/dev/null; done
for _ in $(seq "$runs"); do
  "$medir" "$tmp/vazio/fazelas" >>"$tmp/vazio.txt"
  "$medir" "$tmp/grupo10k/fazelas" >>"$tmp/grupo10k.txt"
done
for _ in 1 2 3; do "$medir" "$tmp/grupo100k/fazelas" >>"$tmp/grupo100k.txt"; done

python3 - "$tmp" "$runs" <<'PY'
import statistics, sys
pasta, runs = sys.argv[1], sys.argv[2]
def ler(nome):
    t, m = zip(*[map(float, l.split()) for l in open(f"{pasta}/{nome}.txt")])
    return t, m
def q(v, p): v = sorted(v); return v[round(p * (len(v) - 1))]
print(f"start-up to window mapped, {runs} interleaved runs each")
print(f"{'':34}{'median ms':>10}{'p10':>8}{'p90':>8}{'min':>8}{'max':>8}{'peak RSS MiB':>14}")
linhas = {}
for nome, rotulo in (("vazio", "empty database"), ("grupo10k", "remembered group of 10,000 tasks")):
    t, m = ler(nome)
    linhas[nome] = t
    print(f"{rotulo:34}{statistics.median(t):10.1f}{q(t,.1):8.1f}{q(t,.9):8.1f}{min(t):8.1f}{max(t):8.1f}"
          f"{statistics.median(m)/1024:14.1f}")
dif = [b - a for a, b in zip(linhas["vazio"], linhas["grupo10k"])]
print(f"{'difference (pairwise)':34}{statistics.median(dif):10.1f}{q(dif,.1):8.1f}{q(dif,.9):8.1f}")
t, m = ler("grupo100k")
print(f"\nremembered group of 100,000 tasks: start-up {statistics.median(t):.0f} ms, "
      f"peak RSS {max(m)/1024:.1f} MiB (median of {len(t)} runs)")
PY
