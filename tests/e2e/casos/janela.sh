# The board's outline, dragging, stacking, the notification-area icon and the single instance.

# Ends the case at once: each case runs in a subshell of its own.
janela_falhar() { echo "FALHA: $*" >&2; exit 1; }

# janela_icone: the id of the program's icon docked in icewm's tray.
janela_icone() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null); do
    [ "$w" = "$E2E_JANELA" ] && continue
    xwininfo -id "$w" -children | grep -q 'Parent window id: .*"YXTrayEmbedder"' && { echo "$w"; return 0; }
  done
  return 1
}

janela_esperar_icone() {
  esperar "$E2E_PRAZO" janela_icone || janela_falhar "no icon in the tray"
  E2E_ICONE=$(janela_icone)
}

janela_visivel() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
janela_oculta() { ! janela_visivel "$1"; }
janela_no_topo() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
janela_fora_do_topo() { xprop -id "$1" _NET_WM_STATE >/dev/null 2>&1 && ! janela_no_topo "$1"; }
janela_vivo() { kill -0 "$1" 2>/dev/null; }
janela_morta() { ! janela_vivo "$1"; }
janela_na_posicao() { geometria "$E2E_JANELA"; [ "$X" -eq "$1" ] && [ "$Y" -eq "$2" ]; }

janela_duplo_clique_no_icone() { xdotool mousemove --window "$E2E_ICONE" 12 12 click --repeat 2 --delay 80 1; }

# janela_clicar X Y: a click at a point of the board picture (the window starts 2 pixels to its left).
janela_clicar() { geometria "$E2E_JANELA"; xdotool mousemove $((X + 2 + $1)) $((Y + $2)) click 1; }

caso_janela_contorno() {
  iniciar_programa
  geometria "$E2E_JANELA"
  [ "$WIDTH" -eq 454 ] && [ "$HEIGHT" -eq 595 ] || janela_falhar "window is ${WIDTH}x${HEIGHT}"
  # The clipboard's box in the picture is (5,3)-(446,591); the picture lies 2 pixels into the window.
  xwininfo -id "$E2E_JANELA" -shape | grep -q 'Window shape extents:  442x589+7+3' \
    || janela_falhar "shape: $(xwininfo -id "$E2E_JANELA" -shape | grep 'shape extents')"
  local f fundo
  f=$(foto contorno)
  fundo=$(cor_em "$f" 3 3)
  for p in "0 0" "1 300" "453 0" "0 594" "453 594" "6 300" "449 300"; do
    set -- $p
    [ "$(cor_em "$f" $((X + $1)) $((Y + $2)))" = "$fundo" ] || janela_falhar "window point $1,$2 is not the desktop"
  done
  local roxos
  roxos=$(convert "$f" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage -fill black +opaque 'rgb(41,22,111)' \
    -fill white -opaque 'rgb(41,22,111)' -format '%[fx:round(mean*w*h)]' info:)
  [ "$roxos" -eq 0 ] || janela_falhar "$roxos pixels of the transparent colour show"
  # The clipboard's own edge is there: its left and right columns are not the desktop.
  [ "$(cor_em "$f" $((X + 7)) $((Y + 300)))" != "$fundo" ] || janela_falhar "left edge cut"
  [ "$(cor_em "$f" $((X + 448)) $((Y + 300)))" != "$fundo" ] || janela_falhar "right edge cut"
  # A click through a hole of the outline reaches the window below, not the board.
  xdotool mousemove $((X + 1)) $((Y + 300))
  eval "$(xdotool getmouselocation --shell)"
  [ "$WINDOW" != "$E2E_JANELA" ] || janela_falhar "the pointer in the outline's hole is on the board"
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
  [ "$(xprop -id "$E2E_JANELA" WM_CLASS)" = 'WM_CLASS(STRING) = "fazelas", "Fazelas"' ] || janela_falhar "$(xprop -id "$E2E_JANELA" WM_CLASS)"
  geometria "$E2E_JANELA"
  local x0=$X y0=$Y botao dx dy
  local px=$((x0 + 12)) py=$((y0 + 300)) # the brown frame: no control covers it
  # Each button moves it, and each move ends with the release of that button.
  while read -r botao dx dy; do
    E_X=$((X + dx)) E_Y=$((Y + dy)) janela_arrastar "$botao" $px $py $((px + dx)) $((py + dy)) \
      || janela_falhar "drag with button $botao: at $X,$Y"
    px=$((px + dx)) py=$((py + dy))
  done <<<$'1 60 -40\n3 -40 20\n2 -10 10'
  # Quick clicks are over before a window manager could take them: none may leave the board
  # following the pointer, which would show below as a board moved.
  xdotool click 1 click 3 click 2 mousemove $((x0 + 300)) $((y0 + 300))
  # A press on a control is the control's: pressing the close image and leaving it before the
  # release neither moves the board nor hides it.
  local cx=$((x0 + 10 + 2 + 398)) cy=$((y0 - 10 + 75))
  xdotool mousemove $cx $cy mousedown 1 mousemove $((cx - 40)) $((cy + 30)) \
    mousemove $((cx - 80)) $((cy + 60)) mouseup 1
  # Had it moved, this drag from the frame could not end where the board stood.
  E_X=$((x0 + 20)) E_Y=$((y0 - 10)) janela_arrastar 1 $((x0 + 22)) $((y0 + 290)) $((x0 + 32)) $((y0 + 290)) \
    || janela_falhar "pressing a control moved the board: $X,$Y"
  janela_visivel "$E2E_JANELA" || janela_falhar "the board is hidden"
}

