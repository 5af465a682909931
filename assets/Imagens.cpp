#include "assets/Imagens.h"

#include <QPainter>
#include <QResource>
#include <QSvgRenderer>
#include <cstring>

namespace Imagens {

namespace {

    bool lerCabecalho(const QResource& r, Cabecalho& c)
    {
        if (!r.isValid() || r.compressionAlgorithm() != QResource::NoCompression || r.size() < qint64(sizeof c))
            return false;
        std::memcpy(&c, r.data(), sizeof c);
        return std::memcmp(c.marca, "FZI1", 4) == 0;
    }

} // namespace

QImage ler(const char* recurso)
{
    const QResource r(QString::fromLatin1(recurso));
    Cabecalho c {};
    if (!lerCabecalho(r, c))
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

QImage ler(const char* recurso, qreal densidade, QSize tamanho)
{
    if (densidade == 1)
        return ler(recurso);
    const QString nome = QString::fromLatin1(recurso);
    if (tamanho.isEmpty()) {
        Cabecalho c {};
        if (!lerCabecalho(QResource(nome), c))
            return {};
        tamanho = QSize(int(c.largura), int(c.altura));
    }
    const QSize pixels(qRound(tamanho.width() * densidade), qRound(tamanho.height() * densidade));
    QImage imagem = desenhar(nome.chopped(4) + QStringLiteral(".svg"), pixels);
    if (std::strcmp(recurso, Prancheta) == 0 && !imagem.isNull())
        imagem = recortarNaChave(imagem);
    imagem.setDevicePixelRatio(densidade);
    return imagem;
}

QImage desenhar(const QString& svg, QSize pixels)
{
    // The SVG module is linked in, not reached through the toolkit's image plugin: a system without
    // the plugin still gets its board at every density.
    QSvgRenderer desenho(svg);
    if (!desenho.isValid() || pixels.isEmpty())
        return {};
    QImage imagem(pixels, QImage::Format_ARGB32_Premultiplied);
    imagem.fill(Qt::transparent);
    QPainter pintor(&imagem);
    pintor.setRenderHint(QPainter::Antialiasing);
    desenho.render(&pintor);
    pintor.end();
    return imagem;
}

QImage recortarNaChave(const QImage& desenho)
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

QImage semChave(const QImage& figura)
{
    QImage saida = figura.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < saida.height(); ++y) {
        auto* linha = reinterpret_cast<QRgb*>(saida.scanLine(y));
        for (int x = 0; x < saida.width(); ++x)
            if (linha[x] == Chave)
                linha[x] = 0;
    }
    return saida.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

namespace {

    // The runs of each row whose pixels differ from the top-left one, compared as stored, `Bytes` each.
    template <int Bytes> QRegion trechos(const QImage& img)
    {
        const int largura = img.width();
        const uchar* transparente = img.constScanLine(0);
        QRegion regiao;
        for (int y = 0; y < img.height(); ++y) {
            const uchar* linha = img.constScanLine(y);
            int inicio = -1;
            for (int x = 0; x < largura; ++x) {
                const bool fora = std::memcmp(linha + x * Bytes, transparente, Bytes) == 0;
                if (fora && inicio >= 0) {
                    regiao += QRect(inicio, y, x - inicio, 1);
                    inicio = -1;
                } else if (!fora && inicio < 0) {
                    inicio = x;
                }
            }
            if (inicio >= 0)
                regiao += QRect(inicio, y, largura - inicio, 1);
        }
        return regiao;
    }

} // namespace

QRegion contorno(const QImage& figura)
{
    // The embedded board picture is 24-bit: read as it is, not through a converted copy, which would
    // be a second picture in memory for a moment.
    if (figura.format() == QImage::Format_RGB888)
        return trechos<3>(figura);
    return trechos<4>(figura.convertToFormat(QImage::Format_RGB32));
}

QCursor cursorDaMao(qreal densidade)
{
    // The X server takes the cursor's picture and hotspot in its own pixels.
    return QCursor(figura(Mao, densidade), qRound(MaoHotX * densidade), qRound(MaoHotY * densidade));
}

QIcon iconeDaJanela(int ate)
{
    QIcon icone;
    for (const Icone& figura : Icones)
        if (figura.lado <= ate)
            icone.addPixmap(Imagens::figura(figura.recurso));
    return icone;
}

} // namespace Imagens
