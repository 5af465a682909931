#!/usr/bin/env bash
# The package tried as users would, on this machine (as root):
#
#   bash tools/experimentar_pacote.sh [PACKAGE.deb]        (default: build/pacote/fazelas_*.deb)
#
# Installs the package with apt-get, makes two normal users for the test and starts the board as
# each of them the way the menu does (its desktop entry, through gio), on an X server of its own:
# each gets a board of their own in their data folder. A copy of the program beside another file
# uses that file; a data folder that cannot be written is reported. Then removes the package (both
# boards stay), installs it again (the same boards come back) and, at the end, removes the package
# and the two users again.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
deb=$(realpath "${1:-$(ls "$raiz"/build/pacote/fazelas_*.deb)}")
[ "$(id -u)" -eq 0 ] || { echo "needs root: it installs the package and makes users" >&2; exit 2; }
! dpkg-query -W -f='${Status}' fazelas 2>/dev/null | grep -q 'install ok' \
  || { echo "fazelas is installed already; this check would remove it at the end" >&2; exit 2; }
usuarios=(fzl-teste-ana fzl-teste-bia)
for u in "${usuarios[@]}"; do ! id "$u" >/dev/null 2>&1 || { echo "user $u exists already" >&2; exit 2; }; done
bash "$raiz/tools/instalar_pacotes.sh" libglib2.0-bin # gio: starts a desktop entry as the menus do

source "$raiz/tests/e2e/comum.sh"
morrer() { echo "FALHA: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }
pids=()
encerrar_tudo() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  parar_x
  apt-get remove -y -qq fazelas >/dev/null 2>&1 || true
  # What the users' sessions left running (the accessibility bus Qt starts where no session bus is).
  for u in "${usuarios[@]}"; do
    id "$u" >/dev/null 2>&1 || continue
    for p in $(pgrep -u "$u"); do kill "$p" 2>/dev/null || true; done
    esperar "$E2E_PRAZO" bash -c "! pgrep -u $u" || true
    userdel -r "$u" 2>/dev/null || echo "the test user $u could not be removed" >&2
  done
}
trap encerrar_tudo EXIT
iniciar_x || morrer "no X server"
echo "Screenshots and logs: $E2E_TMP"
chmod 711 "$E2E_TMP" # the users' runtime folders lie inside

instalar() { apt-get install -y -qq "$deb" >"$E2E_TMP/apt.log" 2>&1 || morrer "apt-get install: $(cat "$E2E_TMP/apt.log")"; }
remover() { apt-get remove -y -qq fazelas >"$E2E_TMP/apt.log" 2>&1 || morrer "apt-get remove: $(cat "$E2E_TMP/apt.log")"; }
for u in "${usuarios[@]}"; do useradd -m -s /bin/bash "$u"; done
arquivo_de() { echo "$(getent passwd "$1" | cut -d: -f6)/.local/share/fazelas/fzldados.mdb"; }
como() { local u=$1; shift; runuser -u "$u" -- "$@"; }
sql_de() { como "$1" sqlite3 "$2" "$3"; }

