# The board from the keyboard alone: a group added, a task added, ticked off and changed, with key
# events only (no pointer), the file checked after each step.

teclado_teclas() { xdotool key --delay 40 "$@"; }
teclado_igual() { [ "$(sql "$1")" = "$2" ]; }
# teclado_espera SQL EXPECTED WHAT: the statement gives EXPECTED, or the case ends.
teclado_espera() { esperar "$E2E_PRAZO" teclado_igual "$1" "$2" || e2e_morrer "$3: $(sql "$1")"; }
teclado_com_foco() { [ "$(xdotool getwindowfocus)" = "$E2E_JANELA" ]; }

caso_teclado_sem_mouse() {
  iniciar_programa
  esperar "$E2E_PRAZO" teclado_com_foco || e2e_morrer "the board did not get the keyboard"
  # Each key is handled after the one before it: a panel opened by a key is there for the next.
  # The keyboard starts on PicFocus; PicPrancheta and the empty group list (disabled) come before
  # the first image button. A panel takes the keyboard with Tab, and gives it back on closing.
  teclado_teclas Tab Tab space
  teclado_teclas Tab
  xdotool type --delay 12 "Casa"
  teclado_teclas Return
  teclado_espera "SELECT Codigo, Grupo FROM Grupo_Fazela" "1|Casa" "the group"
  # From "Novo grupo" to "Nova fazela"; priority one step down from "Média", name, description.
  teclado_teclas Tab Tab space
  teclado_teclas Tab Down Return
  xdotool type --delay 12 "Pagar a luz"
  teclado_teclas Return
  xdotool type --delay 12 "Vence dia 10"
  teclado_teclas Return
  teclado_espera "SELECT Codigo, Fazela, Descricao, Prioridade, quote(Executado) FROM Fazelas" \
    "1|Pagar a luz|Vence dia 10|4|NULL" "the task"
  # Back over "Excluir grupo" and "Novo grupo" (the hidden scroll bar is skipped) to the row.
  teclado_teclas shift+Tab shift+Tab shift+Tab space
  teclado_espera "SELECT quote(Executado) FROM Fazelas" "'S'" "ticked with Space"
  teclado_teclas space
  teclado_espera "SELECT quote(Executado) FROM Fazelas" "NULL" "reopened with Space"
  teclado_teclas space
  teclado_espera "SELECT quote(Executado) FROM Fazelas" "'S'" "ticked again"
  # Enter opens it for change: priority, name (all of it replaced), description, Enter changes it.
  teclado_teclas Return
  teclado_teclas Tab Up Return ctrl+a
  xdotool type --delay 12 "Pagar a conta de luz"
  teclado_teclas Return Return
  teclado_espera "SELECT Codigo, Fazela, Descricao, Prioridade, quote(Executado) FROM Fazelas" \
    "1|Pagar a conta de luz|Vence dia 10|3|'S'" "the change"
  # The keyboard is back on the row: Space reopens the changed task.
  teclado_teclas space
  teclado_espera "SELECT quote(Executado) FROM Fazelas" "NULL" "reopened after the change"
}
