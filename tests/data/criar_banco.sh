#!/usr/bin/env bash
# The companion command: a new file with the schema and the one settings row, whose name reaches
# the disk (the folder synced after the new name is in it); an existing file is never touched.
# Usage: criar_banco.sh CRIAR_BANCO
set -euo pipefail
criar=$1
pasta=$(mktemp -d); trap 'rm -rf "$pasta"' EXIT
strace -f -e trace=link,rename,openat,fsync -o "$pasta/chamadas" "$criar" "$pasta" >/dev/null
[ "$(sqlite3 "$pasta/fzldados.mdb" "pragma integrity_check; select quote(Ultimo_Grupo) from Config")" = $'ok\nNULL' ]
# After the name is made: the folder opened and that descriptor synced.
awk -v alvo="\"$pasta/fzldados.mdb\"" '
  /(link|rename)\(/ && index($0, alvo) { feito = 1 }
  feito && /O_DIRECTORY/ && index($0, "\"'"$pasta"'\"") { split($0, r, "= "); fd = r[2] }
  fd != "" && $0 ~ "fsync\\(" fd "\\)" { ok = 1 }
  END { exit !ok }' "$pasta/chamadas" || { echo "the folder was not synced after the new name"; cat "$pasta/chamadas"; exit 1; }
ls "$pasta" | grep -qv -e '^fzldados.mdb$' -e '^chamadas$' && { echo "left behind: $(ls "$pasta")"; exit 1; }
antes=$(sha256sum <"$pasta/fzldados.mdb")
! "$criar" "$pasta" 2>/dev/null || { echo "an existing file was not refused"; exit 1; }
"$criar" --se-faltar "$pasta"
[ "$(sha256sum <"$pasta/fzldados.mdb")" = "$antes" ] || { echo "the existing file changed"; exit 1; }
