# Hostile and unusual texts entered through the real boxes of the real program, typed or pasted:
# each is stored byte for byte as entered (less what a box cannot hold), leaves every other row as
# it was, and comes back unchanged from the task panel when the task is saved again with "Alterar".

source "$(dirname "${BASH_SOURCE[0]}")/../digitar_e_colar.sh"

# entradas_retrato [TASK] [GROUP]: every row of every table, the task and the group with those
# codes left out.
entradas_retrato() {
  sql "SELECT Codigo, Cod_Grupo, hex(sha3(Fazela)), typeof(Descricao), hex(sha3(Descricao)), Prioridade,
              quote(Executado) FROM Fazelas WHERE Codigo <> ${1:-0} ORDER BY Codigo;
       SELECT Codigo, hex(Grupo) FROM Grupo_Fazela WHERE Codigo <> ${2:-0} ORDER BY Codigo;
       SELECT quote(Ultimo_Grupo) FROM Config;"
}

# entradas_guardado COLUMN TABLE CODE FILE: the column holds exactly the file's bytes, as text.
entradas_guardado() {
  [ "$(sql "SELECT typeof($1) = 'text' AND CAST($1 AS BLOB) = readfile('$4') FROM $2 WHERE Codigo = $3")" = 1 ]
}
entradas_hex() { od -An -v -tx1 "$1" | tr -d ' \n' | tr a-f A-F | cut -c1-300; }
entradas_contagem() { [ "$(sql "SELECT count(*) FROM $1")" = "$2" ]; }

entradas_painel() { [ "$(cor_em "$(foto entradas-painel)" $((X + 372)) $((Y + $1)))" = "0,0,255" ]; }
entradas_sem_painel() { ! entradas_painel "$@"; }
entradas_clicar() { xdotool mousemove --window "$E2E_JANELA" "$1" "$2" click 1; }

# entradas_por MODE FILE: types the file's text, or pastes it ("colar").
entradas_por() {
  if [ "$1" = colar ]; then colar "$2"; else digitar "$2"; fi
}

# entradas_texto NAME TEXT [EXPECTED]: writes the files NAME and NAME.esperado in the corpus folder,
# with printf's backslash escapes (\t, \0nnn, \uXXXX) expanded; entradas_cru writes TEXT as it is.
entradas_texto() {
  printf '%b' "$2" >"$E_CORPUS/$1"
  printf '%b' "${3-$2}" >"$E_CORPUS/$1.esperado"
}
entradas_cru() {
  printf '%s' "$2" >"$E_CORPUS/$1"
  printf '%s' "$2" >"$E_CORPUS/$1.esperado"
}

# entradas_fazela N MODE_NAME MODE_DESCRIPTION: adds task N of the corpus through the task panel.
entradas_fazela() {
  local n=$1 antes codigo
  antes=$(entradas_retrato)
  entradas_clicar 92 75
  esperar "$E2E_PRAZO" entradas_painel 411 || e2e_morrer "$n: the task panel did not unfold"
  entradas_clicar 226 246
  entradas_por "$2" "$E_CORPUS/$n.nome"
  entradas_clicar 226 323
  entradas_por "$3" "$E_CORPUS/$n.desc"
  xdotool key Return
  esperar 60 entradas_contagem Fazelas "$((E_TAREFAS + 1))" || e2e_morrer "$n: the task was not written"
  E_TAREFAS=$((E_TAREFAS + 1))
  esperar "$E2E_PRAZO" entradas_sem_painel 411 || e2e_morrer "$n: the task panel stayed open"
  codigo=$(sql "SELECT max(Codigo) FROM Fazelas")
  entradas_guardado Fazela Fazelas "$codigo" "$E_CORPUS/$n.nome.esperado" \
    || e2e_morrer "$n: name stored as $(sql "SELECT hex(Fazela) FROM Fazelas WHERE Codigo = $codigo"),"\
      "not $(entradas_hex "$E_CORPUS/$n.nome.esperado")"
  entradas_guardado Descricao Fazelas "$codigo" "$E_CORPUS/$n.desc.esperado" \
    || e2e_morrer "$n: description stored as $(sql "SELECT substr(hex(Descricao), 1, 300) FROM Fazelas WHERE Codigo = $codigo"),"\
      "not $(entradas_hex "$E_CORPUS/$n.desc.esperado")"
  [ "$(entradas_retrato "$codigo")" = "$antes" ] || e2e_morrer "$n: other rows changed"
  entradas_alterar "$n" "$codigo"
}

