# The panels on the real program: a task added with the keyboard alone, a group added and then
# deleted through its confirmation.
# Window coordinates (pixels): the board images sit on row 75 (new group 42, delete group 68,
# new task 92); each panel's bottom-right pixel is its blue edge once it has fully unfolded.

source "$(dirname "${BASH_SOURCE[0]}")/../digitar_e_colar.sh"

# painel_cheio X Y: the pixel at window X,Y shows a panel's blue edge.
painel_cheio() { [ "$(cor_em "$(foto painel)" $((X + $1)) $((Y + $2)))" = "0,0,255" ]; }
painel_fechado() { ! painel_cheio "$@"; }
paineis_clicar() { xdotool mousemove --window "$E2E_JANELA" "$1" "$2" click 1; }
# paineis_digitar TEXT...: types each text, then Return, with a key of its own for every character
# the keyboard lacks (see teclado_com).
paineis_digitar() {
  local i=0 t
  for t in "$@"; do printf '%s' "$t" >"$E2E_PASTA/texto$i"; i=$((i + 1)); done
  trap 'teclado_restaurar; parar_programa' EXIT
  teclado_com "$E2E_PASTA"/texto*
  for ((j = 0; j < i; j++)); do digitar "$E2E_PASTA/texto$j"; xdotool key Return; done
  teclado_restaurar
}

# paineis_consulta SQL VALUE: the query gives exactly that value.
paineis_consulta() { [ "$(sql "$1")" = "$2" ]; }

caso_paineis_fazela_pelo_teclado() {
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa'); UPDATE Config SET Ultimo_Grupo = 1;"
  iniciar_programa
  geometria "$E2E_JANELA"
  paineis_clicar 92 75
  esperar "$E2E_PRAZO" painel_cheio 372 411 || e2e_morrer "the task panel did not unfold"
  # Opening puts the focus nowhere: Tab enters the panel at the priority list.
  xdotool key Tab End Return
  paineis_digitar "Pão d'água; \"já\" \\ 🙂" "Comprar às 7h; it's ok"
  esperar "$E2E_PRAZO" paineis_consulta "select count(*) from Fazelas" 1 || e2e_morrer "the task was not written"
  local linha
  linha=$(sql "select Cod_Grupo || '|' || Fazela || '|' || Descricao || '|' || Prioridade || '|' || (Executado is null) from Fazelas")
  [ "$linha" = "1|Pão d'água; \"já\" \\ 🙂|Comprar às 7h; it's ok|5|1" ] || e2e_morrer "written as: $linha"
  # The panel is gone and the first row shows the task in the colour of "Urgente".
  esperar "$E2E_PRAZO" painel_fechado 372 411 || e2e_morrer "the task panel stayed open"
  local f; f=$(foto fazela_incluida)
  [ "$(cor_em "$f" $((X + 380)) $((Y + 166)))" = "255,128,128" ] || e2e_morrer "no urgent row on the board"
}

caso_paineis_grupo_incluir_e_excluir() {
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa');
       INSERT INTO Fazelas(Cod_Grupo, Fazela, Prioridade) VALUES (1, 'Varrer', 3), (1, 'Lavar', 5);
       UPDATE Config SET Ultimo_Grupo = 1;"
  iniciar_programa
  geometria "$E2E_JANELA"

  paineis_clicar 42 75
  esperar "$E2E_PRAZO" painel_cheio 372 357 || e2e_morrer "the group panel did not unfold"
  paineis_clicar 182 301
  paineis_digitar "Oficina d'ele 🙂"
  esperar "$E2E_PRAZO" paineis_consulta "select Grupo from Grupo_Fazela where Codigo = 2" "Oficina d'ele 🙂" \
    || e2e_morrer "the group was not written: $(sql 'select * from Grupo_Fazela')"
  esperar "$E2E_PRAZO" painel_fechado 372 357 || e2e_morrer "the group panel stayed open"

  # Cancelling the confirmation deletes nothing.
  paineis_clicar 68 75
  esperar "$E2E_PRAZO" painel_cheio 372 346 || e2e_morrer "the confirmation did not unfold"
  foto confirmacao >/dev/null
  paineis_clicar 322 325
  esperar "$E2E_PRAZO" painel_fechado 372 346 || e2e_morrer "the confirmation stayed open"
  [ "$(sql 'select count(*) from Fazelas')" = 2 ] || e2e_morrer "cancel deleted tasks"

  # Confirming deletes the current group with its tasks; the group left becomes current.
  paineis_clicar 68 75
  esperar "$E2E_PRAZO" painel_cheio 372 346 || e2e_morrer "the confirmation did not unfold again"
  paineis_clicar 134 325
  esperar "$E2E_PRAZO" paineis_consulta "select group_concat(Codigo) from Grupo_Fazela" 2 \
    || e2e_morrer "the group was not deleted"
  [ "$(sql 'select count(*) from Fazelas')" = 0 ] || e2e_morrer "its tasks are still there"
  [ "$(sql 'select Ultimo_Grupo from Config')" = 2 ] || e2e_morrer "the group left was not remembered"
}
