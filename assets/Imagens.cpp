#include "assets/Imagens.h"

#include <QResource>
#include <cstring>

namespace Imagens {

QImage Ler(const char* recurso)
{
    const QResource r(QString::fromLatin1(recurso));
    Cabecalho c{};
    if (!r.isValid() || r.compressionAlgorithm() != QResource::NoCompression || r.size() < qint64(sizeof c))
        return {};
    std::memcpy(&c, r.data(), sizeof c);
    QImage imagem(int(c.largura), int(c.altura), QImage::Format(c.formato));
    if (std::memcmp(c.marca, "FZI1", 4) != 0 || imagem.isNull()
        || r.size() != qint64(sizeof c) + imagem.sizeInBytes())
        return {};
    std::memcpy(imagem.bits(), r.data() + sizeof c, size_t(imagem.sizeInBytes()));
    return imagem;
}

} // namespace Imagens