# The header's change counter: it moves with every write.
entradas_gravacoes() { od -An -tx1 -j24 -N4 "$E2E_PASTA/fzldados.mdb"; }
entradas_gravou() { [ "$(entradas_gravacoes)" != "$1" ]; }

# entradas_alterar N CODE: the task, opened from its row (the last of the group) and saved with
# "Alterar" as the panel shows it, is written back byte for byte as it was.
entradas_alterar() {
  local antes gravacoes linha
  antes=$(entradas_retrato) gravacoes=$(entradas_gravacoes)
  linha=$(( $(sql "SELECT count(*) FROM Fazelas WHERE Cod_Grupo = (SELECT Cod_Grupo FROM Fazelas WHERE Codigo = $2)") - 1 ))
  xdotool mousemove --window "$E2E_JANELA" 356 $((166 + 16 * linha)) click --repeat 2 --delay 80 1
  esperar "$E2E_PRAZO" entradas_painel 411 || e2e_morrer "$1: the task panel did not open for a change"
  entradas_clicar 230 390
  esperar 60 entradas_gravou "$gravacoes" || e2e_morrer "$1: the change was not written"
  esperar "$E2E_PRAZO" entradas_sem_painel 411 || e2e_morrer "$1: the task panel stayed open after the change"
  [ "$(entradas_retrato)" = "$antes" ] || e2e_morrer "$1: changed with nothing typed:"\
    "$(sql "SELECT hex(Fazela), substr(hex(Descricao), 1, 300) FROM Fazelas WHERE Codigo = $2")"
}

# entradas_grupo N: adds group N of the corpus through the group panel, with its add button.
entradas_grupo() {
  local n=$1 antes codigo
  antes=$(entradas_retrato)
  codigo=$(( $(sql "SELECT max(Codigo) FROM Grupo_Fazela") + 1 ))
  entradas_clicar 42 75
  esperar "$E2E_PRAZO" entradas_painel 357 || e2e_morrer "$n: the group panel did not unfold"
  entradas_clicar 226 302
  entradas_por digitar "$E_CORPUS/$n"
  entradas_clicar 154 336
  esperar "$E2E_PRAZO" entradas_contagem "Grupo_Fazela WHERE Codigo = $codigo" 1 || e2e_morrer "$n: not written"
  entradas_guardado Grupo Grupo_Fazela "$codigo" "$E_CORPUS/$n.esperado" \
    || e2e_morrer "$n: stored as $(sql "SELECT hex(Grupo) FROM Grupo_Fazela WHERE Codigo = $codigo"),"\
      "not $(entradas_hex "$E_CORPUS/$n.esperado")"
  [ "$(entradas_retrato 0 "$codigo")" = "$antes" ] || e2e_morrer "$n: other rows changed"
  esperar "$E2E_PRAZO" entradas_sem_painel 357 || e2e_morrer "$n: the group panel stayed open"
}

