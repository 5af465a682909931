#pragma once
// The pictures, rendered from assets/*.svg at build time and embedded as plain pixels, so that
// showing the board costs no decoding.
#include <QImage>
#include <QPixmap>

namespace Imagens {

inline constexpr const char* Prancheta = ":/imagens/prancheta.fzi";
inline constexpr const char* Icone = ":/imagens/icone.fzi";
inline constexpr const char* Lixeira = ":/imagens/lixeira.fzi";
inline constexpr const char* Caderno = ":/imagens/caderno.fzi";
inline constexpr const char* Pagina = ":/imagens/pagina.fzi";
inline constexpr const char* Fechar = ":/imagens/fechar.fzi";
inline constexpr const char* Check = ":/imagens/check.fzi";
inline constexpr const char* Mao = ":/imagens/mao.fzi";
inline constexpr const char* Logo1 = ":/imagens/logo1.fzi";
inline constexpr const char* Logo2 = ":/imagens/logo2.fzi";

// Hotspot of the pointing-hand cursor: the top of the fingertip in mao.svg.
inline constexpr int MaoHotX = 8, MaoHotY = 0;

// The file layout both sides agree on: this header, then the rows of pixels.
struct Cabecalho
{
    char marca[4]; // "FZI1"
    quint32 largura;
    quint32 altura;
    quint32 formato; // a QImage::Format
};

QImage Ler(const char* recurso);
inline QPixmap Figura(const char* recurso) { return QPixmap::fromImage(Ler(recurso)); }

} // namespace Imagens
