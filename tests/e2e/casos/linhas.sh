# The row actions on the real board: a click on a mark ticks the task off, a double-click on a
# row opens it for change. Uses the row geometry of grade.sh.

caso_linhas_marcar_com_o_mouse() {
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa');
       INSERT INTO Fazelas (Codigo, Cod_Grupo, Fazela, Descricao, Prioridade) VALUES
         (50001, 1, 'Lavar', 'a', 4), (50002, 1, 'Varrer', 'b', 4);
       UPDATE Config SET Ultimo_Grupo = 1;"
  iniciar_programa
  geometria "$E2E_JANELA"
  esperar_cor "$E2E_PRAZO" "$(linha_x)" "$(linha_y 1)" 255,255,128 || e2e_morrer "the rows were not painted"
  xdotool mousemove $((X + 2 + 44)) "$(linha_y 1)" click 1
  esperar "$E2E_PRAZO" bash -c "[ \"\$(sqlite3 '$E2E_PASTA/fzldados.mdb' \
    'SELECT Codigo FROM Fazelas WHERE Executado = \"S\"')\" = 50002 ]" || e2e_morrer "the tick was not written"
  [ "$(sql 'SELECT count(*) FROM Fazelas WHERE Executado IS NOT NULL')" = 1 ] || e2e_morrer "another task changed"
  marcada() { f=$(foto linhas-marca); [ "$(marcas "$f" 1)" -gt 10 ] && [ "$(marcas "$f" 0)" -eq 0 ]; }
  esperar "$E2E_PRAZO" marcada || e2e_morrer "the mark is not on row 1 alone"
}

caso_linhas_alterar_prioridade() {
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa');
       INSERT INTO Fazelas (Codigo, Cod_Grupo, Fazela, Descricao, Prioridade) VALUES (7, 1, 'Lavar', 'a', 2);
       UPDATE Config SET Ultimo_Grupo = 1;"
  iniciar_programa
  geometria "$E2E_JANELA"
  esperar_cor "$E2E_PRAZO" "$(linha_x)" "$(linha_y 0)" 192,192,255 || e2e_morrer "the row was not painted"
  xdotool mousemove "$(linha_x)" "$(linha_y 0)" click --repeat 2 --delay 80 1
  # The task panel unfolds over the rows; its name box shows the task, so priority is next.
  esperar_cor "$E2E_PRAZO" $((X + 82 + 150)) $((Y + 189 + 183)) 0,192,0 || e2e_morrer "the task panel did not unfold"
  xdotool key Tab Down Down Down Return Return Return
  esperar "$E2E_PRAZO" bash -c "[ \"\$(sqlite3 '$E2E_PASTA/fzldados.mdb' 'SELECT Prioridade FROM Fazelas')\" = 5 ]" \
    || e2e_morrer "the priority was not changed: $(sql 'SELECT * FROM Fazelas')"
  esperar_cor "$E2E_PRAZO" "$(linha_x)" "$(linha_y 0)" 255,128,128 || e2e_morrer "the row did not turn urgent"
  foto linhas-prioridade >/dev/null
}
