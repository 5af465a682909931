# Dragging, stacking, the notification-area icon and its menu, and one copy
# per folder, on the real window manager.

# janela_icone: the id of the program's icon docked in icewm's tray.
janela_icone() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null); do
    [ "$w" != "$E2E_JANELA" ] && xwininfo -id "$w" -children | grep -q 'Parent window id: .*"YXTrayEmbedder"' \
      && { echo "$w"; return 0; }
  done
  return 1
}
janela_com_icone() { iniciar_programa; esperar "$E2E_PRAZO" janela_icone || e2e_morrer "no icon in the tray"; E2E_ICONE=$(janela_icone); }
janela_visivel() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
janela_oculta() { ! janela_visivel "$1"; }
janela_no_topo() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
janela_fora_do_topo() { xprop -id "$1" _NET_WM_STATE >/dev/null 2>&1 && ! janela_no_topo "$1"; }
janela_morta() { ! kill -0 "$1" 2>/dev/null; }
janela_na_posicao() { geometria "$E2E_JANELA"; [ "$X" -eq "$1" ] && [ "$Y" -eq "$2" ]; }
janela_duplo_clique_no_icone() { xdotool mousemove --window "$E2E_ICONE" 12 12 click --repeat 2 --delay 80 1; }
# The close image, at 398,75 of the window.
janela_fechar() {
  xdotool mousemove --window "$E2E_JANELA" 398 75 click 1
  esperar "$E2E_PRAZO" janela_oculta "$E2E_JANELA" || e2e_morrer "the close image did not hide the board"
}

# janela_arrastar BUTTON FROM_X FROM_Y TO_X TO_Y: drags with BUTTON and waits for the board at (E_X, E_Y).
# The window manager takes the pointer a moment after the press, so the pointer is moved to the
# target again until the board has followed.
janela_arrastar() {
  local botao=$1 x2=$4 y2=$5
  xdotool mousemove "$2" "$3" mousedown "$botao"
  janela_seguiu() { xdotool mousemove $((x2 + 1)) "$y2" mousemove "$x2" "$y2"; janela_na_posicao "$E_X" "$E_Y"; }
  esperar "$E2E_PRAZO" janela_seguiu
  local r=$?
  xdotool mouseup "$botao"
  return $r
}

caso_janela_arrasto() {
  # Whatever a copy is called, desktops know its window by the class its desktop entry names.
  cp "$E2E_PASTA/fazelas" "$E2E_PASTA/quadro" && E2E_PROGRAMA=quadro iniciar_programa
  [ "$(xprop -id "$E2E_JANELA" WM_CLASS)" = 'WM_CLASS(STRING) = "fazelas", "Fazelas"' ] || e2e_morrer "$(xprop -id "$E2E_JANELA" WM_CLASS)"
  geometria "$E2E_JANELA"
  local x0=$X y0=$Y botao dx dy
  local px=$((x0 + 12)) py=$((y0 + 300)) # the brown frame: no control covers it
  # Each button moves it, and each move ends with the release of that button.
  while read -r botao dx dy; do
    E_X=$((X + dx)) E_Y=$((Y + dy)) janela_arrastar "$botao" $px $py $((px + dx)) $((py + dy)) \
      || e2e_morrer "drag with button $botao: at $X,$Y"
    px=$((px + dx)) py=$((py + dy))
  done <<<$'1 60 -40\n3 -40 20\n2 -10 10'
  # Quick clicks are over before a window manager could take them: none may leave the board
  # following the pointer, which would show below as a board moved.
  xdotool click 1 click 3 click 2 mousemove $((x0 + 300)) $((y0 + 300))
  # A press on a control is the control's: pressing the close image and leaving it before the
  # release neither moves the board nor hides it.
  local cx=$((x0 + 10 + 2 + 398)) cy=$((y0 - 10 + 75))
  xdotool mousemove $cx $cy mousedown 1 mousemove $((cx - 40)) $((cy + 30)) mousemove $((cx - 80)) $((cy + 60)) mouseup 1
  E_X=$((x0 + 20)) E_Y=$((y0 - 10)) janela_arrastar 1 $((x0 + 22)) $((y0 + 290)) $((x0 + 32)) $((y0 + 290)) \
    || e2e_morrer "pressing a control moved the board: $X,$Y"
  janela_visivel "$E2E_JANELA" || e2e_morrer "the board is hidden"
}

