#!/usr/bin/env bash
# Crash safety under stress: the real program is killed (SIGKILL) at random moments while it writes,
# driven from outside through real X events, and after every kill the file is checked. Not run by
# the tests (each kill takes a second or two; the atomicity it checks is the unit tests' too):
# a long run, by hand, before a release or after a change to how the file is written.
#
#   tools/quedas.sh FAZELAS CRIAR_BANCO [KILLS] [SEED]
#
# Each round starts the program on the file the previous kill left, does up to two actions and
# waits for each to show in the database (finished writes), copies the file as the snapshot,
# starts one more action and kills the program at a random moment of it. The file, as the kill
# left it, must pass PRAGMA integrity_check, have no task without its group, and differ from the
# snapshot by nothing or by exactly the whole interrupted action (a task added, ticked or deleted,
# a group added, a group deleted with all its tasks). The seed is printed, so a failure replays.
set -uo pipefail
aqui=$(cd "$(dirname "$0")" && pwd)
export FAZELAS=$1 CRIAR_BANCO=$2
quedas=${3:-40}
semente=${4:-$(date +%s)}
RANDOM=$semente
source "$aqui/../tests/e2e/comum.sh"

echo "queda: $quedas kills, seed $semente (replay: $0 $FAZELAS $CRIAR_BANCO $quedas $semente)"
iniciar_x || { parar_x; exit 1; }
trap 'parar_programa; parar_x; rm -rf "$E2E_TMP"' EXIT
preparar_pasta
BANCO="$E2E_PASTA/fzldados.mdb" SNAP="$E2E_TMP/antes.mdb" COPIA="$E2E_TMP/depois/fzldados.mdb"

# A failure keeps the last screen and the files it judged, and names them.
falhar() {
  local guardado; guardado=$(mktemp -d "${TMPDIR:-/tmp}/queda-falha.XXXX")
  import -window root "$guardado/tela.png" 2>/dev/null
  cp -r "$BANCO"* "$SNAP" "${COPIA%/*}" "$guardado/" 2>/dev/null
  echo "FALHA (round $rodada, action ${tipo:-?}, seed $semente): $* (kept in $guardado)" >&2
  exit 1
}
sql() { sqlite3 -cmd '.timeout 5000' "$BANCO" "$@"; }
# Asked of the file as the kill left it, with the snapshot attached as `s`.
depois() { sqlite3 -cmd '.timeout 5000' -cmd "attach '$SNAP' as s" "$COPIA" "$@"; }

# Window points (pixels): board images on row 75 (new group 42, delete group 68, new task 92); the
# task row i has its mark at 45 and its name at 356, y = 166 + 16 i; a panel's bottom-right pixel
# turns blue once it has unfolded.
clicar() { xdotool mousemove --window "$E2E_JANELA" "$1" "$2" click --repeat "${3:-1}" --delay 80 1; }
painel_cheio() { [ "$(cor_em "$(foto quadro)" $((X + $1)) $((Y + $2)))" = "0,0,255" ]; }
paineis_fechados() { local f y; f=$(foto quadro); for y in 411 357 346; do [ "$(cor_em "$f" $((X + 372)) $((Y + y)))" != "0,0,255" ] || return 1; done; }
escrita_feita() { [ "$(sqlite3 -cmd '.timeout 5000' -cmd "attach '$SNAP' as s" "$BANCO" "$escrita")" = 1 ]; }
esperar_painel() { esperar "$E2E_PRAZO" painel_cheio 372 "$1" || falhar "panel $1 did not unfold"; }
centrada_e_com_foco() {
  geometria "$E2E_JANELA"
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$E2E_JANELA" ] || { xdotool windowactivate "$E2E_JANELA"; return 1; }
  [ $((X + WIDTH / 2 - 512)) -ge -2 ] && [ $((X + WIDTH / 2 - 512)) -le 2 ]
}

