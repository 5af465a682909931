# Shared by the end-to-end cases: a real X server with a window manager that has a notification
# area, the built program copied into a folder of its own, and ways to wait for what we check.
# Every wait polls with a deadline; none waits a fixed time.

E2E_PRAZO=${E2E_PRAZO:-20} # seconds any single wait may take before the case fails

# Ends the case (each runs in a subshell of its own).
e2e_morrer() { echo "FALHA: $*" >&2; exit 1; }

# esperar SECONDS COMMAND...: polls COMMAND until it succeeds or the deadline passes.
esperar() {
  local prazo=$1; shift
  local fim=$(( $(date +%s%N) + prazo * 1000000000 ))
  until "$@" >/dev/null 2>&1; do
    [ "$(date +%s%N)" -lt "$fim" ] || return 1
    sleep 0.05
  done
}

iniciar_x() {
  E2E_TMP=$(mktemp -d)
  # Two runs may pick the same free display at once; the one whose server lost tries the next.
  local n=${E2E_TELA:-200}
  while :; do
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "${E2E_TAMANHO:-1024x768}x24" -nolisten tcp -noreset >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB=$!
    export DISPLAY=":$n"
    esperar "$E2E_PRAZO" xdpyinfo || { echo "Xvfb did not start" >&2; return 1; }
    [ "$(tr -d ' ' <"/tmp/.X$n-lock")" = "$E2E_XVFB" ] && break # the server is ours
    kill "$E2E_XVFB" 2>/dev/null; n=$((n + 1))
  done
  export XDG_RUNTIME_DIR="$E2E_TMP/run"; mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  # No session bus for the program: Qt then docks its icon in icewm's XEmbed tray. Another window
  # manager (E2E_GERENCIADOR, tools/experimentar_desktops.sh) keeps the bus it may need.
  E2E_BARRAMENTO=${DBUS_SESSION_BUS_ADDRESS:-}
  unset DBUS_SESSION_BUS_ADDRESS
  [ -z "$E2E_BARRAMENTO" ] || DBUS_SESSION_BUS_ADDRESS=$E2E_BARRAMENTO dbus-update-activation-environment DISPLAY XDG_RUNTIME_DIR
  iniciar_gerenciador
}

# gerenciador_vivo: a window manager runs: the check window the root names, names itself (the root's
# property outlives a window manager that died).
gerenciador_vivo() {
  local w; w=$(xprop -root _NET_SUPPORTING_WM_CHECK | grep -o "0x[0-9a-f]*") && xprop -id "$w" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "$w"
}

iniciar_gerenciador() {
  env ${E2E_BARRAMENTO:+DBUS_SESSION_BUS_ADDRESS=$E2E_BARRAMENTO} ${E2E_GERENCIADOR:-icewm} >>"$E2E_TMP/gerenciador.log" 2>&1 &
  E2E_WM=$!
  esperar "$E2E_PRAZO" gerenciador_vivo \
    || { cat "$E2E_TMP/gerenciador.log" >&2; echo "the window manager did not start" >&2; return 1; }
}

parar_x() {
  [ -n "${E2E_WM:-}" ] && kill "$E2E_WM" 2>/dev/null
  [ -n "${E2E_XVFB:-}" ] && kill "$E2E_XVFB" 2>/dev/null
  wait 2>/dev/null || true
}

# preparar_pasta: a fresh folder with the program and a new database; sets E2E_PASTA.
preparar_pasta() {
  E2E_PASTA=$(mktemp -d "$E2E_TMP/caso.XXXX")
  cp "$FAZELAS" "$E2E_PASTA/fazelas"
  "$CRIAR_BANCO" "$E2E_PASTA" >/dev/null
}

sql() { sqlite3 "$E2E_PASTA/fzldados.mdb" "$@"; }

# janela_do_programa [PID]: the id of the board window, if it is mapped. The icon's window and a
# failure report bear the same name; the icon may be found first once it is docked.
janela_do_programa() {
  local w X Y WIDTH HEIGHT SCREEN WINDOW
  for w in $(xdotool search --onlyvisible --pid "${1:-$E2E_PID}" --name '^Fazelas$' 2>/dev/null); do
    WIDTH=0; geometria "$w"
    [ "$WIDTH" -gt 100 ] && ! xprop -id "$w" _NET_WM_WINDOW_TYPE | grep -q DIALOG && { echo "$w"; return 0; }
  done
  return 1
}

iniciar_programa() {
  "$E2E_PASTA/${E2E_PROGRAMA:-fazelas}" >"$E2E_PASTA/saida.log" 2>&1 &
  E2E_PID=$!
  esperar "$E2E_PRAZO" janela_do_programa || e2e_morrer "the board did not appear"
  E2E_JANELA=$(janela_do_programa)
}

parar_programa() {
  [ -n "${E2E_PID:-}" ] && kill "$E2E_PID" 2>/dev/null
  wait "${E2E_PID:-}" 2>/dev/null || true
  E2E_PID=""
}

# foto NAME: a screenshot of the whole screen, kept beside the case's folder.
# Silent: import rings the bell otherwise, which the bell case would count.
foto() { import -silent -window root "$E2E_TMP/$1.png"; echo "$E2E_TMP/$1.png"; }

# cor_em FILE X Y: the colour of one pixel as "r,g,b".
cor_em() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

# Window geometry as shell variables X Y WIDTH HEIGHT.
geometria() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
