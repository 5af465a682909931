#!/usr/bin/env bash
# Crash safety: the real program is killed (SIGKILL) at random moments while it writes, driven from
# outside through real X events, and after every kill the file is checked.
#
#   queda.sh FAZELAS CRIAR_BANCO [KILLS] [SEED]
#
# Each round starts the program on the file the previous kill left (so the program itself meets
# any half-written transaction), does one to three actions and waits for each to show in the
# database (those are finished writes), copies the file as the snapshot, starts one more action
# and kills the program at a random moment of it. The file, as the kill left it, must then:
#   - pass PRAGMA integrity_check;
#   - hold every row of the snapshot unchanged, apart from what the interrupted action itself was
#     writing, and that either whole or not at all (a task added or not, a group deleted with all
#     its tasks or not at all, one task ticked or not);
#   - have no task whose group row is gone.
# The kill moments come from bash's generator seeded with SEED (printed), so a failure replays.
set -uo pipefail
aqui=$(cd "$(dirname "$0")" && pwd)
export FAZELAS=$1 CRIAR_BANCO=$2
quedas=${3:-40}
semente=${4:-$(date +%s)}
RANDOM=$semente
source "$aqui/../e2e/comum.sh"

echo "queda: $quedas kills, seed $semente (replay: $0 FAZELAS CRIAR_BANCO $quedas $semente)"
iniciar_x || { parar_x; exit 1; }
trap 'parar_programa; parar_x; rm -rf "$E2E_TMP"' EXIT
preparar_pasta
BANCO="$E2E_PASTA/fzldados.mdb"
FOTO="$E2E_TMP/quadro"
SNAP="$E2E_TMP/antes.mdb"
COPIA="$E2E_TMP/depois/fzldados.mdb"