# Prepares one action on the program's present state: `tipo`, its facts, `ultimo_passo` (the
# event that makes it write) and `escrita` (what the finished write looks like).
preparar_acao() {
  grupo=$(sql "select Ultimo_Grupo from Config where Ultimo_Grupo in (select Codigo from Grupo_Fazela)")
  [ -n "$grupo" ] || falhar "no current group"
  local tarefas; tarefas=$(sql "select min(count(*), 23) from Fazelas where Cod_Grupo = $grupo")
  local r=$((RANDOM % 100)) n=$((++contador))
  linha=$((RANDOM % (tarefas > 0 ? tarefas : 1)))
  if [ "$r" -lt 30 ] || [ "$tarefas" -eq 0 ]; then
    tipo=incluir nome="fazela-$rodada-$n" prioridade=$((1 + RANDOM % 3))
    clicar 92 75; esperar_painel 411
    # Into the name box, back to the priority list, then the keyboard's way through the panel.
    clicar 226 245; xdotool key shift+Tab
    for ((k = prioridade; k < 3; k++)); do xdotool key Up; done
    xdotool key Return type --delay 5 "$nome"
    xdotool key Return type --delay 5 "nota d'agua $n"
    ultimo_passo() { xdotool key Return; }
    escrita="select count(*) from Fazelas where Fazela = '$nome' and Cod_Grupo = $grupo and Prioridade = $prioridade"
  elif [ "$r" -lt 55 ]; then
    tipo=marcar
    # Two ticks of one mark sooner than a double-click's interval would be one double-click, which
    # ticks once: each tick presses the other side of the mark, farther apart than a double-click.
    marca_x=$((marca_x == 39 ? 51 : 39))
    ultimo_passo() { clicar "$marca_x" $((166 + 16 * linha)); }
    escrita="select count(*) from (select Codigo, Executado from Fazelas except select Codigo, Executado from s.Fazelas)"
  elif [ "$r" -lt 72 ]; then
    tipo=excluir
    clicar 356 $((166 + 16 * linha)) 2; esperar_painel 411
    ultimo_passo() { clicar 319 388; }
    escrita="select (select count(*) from s.Fazelas) = (select count(*) + 1 from Fazelas)"
  elif [ "$r" -lt 86 ] || [ "$(sql 'select count(*) from Grupo_Fazela')" -lt 2 ]; then
    tipo=grupo_incluir nome=$(printf 'grupo-%04d' "$n")
    clicar 42 75; esperar_painel 357
    clicar 182 301; xdotool type --delay 5 "$nome"
    ultimo_passo() { xdotool key Return; }
    escrita="select count(*) from Grupo_Fazela where Grupo = '$nome'"
  else
    tipo=grupo_excluir
    clicar 68 75; esperar_painel 346
    ultimo_passo() { clicar 134 325; }
    escrita="select (select count(*) from Grupo_Fazela where Codigo = $grupo) = 0
             and (select Ultimo_Grupo from Config) in (select Codigo from Grupo_Fazela)"
  fi
}

