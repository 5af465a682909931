#!/usr/bin/env bash
# Mutation check: plants the faults of tools/mutacoes.txt in the product code one at a time,
# rebuilds what the fast tests need, runs them, puts the file back and says which faults the tests
# let through.
#
#   bash tools/mutacao.sh [--e2e] [--so 3,7,12] [BUILD]      (BUILD: an existing build, ./build)
#
# --e2e also runs the end-to-end test; --so plants only the faults of those numbers. Without --e2e,
# the faults marked "# e2e" in the list (only an end-to-end case sees them) are left out, and the
# faults marked "# desktops" (only tools/experimentar_desktops.sh sees them) always are: each is
# listed as left out, not counted.
# A fault that does not build is "does not compile", one whose original text is no longer found
# exactly once is "does not apply"; neither counts in the score.
set -uo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
lista=$raiz/tools/mutacoes.txt
e2e=0
so=""
build=""
while [ $# -gt 0 ]; do
  case $1 in
    --e2e) e2e=1 ;;
    --so) so=",$2,"; shift ;;
    *) build=$1 ;;
  esac
  shift
done
build=$(cd "${build:-$raiz/build}" && pwd) || { echo "no build folder; build first (tools/preparar.sh)"; exit 2; }

# Only the programs the run needs: the QtTest programs, and the program and the companion command
# (ajuda_e_versao and the end-to-end test run them).
alvos=$(cd "$raiz/tests" && ls */tst_*.cpp | xargs -n1 basename | sed 's/\.cpp$//')
alvos="$alvos fazelas fazelas-criar-banco"
excluir='^ponta_a_ponta$'
if [ "$e2e" = 1 ]; then
  excluir='^$'
fi

trabalho=$(mktemp -d)
arquivo_atual=""
restaurar() {
  if [ -n "$arquivo_atual" ]; then
    cp "$trabalho/original" "$raiz/$arquivo_atual"
    arquivo_atual=""
  fi
}
trap 'restaurar; rm -rf "$trabalho"' EXIT
trap 'exit 130' INT TERM

compilar() { cmake --build "$build" -j2 --target $alvos >"$trabalho/build.log" 2>&1; }
testar() {
  timeout 900 ctest --test-dir "$build" -j2 --timeout 240 --stop-on-failure -E "$excluir" \
    >"$trabalho/testes.log" 2>&1
}

# Replaces the one occurrence of the original text; exit 3 when it is not there exactly once.
plantar() {
  python3 - "$1" "$2" "$3" <<'PY'
import sys
arquivo, antes, depois = sys.argv[1], sys.argv[2].replace("\\n", "\n"), sys.argv[3].replace("\\n", "\n")
texto = open(arquivo, encoding="utf-8").read()
if texto.count(antes) != 1:
    sys.exit(3)
open(arquivo, "w", encoding="utf-8").write(texto.replace(antes, depois))
PY
}

echo "Mutation check, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$raiz" rev-parse --short HEAD), build $build"
echo "Tests run: ctest -E '$excluir'"
compilar || { echo "the unchanged code does not build:"; tail -20 "$trabalho/build.log"; exit 2; }
testar || { echo "the tests fail on the unchanged code:"; grep -E 'Failed|\*\*\*' "$trabalho/testes.log"; exit 2; }

n=0; pegas=0; vivas=(); nao_compila=(); nao_aplica=(); deixadas=(); marca=""
while IFS= read -r linha; do
  case $linha in
    '# e2e'*|'# desktops'*) marca=${linha#\# }; continue ;;
    '== '*) cabeca=${linha#== }; arquivo=${cabeca%% | *}; descricao=${cabeca#* | }; continue ;;
    '<< '*) antes=${linha#<< }; continue ;;
    '>> '*) depois=${linha#>> } ;;
    *) continue ;;
  esac
  n=$((n + 1))
  [ -n "$so" ] && [[ $so != *",$n,"* ]] && { marca=""; continue; }
  rotulo="#$n $arquivo: $descricao"
  if [[ $marca == desktops* ]] || { [[ $marca == e2e* ]] && [ "$e2e" = 0 ]; }; then
    deixadas+=("$rotulo ($marca)"); marca=""; continue
  fi
  marca=""
  if ! git -C "$raiz" diff --quiet -- "$arquivo" 2>/dev/null; then
    echo "stop: $arquivo has uncommitted changes; commit them first"; exit 2
  fi
  cp "$raiz/$arquivo" "$trabalho/original"
  arquivo_atual=$arquivo
  if ! plantar "$raiz/$arquivo" "$antes" "$depois"; then
    arquivo_atual=""
    nao_aplica+=("$rotulo"); echo "does not apply   $rotulo"; continue
  fi
  inicio=$SECONDS
  if ! compilar; then
    resultado="does not compile"; nao_compila+=("$rotulo")
  elif testar; then
    resultado="SURVIVED        "; vivas+=("$rotulo")
  else
    resultado="caught          "; pegas=$((pegas + 1))
    resultado+=" by $(grep -oE '[0-9]+ - [A-Za-z_]+ \((Failed|Timeout|SEGFAULT|Subprocess aborted|Child aborted|Exception)' "$trabalho/testes.log" | head -1 | sed -E 's/^[0-9]+ - //; s/ \(.*//')"
  fi
  restaurar
  git -C "$raiz" diff --quiet -- "$arquivo" || { echo "stop: $arquivo was not restored"; exit 2; }
  echo "$resultado $rotulo ($((SECONDS - inicio)) s)"
done <"$lista"

# The build goes back to the code as it is.
compilar || echo "warning: the restored code did not rebuild"
contadas=$((pegas + ${#vivas[@]}))
echo
echo "Survivors (${#vivas[@]}):"
for v in "${vivas[@]}"; do echo "  $v"; done
[ ${#nao_compila[@]} -gt 0 ] && { echo "Do not compile (${#nao_compila[@]}):"; printf '  %s\n' "${nao_compila[@]}"; }
[ ${#nao_aplica[@]} -gt 0 ] && { echo "Do not apply (${#nao_aplica[@]}):"; printf '  %s\n' "${nao_aplica[@]}"; }
[ ${#deixadas[@]} -gt 0 ] && { echo "Left out, for another run (${#deixadas[@]}):"; printf '  %s\n' "${deixadas[@]}"; }
echo "Score: $pegas caught of $contadas planted ($(( contadas ? 100 * pegas / contadas : 0 ))%)"
