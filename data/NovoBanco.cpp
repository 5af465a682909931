#include "data/NovoBanco.h"

#include "Esquema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <sqlite3.h>

CriacaoDoBanco CriarBanco(const QString& pasta)
{
    const QDir dir(pasta);
    const QString destino = dir.filePath(QStringLiteral("fzldados.mdb"));
    if (QFile::exists(destino))
        return {CriacaoDoBanco::JaExistia, destino, {}};
    if (!dir.exists())
        return {CriacaoDoBanco::PastaAusente, destino, {}};

    // Built beside the target and renamed at the end, so no half-made database is ever left there.
    QTemporaryFile temporario(dir.filePath(QStringLiteral("fzldados-XXXXXX.novo")));
    if (!temporario.open())
        return {CriacaoDoBanco::SemGravacao, destino, temporario.errorString()};
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
        return {CriacaoDoBanco::Recusado, destino, mensagem};

    // The rename never replaces a file: another start may have made the board meanwhile.
    QFile novo(temporario.fileName());
    if (!novo.rename(destino))
        return {QFile::exists(destino) ? CriacaoDoBanco::JaExistia : CriacaoDoBanco::SemGravacao, destino,
                novo.errorString()};
    temporario.setAutoRemove(false);
    return {CriacaoDoBanco::Criado, destino, {}};
}