caso_janela_topo_e_icone() {
  iniciar_programa
  janela_esperar_icone
  [ "$(xdotool getwindowname "$E2E_ICONE" 2>/dev/null)" != "Form1" ] || janela_falhar "wrong icon window"
  janela_fora_do_topo "$E2E_JANELA" || janela_falhar "the board starts on top"
  geometria "$E2E_JANELA"; local x0=$X y0=$Y
  # Shown: a double-click on the icon puts it on top, where it stays, unmoved.
  janela_duplo_clique_no_icone
  esperar "$E2E_PRAZO" janela_no_topo "$E2E_JANELA" || janela_falhar "not on top after a double-click"
  janela_na_posicao $x0 $y0 || janela_falhar "keep-above moved the board"
  # The close image hides it and takes it off the top.
  janela_clicar 398 75
  esperar "$E2E_PRAZO" janela_oculta "$E2E_JANELA" || janela_falhar "the close image did not hide the board"
  janela_vivo "$E2E_PID" || janela_falhar "the program ended"
  # Hidden: a double-click shows it again as an ordinary window...
  janela_duplo_clique_no_icone
  esperar "$E2E_PRAZO" janela_visivel "$E2E_JANELA" || janela_falhar "a double-click did not show the board"
  esperar "$E2E_PRAZO" janela_fora_do_topo "$E2E_JANELA" || janela_falhar "shown again on top"
  janela_na_posicao $x0 $y0 || janela_falhar "shown again elsewhere"
  # ... and the next one puts it on top.
  janela_duplo_clique_no_icone
  esperar "$E2E_PRAZO" janela_no_topo "$E2E_JANELA" || janela_falhar "not on top after the second double-click"
}

caso_janela_fechar_pelo_gerenciador() {
  iniciar_programa
  janela_esperar_icone
  xdotool windowactivate --sync "$E2E_JANELA" key alt+F4
  esperar "$E2E_PRAZO" janela_oculta "$E2E_JANELA" || janela_falhar "Alt+F4 did not hide the board"
  janela_vivo "$E2E_PID" || janela_falhar "Alt+F4 ended the program while the icon is there"
  janela_duplo_clique_no_icone
  esperar "$E2E_PRAZO" janela_visivel "$E2E_JANELA" || janela_falhar "the board did not come back"
}

