#pragma once
// The pictures, rendered from assets/*.svg at build time and embedded as plain pixels, so that
// showing the board costs no decoding. Their vector sources are embedded as well: a screen of
// another density gets them drawn for its own pixels at run time.
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

// Hotspot of the pointing-hand cursor: the top of the fingertip in mao.svg, at density 1.
inline constexpr int MaoHotX = 8, MaoHotY = 0;

// Colour around the clipboard in the board picture; the board window cuts away every pixel of it.
inline constexpr QRgb Chave = qRgb(41, 22, 111);

// The file layout both sides agree on: this header, then the rows of pixels.
struct Cabecalho
{
    char marca[4]; // "FZI1"
    quint32 largura;
    quint32 altura;
    quint32 formato; // a QImage::Format
};

// The embedded pixels, drawn for density 1, read where they lie in the executable: the image is
// read-only there, and copies itself before any change.
QImage Ler(const char* recurso);
inline QPixmap Figura(const char* recurso) { return QPixmap::fromImage(Ler(recurso)); }

// The picture for a screen of density `densidade`: the embedded pixels at density 1; elsewhere drawn
// from its source at `tamanho` logical pixels (the embedded size when empty) times the density,
// carrying that density. The board picture comes with its surroundings in the key colour.
QImage Ler(const char* recurso, qreal densidade, QSize tamanho = {});
inline QPixmap Figura(const char* recurso, qreal densidade, QSize tamanho = {})
{
    return QPixmap::fromImage(Ler(recurso, densidade, tamanho));
}

// An SVG file drawn to exactly `pixels`; null when the file is missing or invalid.
QImage Desenhar(const QString& svg, QSize pixels);

// The window's outline is found by exact comparison with the key colour, so the edge must be hard:
// no pixel half blended into the key, and no pixel of the clipboard itself that happens to equal it.
QImage RecortarNaChave(const QImage& desenho);

} // namespace Imagens
