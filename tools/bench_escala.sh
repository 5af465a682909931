#!/usr/bin/env bash
# The board on files of 10, 1,000, 10,000 and 100,000 tasks (one remembered group holding them all),
# side by side in one run, with the date and the machine:
#   start-up   from the start of `fazelas` until its window is mapped (the group's grid is loaded
#              before that), against a bare Qt window of the same size and the same window showing
#              one label; median of interleaved runs
#   grid load  Grade::carregar of the whole group until its rows are painted
#   scroll     one step of the scroll bar (the grid repainting its 23 rows), until painted
#   tick       a click on a row's mark with its statement, until the mark is painted
#   add        PainelFazela::gravar with its statement and the reload of the grid, until painted
#   peak RSS   the real program's peak resident memory at start-up, and the measuring process's
#              after all the actions above
# With FAZELAS_BENCH_ANTES=OTHER_BUILD_DIR the board of another build (an earlier version) runs on
# copies of the same files, interleaved, and its row follows ours for each size.
# Usage: tools/bench_escala.sh [BUILD_DIR] [START-UP RUNS]   (needs Xvfb; starts its own, without a
# window manager, so the program's own map is seen)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$raiz/build}" && pwd)
runs=${2:-10}
tamanhos=(10 1000 10000 100000)
source "$raiz/tools/tela_de_medida.sh"

medir="$build/tools/fazelas-medir-inicio"
escala="$build/tools/fazelas-bench-escala"
for t in "${tamanhos[@]}"; do
  mkdir "$tmp/$t"
  cp "$build/fazelas" "$tmp/$t/fazelas"
  "$escala" --banco "$tmp/$t" "$t"
  if [ -n "${FAZELAS_BENCH_ANTES:-}" ]; then
    mkdir "$tmp/antes-$t"
    cp "$FAZELAS_BENCH_ANTES/fazelas" "$tmp/$t/fzldados.mdb" "$tmp/antes-$t/"
  fi
done

# Start-up: the files and fonts into the system's caches first, then every size and the bare
# window in turn, so that a slow moment of the machine falls on all of them alike.
for t in "${tamanhos[@]}"; do
  "$medir" "$tmp/$t/fazelas" >/dev/null
  [ -z "${FAZELAS_BENCH_ANTES:-}" ] || "$medir" "$tmp/antes-$t/fazelas" >/dev/null
done
nua="$build/tools/fazelas-janela-nua"
"$medir" "$nua" >/dev/null; "$medir" "$nua" --rotulo >/dev/null
for _ in $(seq "$runs"); do
  "$medir" "$nua" >>"$tmp/nua.txt"
  "$medir" "$nua" --rotulo >>"$tmp/rotulo.txt"
  for t in "${tamanhos[@]}"; do
    "$medir" "$tmp/$t/fazelas" >>"$tmp/inicio-$t.txt"
    [ -z "${FAZELAS_BENCH_ANTES:-}" ] || "$medir" "$tmp/antes-$t/fazelas" >>"$tmp/inicio-antes-$t.txt"
  done
done
# The actions, each in a fresh process on a fresh copy of the file.
for t in "${tamanhos[@]}"; do
  mkdir "$tmp/acoes-$t"
  cp "$tmp/$t/fzldados.mdb" "$tmp/acoes-$t/"
  "$escala" --medir "$tmp/acoes-$t" >"$tmp/acoes-$t.txt"
  if [ -n "${FAZELAS_BENCH_ANTES:-}" ]; then
    mkdir "$tmp/acoes-antes-$t"
    cp "$tmp/$t/fzldados.mdb" "$tmp/acoes-antes-$t/"
    "$FAZELAS_BENCH_ANTES/tools/fazelas-bench-escala" --medir "$tmp/acoes-antes-$t" >"$tmp/acoes-antes-$t.txt"
  fi
done

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
memoria=$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
disco=$(df -T "$tmp" | awk 'NR == 2 { print $2 }')
printf 'Fazelas scale benchmark, %s\n' "$(date '+%Y-%m-%d %H:%M %Z')"
printf 'Machine: %s, %s cores, %s RAM; Debian %s, Qt %s, SQLite %s; files on %s\n' "$cpu" "$(nproc)" "$memoria" \
  "$(cat /etc/debian_version 2>/dev/null || echo '?')" "$(qtpaths6 --qt-version 2>/dev/null || echo 6)" \
  "$(sqlite3 --version | cut -d' ' -f1)" "$disco"
printf 'Medians in ms; start-up over %s interleaved runs, the actions over 7 to 60 each.\n' "$runs"
[ -z "${FAZELAS_BENCH_ANTES:-}" ] || printf 'Rows "before": the build in %s.\n' "$FAZELAS_BENCH_ANTES"
echo
python3 - "$tmp" "${tamanhos[@]}" <<'PY'
import os, statistics, sys
pasta, tamanhos = sys.argv[1], sys.argv[2:]
def inicio(nome):
    t, m = zip(*[map(float, l.split()) for l in open(f"{pasta}/{nome}.txt")])
    return statistics.median(t), max(m) / 1024
nua, nua_mem = inicio("nua")
rot, rot_mem = inicio("rotulo")
cab = ("tasks", "start-up", "ratio to labelled", "ratio to bare", "grid load", "scroll step", "tick",
       "add+reload", "peak RSS start", "peak RSS used")
print("| " + " | ".join(cab) + " |")
print("|" + "|".join("---:" for _ in cab) + "|")
def linha(rotulo, t, sufixo):
    ini, mem = inicio(f"inicio{sufixo}-{t}")
    carga, rolagem, marca, inclusao, pico = open(f"{pasta}/acoes{sufixo}-{t}.txt").read().split()
    rol = "—" if float(rolagem) < 0 else f"{float(rolagem):.2f}"
    print(f"| {rotulo} | {ini:.1f} | {ini / rot:.2f} | {ini / nua:.2f} | {float(carga):.2f} | {rol} | {float(marca):.2f} "
          f"| {float(inclusao):.2f} | {mem:.1f} MiB | {int(pico) / 1024:.1f} MiB |")
for t in tamanhos:
    linha(f"{int(t):,}", t, "")
    if os.path.exists(f"{pasta}/acoes-antes-{t}.txt"):
        linha(f"{int(t):,}, before", t, "-antes")
print(f"\nBaselines: bare Qt window {nua:.1f} ms, peak RSS {nua_mem:.1f} MiB; with a label {rot:.1f} ms, "
      f"{rot_mem:.1f} MiB. Scroll step: none with 10 tasks (no scroll bar).")
PY
