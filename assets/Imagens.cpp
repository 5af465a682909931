#include "assets/Imagens.h"

#include <QImageReader>
#include <QResource>
#include <cstring>

namespace Imagens {

namespace {

bool LerCabecalho(const QResource& r, Cabecalho& c)
{
    if (!r.isValid() || r.compressionAlgorithm() != QResource::NoCompression || r.size() < qint64(sizeof c))
        return false;
    std::memcpy(&c, r.data(), sizeof c);
    return std::memcmp(c.marca, "FZI1", 4) == 0;
}

} // namespace

QImage Ler(const char* recurso)
{
    const QResource r(QString::fromLatin1(recurso));
    Cabecalho c{};
    if (!LerCabecalho(r, c))
        return {};
    const uchar* pixels = r.data() + sizeof c;
    // The pixels are used where they lie in the executable, never copied: its pages are shared and
    // the system can drop them and read them again, where a copy would be a second board picture
    // in the program's own memory. A change to the image (bits()) copies it first.
    QImage imagem(pixels, int(c.largura), int(c.altura), QImage::Format(c.formato));
    if (imagem.isNull() || r.size() != qint64(sizeof c) + imagem.sizeInBytes())
        return {};
    // The toolkit reads rows as 32-bit words: a resource that lies unaligned is copied after all.
    if (reinterpret_cast<quintptr>(pixels) % alignof(quint32) != 0)
        return imagem.copy();
    return imagem;
}

QImage Ler(const char* recurso, qreal densidade, QSize tamanho)
{
    if (densidade == 1)
        return Ler(recurso);
    const QString nome = QString::fromLatin1(recurso);
    if (tamanho.isEmpty()) {
        Cabecalho c{};
        if (!LerCabecalho(QResource(nome), c))
            return {};
        tamanho = QSize(int(c.largura), int(c.altura));
    }
    const QSize pixels(qRound(tamanho.width() * densidade), qRound(tamanho.height() * densidade));
    QImage imagem = Desenhar(nome.chopped(4) + QStringLiteral(".svg"), pixels);
    if (std::strcmp(recurso, Prancheta) == 0 && !imagem.isNull())
        imagem = RecortarNaChave(imagem);
    imagem.setDevicePixelRatio(densidade);
    return imagem;
}

QImage Desenhar(const QString& svg, QSize pixels)
{
    // Through the toolkit's SVG image plugin, loaded only when a picture is drawn: a board on a screen
    // of density 1 never loads it.
    QImageReader leitor(svg, "svg");
    leitor.setScaledSize(pixels);
    const QImage imagem = leitor.read();
    if (imagem.size() != pixels || pixels.isEmpty())
        return {};
    return imagem.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage RecortarNaChave(const QImage& desenho)
{
    const QImage origem = desenho.convertToFormat(QImage::Format_ARGB32);
    QImage saida(origem.size(), QImage::Format_RGB32);
    for (int y = 0; y < origem.height(); ++y) {
        const auto* de = reinterpret_cast<const QRgb*>(origem.constScanLine(y));
        auto* para = reinterpret_cast<QRgb*>(saida.scanLine(y));
        for (int x = 0; x < origem.width(); ++x) {
            if (qAlpha(de[x]) < 128) {
                para[x] = Chave;
                continue;
            }
            const QRgb cor = de[x] | 0xff000000u;
            para[x] = cor == Chave ? qRgb(qRed(Chave), qGreen(Chave), qBlue(Chave) + 1) : cor;
        }
    }
    return saida;
}

} // namespace Imagens
