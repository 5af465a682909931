# The message panel rings the X server's bell once for every message, information or question.
# xkbevd prints every bell the keyboard extension reports; the ones that sound (not its own
# "ImAlive" at start, nor other named notices) are the program's.

mensagens_toques() { [ "$(grep -c '!event_only' "$E2E_PASTA/sino.log")" -eq "$1" ]; }
# The message's title bar, blue, where the task panel below it is green.
mensagens_aberta() { [ "$(cor_em "$(foto mensagem)" $((X + 330)) $((Y + 265)))" = "0,0,255" ]; }
mensagens_fechada() { ! mensagens_aberta; }
mensagens_clicar() { xdotool mousemove --window "$E2E_JANELA" "$1" "$2" click 1; }

caso_mensagens_tocam_o_sino() {
  echo "Bell() printEvent" >"$E2E_PASTA/sino.cf"
  stdbuf -oL xkbevd -cfg "$E2E_PASTA/sino.cf" >"$E2E_PASTA/sino.log" 2>&1 &
  local evd=$!
  trap "kill $evd; parar_programa" EXIT
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa'); UPDATE Config SET Ultimo_Grupo = 1;"
  iniciar_programa
  geometria "$E2E_JANELA"
  # A task without a name: the information, answered with "Okay".
  mensagens_clicar 92 75
  esperar "$E2E_PRAZO" entradas_painel 411 || e2e_morrer "the task panel did not unfold"
  mensagens_toques 0 || e2e_morrer "a bell before any message"
  mensagens_clicar 140 390
  esperar "$E2E_PRAZO" mensagens_aberta || e2e_morrer "no message"
  esperar "$E2E_PRAZO" mensagens_toques 1 || e2e_morrer "$(grep -c '!event_only' "$E2E_PASTA/sino.log") bells for the information"
  mensagens_clicar 230 325
  esperar "$E2E_PRAZO" mensagens_fechada || e2e_morrer "the information stayed"
  mensagens_clicar 364 200
  esperar "$E2E_PRAZO" entradas_sem_painel 411 || e2e_morrer "the task panel stayed"
  # Deleting the group: the question, answered with "Cancelar".
  mensagens_clicar 68 75
  esperar "$E2E_PRAZO" mensagens_aberta || e2e_morrer "no question"
  esperar "$E2E_PRAZO" mensagens_toques 2 || e2e_morrer "$(grep -c '!event_only' "$E2E_PASTA/sino.log") bells after the question"
  mensagens_clicar 324 325
  esperar "$E2E_PRAZO" mensagens_fechada || e2e_morrer "the question stayed"
  mensagens_toques 2 || e2e_morrer "$(grep -c '!event_only' "$E2E_PASTA/sino.log") bells for two messages"
  [ "$(sql 'SELECT count(*) FROM Grupo_Fazela')" = 1 ] || e2e_morrer "the group is gone"
}
