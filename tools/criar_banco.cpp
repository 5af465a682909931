// fazelas-criar-banco [--se-faltar] [PASTA]
// Writes a new, empty fzldados.mdb (the tables and the one settings row) into PASTA, or into the
// current folder. An existing file is never touched: it is an error, or with --se-faltar nothing
// to do.
#include "data/BancoDeDados.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {

int falhar(const QString& texto)
{
    std::fprintf(stderr, "fazelas-criar-banco: %s\n", texto.toLocal8Bit().constData());
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList argumentos = app.arguments().mid(1);
    const bool seFaltar = argumentos.removeAll(QStringLiteral("--se-faltar")) > 0;
    if (argumentos.size() > 1 || (!argumentos.isEmpty() && argumentos.first().startsWith(QLatin1Char('-'))))
        return falhar(QStringLiteral("uso: fazelas-criar-banco [--se-faltar] [PASTA]"));

    const QString pasta = argumentos.isEmpty() ? QDir::currentPath() : argumentos.first();
    const QString destino = QDir::toNativeSeparators(BancoDeDados::arquivoNaPasta(pasta));
    QString erro;
    switch (BancoDeDados::criar(pasta, &erro)) {
    case BancoDeDados::Criacao::Criado:
        std::printf("Banco de dados criado: %s\n", destino.toLocal8Bit().constData());
        return 0;
    case BancoDeDados::Criacao::JaExistia:
        return seFaltar ? 0 : falhar(QStringLiteral("o arquivo %1 já existe e não foi alterado").arg(destino));
    case BancoDeDados::Criacao::Falhou:
        break;
    }
    return falhar(erro);
}