# entradas_corpus: the texts, in files of the corpus folder E_CORPUS.
entradas_corpus() {
  E_CORPUS=$(mktemp -d "$E2E_TMP/corpus.XXXX")
  # Group names: statements, quotes, and a name one character too long for its box.
  entradas_texto g1 "'); DROP TABLE Grupo_Fazela; --"
  entradas_texto g3 "Grupo de nome longo, cinquenta caracteres: 1234567X" "Grupo de nome longo, cinquenta caracteres: 1234567"

  # Task names and descriptions. Each description starts with its number, which keeps the grid's
  # order (by description) the corpus order.
  entradas_texto 01.nome "'Começo, meio' e fim'"
  entradas_texto 01.desc "D01 ''duplo'' e '''triplo''' '"
  entradas_texto 05.nome "'); DROP TABLE Fazelas; --"
  entradas_texto 05.desc "D05 '); DELETE FROM Grupo_Fazela; UPDATE Config SET Ultimo_Grupo = 99; --"
  entradas_cru 06.nome 'C:\pasta\novo \n \'"'"' \\ fim\'
  entradas_cru 06.desc 'D06 100% _%_ %s %d %n \x00 \0 \'
  entradas_texto 07.nome "مرحبا بالعالم שלום עולם"
  entradas_texto 07.desc "D07 abc שלום 123 مرحبا \u200f\u202einvertido\u202c fim"
  entradas_texto 08.nome "Ac\u0327a\u0303o: e\u0301 a\u0308 n\u0303 Z\u0324\u0354\u0367\u0311\u0353"
  entradas_texto 08.desc "D08 e\u0301 e é; ﬁ; İ ß ẞ; \u00ad"
  entradas_texto 09.nome "🙂👍🏽👨‍👩‍👧 🇧🇷 ✓ 𝄞"
  entradas_texto 09.desc "D09 😀 𝕏 ❤️"
  # Fifty characters fill the box; the fifty-first is not taken.
  entradas_texto 10.nome "01234567890123456789012345678901234567890123456789X" \
    "01234567890123456789012345678901234567890123456789"
  entradas_texto 10.desc "D10 o nome guardou 50"
  # An emoji needs two of the fifty places: with one left it is not taken, and half of it neither.
  entradas_texto 11.nome "Com quarenta e nove caracteres, o emoji não cabe:🙂!" \
    "Com quarenta e nove caracteres, o emoji não cabe:!"
  entradas_texto 11.desc "D11 digitado"
  # Pasted: what no key types. Line breaks, tabs and control characters stay; NUL cannot be stored.
  entradas_texto 12.nome "Tab\there\nLinha\rCR \001\007\033\177\u00a0nbsp\u2028\u200b fim"
  entradas_texto 12.desc "D12 \001\002\ttab\u00a0nbsp\u2028ls\u200dzwj\177\nsegunda linha\n"
  entradas_texto 13.nome "Nu\000lo" "Nulo"
  entradas_texto 13.desc "D13 com\000NUL\000" "D13 comNUL"
  entradas_texto 15.nome "Descrição de megabytes"
  awk 'BEGIN { printf "D15 "; for (i = 1; i <= 40000; i++)
    printf "Linha %05d: it'"'"'s -- /* x */ ; DROP TABLE Fazelas; \\ 100%% ação مرحبا 🙂\n", i }' >"$E_CORPUS/15.desc"
  cp "$E_CORPUS/15.desc" "$E_CORPUS/15.desc.esperado"

}

caso_entradas_textos_hostis() {
  trap 'transferir_parar; teclado_restaurar; parar_programa' EXIT
  entradas_corpus
  teclado_com "$E_CORPUS"/g? "$E_CORPUS"/{01,05,06,07,08,09,10,11}.{nome,desc} "$E_CORPUS"/15.nome
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa'), (2, 'Vizinha d''ao lado');
       INSERT INTO Fazelas (Cod_Grupo, Fazela, Descricao, Prioridade, Executado)
         VALUES (2, 'Sentinela ''um''', 'não mexer; -- ''', 4, 'S'), (2, 'Sentinela dois', NULL, 2, NULL);
       UPDATE Config SET Ultimo_Grupo = 1;"
  E_TAREFAS=2
  iniciar_programa
  geometria "$E2E_JANELA"

  for g in g1 g3; do entradas_grupo $g; done

  for n in 01 05 06 07 08 09 10 11; do entradas_fazela $n digitar digitar; done
  entradas_fazela 12 colar colar
  entradas_fazela 13 colar colar
  entradas_fazela 15 digitar colar
  [ "$(sql "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('Fazelas', 'Grupo_Fazela', 'Config')")" = 3 ] \
    || e2e_morrer "a table is gone"
}