caso_janela_encerrar() {
  iniciar_programa
  janela_esperar_icone
  janela_clicar 398 75
  esperar "$E2E_PRAZO" janela_oculta "$E2E_JANELA" || janela_falhar "the board did not hide"
  # The menu opens on the right button, over the icon, with its one item.
  xdotool mousemove --window "$E2E_ICONE" 12 12 click 3
  local menu
  janela_menu_aberto() {
    menu=$(xdotool search --onlyvisible --pid "$E2E_PID" --class fazelas 2>/dev/null \
      | while read -r w; do [ "$w" != "$E2E_ICONE" ] && [ "$w" != "$E2E_JANELA" ] && echo "$w"; done | head -n1)
    [ -n "$menu" ]
  }
  esperar "$E2E_PRAZO" janela_menu_aberto || janela_falhar "no menu"
  geometria "$menu"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
  esperar "$E2E_PRAZO" janela_morta "$E2E_PID" || janela_falhar "Encerrar did not end the program"
  wait "$E2E_PID"; local estado=$?
  E2E_PID=""
  [ "$estado" -eq 0 ] || janela_falhar "ended with status $estado"
  ! xwininfo -root -tree | grep -q '"fazelas"' || janela_falhar "a window of the program is left"
  ! xwininfo -root -tree | grep -q YXTrayEmbedder || janela_falhar "an icon is left in the tray"
}

caso_janela_segunda_copia() {
  iniciar_programa
  janela_esperar_icone
  local primeiro=$E2E_PID
  # The running copy is hidden: a second start brings its board back, and ends silently.
  janela_clicar 398 75
  esperar "$E2E_PRAZO" janela_oculta "$E2E_JANELA" || janela_falhar "the board did not hide"
  timeout 20 "$E2E_PASTA/fazelas" >"$E2E_PASTA/segunda.log" 2>&1
  local estado=$?
  [ "$estado" -eq 0 ] || janela_falhar "the second copy ended with status $estado"
  [ ! -s "$E2E_PASTA/segunda.log" ] || janela_falhar "the second copy said: $(cat "$E2E_PASTA/segunda.log")"
  janela_vivo "$primeiro" || janela_falhar "the first copy ended"
  esperar "$E2E_PRAZO" janela_visivel "$E2E_JANELA" || janela_falhar "the running copy's board did not come back"
  # Left on another desktop, it comes to the one the user is on.
  xdotool set_desktop_for_window "$E2E_JANELA" 2
  esperar "$E2E_PRAZO" janela_oculta "$E2E_JANELA" || janela_falhar "the board did not go to desktop 2"
  timeout 20 "$E2E_PASTA/fazelas" || janela_falhar "the second start failed"
  esperar "$E2E_PRAZO" janela_visivel "$E2E_JANELA" || janela_falhar "the board stayed on desktop 2"
  [ "$(xwininfo -root -tree | grep -c YXTrayEmbedder)" -eq 1 ] || janela_falhar "more than one icon"
  # A copy in another folder is another board, with its own database: it runs beside.
  local outra; outra=$(mktemp -d "$E2E_TMP/outra.XXXX")
  cp "$E2E_PASTA/fazelas" "$outra/" && "$CRIAR_BANCO" "$outra" >/dev/null
  "$outra/fazelas" >/dev/null 2>&1 &
  local terceiro=$!
  esperar "$E2E_PRAZO" bash -c "[ -n \"\$(xdotool search --onlyvisible --pid $terceiro --name '^Form1\$')\" ]" \
    || { kill "$terceiro"; janela_falhar "a copy in another folder did not start"; }
  kill "$terceiro"; wait "$terceiro" 2>/dev/null || true
}

caso_janela_duas_ao_mesmo_tempo() {
  "$E2E_PASTA/fazelas" >/dev/null 2>&1 &
  local a=$!
  "$E2E_PASTA/fazelas" >/dev/null 2>&1 &
  local b=$!
  janela_uma_terminou() { janela_morta "$a" || janela_morta "$b"; }
  esperar "$E2E_PRAZO" janela_uma_terminou || { kill "$a" "$b"; janela_falhar "both copies run"; }
  local vivo_ morto_
  if janela_morta "$a"; then morto_=$a vivo_=$b; else morto_=$b vivo_=$a; fi
  wait "$morto_"; local estado=$?
  E2E_PID=$vivo_
  [ "$estado" -eq 0 ] || janela_falhar "the copy that gave way ended with status $estado"
  esperar "$E2E_PRAZO" bash -c "[ -n \"\$(xdotool search --onlyvisible --pid $vivo_ --name '^Form1\$')\" ]" \
    || janela_falhar "the copy that won shows no board"
  [ "$(xdotool search --onlyvisible --name '^Form1$' | wc -l)" -eq 1 ] || janela_falhar "two boards"
}

