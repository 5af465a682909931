# The board on screens of different density as the X server has it (window size, outline, picture,
# hotspot), at start and after moves between screens; the pictures drawn without the image plugin.

E2E_CURSOR=${E2E_CURSOR:-$(dirname "$FAZELAS")/tests/fazelas-cursor-no-x}

# densidade_px D N: N logical pixels in the pixels of a screen of density D, rounded as Qt does.
densidade_px() { awk -v d="$1" -v n="$2" 'BEGIN { printf "%d", int(n * d + 0.5) }'; }
densidade_tamanho() { geometria "$E2E_JANELA"; [ "$WIDTH" -eq "$1" ] && [ "$HEIGHT" -eq "$2" ]; }
# The hand over the maker's name (216,563 of the board, no tooltip there), as the server shows it.
densidade_cursor() { xdotool mousemove --window "$E2E_JANELA" "$(densidade_px "$1" 216)" "$(densidade_px "$1" 563)"; [ "$("$E2E_CURSOR")" = "$2" ]; }

# densidade_conferir D: the board as it must be on a screen of density D.
densidade_conferir() {
  local d=$1 p forma roxos diferenca foto="$E2E_TMP/densidade$1.png"
  esperar "$E2E_PRAZO" densidade_tamanho "$(densidade_px "$d" 454)" "$(densidade_px "$d" 595)" \
    || e2e_morrer "density $d: window ${WIDTH}x${HEIGHT}"
  # The outline the X server holds, in its own pixels: the clipboard's box, (7,3)-(448,591) at
  # density 1, drawn anew (a pixel's rounding either way).
  forma=$(xwininfo -id "$E2E_JANELA" -shape | sed -n 's/.*shape extents: *//p')
  echo "$forma" | awk -v d="$d" -F '[x+]' '{ split("442 589 7 3", e, " ")
      for (i = 1; i <= 4; i++) if ((e[i] * d - $i) ^ 2 > 1) exit 1 }' || e2e_morrer "density $d: shape $forma"
  # On the screen: nothing of the colour cut away shows, and the board looks as at density 1, D times
  # as large (a board drawn small in a corner, or cut to its corner, differs by far).
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$foto"
  roxos=$(convert "$foto" -fill black +opaque 'rgb(41,22,111)' -fill white -opaque 'rgb(41,22,111)' \
    -format '%[fx:round(mean*w*h)]' info:)
  [ "$roxos" -eq 0 ] || e2e_morrer "density $d: $roxos pixels of the transparent colour show"
  # A click beside the clipboard goes through to what lies below.
  xdotool mousemove $((X + 1)) $((Y + 300)) && eval "$(xdotool getmouselocation --shell)"
  [ "$WINDOW" != "$E2E_JANELA" ] || e2e_morrer "density $d: the pointer beside the clipboard is on the board"
  [ "$d" = 1 ] && DENSIDADE_UM=$foto
  if [ "$d" != 1 ] && [ -n "${DENSIDADE_UM:-}" ]; then
    diferenca=$(convert "$foto" -filter box -resize '454x595!' png:- \
      | { compare -metric MAE "$DENSIDADE_UM" - null: 2>&1 || true; } | sed 's/.*(\(.*\))/\1/')
    awk "BEGIN { exit !($diferenca < 0.02) }" || e2e_morrer "density $d: the board differs from density 1 by $diferenca"
  fi
  # The pointing hand: 32 pixels wide at density 1, its hotspot on the fingertip at (8, 0).
  p=$(densidade_px "$d" 32)
  esperar "$E2E_PRAZO" densidade_cursor "$d" "$p $p $(densidade_px "$d" 8) 0" \
    || e2e_morrer "density $d: cursor (width height hotspot) $("$E2E_CURSOR")"
}

caso_densidade_entre_telas() {
  # A server of its own with three monitors side by side: R of density 2, where the board starts (it
  # holds the point 0,0), L of density 1, and F of density 1.25.
  E2E_TAMANHO=4352x1280 iniciar_x || e2e_morrer "no X server"
  trap 'parar_programa; parar_x' EXIT
  xrandr --setmonitor R 2048/542x1280/339+0+0 screen >/dev/null && xrandr --setmonitor L 1024/271x1280/339+2048+0 none \
    && xrandr --setmonitor F 1280/339x1280/339+3072+0 none || e2e_morrer "xrandr --setmonitor"
  QT_SCREEN_SCALE_FACTORS="R=2;L=1;F=1.25" iniciar_programa
  # Drawn at density 2 without the image plugin, which a system may lack.
  ! grep -q '/imageformats/.*svg' "/proc/$E2E_PID/maps" || e2e_morrer "the SVG image plugin is loaded"
  densidade_conferir 2
  xdotool windowmove "$E2E_JANELA" 2100 40
  densidade_conferir 1
  xdotool windowmove "$E2E_JANELA" 3200 40
  densidade_conferir 1.25
  xdotool windowmove "$E2E_JANELA" 300 40
  densidade_conferir 2
}
