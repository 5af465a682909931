// fazelas-criar-banco [--se-faltar] [PASTA]
// Writes a new, empty fzldados.mdb (the tables and the one settings row) into PASTA, or into the
// current folder. An existing file is never touched: it is an error, or with --se-faltar nothing
// to do.
#include "data/BancoDeDados.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <cstring>

namespace {

int falhar(const QString& texto)
{
    std::fprintf(stderr, "fazelas-criar-banco: %s\n", texto.toLocal8Bit().constData());
    return 1;
}

// Answered before anything else, as every command does; the manual page is made from them.
constexpr const char* Ajuda = R"(Uso: fazelas-criar-banco [--se-faltar] [PASTA]
Cria um banco de dados novo e vazio do Fazelas, o arquivo fzldados.mdb, na PASTA
(ou na pasta atual): as tabelas e a linha de configuração, sem grupos nem tarefas.
Um arquivo que já existe nunca é alterado.

Um programa fazelas copiado para a mesma pasta usa esse arquivo: é assim que se
tem mais de um quadro.

Opções:
      --se-faltar  não faz nada, e termina com sucesso, se o arquivo já existe
      --help       mostra esta ajuda e termina
      --version    mostra a versão e termina
)";

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(Ajuda, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("fazelas-criar-banco %s\n", FAZELAS_VERSAO);
        return 0;
    }

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
    case BancoDeDados::Criacao::PastaAusente:
        return falhar(QStringLiteral("a pasta %1 não existe").arg(QDir::toNativeSeparators(pasta)));
    case BancoDeDados::Criacao::SemGravacao:
        return falhar(QStringLiteral("não foi possível gravar em %1: %2").arg(QDir::toNativeSeparators(pasta), erro));
    case BancoDeDados::Criacao::Recusado:
        break;
    }
    return falhar(QStringLiteral("não foi possível criar o banco de dados: %1").arg(erro));
}