caso_janela_trava_abandonada() {
  iniciar_programa
  kill -9 "$E2E_PID"; wait "$E2E_PID" 2>/dev/null || true
  # The killed copy left its lock behind; the next start takes it over.
  iniciar_programa
  janela_esperar_icone
}

caso_janela_enderecos() {
  # A stand-in for the desktop's handler, that notes the addresses it is asked to open.
  mkdir "$E2E_PASTA/falso"
  printf '#!/bin/sh\necho "$1" >>"%s/abertos"\n' "$E2E_PASTA" >"$E2E_PASTA/falso/xdg-open"
  chmod +x "$E2E_PASTA/falso/xdg-open"
  PATH="$E2E_PASTA/falso:$PATH" iniciar_programa
  local n=0 ponto
  for ponto in "216 563" "47 563" "387 563"; do # the maker's name and the two logos
    janela_clicar $ponto
    n=$((n + 1))
    esperar "$E2E_PRAZO" bash -c "[ \$(wc -l <'$E2E_PASTA/abertos') -eq $n ]" 2>/dev/null \
      || janela_falhar "click $n opened nothing"
  done
  # One address, the build's setting, for all three.
  [ "$(sort -u "$E2E_PASTA/abertos" | wc -l)" -eq 1 ] && grep -qE '^https?://' "$E2E_PASTA/abertos" \
    || janela_falhar "opened: $(cat "$E2E_PASTA/abertos")"
  janela_visivel "$E2E_JANELA" || janela_falhar "the board changed"
}

caso_janela_instalacao() {
  local prefixo="$E2E_PASTA/um prefixo" pasta
  pasta="$prefixo/lib/fazelas"
  cmake --install "$(dirname "$FAZELAS")" --prefix "$prefixo" >"$E2E_PASTA/instalacao.log" \
    || janela_falhar "install failed: $(cat "$E2E_PASTA/instalacao.log")"
  for f in fazelas fazelas-criar-banco; do [ -x "$pasta/$f" ] || janela_falhar "no $f"; done
  [ "$(sqlite3 "$pasta/fzldados.mdb" 'Select count(*) from Config')" = 1 ] || janela_falhar "no database"
  for n in 16 22 24 32 48 64 128 256; do
    [ "$(identify -format %wx%h "$prefixo/share/icons/hicolor/${n}x$n/apps/fazelas.png")" = "${n}x$n" ] \
      || janela_falhar "no ${n}x$n icon"
  done
  local entrada="$prefixo/share/applications/fazelas.desktop"
  for linha in 'Type=Application' 'Name=Fazelas' 'Icon=fazelas' 'Categories=Office;ProjectManagement;' \
    'StartupWMClass=Fazelas' "Exec=\"$pasta/fazelas\""; do
    grep -qxF "$linha" "$entrada" || janela_falhar "the desktop entry lacks $linha"
  done
  # Installing again keeps the user's tasks.
  sqlite3 "$pasta/fzldados.mdb" "Insert into Grupo_Fazela values (1, 'Casa')"
  cmake --install "$(dirname "$FAZELAS")" --prefix "$prefixo" >/dev/null || janela_falhar "second install failed"
  [ "$(sqlite3 "$pasta/fzldados.mdb" 'Select Grupo from Grupo_Fazela')" = Casa ] \
    || janela_falhar "the database was replaced"
  # The installed program starts on its own database. It is stopped here: the harness knows only
  # the programs of the case's folder.
  E2E_PASTA=$pasta iniciar_programa
  parar_programa
}
