// Build-time command: renders the SVG pictures of assets/ to the pixel files
// that the program embeds, and the PNG icons installed for the desktop.  Usage: renderizar_imagens SRC_DIR OUT_DIR
#include "assets/Imagens.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

namespace {

struct Imagem
{
    const char* nome;
    int largura;
    int altura;
};

// Sizes in pixels at density 1.  Icons shown at 16x16 are rendered at 32x32 and drawn halved.
constexpr Imagem Desenhos[] = {
    { "prancheta", 452, 595 },
    { "lixeira", 32, 32 },
    { "caderno", 32, 32 },
    { "pagina", 32, 32 },
    { "fechar", 32, 32 },
    { "check", 36, 34 },
    { "mao", 32, 32 },
    { "logo1", 160, 100 },
    { "logo2", 160, 100 },
};

constexpr int TamanhosHicolor[] = { 16, 22, 24, 32, 48, 64, 128, 256 };

bool gravar(const QImage& imagem, const QString& arquivo)
{
    if (imagem.isNull() || !QDir().mkpath(QFileInfo(arquivo).path()) || !imagem.save(arquivo, "PNG")) {
        std::fprintf(stderr, "renderizar_imagens: failed to write %s\n", qPrintable(arquivo));
        return false;
    }
    return true;
}

// The embedded form: a small header and the pixels as the program holds them in memory.
bool gravarPixels(const QImage& imagem, const QString& arquivo)
{
    QFile f(arquivo);
    if (imagem.isNull() || !QDir().mkpath(QFileInfo(arquivo).path()) || !f.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "renderizar_imagens: failed to write %s\n", qPrintable(arquivo));
        return false;
    }
    const Imagens::Cabecalho c { { 'F', 'Z', 'I', '1' }, quint32(imagem.width()), quint32(imagem.height()),
        quint32(imagem.format()) };
    f.write(reinterpret_cast<const char*>(&c), sizeof c);
    f.write(reinterpret_cast<const char*>(imagem.constBits()), imagem.sizeInBytes());
    return f.error() == QFile::NoError;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: renderizar_imagens SRC_DIR OUT_DIR\n");
        return 2;
    }
    // A build machine has no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir fonte(QString::fromLocal8Bit(argv[1]));
    const QDir destino(QString::fromLocal8Bit(argv[2]));

    bool ok = true;
    for (const Imagem& img : Desenhos) {
        const QString nome = QString::fromLatin1(img.nome);
        QImage imagem
            = Imagens::desenhar(fonte.filePath(nome + QStringLiteral(".svg")), QSize(img.largura, img.altura));
        // The board picture is opaque: three bytes a pixel hold it exactly, a quarter less to keep
        // in memory than four.
        if (nome == QLatin1String("prancheta") && !imagem.isNull())
            imagem = Imagens::recortarNaChave(imagem).convertToFormat(QImage::Format_RGB888);
        ok = gravarPixels(imagem, destino.filePath(nome + QStringLiteral(".fzi"))) && ok;
    }
    // The window's icon at each size, embedded, and installed for the desktop's menu.
    for (int n : TamanhosHicolor) {
        const QImage icone = Imagens::desenhar(fonte.filePath(QStringLiteral("icone.svg")), QSize(n, n));
        ok = gravar(icone, destino.filePath(QStringLiteral("hicolor/%1x%1/fazelas.png").arg(n))) && ok;
        ok = gravarPixels(icone, destino.filePath(QStringLiteral("icone-%1.fzi").arg(n))) && ok;
    }
    return ok ? 0 : 1;
}
