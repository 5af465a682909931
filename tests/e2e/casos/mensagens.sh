# The message panel rings the X server's bell once for every message, information or question.
# xkbevd prints every bell the keyboard extension reports; the ones that sound (not its own
# "ImAlive" at start, nor other named notices) are the program's.

mensagens_toques() { grep -c '!event_only' "$E2E_PASTA/sino.log"; }
mensagens_tocou() { [ "$(mensagens_toques)" -eq "$1" ]; }
# The message's title bar, blue, where the task panel below it is green.
mensagens_aberta() { [ "$(cor_em "$(foto mensagem)" $((X + 330)) $((Y + 265)))" = "0,0,255" ]; }
mensagens_fechada() { ! mensagens_aberta; }

# mensagens_uma X Y ANSWER_X ANSWER_Y BELLS: the click at X,Y shows a message, after which the
# bell has rung BELLS times in all; the answer closes it.
mensagens_uma() {
  entradas_clicar "$1" "$2"
  esperar "$E2E_PRAZO" mensagens_aberta || e2e_morrer "no message after a click at $1,$2"
  esperar "$E2E_PRAZO" mensagens_tocou "$5" || e2e_morrer "$(mensagens_toques) bells, not $5"
  entradas_clicar "$3" "$4"
  esperar "$E2E_PRAZO" mensagens_fechada || e2e_morrer "the message stayed"
}

caso_mensagens_tocam_o_sino() {
  echo "Bell() printEvent" >"$E2E_PASTA/sino.cf"
  stdbuf -oL xkbevd -cfg "$E2E_PASTA/sino.cf" >"$E2E_PASTA/sino.log" 2>&1 &
  trap "kill $!; parar_programa" EXIT
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa'); UPDATE Config SET Ultimo_Grupo = 1;"
  iniciar_programa
  geometria "$E2E_JANELA"
  # "Incluir" on a task without a name informs ("Okay"); deleting the group asks ("Cancelar").
  entradas_clicar 92 75
  esperar "$E2E_PRAZO" entradas_painel 411 || e2e_morrer "the task panel did not unfold"
  mensagens_uma 140 390 230 325 1
  entradas_clicar 364 200
  esperar "$E2E_PRAZO" entradas_sem_painel 411 || e2e_morrer "the task panel stayed"
  mensagens_uma 68 75 324 325 2
  mensagens_tocou 2 && [ "$(sql 'SELECT count(*) FROM Grupo_Fazela')" = 1 ] \
    || e2e_morrer "$(mensagens_toques) bells for two messages; $(sql 'SELECT count(*) FROM Grupo_Fazela') groups"
}
