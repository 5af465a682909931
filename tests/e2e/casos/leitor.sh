# The board as a screen reader reads it, through AT-SPI (tests/e2e/leitor_de_tela.py says what is
# checked). The program and the accessibility bus run on a session bus of their own.

leitor_sessao() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  local barramento=$!
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$E2E_PASTA/fazelas" >"$E2E_PASTA/saida.log" 2>&1 &
  local programa=$!
  /usr/bin/python3 "$E2E_AQUI/leitor_de_tela.py" "$E2E_PASTA/fzldados.mdb" "$E2E_PRAZO"
  local r=$?
  kill "$programa" "$barramento"
  wait "$programa" "$barramento" 2>/dev/null
  return $r
}

caso_leitor_de_tela() {
  sql "INSERT INTO Grupo_Fazela VALUES (1, 'Casa'), (2, 'Trabalho'); UPDATE Config SET Ultimo_Grupo = 1;
       INSERT INTO Fazelas (Cod_Grupo, Fazela, Descricao, Prioridade, Executado) VALUES
         (1, 'Pagar a conta de luz', 'Vence dia 10', 5, NULL), (1, 'Comprar pão', '', 3, 'S'),
         (1, 'Ligar para a avó', 'Domingo', 4, 'S'), (2, 'Relatório', '', 2, NULL);"
  E2E_AQUI=$(dirname "${BASH_SOURCE[0]}")/.. E2E_PASTA=$E2E_PASTA E2E_PRAZO=$E2E_PRAZO \
    dbus-run-session -- bash -c "$(declare -f leitor_sessao); leitor_sessao" 2> >(grep -v 'fd limit\|dbus-daemon\|SpiRegistry' >&2)
}
