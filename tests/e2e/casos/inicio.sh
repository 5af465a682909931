# The board starts from a prepared database, sized to its picture and centred.

caso_inicio_tamanho_e_foto() {
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa'); UPDATE Config SET Ultimo_Grupo = 1;"
  iniciar_programa
  geometria "$E2E_JANELA"
  [ "$WIDTH" -eq 454 ] && [ "$HEIGHT" -eq 595 ] || e2e_morrer "window is ${WIDTH}x${HEIGHT}"
  # Centred on the 1024x768 screen, give or take the window manager's rounding.
  [ $(( X + WIDTH / 2 - 512 )) -le 2 ] && [ $(( X + WIDTH / 2 - 512 )) -ge -2 ] || e2e_morrer "not centred: x=$X"
  # The sheet shows its light blue in the middle of the board once it is painted.
  esperar_cor "$E2E_PRAZO" $((X + 220)) $((Y + 400)) 157,201,221 || e2e_morrer "no sheet at the centre"
  foto inicio >/dev/null
}
