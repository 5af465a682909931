# Text entered the two ways a user enters it: typed on the keyboard, or pasted from the clipboard
# that another program (xclip here) filled. Sourced by the cases that enter text.

# teclado_com FILE...: gives each non-ASCII character of the files a key of its own on the X
# server's keyboard (keys of multimedia functions), so that xdotool types it like any other key.
# Left to itself, xdotool lends such a character a spare key and takes the key back right after
# its release: a program that reads the new keyboard map a moment late finds nothing on the key,
# and the character is lost (or a Latin-1 capital comes out small). teclado_restaurar undoes it.
teclado_com() {
  E2E_TECLADO="$E2E_TMP/teclado-original.xkb"
  xkbcomp -xkb "$DISPLAY" "$E2E_TECLADO" 2>/dev/null || e2e_morrer "cannot read the keyboard map"
  perl -CSD -e '
    my ($mapa, @textos) = @ARGV;
    my %letras;
    for my $f (@textos) {
      open my $h, "<", $f or die "$f: $!"; local $/; $letras{$_} = 1 for grep { ord > 127 } split //, <$h>;
    }
    open my $h, "<", $mapa or die "$mapa: $!"; my @linhas = <$h>;
    my ($secao, @teclas, %ocupada, $fim);
    for my $i (0 .. $#linhas) {
      $_ = $linhas[$i];
      $secao = $1 if /^xkb_(\w+)/;
      push @teclas, $1 if $secao eq "keycodes" && /^\s*<(I\d+)>\s*=/;
      next unless $secao eq "symbols";
      $fim //= $i if /^\};/;
      if (/^\s*key <(I\d+)>/) {
        my ($tecla, $simbolos) = ($1, /\[([^\]]*)\]\s*\};/ ? $1 : "ocupada");
        $ocupada{$tecla} = 1 if grep { $_ ne "" && !/^XF86/ } split /[\s,]+/, $simbolos;
      }
      if (/modifier_map/) { $ocupada{$1} = 1 while /<(I\d+)>/g }
    }
    my @livres = grep { !$ocupada{$_} } @teclas;
    my @faltam = sort keys %letras;
    die "only " . @livres . " free keys for " . @faltam . " characters\n" if @faltam > @livres;
    my %nova;
    $nova{shift @livres} = sprintf("U%04X", ord) for @faltam;
    for my $i (0 .. $#linhas) {
      if ($i == $fim) {
        print "    key <$_> { type= \"ONE_LEVEL\", symbols[Group1]= [ $nova{$_} ] };\n" for sort keys %nova;
      }
      next if $linhas[$i] =~ /^\s*key <(I\d+)>/ && $nova{$1};
      print $linhas[$i];
    }
  ' "$E2E_TECLADO" "$@" >"$E2E_TMP/teclado.xkb" || e2e_morrer "cannot make the keyboard map"
  xkbcomp -w 0 "$E2E_TMP/teclado.xkb" "$DISPLAY" 2>/dev/null || e2e_morrer "cannot load the keyboard map"
}

teclado_restaurar() {
  [ -n "${E2E_TECLADO:-}" ] && xkbcomp -w 0 "$E2E_TECLADO" "$DISPLAY" 2>/dev/null
  E2E_TECLADO=""
}

# digitar FILE: types the file's text.
digitar() { xdotool type --delay 12 --file "$1"; }

# transferir FILE: xclip owns the clipboard with FILE's bytes until the next call or the end of
# the case (call transferir_parar from the case's EXIT trap).
transferir() {
  transferir_parar
  xclip -quiet -selection clipboard -i "$1" >/dev/null 2>&1 &
  E2E_XCLIP=$!
  # Ready once the clipboard gives back exactly those bytes.
  esperar "$E2E_PRAZO" bash -c "xclip -o -selection clipboard | cmp -s - '$1'" \
    || e2e_morrer "xclip did not take the clipboard"
}

transferir_parar() {
  [ -n "${E2E_XCLIP:-}" ] && kill "$E2E_XCLIP" 2>/dev/null
  wait "${E2E_XCLIP:-}" 2>/dev/null || true
  E2E_XCLIP=""
}

# colar FILE: pastes FILE's bytes with Ctrl+V into the control that has the focus.
colar() {
  transferir "$1"
  xdotool key ctrl+v
}