# The file as the kill left it against the snapshot: missing and new tasks, missing and new groups,
# ticks changed, as "t_falta t_nova g_falta g_nova x_muda"; nothing, or the whole action, is allowed.
TAREFA="Codigo, Cod_Grupo, Fazela, Descricao, Prioridade"
conferir() {
  [ "$(depois 'pragma integrity_check')" = ok ] || falhar "integrity_check: $(depois 'pragma integrity_check')"
  [ "$(depois 'select count(*) from Fazelas where Cod_Grupo not in (select Codigo from Grupo_Fazela)')" = 0 ] \
    || falhar "tasks have lost their group"
  local mudou inteira
  mudou=$(depois "select (select count(*) from (select $TAREFA from s.Fazelas except select $TAREFA from main.Fazelas))
    || ' ' || (select count(*) from (select $TAREFA from main.Fazelas except select $TAREFA from s.Fazelas))
    || ' ' || (select count(*) from (select * from s.Grupo_Fazela except select * from main.Grupo_Fazela))
    || ' ' || (select count(*) from (select * from main.Grupo_Fazela except select * from s.Grupo_Fazela))
    || ' ' || (select ifnull(sum(iif(Cod_Grupo = $grupo, 1, 100)), 0) from (select Codigo, Cod_Grupo, Executado
               from main.Fazelas except select Codigo, Cod_Grupo, Executado from s.Fazelas)
               where Codigo in (select Codigo from s.Fazelas))")
  case $tipo in
    incluir) inteira="0 1 0 0 0"
      [ "$mudou" = "$inteira" ] && { [ "$(depois "select Fazela || Prioridade || ifnull(Executado, '-') from Fazelas
        where Codigo not in (select Codigo from s.Fazelas) and Cod_Grupo = $grupo")" = "$nome$prioridade-" ] \
        || falhar "the added task reads wrong"; } ;;
    marcar) inteira="0 0 0 0 1" ;;
    excluir) inteira="1 0 0 0 0" ;;
    grupo_incluir) inteira="0 0 0 1 0" ;;
    grupo_excluir) inteira="$(depois "select count(*) from s.Fazelas where Cod_Grupo = $grupo") 0 1 0 0"
      [ "$mudou" = "0 0 0 0 0" ] || [ "$(depois "select count(*) from Grupo_Fazela where Codigo = $grupo")" = 0 ] \
        || falhar "another group than the current one was deleted" ;;
  esac
  [ "$mudou" = "0 0 0 0 0" ] || [ "$mudou" = "$inteira" ] || falhar "$tipo left the changes $mudou, not none or $inteira"
  [ "$mudou" = "0 0 0 0 0" ] || feitas=$((feitas + 1))
}

sql "INSERT INTO Grupo_Fazela VALUES (1, 'grupo-0000');
     INSERT INTO Fazelas (Cod_Grupo, Fazela, Descricao, Prioridade) VALUES (1, 'lavar', 'a', 5), (1, 'varrer', 'b', 3);
     UPDATE Config SET Ultimo_Grupo = 1;"
contador=0 quentes=0 feitas=0 escritas=0 marca_x=51 inicio=$(date +%s)
for ((rodada = 1; rodada <= quedas; rodada++)); do
  iniciar_programa
  # Typed text goes to the focused window, and the window manager may still be placing it.
  esperar "$E2E_PRAZO" centrada_e_com_foco || falhar "the board is not centred with the focus"
  for ((a = RANDOM % 3; a > 0; a--)); do
    sqlite3 "$BANCO" ".backup '$SNAP'"
    preparar_acao; ultimo_passo
    esperar "$E2E_PRAZO" escrita_feita || falhar "$tipo was not written"
    esperar "$E2E_PRAZO" paineis_fechados || falhar "a panel stayed open"
    escritas=$((escritas + 1))
  done
  preparar_acao
  # Nothing is being written now: the snapshot is every finished write.
  sqlite3 -cmd '.timeout 5000' "$BANCO" ".backup '$SNAP'" || falhar "snapshot"
  # A tick is tried again and again, so the kill meets it at any point of its write; the other
  # actions write once, within milliseconds of their last event.
  clique=""
  if [ "$tipo" = marcar ]; then
    xdotool mousemove --window "$E2E_JANELA" 45 $((166 + 16 * linha)) click --repeat 40 --delay 15 1 &
    clique=$! espera_ms=$((RANDOM % 600))
  else
    ultimo_passo; espera_ms=$((RANDOM % 40))
  fi
  sleep "$(printf '0.%03d' "$espera_ms")" # the random moment of the kill
  kill -KILL "$E2E_PID"; wait "$E2E_PID" 2>/dev/null; E2E_PID=""
  # The clicks left go to the empty desktop; stopping xdotool could leave the button held down.
  [ -n "$clique" ] && wait "$clique" 2>/dev/null
  # The file as it is on disk now; a journal beside it means the kill came inside a write.
  rm -rf "${COPIA%/*}"; mkdir -p "${COPIA%/*}"; cp "$BANCO" "$COPIA"
  if [ -s "$BANCO-journal" ]; then cp "$BANCO-journal" "$COPIA-journal"; quentes=$((quentes + 1)); fi
  conferir
done
echo "queda: $quedas kills in $(( $(date +%s) - inicio )) s, seed $semente; $escritas finished writes checked;" \
  "kills inside a write: $quentes; interrupted actions found done: $feitas"
