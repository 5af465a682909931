# The grid of a prepared group on the real board, and the group remembered across a restart.

grade_falhar() { echo "FALHA: $*" >&2; exit 1; }

# Screen points of row I (after `geometria`): the empty right part of its label, and the inside
# of its mark. The board picture lies 2 pixels into the window; rows are 16 pixels apart.
linha_x() { echo $((X + 2 + 54 + 300)); }
linha_y() { echo $((Y + 158 + 16 * $1 + 8)); }
# marcas FILE I: how many dark pixels the mark of row I shows (its border left out).
marcas() {
  convert "$1" -crop "16x15+$((X + 2 + 35))+$((Y + 158 + 16 * $2 + 1))" +repage -colorspace gray \
    -threshold 40% -negate -format '%[fx:round(mean*w*h)]' info:
}
cor_da_linha() { cor_em "$1" "$(linha_x)" "$(linha_y "$2")"; }
# lista FILE OUT: the inside of the group list, where its text is.
lista() { convert "$1" -crop "230x11+$((X + 2 + 140))+$((Y + 134))" +repage "$2"; }
iguais() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }
# lista_aberta: the list's pop-up is mapped (a window of the program as wide as the list; the
# tray icon is another, small one).
lista_aberta() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null); do
    [ "$w" != "$E2E_JANELA" ] && xdotool getwindowgeometry "$w" | grep -Eq 'Geometry: [0-9]{3}x' && return 0
  done
  return 1
}

caso_grade_cores_e_marcas() {
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa'), (2, 'Outro');
       INSERT INTO Fazelas (Codigo, Cod_Grupo, Fazela, Descricao, Prioridade, Executado) VALUES
         (1, 1, 'Urgente', 'a', 5, 'S'), (2, 1, 'Alta', 'b', 4, NULL), (3, 1, 'Média', 'c', 3, 'S'),
         (4, 1, 'Baixa', 'd', 2, NULL), (5, 1, 'Nenhuma', 'e', 1, 'S'), (6, 1, 'Sem', 'f', 0, NULL),
         (40000, 1, 'Alta antes', 'Água', 4, NULL), (7, 2, 'Alheia', 'a', 5, NULL);
       UPDATE Config SET Ultimo_Grupo = 1;"
  iniciar_programa
  geometria "$E2E_JANELA"
  # The window may be mapped a moment before it is painted.
  pintada() { f=$(foto grade); [ "$(cor_da_linha "$f" 0)" = "255,128,128" ]; }
  esperar "$E2E_PRAZO" pintada || grade_falhar "row 0 is $(cor_da_linha "$f" 0)"
  local vazia; vazia=$(cor_da_linha "$f" 12)
  local esperadas=("255,128,128" "255,255,128" "255,255,128" "128,255,128" "192,192,255" "255,255,255" "$vazia")
  local feitas=(1 0 0 1 0 1 0)
  for i in "${!esperadas[@]}"; do
    [ "$(cor_da_linha "$f" "$i")" = "${esperadas[$i]}" ] \
      || grade_falhar "row $i is $(cor_da_linha "$f" "$i"), not ${esperadas[$i]}"
    local escuros; escuros=$(marcas "$f" "$i")
    if [ "${feitas[$i]}" = 1 ]; then [ "$escuros" -gt 10 ] || grade_falhar "row $i has no check mark"
    else [ "$escuros" -eq 0 ] || grade_falhar "row $i shows $escuros dark pixels in its mark"; fi
  done
  [ "$vazia" != "255,255,255" ] || grade_falhar "the board under the rows is white"
}

caso_grade_lembra_o_grupo() {
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa'), (2, 'Trabalho');
       INSERT INTO Fazelas (Cod_Grupo, Fazela, Descricao, Prioridade) VALUES (1, 'Lavar', 'a', 5),
         (2, 'Relatório', 'b', 3);
       UPDATE Config SET Ultimo_Grupo = 1;"
  iniciar_programa
  geometria "$E2E_JANELA"
  linha_vermelha() { f=$(foto lembra-antes); [ "$(cor_da_linha "$f" 0)" = "255,128,128" ]; }
  esperar "$E2E_PRAZO" linha_vermelha || grade_falhar "group 1 is not shown at start"
  lista "$f" "$E2E_TMP/lista-casa.png"

  # The user opens the list and picks the second group with the keyboard.
  xdotool mousemove $((X + 2 + 200)) $((Y + 140)) click 1
  esperar "$E2E_PRAZO" lista_aberta || grade_falhar "the list did not open"
  xdotool key Down Return
  esperar "$E2E_PRAZO" bash -c "[ \"\$(sqlite3 '$E2E_PASTA/fzldados.mdb' 'SELECT Ultimo_Grupo FROM Config')\" = 2 ]" \
    || grade_falhar "the choice was not written"
  linha_verde() { f=$(foto "$1"); [ "$(cor_da_linha "$f" 0)" = "128,255,128" ]; }
  esperar "$E2E_PRAZO" linha_verde lembra-escolhido || grade_falhar "the grid did not load group 2"
  lista "$f" "$E2E_TMP/lista-trabalho.png"
  iguais "$E2E_TMP/lista-casa.png" "$E2E_TMP/lista-trabalho.png" && grade_falhar "the list still shows group 1"

  kill -TERM "$E2E_PID"
  wait "$E2E_PID" 2>/dev/null || true
  iniciar_programa
  geometria "$E2E_JANELA"
  esperar "$E2E_PRAZO" linha_verde lembra-depois || grade_falhar "group 2 is not shown after the restart"
  lista "$f" "$E2E_TMP/lista-depois.png"
  iguais "$E2E_TMP/lista-trabalho.png" "$E2E_TMP/lista-depois.png" || grade_falhar "the list does not show group 2"
}
