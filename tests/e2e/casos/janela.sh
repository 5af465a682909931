# Dragging, stacking, the notification-area icon and its menu, and one copy per data file, on the
# real window manager.

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

# janela_levar BUTTON FROM_X FROM_Y TO_X TO_Y: presses BUTTON and moves the pointer until the board is
# at (E_X, E_Y). The window manager takes the pointer a moment after the press, so the pointer is
# moved to the target again until the board has followed. janela_arrastar releases the button too,
# and sees that the board stays there when the pointer moves on (janela_parada).
janela_levar() {
  local x2=$4 y2=$5
  xdotool mousemove "$2" "$3" mousedown "$1"
  janela_seguiu() { xdotool mousemove $((x2 + 1)) "$y2" mousemove "$x2" "$y2"; janela_na_posicao "$E_X" "$E_Y"; }
  esperar "$E2E_PRAZO" janela_seguiu
}
janela_arrastar() {
  janela_levar "$@"
  local r=$?
  xdotool mouseup "$1"
  [ $r -eq 0 ] && janela_parada
}

# janela_parada: the board stays at (E_X, E_Y) when the pointer moves on: the pointer goes to the
# new-group image, where it lies if the board stayed, and clicks until the group panel unfolds (a
# window manager may still hold the pointer for a moment after the release). A board still
# following the pointer, or a window manager still moving it, would take the click on its frame.
# The window's own pixels: a compositing window manager may not paint the screen anew on Xvfb.
janela_painel() { import -window "$E2E_JANELA" "$E2E_TMP/parada.png" && [ "$(cor_em "$E2E_TMP/parada.png" 372 357)" = "0,0,255" ]; }
janela_sem_painel() { ! janela_painel; }
janela_parada() {
  xdotool mousemove $((E_X + 44)) $((E_Y + 75))
  janela_abriu() { xdotool click 1; janela_painel; }
  esperar "$E2E_PRAZO" janela_abriu || { geometria "$E2E_JANELA"; e2e_morrer "the board followed the pointer after the release: at $X,$Y, not $E_X,$E_Y"; }
  janela_na_posicao "$E_X" "$E_Y" || e2e_morrer "the board moved after the release: at $X,$Y, not $E_X,$E_Y"
  xdotool mousemove $((E_X + 302)) $((E_Y + 336)) click 1 # the panel's Cancelar
  esperar "$E2E_PRAZO" janela_sem_painel || e2e_morrer "the group panel did not fold"
}

caso_janela_arrasto() {
  # Whatever a copy is called, desktops know its window by the class its desktop entry names.
  cp "$E2E_PASTA/fazelas" "$E2E_PASTA/quadro" && E2E_PROGRAMA=quadro iniciar_programa
  [ "$(xprop -id "$E2E_JANELA" WM_CLASS)" = 'WM_CLASS(STRING) = "fazelas", "Fazelas"' ] || e2e_morrer "$(xprop -id "$E2E_JANELA" WM_CLASS)"
  # Task bars and window lists call it by the entry's name, with its icon at every size they ask for.
  [ "$(xprop -id "$E2E_JANELA" _NET_WM_NAME)" = '_NET_WM_NAME(UTF8_STRING) = "Fazelas"' ] || e2e_morrer "$(xprop -id "$E2E_JANELA" _NET_WM_NAME)"
  janela_icones() { [ "$(xprop -len 1000000 -id "$E2E_JANELA" _NET_WM_ICON | grep -o 'Icon ([0-9]*' | grep -o '[0-9]*$' | sort -n | xargs)" = "$1" ]; }
  esperar "$E2E_PRAZO" janela_icones "16 22 24 32 48 64 128 256" || e2e_morrer "icon sizes: $(xprop -len 1000000 -id "$E2E_JANELA" _NET_WM_ICON | grep -o 'Icon ([0-9]*')"
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
  # following the pointer.
  xdotool click 1 click 3 click 2
  E_X=$X E_Y=$Y janela_parada
  # A press on a control is the control's: pressing the close image and leaving it before the
  # release neither moves the board nor hides it.
  local cx=$((x0 + 10 + 2 + 398)) cy=$((y0 - 10 + 75))
  xdotool mousemove $cx $cy mousedown 1 mousemove $((cx - 40)) $((cy + 30)) mousemove $((cx - 80)) $((cy + 60)) mouseup 1
  E_X=$((x0 + 20)) E_Y=$((y0 - 10)) janela_arrastar 1 $((x0 + 22)) $((y0 + 290)) $((x0 + 32)) $((y0 + 290)) \
    || e2e_morrer "pressing a control moved the board: $X,$Y"
  janela_visivel "$E2E_JANELA" || e2e_morrer "the board is hidden"
}

