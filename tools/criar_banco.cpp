// fazelas-criar-banco [--se-faltar] [PASTA]
// Writes a new, empty fzldados.mdb (the tables and the one settings row) into PASTA, or into the
// current folder. An existing file is never touched: it is an error, or with --se-faltar nothing
// to do.
#include "Esquema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cstdio>
#include <sqlite3.h>

namespace {

int Falhar(const QString& texto)
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
        return Falhar(QStringLiteral("uso: fazelas-criar-banco [--se-faltar] [PASTA]"));

    const QDir pasta(argumentos.isEmpty() ? QDir::currentPath() : argumentos.first());
    const QString destino = pasta.filePath(QStringLiteral("fzldados.mdb"));
    if (QFile::exists(destino)) {
        if (seFaltar)
            return 0;
        return Falhar(QStringLiteral("o arquivo %1 já existe e não foi alterado").arg(destino));
    }
    if (!pasta.exists())
        return Falhar(QStringLiteral("a pasta %1 não existe").arg(pasta.path()));

    // Built beside the target and renamed at the end, so no half-made database is ever left there.
    QTemporaryFile temporario(pasta.filePath(QStringLiteral("fzldados-XXXXXX.novo")));
    if (!temporario.open())
        return Falhar(QStringLiteral("não foi possível gravar em %1: %2").arg(pasta.path(), temporario.errorString()));
    temporario.close();

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(temporario.fileName()).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* erro = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, Esquema::Sql, nullptr, nullptr, &erro);
    const QString mensagem = erro ? QString::fromUtf8(erro) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_free(erro);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        return Falhar(QStringLiteral("não foi possível criar o banco de dados: %1").arg(mensagem));

    if (!QFile::rename(temporario.fileName(), destino))
        return Falhar(QStringLiteral("o arquivo %1 já existe e não foi alterado").arg(destino));
    temporario.setAutoRemove(false);
    std::printf("Banco de dados criado: %s\n", QDir::toNativeSeparators(destino).toLocal8Bit().constData());
    return 0;
}
