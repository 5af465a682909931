#pragma once
// The pictures, rendered from assets/*.svg at build time and embedded as plain pixels, so that
// showing the board costs no decoding. Their vector sources are embedded as well: a screen of
// another density gets them drawn for its own pixels at run time.
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRegion>

namespace Imagens {

inline constexpr const char* Prancheta = ":/imagens/prancheta.fzi";
inline constexpr const char* Lixeira = ":/imagens/lixeira.fzi";
inline constexpr const char* Caderno = ":/imagens/caderno.fzi";
inline constexpr const char* Pagina = ":/imagens/pagina.fzi";
inline constexpr const char* Fechar = ":/imagens/fechar.fzi";
inline constexpr const char* Check = ":/imagens/check.fzi";
inline constexpr const char* Mao = ":/imagens/mao.fzi";
inline constexpr const char* Logo1 = ":/imagens/logo1.fzi";
inline constexpr const char* Logo2 = ":/imagens/logo2.fzi";

// The window's icon at every size the desktops ask for (task bars, window lists, alt-tab).
struct Icone
{
    int lado;
    const char* recurso;
};
inline constexpr Icone Icones[] = { { 16, ":/imagens/icone-16.fzi" }, { 22, ":/imagens/icone-22.fzi" },
    { 24, ":/imagens/icone-24.fzi" }, { 32, ":/imagens/icone-32.fzi" }, { 48, ":/imagens/icone-48.fzi" },
    { 64, ":/imagens/icone-64.fzi" }, { 128, ":/imagens/icone-128.fzi" }, { 256, ":/imagens/icone-256.fzi" } };

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
QImage ler(const char* recurso);
inline QPixmap figura(const char* recurso) { return QPixmap::fromImage(ler(recurso)); }

// The picture for a screen of density `densidade`: the embedded pixels at density 1; elsewhere drawn
// from its source at `tamanho` logical pixels (the embedded size when empty) times the density,
// carrying that density. The board picture comes with its surroundings in the key colour.
QImage ler(const char* recurso, qreal densidade, QSize tamanho = {});
inline QPixmap figura(const char* recurso, qreal densidade, QSize tamanho = {})
{
    return QPixmap::fromImage(ler(recurso, densidade, tamanho));
}

// An SVG file drawn to exactly `pixels`; null when the file is missing or invalid.
QImage desenhar(const QString& svg, QSize pixels);

// The window's outline is found by exact comparison with the key colour, so the edge must be hard:
// no pixel half blended into the key, and no pixel of the clipboard itself that happens to equal it.
QImage recortarNaChave(const QImage& desenho);

// The board picture with its surroundings transparent, for a window nothing can cut.
QImage semChave(const QImage& figura);

// The outline of a picture: every pixel whose colour differs from its top-left pixel's, as
// rectangles one pixel high united run by run.
QRegion contorno(const QImage& figura);

// The pointing hand, for a screen of that density.
QCursor cursorDaMao(qreal densidade);
// The window's icon at each size up to `ate` pixels, drawn at build time: each of its places (task
// bars, window lists, alt-tab) takes the size that fits its own pixels, at any density.
QIcon iconeDaJanela(int ate = 256);

} // namespace Imagens
