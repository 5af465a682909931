# Failure reports on the real program: each way the database can fail the user ends in a report
# that names the file and the failure in plain words ("fazelas: ..." on standard error and a
# message window titled "Fazelas"), without a crash, and the file is as it was, with nothing new
# beside it. A failure at start-up or on a read ends the program with status 1; a write from a
# panel that fails leaves the board and the panel as the user left them.

source "$(dirname "${BASH_SOURCE[0]}")/../digitar_e_colar.sh"

# falhas_retrato FOLDER: what the folder holds, with the database's checksum (the log and the lock
# of a running copy left out).
falhas_retrato() {
  (cd "$1" && find . -mindepth 1 ! -name saida.log ! -name fzldados.mdb-trava | sort && sha256sum fzldados.mdb 2>/dev/null) || true
}

# falhas_iniciar: starts the program without waiting for its board (through FALHAS_COMO, if set).
falhas_iniciar() { ${FALHAS_COMO:-} "$E2E_PASTA/fazelas" >"${FALHAS_LOG:-$E2E_PASTA/saida.log}" 2>&1 & E2E_PID=$!; }

# falhas_janela_do_relatorio: the report's window, a dialog (the tray icon's window, untitled, is
# called after the application too).
falhas_janela_do_relatorio() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$E2E_PID" --name '^Fazelas$' 2>/dev/null); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DIALOG && { echo "$w"; return 0; }
  done
  return 1
}
falhas_terminou() { ! kill -0 "$E2E_PID" 2>/dev/null; }

# falhas_responder_relatorio NAME: waits for the report and answers it with Enter as a user would.
falhas_responder_relatorio() {
  esperar "$E2E_PRAZO" falhas_janela_do_relatorio || e2e_morrer "$1: no report: $(cat "${FALHAS_LOG:-$E2E_PASTA/saida.log}")"
  foto "relatorio-$1" >/dev/null
  xdotool windowactivate --sync "$(falhas_janela_do_relatorio)" key Return
  falhas_sem_relatorio() { ! falhas_janela_do_relatorio; }
  esperar "$E2E_PRAZO" falhas_sem_relatorio || e2e_morrer "$1: the report did not go away"
}

# falhas_dispensar_relatorio NAME: answers the report and waits for the program to end;
# FALHAS_ESTADO is its exit status.
falhas_dispensar_relatorio() {
  falhas_responder_relatorio "$1"
  esperar "$E2E_PRAZO" falhas_terminou || e2e_morrer "$1: the program did not end after its report"
  FALHAS_ESTADO=0
  wait "$E2E_PID" || FALHAS_ESTADO=$?
  E2E_PID=""
}

# falhas_conferir NAME PROBLEM: the report named the file and the problem, and the program ended
# with status 1 (not by a signal) and left no core.
falhas_conferir() {
  [ "$FALHAS_ESTADO" -eq 1 ] || e2e_morrer "$1: ended with status $FALHAS_ESTADO: $(cat "${FALHAS_LOG:-$E2E_PASTA/saida.log}")"
  falhas_relatorio_conferir "$@"
  [ -n "${FALHAS_TRAVA_PLANTADA:-}" ] || [ ! -e "$E2E_PASTA/fzldados.mdb-trava" ] || e2e_morrer "$1: the lock is left"
}

# falhas_relatorio_conferir NAME PROBLEM: the report named the file and the problem, without a crash.
falhas_relatorio_conferir() {
  local log=${FALHAS_LOG:-$E2E_PASTA/saida.log}
  grep -q '^fazelas: Falha no banco de dados do Fazelas\.$' "$log" || e2e_morrer "$1: no report on stderr: $(cat "$log")"
  grep -qxF "Arquivo: $E2E_PASTA/fzldados.mdb" "$log" || e2e_morrer "$1: the file is not named: $(cat "$log")"
  grep -qxF "Problema: $2" "$log" || e2e_morrer "$1: wrong problem: $(grep Problema "$log")"
  ! grep -qiE 'segmentation|abort|core dumped|terminate called' "$log" || e2e_morrer "$1: crashed: $(cat "$log")"
  ! compgen -G "$E2E_PASTA/core*" >/dev/null || e2e_morrer "$1: left a core"
}

# falhas_na_partida NAME PROBLEM: the program fails while it starts, on the file as it is.
falhas_na_partida() {
  local antes; antes=$(falhas_retrato "$E2E_PASTA")
  falhas_iniciar
  falhas_dispensar_relatorio "$1"
  falhas_conferir "$1" "$2"
  [ "$(falhas_retrato "$E2E_PASTA")" = "$antes" ] || e2e_morrer "$1: the folder changed: $(ls -la "$E2E_PASTA")"
}

caso_falhas_arquivo_inutilizavel() {
  local banco="$E2E_PASTA/fzldados.mdb"
  rm "$banco"
  falhas_na_partida ausente "o arquivo não foi encontrado."
  : >"$banco"
  falhas_na_partida vazio "o arquivo está vazio: não tem as tabelas do Fazelas."
}

