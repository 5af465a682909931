#!/usr/bin/env bash
# Builds the Debian package from the tree and checks it:
#
#   bash tools/empacotar.sh
#
# Installs what it needs, builds for /usr with Debian's build flags in build-pacote/ (or
# $FAZELAS_BUILD_PACOTE), writes build/pacote/fazelas_<version>_<arch>.deb, and runs lintian (an
# error fails), desktop-file-validate and appstreamcli on the files as packaged.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
arvore=${FAZELAS_BUILD_PACOTE:-$raiz/build-pacote}
saida=$raiz/build/pacote

# help2man and a Portuguese locale's sources for the manual pages, dpkg-shlibdeps for the
# dependencies, lintian for the check.
bash "$raiz/tools/instalar_pacotes.sh" help2man locales dpkg-dev fakeroot lintian

# As Debian builds its packages: its hardening flags (all of them), no build type's flags of our own.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
cmake -S "$raiz" -B "$arvore" -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$CXXFLAGS $CPPFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$arvore" -j"$(nproc)" --target fazelas fazelas-criar-banco fazelas-imagens fazelas-documentos
(cd "$arvore" && cpack -B "$arvore/cpack" >/dev/null)

mkdir -p "$saida"
rm -f "$saida"/fazelas_*.deb
cp "$arvore"/cpack/fazelas_*.deb "$saida/"
deb=$(ls "$saida"/fazelas_*.deb)
echo "Package: $deb"
dpkg-deb --field "$deb" Version Depends Recommends Suggests

echo "== lintian"
lintian --fail-on error "$deb"
conteudo=$(mktemp -d)
trap 'rm -rf "$conteudo"' EXIT
dpkg-deb -x "$deb" "$conteudo"
echo "== desktop-file-validate"
desktop-file-validate "$conteudo"/usr/share/applications/*.desktop
echo "== appstreamcli validate-tree (no network: the maker's site is not reached from here)"
appstreamcli validate-tree --no-net "$conteudo"
