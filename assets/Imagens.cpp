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
    QImage imagem(int(c.largura), int(c.altura), QImage::Format(c.formato));
    if (imagem.isNull() || r.size() != qint64(sizeof c) + imagem.sizeInBytes())
        return {};
    std::memcpy(imagem.bits(), r.data() + sizeof c, size_t(imagem.sizeInBytes()));
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

QRegion contorno(const QImage& figura)
{
    const QImage img = figura.convertToFormat(QImage::Format_RGB32);
    const int largura = img.width();
    const QRgb transparente = img.pixel(0, 0);
    QRegion regiao;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* linha = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        int inicio = -1;
        for (int x = 0; x < largura; ++x) {
            const bool fora = linha[x] == transparente;
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