# falhas_disco_proprio SIZE [CLEANUP]: moves the case to a file system of its own of SIZE, with the
# program and a new database; false where none can be mounted.
falhas_disco_proprio() {
  local disco="$E2E_PASTA/disco"
  mkdir "$disco"
  if ! mount -t tmpfs -o "size=$1" tmpfs "$disco" 2>/dev/null; then
    echo "PULADO: no file system of its own can be mounted here (needs root with mount rights)"
    return 1
  fi
  trap "${2:+$2; }parar_programa; umount '$disco' || umount -l '$disco'" EXIT
  E2E_PASTA=$disco
  cp "$FAZELAS" "$E2E_PASTA/fazelas" && "$CRIAR_BANCO" "$E2E_PASTA" >/dev/null
}

caso_falhas_trava() {
  # A lock that cannot be taken for another reason than a copy that runs: something else in its
  # place, another user's lock, a folder that takes no new file.
  local trava="$E2E_PASTA/fzldados.mdb-trava" FALHAS_TRAVA_PLANTADA=1
  mkdir "$trava"
  falhas_na_partida pasta "a trava fzldados.mdb-trava, ao lado dele, não é um arquivo comum."
  rmdir "$trava"
  if [ "$(id -u)" -eq 0 ]; then
    printf lixo >"$trava" && chown 65534 "$trava"
    falhas_na_partida alheia "a trava fzldados.mdb-trava, ao lado dele, pertence a outro usuário, que pode estar com o Fazelas aberto neste arquivo."
    rm "$trava"
  fi
  FALHAS_LOG=$E2E_PASTA/saida.log FALHAS_TRAVA_PLANTADA=
  falhas_disco_proprio 64m || return 0
  trava=$E2E_PASTA/fzldados.mdb-trava
  local problema="o sistema de arquivos só permite leitura."
  mount -o remount,ro "$E2E_PASTA"
  falhas_na_partida so-leitura "$problema"
  # The lock of a copy that was killed, which cannot be taken away.
  mount -o remount,rw "$E2E_PASTA" && printf '2147483000\nfazelas\n\n' >"$trava" && mount -o remount,ro "$E2E_PASTA"
  FALHAS_TRAVA_PLANTADA=1 falhas_na_partida so-leitura-com-trava "$problema"
}

falhas_travado() { ! sqlite3 -cmd '.timeout 0' "$E2E_PASTA/fzldados.mdb" 'SELECT count(*) FROM Config'; }
falhas_linha_pintada() { [ "$(cor_em "$(foto falhas-grade)" $((X + 356)) $((Y + 166)))" = "$1" ]; }

caso_falhas_em_uso_por_outro_programa() {
  local banco="$E2E_PASTA/fzldados.mdb"
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa');
       INSERT INTO Fazelas (Cod_Grupo, Fazela, Descricao, Prioridade) VALUES (1, 'Varrer', 'a', 3);
       UPDATE Config SET Ultimo_Grupo = 1;"
  iniciar_programa
  geometria "$E2E_JANELA"
  esperar "$E2E_PRAZO" falhas_linha_pintada 128,255,128 || e2e_morrer "the task is not shown"
  local antes; antes=$(falhas_retrato "$E2E_PASTA")
  # Another program takes the file for itself and keeps it longer than the program waits.
  local fila="$E2E_PASTA.fila"
  mkfifo "$fila"
  sqlite3 "$banco" <"$fila" >/dev/null 2>&1 &
  local outro=$!
  exec 7>"$fila"
  echo "BEGIN EXCLUSIVE;" >&7
  esperar "$E2E_PRAZO" falhas_travado || e2e_morrer "the other program did not lock the file"
  # Ticking the task writes.
  local t0; t0=$(date +%s%N)
  xdotool mousemove $((X + 2 + 35 + 8)) $((Y + 158 + 8)) click 1
  esperar "$E2E_PRAZO" falhas_janela_do_relatorio || e2e_morrer "no report: $(cat "$E2E_PASTA/saida.log")"
  local espera=$(( ($(date +%s%N) - t0) / 1000000 ))
  [ "$espera" -ge 2500 ] || e2e_morrer "reported after ${espera} ms, without waiting for the other program"
  falhas_dispensar_relatorio em-uso
  echo "ROLLBACK;" >&7
  exec 7>&-
  wait "$outro" || true
  falhas_conferir em-uso "o banco de dados está em uso por outro programa e não ficou livre a tempo."
  [ "$(falhas_retrato "$E2E_PASTA")" = "$antes" ] || e2e_morrer "the folder changed: $(ls -la "$E2E_PASTA")"
  [ "$(sql 'SELECT quote(Executado) FROM Fazelas')" = NULL ] || e2e_morrer "the tick was written"
}