# A failure keeps the last screen and the files it judged, and names them.
falhar() {
  local guardado
  guardado=$(mktemp -d "${TMPDIR:-/tmp}/queda-falha.XXXX")
  import -window root "$guardado/tela.png" 2>/dev/null
  cp -r "$BANCO"* "$SNAP" "${COPIA%/*}" "$E2E_TMP"/*.log "$guardado/" 2>/dev/null
  kill -0 "$E2E_WM" 2>/dev/null || echo "(the window manager had ended)" >&2
  echo "FALHA (round $rodada, action ${tipo:-?}, seed $semente): $* (kept in $guardado)" >&2
  exit 1
}
sql() { sqlite3 -cmd '.timeout 5000' "$BANCO" "$@"; }
# Asked of the file as the kill left it, with the snapshot attached as `s`.
depois() { sqlite3 -cmd '.timeout 5000' -cmd "attach '$SNAP' as s" "$COPIA" "$@"; }

# Window points (pixels): board images on row 75 (new group 42, delete group 68, new task 92); the
# task row i has its mark at 45 and its name at 356, y = 166 + 16 i; the panels' bottom-right
# pixels turn blue once unfolded; the name box and Excluir of the task panel, the name box of the
# group panel and Confirmar of the message panel.
clicar() { xdotool mousemove --window "$E2E_JANELA" "$1" "$2" click "${3:-1}"; }
painel_cheio() {
  import -window root "$FOTO.png" 2>/dev/null
  [ "$(cor_em "$FOTO.png" $((X + $1)) $((Y + $2)))" = "0,0,255" ]
}
painel_fechado() { ! painel_cheio "$@"; }
no_centro() { geometria "$E2E_JANELA"; [ $((X + WIDTH / 2 - 512)) -ge -2 ] && [ $((X + WIDTH / 2 - 512)) -le 2 ] \
  && [ $((Y + HEIGHT / 2 - ${CENTRO_Y:-$((Y + HEIGHT / 2))})) -eq 0 ]; }
com_foco() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$E2E_JANELA" ] || { xdotool windowactivate "$E2E_JANELA"; false; }; }
consulta_da() { [ "$(sql "$1")" = "$2" ]; }
esperar_painel() { esperar "$E2E_PRAZO" painel_cheio "$1" "$2" || falhar "panel at $1,$2 did not unfold"; }

grupo_atual() { sql "select Ultimo_Grupo from Config where Ultimo_Grupo in (select Codigo from Grupo_Fazela)"; }
tarefas_do_grupo() { sql "select count(*) from Fazelas where Cod_Grupo = $1"; }
feitas_do_grupo() { sql "select count(*) from Fazelas where Cod_Grupo = $1 and Executado is not null"; }

# The actions. Each opens what it needs, then either finishes and waits for its write (`espera`)
# or leaves its last step to `ultimo_passo` for the kill to interrupt.
acao_incluir() {
  g=$1 n=$2
  nome="fazela-$n" descricao="nota d'agua $n" prioridade=$((3 - RANDOM % 3))
  clicar 92 75
  esperar_painel 372 411
  # Into the name box, back to the priority list, then the keyboard's way through the panel.
  clicar 226 245
  xdotool key shift+Tab
  for ((k = prioridade; k < 3; k++)); do xdotool key Up; done
  xdotool key Return
  xdotool type --delay 5 "$nome"
  xdotool key Return
  xdotool type --delay 5 "$descricao"
  ultimo_passo() { xdotool key Return; }
  espera() {
    esperar "$E2E_PRAZO" consulta_da "select count(*) from Fazelas where Fazela = '$nome' and Cod_Grupo = $g" 1 \
      || falhar "task $nome was not written"
    esperar "$E2E_PRAZO" painel_fechado 372 411 || falhar "task panel stayed open"
  }
}

acao_excluir() {
  linha=$1
  antes=$(sql "select count(*) from Fazelas")
  xdotool mousemove --window "$E2E_JANELA" 356 $((166 + 16 * linha)) click --repeat 2 --delay 80 1
  esperar_painel 372 411
  ultimo_passo() { clicar 319 388; }
  espera() {
    esperar "$E2E_PRAZO" consulta_da "select count(*) from Fazelas" $((antes - 1)) || falhar "task not deleted"
    esperar "$E2E_PRAZO" painel_fechado 372 411 || falhar "task panel stayed open"
  }
}

acao_marcar() {
  g=$1
  linha=$2
  feitas=$(feitas_do_grupo "$g")
  ultimo_passo() { clicar 45 $((166 + 16 * linha)); }
  espera() {
    esperar "$E2E_PRAZO" bash -c "[ \"\$(sqlite3 -cmd '.timeout 5000' '$BANCO' \
      'select count(*) from Fazelas where Cod_Grupo = $g and Executado is not null')\" != '$feitas' ]" \
      || falhar "the tick on row $linha was not written"
  }
}

acao_grupo_incluir() {
  n=$1
  nome=$(printf 'grupo-%04d' "$n")
  clicar 42 75
  esperar_painel 372 357
  clicar 182 301
  xdotool type --delay 5 "$nome"
  ultimo_passo() { xdotool key Return; }
  espera() {
    esperar "$E2E_PRAZO" consulta_da "select count(*) from Grupo_Fazela where Grupo = '$nome'" 1 \
      || falhar "group $nome was not written"
    esperar "$E2E_PRAZO" painel_fechado 372 357 || falhar "group panel stayed open"
  }
}

acao_grupo_excluir() {
  g=$1
  clicar 68 75
  esperar_painel 372 346
  ultimo_passo() { clicar 134 325; }
  espera() {
    esperar "$E2E_PRAZO" consulta_da "select count(*) from Grupo_Fazela where Codigo = $g" 0 || falhar "group $g not deleted"
    esperar "$E2E_PRAZO" bash -c "g=\$(sqlite3 -cmd '.timeout 5000' '$BANCO' 'select Ultimo_Grupo from Config'); \
      [ -n \"\$g\" ] && [ \"\$g\" != $g ]" || falhar "no group selected after deleting $g"
    esperar "$E2E_PRAZO" painel_fechado 372 346 || falhar "message panel stayed open"
  }
}

# Picks and prepares one action on the program's present state; sets `tipo` and the action's facts.
contador=0
preparar_acao() {
  local atual tarefas grupos
  atual=$(grupo_atual)
  [ -n "$atual" ] || falhar "no current group: $(sql 'select * from Config')"
  tarefas=$(tarefas_do_grupo "$atual")
  grupos=$(sql "select count(*) from Grupo_Fazela")
  local linhas=$((tarefas < 23 ? tarefas : 23))
  contador=$((contador + 1))
  local r=$((RANDOM % 100))
  grupo=$atual
  if [ "$r" -lt 30 ] || [ "$linhas" -eq 0 ]; then
    tipo=incluir; acao_incluir "$atual" "$rodada-$contador"; linha=-
  elif [ "$r" -lt 55 ]; then
    tipo=marcar; acao_marcar "$atual" $((RANDOM % linhas))
  elif [ "$r" -lt 72 ]; then
    tipo=excluir; acao_excluir $((RANDOM % linhas))
  elif [ "$r" -lt 86 ] || [ "$grupos" -lt 2 ]; then
    tipo=grupo_incluir; linha=-; acao_grupo_incluir "$contador"
  else
    tipo=grupo_excluir; linha=-; acao_grupo_excluir "$atual"
  fi
  echo "round $rodada: $tipo group $atual ($tarefas tasks) row ${linha:--}" >>"$E2E_TMP/acoes.log"
}

# The file as the kill left it, against the snapshot: what may differ depends on the action that
# was interrupted (`tipo`, `grupo`, `nome`...).
TAREFA="Codigo, Cod_Grupo, Fazela, Descricao, Prioridade"
conferir() {
  local ok
  ok=$(depois "pragma integrity_check")
  [ "$ok" = ok ] || falhar "integrity_check: $ok"
  local orfas
  orfas=$(depois "select count(*) from Fazelas where Cod_Grupo not in (select Codigo from Grupo_Fazela)")
  [ "$orfas" = 0 ] || falhar "$orfas tasks have lost their group: $(depois 'select * from Fazelas where Cod_Grupo not in (select Codigo from Grupo_Fazela)')"
  # Rows of the snapshot that are gone or changed, and rows that are new.
  local t_falta t_nova g_falta g_nova x_muda
  t_falta=$(depois "select count(*) from (select $TAREFA from s.Fazelas except select $TAREFA from main.Fazelas)")
  t_nova=$(depois "select count(*) from (select $TAREFA from main.Fazelas except select $TAREFA from s.Fazelas)")
  g_falta=$(depois "select count(*) from (select * from s.Grupo_Fazela except select * from main.Grupo_Fazela)")
  g_nova=$(depois "select count(*) from (select * from main.Grupo_Fazela except select * from s.Grupo_Fazela)")
  x_muda=$(depois "select count(*) from (select Codigo, Executado from main.Fazelas
                     except select Codigo, Executado from s.Fazelas) where Codigo in (select Codigo from s.Fazelas)")
  local resumo="missing tasks $t_falta, new tasks $t_nova, missing groups $g_falta, new groups $g_nova, ticks changed $x_muda"
  feito=0
  case $tipo in
  incluir)
    [ "$t_falta$g_falta$g_nova$x_muda" = 0000 ] || falhar "adding a task changed other rows: $resumo"
    if [ "$t_nova" = 1 ]; then
      local linha
      linha=$(depois "select Cod_Grupo || '|' || Fazela || '|' || Descricao || '|' || Prioridade || '|' || ifnull(Executado, '-')
                      from Fazelas where Codigo not in (select Codigo from s.Fazelas)")
      [ "$linha" = "$grupo|$nome|$descricao|$prioridade|-" ] || falhar "the added task reads $linha"
      feito=1
    else
      [ "$t_nova" = 0 ] || falhar "adding one task: $resumo"
    fi ;;
  marcar)
    [ "$t_falta$t_nova$g_falta$g_nova" = 0000 ] || falhar "a tick changed rows: $resumo"
    [ "$x_muda" -le 1 ] || falhar "one tick changed $x_muda tasks"
    [ "$x_muda" = 0 ] || [ "$(depois "select count(*) from Fazelas where Cod_Grupo = $grupo and Codigo in (select Codigo from (
      select Codigo, Executado from main.Fazelas except select Codigo, Executado from s.Fazelas))")" = 1 ] \
      || falhar "a tick changed a task of another group"
    feito=$x_muda ;;
  excluir)
    [ "$t_nova$g_falta$g_nova$x_muda" = 0000 ] && [ "$t_falta" -le 1 ] || falhar "deleting a task: $resumo"
    feito=$t_falta ;;
  grupo_incluir)
    [ "$t_falta$t_nova$g_falta$x_muda" = 0000 ] && [ "$g_nova" -le 1 ] || falhar "adding a group: $resumo"
    if [ "$g_nova" = 1 ]; then
      [ "$(depois "select Grupo from main.Grupo_Fazela where Codigo = (select max(Codigo) + 1 from s.Grupo_Fazela)")" = "$nome" ] \
        || falhar "the added group: $(depois 'select * from Grupo_Fazela')"
      feito=1
    fi ;;
  grupo_excluir)
    local dele
    dele=$(depois "select count(*) from s.Fazelas where Cod_Grupo = $grupo")
    if [ "$g_falta" = 0 ]; then
      [ "$t_falta$t_nova$g_nova$x_muda" = 0000 ] || falhar "a group delete that did not happen changed rows: $resumo"
    else
      [ "$g_falta" = 1 ] && [ "$(depois "select count(*) from Grupo_Fazela where Codigo = $grupo")" = 0 ] \
        && [ "$t_falta" = "$dele" ] && [ "$t_nova$g_nova$x_muda" = 000 ] \
        || falhar "deleting group $grupo ($dele tasks): $resumo"
      feito=1
    fi ;;
  esac
}

sql "INSERT INTO Grupo_Fazela VALUES (1, 'grupo-0000');
     INSERT INTO Fazelas (Cod_Grupo, Fazela, Descricao, Prioridade) VALUES
       (1, 'lavar', 'a', 5), (1, 'varrer', 'b', 3), (1, 'pagar', 'c', 2), (1, 'ler', 'd', 1);
     UPDATE Config SET Ultimo_Grupo = 1;"
quentes=0 aplicadas=0 escritas=0
declare -A por_tipo=()
inicio=$(date +%s)
CENTRO_Y=""
for ((rodada = 1; rodada <= quedas; rodada++)); do
  iniciar_programa
  # The window manager may still place the window after it is mapped: wait for the centred place.
  esperar "$E2E_PRAZO" no_centro || falhar "the board is not centred: $X,$Y"
  CENTRO_Y=${CENTRO_Y:-$((Y + HEIGHT / 2))}
  # Typed text goes to the focused window: the board must have the focus before anything is typed.
  esperar "$E2E_PRAZO" com_foco || falhar "the board never got the keyboard focus"
  for ((a = RANDOM % 3; a > 0; a--)); do
    preparar_acao
    ultimo_passo
    espera
    escritas=$((escritas + 1))
  done
  preparar_acao
  # Nothing is being written now: the snapshot is every finished write.
  sqlite3 -cmd '.timeout 5000' "$BANCO" ".backup '$SNAP'" || falhar "snapshot"
  # A tick is tried again and again, so the kill meets it at any point of its write; the other
  # actions write once, within milliseconds of their last event.
  if [ "$tipo" = marcar ]; then
    xdotool mousemove --window "$E2E_JANELA" 45 $((166 + 16 * linha)) click --repeat 40 --delay 15 1 &
    clique=$!
    espera_ms=$((RANDOM % 600))
  else
    ultimo_passo
    espera_ms=$((RANDOM % 40))
  fi
  # The random moment of the kill.
  sleep "$(printf '0.%03d' "$espera_ms")"
  kill -KILL "$E2E_PID"
  wait "$E2E_PID" 2>/dev/null
  E2E_PID=""
  # The clicks left go to the empty desktop; stopping xdotool could leave the button held down.
  [ "$tipo" = marcar ] && wait "$clique" 2>/dev/null
  # The file as it is on disk now; a journal left beside it means the kill came inside a write.
  rm -rf "${COPIA%/*}"; mkdir -p "${COPIA%/*}"
  cp "$BANCO" "$COPIA"
  if [ -s "$BANCO-journal" ]; then cp "$BANCO-journal" "$COPIA-journal"; quentes=$((quentes + 1)); fi
  conferir
  aplicadas=$((aplicadas + feito))
  por_tipo[$tipo]=$((${por_tipo[$tipo]:-0} + 1))
done
resumo=""
for t in "${!por_tipo[@]}"; do resumo+=" $t=${por_tipo[$t]}"; done
echo "queda: $quedas kills in $(( $(date +%s) - inicio )) s, seed $semente; $escritas finished writes checked;" \
  "kills inside a write transaction: $quentes; interrupted actions found done: $aplicadas; interrupted:$resumo"
echo "queda: final file: $(sql 'select count(*) from Grupo_Fazela') groups, $(sql 'select count(*) from Fazelas') tasks"