# na_sessao USER [VAR=VALUE...] COMMAND...: runs COMMAND as USER with what a desktop session gives
# (home, display, a runtime folder of their own) and nothing of ours.
na_sessao() {
  local u=$1; shift
  local casa; casa=$(getent passwd "$u" | cut -d: -f6)
  local run="$E2E_TMP/run-$u"
  [ -d "$run" ] || { mkdir -m 700 "$run" && chown "$u" "$run"; }
  runuser -u "$u" -- env -i HOME="$casa" USER="$u" LOGNAME="$u" PATH=/usr/local/bin:/usr/bin:/bin \
    DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$run" LANG=C.UTF-8 "$@"
}
# iniciar USER LOG [VAR=VALUE...] [COMMAND...]: starts the board as USER from the menu's entry, or
# with COMMAND; PID is the program's process.
iniciar() {
  local u=$1 log=$2; shift 2
  local antes; antes=$(pgrep -u "$u" -x fazelas || true)
  local variaveis=()
  while [ $# -gt 0 ] && [[ $1 == *=* ]]; do variaveis+=("$1"); shift; done
  [ $# -gt 0 ] || set -- gio launch /usr/share/applications/fazelas.desktop
  na_sessao "$u" "${variaveis[@]}" "$@" >"$log" 2>&1 &
  novo() { pgrep -u "$u" -x fazelas | grep -vxF "${antes:-none}"; }
  esperar "$E2E_PRAZO" novo || morrer "$u: no program started: $(cat "$log")"
  PID=$(novo | head -n1)
  pids+=("$PID")
}
# quadro PID: the id of the program's board window, once it is shown.
quadro() {
  local w WIDTH X Y HEIGHT SCREEN WINDOW
  for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    WIDTH=0; geometria "$w"
    [ "$WIDTH" -gt 100 ] && { echo "$w"; return 0; }
  done
  return 1
}
# mostra PID COLOUR: the board shows its first row in COLOUR (the colour of its task's priority).
mostra() {
  local w; w=$(quadro "$1") || return 1
  geometria "$w"
  [ "$(cor_em "$(foto "quadro-$1")" $((X + 356)) $((Y + 166)))" = "$2" ]
}
parar() { kill "$1"; esperar "$E2E_PRAZO" bash -c "! kill -0 $1" || morrer "the program $1 did not end"; }
# uma_tarefa PRIORITY NAME: statements that give a board group 1 with one task, shown at start.
uma_tarefa() {
  echo "INSERT INTO Grupo_Fazela VALUES (1, 'Casa'); UPDATE Config SET Ultimo_Grupo = 1;
        INSERT INTO Fazelas (Cod_Grupo, Fazela, Descricao, Prioridade) VALUES (1, '$2', 'x', $1);"
}
conteudo() { sql_de "$1" "$2" "SELECT Codigo, Cod_Grupo, Fazela, Prioridade FROM Fazelas"; }
verde=128,255,128 vermelho=255,128,128 amarelo=255,255,128

instalar
ok "apt-get install $(basename "$deb")"
ana=${usuarios[0]} bia=${usuarios[1]}
for u in "$ana" "$bia"; do
  iniciar "$u" "$E2E_TMP/$u.log"
  esperar "$E2E_PRAZO" quadro "$PID" || morrer "$u: no board: $(cat "$E2E_TMP/$u.log")"
  f=$(arquivo_de "$u")
  [ "$(stat -c %U "$f")" = "$u" ] || morrer "$u: $f is not the user's"
  [ "$(stat -c %a "$(dirname "$f")")" = 700 ] || morrer "$u: the data folder is open to others"
  [ "$(sql_de "$u" "$f" 'SELECT count(*) FROM Config WHERE Ultimo_Grupo IS NULL')" = 1 ] || morrer "$u: not a new board"
  parar "$PID"
  ok "$u: the menu entry started the board; its new, empty board is $f"
done
sql_de "$ana" "$(arquivo_de "$ana")" "$(uma_tarefa 3 'Varrer a sala')"
sql_de "$bia" "$(arquivo_de "$bia")" "$(uma_tarefa 5 'Pagar a luz')"

# Both at once, side by side: each board shows its own user's task.
dois_quadros() {
  iniciar "$ana" "$E2E_TMP/$ana.log"; local pa=$PID
  esperar "$E2E_PRAZO" quadro "$pa" || morrer "$ana: no board"
  xdotool windowmove "$(quadro "$pa")" 20 40
  iniciar "$bia" "$E2E_TMP/$bia.log"; local pb=$PID
  esperar "$E2E_PRAZO" quadro "$pb" || morrer "$bia: no board"
  xdotool windowmove "$(quadro "$pb")" 540 40
  esperar "$E2E_PRAZO" mostra "$pa" "$verde" || morrer "$ana's board does not show her task"
  esperar "$E2E_PRAZO" mostra "$pb" "$vermelho" || morrer "$bia's board does not show her task"
  foto "$1" >/dev/null
  parar "$pa"; parar "$pb"
}
dois_quadros dois-quadros
ok "two users at once, two boards: $ana's task in green, $bia's in red ($E2E_TMP/dois-quadros.png)"

antes_ana=$(conteudo "$ana" "$(arquivo_de "$ana")") antes_bia=$(conteudo "$bia" "$(arquivo_de "$bia")")
remover
[ ! -e /usr/bin/fazelas ] || morrer "the program is still there after apt-get remove"
[ "$(conteudo "$ana" "$(arquivo_de "$ana")")" = "$antes_ana" ] && [ "$(conteudo "$bia" "$(arquivo_de "$bia")")" = "$antes_bia" ] \
  || morrer "apt-get remove touched a board"
ok "apt-get remove: the program is gone, both boards are kept as they were"
instalar
dois_quadros de-volta
[ "$(conteudo "$ana" "$(arquivo_de "$ana")")" = "$antes_ana" ] && [ "$(conteudo "$bia" "$(arquivo_de "$bia")")" = "$antes_bia" ] \
  || morrer "a board changed after reinstalling"
ok "installed again: the same two boards come back ($E2E_TMP/de-volta.png)"

# A copy of the program beside another file is a board of its own; without its file it says so.
casa=$(getent passwd "$ana" | cut -d: -f6)
como "$ana" mkdir "$casa/quadro"
como "$ana" cp /usr/bin/fazelas "$casa/quadro/"
como "$ana" fazelas-criar-banco "$casa/quadro" >/dev/null
sql_de "$ana" "$casa/quadro/fzldados.mdb" "$(uma_tarefa 4 'Regar')"
iniciar "$ana" "$E2E_TMP/copia.log" "$casa/quadro/fazelas"
esperar "$E2E_PRAZO" mostra "$PID" "$amarelo" || morrer "the copy does not show the board beside it: $(cat "$E2E_TMP/copia.log")"
parar "$PID"
[ "$(conteudo "$ana" "$(arquivo_de "$ana")")" = "$antes_ana" ] || morrer "the copy touched the user's board"
como "$ana" rm "$casa/quadro/fzldados.mdb"
iniciar "$ana" "$E2E_TMP/copia.log" "$casa/quadro/fazelas"
esperar "$E2E_PRAZO" grep -qxF "Problema: o arquivo não foi encontrado." "$E2E_TMP/copia.log" \
  || morrer "the copy without its file: $(cat "$E2E_TMP/copia.log")"
parar "$PID"
[ ! -e "$casa/quadro/fzldados.mdb" ] || morrer "the copy made a file"
ok "a copy in ~/quadro uses the file beside it, and without it reports the file missing"

# A data folder that cannot be made, or made but not written, is reported, and nothing is made.
como "$ana" mkdir -m 500 "$casa/trancada"
como "$ana" mkdir -p "$casa/sem-gravacao/fazelas"
como "$ana" chmod 500 "$casa/sem-gravacao/fazelas"
for caso in "trancada:não pôde ser criada" "sem-gravacao:não permite gravação"; do
  pasta=${caso%%:*}
  iniciar "$ana" "$E2E_TMP/$pasta.log" XDG_DATA_HOME="$casa/$pasta"
  esperar "$E2E_PRAZO" grep -qxF "Problema: a pasta de dados do usuário ${caso#*:}." "$E2E_TMP/$pasta.log" \
    || morrer "$pasta: $(cat "$E2E_TMP/$pasta.log")"
  foto "$pasta" >/dev/null
  parar "$PID"
  [ -z "$(find "$casa/$pasta" -type f)" ] || morrer "$pasta: a file was made"
  sed -n '/^fazelas: /,$p' "$E2E_TMP/$pasta.log"
done
ok "a data folder that cannot be made or written is reported in plain words ($E2E_TMP/trancada.png)"

remover
ok "apt-get remove at the end; the test users go with their boards"
echo "experimentar_pacote: all checks passed"