caso_falhas_disco_cheio() {
  falhas_disco_proprio 48m transferir_parar || return 0
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa'); UPDATE Config SET Ultimo_Grupo = 1;"
  iniciar_programa
  geometria "$E2E_JANELA"
  falhas_painel_cheio() { [ "$(cor_em "$(foto falhas-painel)" $((X + 372)) $((Y + 411)))" = "0,0,255" ]; }
  falhas_nova_fazela() {
    xdotool mousemove --window "$E2E_JANELA" 92 75 click 1
    esperar "$E2E_PRAZO" falhas_painel_cheio || e2e_morrer "the task panel did not unfold"
    xdotool mousemove --window "$E2E_JANELA" 226 246 click 1 type --delay 15 "$1"
    xdotool mousemove --window "$E2E_JANELA" 226 323 click 1
  }
  # A task written while there is room.
  falhas_nova_fazela "Antes d'encher"
  xdotool type --delay 15 "cabe"
  xdotool key Return
  esperar "$E2E_PRAZO" bash -c "[ \"\$(sqlite3 '$E2E_PASTA/fzldados.mdb' 'SELECT count(*) FROM Fazelas')\" = 1 ]" \
    || e2e_morrer "the first task was not written"
  esperar "$E2E_PRAZO" falhas_linha_pintada 128,255,128 || e2e_morrer "the first task is not shown"
  # The disk fills but for a few pages: the journal fits, the next task's long description does not.
  local descricao="$E2E_TMP/descricao-longa.txt"
  for i in $(seq 20000); do echo "Linha $i de uma descrição que não cabe no disco"; done >"$descricao"
  falhas_nova_fazela "Depois de encher"
  local livre; livre=$(df --output=avail -k "$E2E_PASTA" | tail -n1)
  dd if=/dev/zero of="$E2E_PASTA/enchimento" bs=1k count=$((livre - 48)) status=none
  local antes; antes=$(falhas_retrato "$E2E_PASTA")
  colar "$descricao"
  xdotool key Return
  falhas_responder_relatorio disco-cheio
  falhas_relatorio_conferir disco-cheio "o disco está cheio."
  [ "$(falhas_retrato "$E2E_PASTA")" = "$antes" ] || e2e_morrer "the folder changed: $(ls -la "$E2E_PASTA")"
  [ "$(sql 'PRAGMA integrity_check')" = ok ] || e2e_morrer "the file is damaged"
  [ "$(sql "SELECT Fazela || '|' || Descricao FROM Fazelas")" = "Antes d'encher|cabe" ] \
    || e2e_morrer "the tasks are now: $(sql 'SELECT Codigo, Fazela FROM Fazelas')"
  # The board is still there with the panel and what was typed: once there is room, the same
  # Enter writes it whole.
  ! falhas_terminou || e2e_morrer "the program ended after a failed write"
  falhas_painel_cheio || e2e_morrer "the task panel is gone"
  rm "$E2E_PASTA/enchimento"
  xdotool mousemove --window "$E2E_JANELA" 226 323 click 1 key Return
  esperar "$E2E_PRAZO" bash -c "[ \"\$(sqlite3 '$E2E_PASTA/fzldados.mdb' 'SELECT count(*) FROM Fazelas')\" = 2 ]" \
    || e2e_morrer "the task was not written once there was room"
  [ "$(sql "SELECT Fazela FROM Fazelas WHERE Codigo = 2")" = "Depois de encher" ] || e2e_morrer "the name was lost"
  [ "$(sql "SELECT Descricao = CAST(readfile('$descricao') AS TEXT) FROM Fazelas WHERE Codigo = 2")" = 1 ] \
    || e2e_morrer "the description was not kept"
}

# A file or a folder the user may not write. Root writes anywhere, so when the tests run as root
# the program runs as the ordinary user fazelas-teste, made for them the first time.
caso_falhas_somente_leitura() {
  local usuario=fazelas-teste run
  run=$(mktemp -d "$E2E_TMP/run.XXXX")
  if [ "$(id -u)" -eq 0 ]; then
    # Another run may be making it at the same moment.
    id "$usuario" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$usuario" 2>/dev/null \
      || id "$usuario" >/dev/null 2>&1 || e2e_morrer "cannot create the user $usuario"
    chmod 711 "$E2E_TMP"
    chown -R "$usuario:" "$E2E_PASTA" "$run"
    FALHAS_COMO="setpriv --reuid=$usuario --regid=$usuario --init-groups"
  fi
  FALHAS_COMO="${FALHAS_COMO:-} env XDG_RUNTIME_DIR=$run HOME=$run"
  chmod a-w "$E2E_PASTA/fzldados.mdb"
  falhas_na_partida arquivo "o arquivo só permite leitura."
  chmod u+w "$E2E_PASTA/fzldados.mdb"
  chmod a-w "$E2E_PASTA"
  falhas_na_partida pasta "a pasta do arquivo não permite gravação (o Fazelas precisa criar arquivos temporários ao lado dele)."
  chmod u+w "$E2E_PASTA"
}