caso_janela_sem_gerenciador() {
  # The window manager dies while it moves the board: the board stays where it was left, when the
  # button is released too and the pointer moves on.
  trap 'parar_programa; gerenciador_vivo || iniciar_gerenciador' EXIT
  iniciar_programa
  geometria "$E2E_JANELA"
  local px=$((X + 12)) py=$((Y + 300)) botao
  E_X=$((X + 30)) E_Y=$((Y + 20)) janela_levar 1 $px $py $((px + 30)) $((py + 20)) || e2e_morrer "the board did not follow"
  kill -9 "$E2E_WM"
  esperar "$E2E_PRAZO" eval '! gerenciador_vivo' || e2e_morrer "the window manager did not end"
  geometria "$E2E_JANELA"; E_X=$X E_Y=$Y
  xdotool mousemove $((px + 90)) $((py + 60)) mouseup 1
  janela_parada
  # With none, the board follows the pointer itself, with each button, until its release.
  px=$((X + 12)) py=$((Y + 300))
  for botao in 1 3 2; do
    E_X=$((X + 25)) E_Y=$((Y - 15)) janela_arrastar $botao $px $py $((px + 25)) $((py - 15)) \
      || e2e_morrer "drag with button $botao and no window manager: at $X,$Y"
    px=$((px + 25)) py=$((py - 15))
  done
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

# janela_cedeu [ENV...]: a start, with env's arguments, ends at once, silently, with status 0 (Qt's
# own warnings about the runtime folder aside, which any Qt program gives).
janela_cedeu() {
  env "$@" timeout 20 "$E2E_PASTA/fazelas" >"$E2E_PASTA/segunda.log" 2>&1 || e2e_morrer "the second copy ended with $?"
  ! grep -v '^QStandardPaths: ' "$E2E_PASTA/segunda.log" || e2e_morrer "the second copy spoke"
}

caso_janela_uma_copia_por_arquivo() {
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
  janela_cedeu
  esperar "$E2E_PRAZO" janela_visivel "$E2E_JANELA" || e2e_morrer "the running copy's board did not come back"
  # Left on another desktop, it comes to the one the user is on. (Moved only once it is active: an
  # activation still on its way would take the user along to desktop 2.)
  janela_ativa() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$((E2E_JANELA))" ]; }
  esperar "$E2E_PRAZO" janela_ativa || e2e_morrer "the board that came back is not active"
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
  esperar "$E2E_PRAZO" janela_do_programa "$c" || r=1
  kill "$c"; wait "$c" 2>/dev/null || true
  [ $r -eq 0 ] || e2e_morrer "a copy in another folder did not start"
}

caso_janela_trava() {
  # A copy whose runtime folders another user could write (a session folder open to all, one in the
  # temporary folder that someone else made first) puts nothing there; its lock lies beside the
  # file, where a copy started in another environment finds it.
  local comum="$E2E_TMP/comum" trava="$E2E_PASTA/fzldados.mdb-trava"
  mkdir -m 1777 "$comum" && mkdir -m 777 "$comum/runtime-$(id -un)"
  XDG_RUNTIME_DIR=$comum TMPDIR=$comum iniciar_programa
  [ "$(find "$comum" -mindepth 1)" = "$comum/runtime-$(id -un)" ] || e2e_morrer "written where others can write: $(find "$comum")"
  [ -f "$trava" ] || e2e_morrer "no lock beside the file"
  janela_cedeu
  janela_cedeu -u XDG_RUNTIME_DIR TMPDIR="$comum"
  # The folder copied while the board runs is another board, lock and all.
  local primeira=$E2E_PID
  cp -a "$E2E_PASTA" "$E2E_PASTA.copia" && E2E_PASTA=$E2E_PASTA.copia iniciar_programa
  parar_programa; E2E_PID=$primeira parar_programa
  # A lock no copy holds is taken over, whatever it says; an empty one just made is a copy starting
  # now, and one that a copy on another machine holds is that copy's.
  printf lixo >"$trava"; iniciar_programa; parar_programa
  : >"$trava"; janela_cedeu
  touch -d '-1 minute' "$trava"; iniciar_programa; parar_programa
  printf '4242\nfazelas\noutra-maquina\n' >"$trava"
  exec 8<"$trava" && flock -n 8 || e2e_morrer "the lock could not be held"
  janela_cedeu
  exec 8<&-
  iniciar_programa
}