caso_janela_topo_e_icone() {
  janela_com_icone
  janela_fora_do_topo "$E2E_JANELA" || e2e_morrer "the board starts on top"
  geometria "$E2E_JANELA"; local x0=$X y0=$Y
  # Shown: a double-click on the icon puts it on top, unmoved; the close image hides it and takes
  # it off the top, and the program goes on.
  janela_duplo_clique_no_icone
  esperar "$E2E_PRAZO" janela_no_topo "$E2E_JANELA" || e2e_morrer "not on top after a double-click"
  janela_na_posicao $x0 $y0 || e2e_morrer "keep-above moved the board"
  janela_fechar
  # Hidden: a double-click shows it again as an ordinary window, where it was.
  janela_duplo_clique_no_icone
  esperar "$E2E_PRAZO" janela_visivel "$E2E_JANELA" || e2e_morrer "a double-click did not show the board"
  esperar "$E2E_PRAZO" janela_fora_do_topo "$E2E_JANELA" || e2e_morrer "shown again on top"
  janela_na_posicao $x0 $y0 || e2e_morrer "shown again elsewhere"
  # Alt+F4 hides it too while the icon is there.
  xdotool windowactivate --sync "$E2E_JANELA" key alt+F4
  esperar "$E2E_PRAZO" janela_oculta "$E2E_JANELA" || e2e_morrer "Alt+F4 did not hide the board"
  janela_duplo_clique_no_icone
  esperar "$E2E_PRAZO" janela_visivel "$E2E_JANELA" || e2e_morrer "the board did not come back"
}

caso_janela_encerrar() {
  janela_com_icone
  janela_fechar
  # The menu opens on the right button, over the icon; its item ends the program with status 0.
  xdotool mousemove --window "$E2E_ICONE" 12 12 click 3
  local menu
  janela_menu() {
    menu=$(xdotool search --onlyvisible --pid "$E2E_PID" --class fazelas 2>/dev/null | grep -vx -e "$E2E_ICONE" -e "$E2E_JANELA" | head -n1)
    [ -n "$menu" ]
  }
  esperar "$E2E_PRAZO" janela_menu || e2e_morrer "no menu"
  geometria "$menu"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
  esperar "$E2E_PRAZO" janela_morta "$E2E_PID" || e2e_morrer "Encerrar did not end the program"
  wait "$E2E_PID"; local estado=$?
  E2E_PID=""
  [ "$estado" -eq 0 ] || e2e_morrer "ended with status $estado"
  ! xwininfo -root -tree | grep -q -e '"fazelas"' -e YXTrayEmbedder || e2e_morrer "a window or an icon is left"
}

caso_janela_uma_copia_por_pasta() {
  # Two started at once: one gives way, with status 0, and one board shows.
  "$E2E_PASTA/fazelas" >/dev/null 2>&1 & local a=$!
  "$E2E_PASTA/fazelas" >/dev/null 2>&1 & local b=$!
  janela_uma_terminou() { janela_morta "$a" || janela_morta "$b"; }
  esperar "$E2E_PRAZO" janela_uma_terminou || { kill "$a" "$b"; e2e_morrer "both copies run"; }
  if janela_morta "$a"; then wait "$a"; else wait "$b"; fi
  [ $? -eq 0 ] || e2e_morrer "the copy that gave way ended with a failure"
  janela_morta "$a" && E2E_PID=$b || E2E_PID=$a
  kill -9 "$E2E_PID"; wait "$E2E_PID" 2>/dev/null || true
  # The killed copy left its lock behind; the next start takes it over, and a later one, started
  # while it is hidden, ends at once and silently, and brings its board back.
  janela_com_icone
  janela_fechar
  timeout 20 "$E2E_PASTA/fazelas" >"$E2E_PASTA/segunda.log" 2>&1 || e2e_morrer "the second copy ended with $?"
  [ ! -s "$E2E_PASTA/segunda.log" ] || e2e_morrer "the second copy said: $(cat "$E2E_PASTA/segunda.log")"
  esperar "$E2E_PRAZO" janela_visivel "$E2E_JANELA" || e2e_morrer "the running copy's board did not come back"
  # Left on another desktop, it comes to the one the user is on.
  xdotool set_desktop_for_window "$E2E_JANELA" 2
  esperar "$E2E_PRAZO" janela_oculta "$E2E_JANELA" || e2e_morrer "the board did not go to desktop 2"
  timeout 20 "$E2E_PASTA/fazelas" || e2e_morrer "the second start failed"
  esperar "$E2E_PRAZO" janela_visivel "$E2E_JANELA" || e2e_morrer "the board stayed on desktop 2"
  [ "$(xwininfo -root -tree | grep -c YXTrayEmbedder)" -eq 1 ] || e2e_morrer "more than one icon"
  # A copy in another folder is another board, with its own database: it runs beside.
  local outra; outra=$(mktemp -d "$E2E_TMP/outra.XXXX")
  cp "$E2E_PASTA/fazelas" "$outra/" && "$CRIAR_BANCO" "$outra" >/dev/null
  "$outra/fazelas" >/dev/null 2>&1 & local c=$!
  local r=0
  esperar "$E2E_PRAZO" bash -c "[ -n \"\$(xdotool search --onlyvisible --pid $c --name '^Form1\$')\" ]" || r=1
  kill "$c"; wait "$c" 2>/dev/null || true
  [ $r -eq 0 ] || e2e_morrer "a copy in another folder did not start"
}
