#include "apoio/Apoio.h"

#include "Esquema.h"
#include "data/Modulo.h"
#include "grid/Grade.h"
#include "shell/Bandeja.h"

#include <QComboBox>
#include <QFile>
#include <QtTest>
#include <sqlite3.h>
#include <stdexcept>

namespace {

sqlite3* Abrir(const QString& arquivo, int modo)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(arquivo).constData(), &db, modo, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    return db;
}

} // namespace

void ReiniciarModulo()
{
    using namespace Modulo;
    Conexao.reset();
    ComandoSql.clear();
    Registros.reset();
    RegistrosGrade.reset();
    UltimoGrupo = 0;
    GrupoAtual = 0;
    MsgBoxResposta = 0;
    GradeItens.clear();
    QtdItens = 0;
    ProximaLinha = 0;
    GradeCheia = false;
    DadosBandeja.reset();
    RetornoBandeja = false;
}

BancoDeTeste::BancoDeTeste()
{
    sqlite3* db = Abrir(Arquivo(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    char* erro = nullptr;
    const int rc = sqlite3_exec(db, Esquema::Sql, nullptr, nullptr, &erro);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        qFatal("schema: %s", erro);
    ReiniciarModulo();
    Modulo::PastaDoPrograma = Pasta();
}

BancoDeTeste::~BancoDeTeste() { ReiniciarModulo(); }

QString BancoDeTeste::Arquivo() const { return m_pasta.filePath(QStringLiteral("fzldados.mdb")); }

void BancoDeTeste::Executar(const QString& sql) const
{
    sqlite3* db = Abrir(Arquivo(), SQLITE_OPEN_READWRITE);
    char* erro = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &erro);
    const QString texto = QString::fromUtf8(erro ? erro : "");
    sqlite3_free(erro);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        QFAIL(qPrintable(QStringLiteral("%1: %2").arg(sql, texto)));
}

QList<QVariantList> BancoDeTeste::Linhas(const QString& sql) const
{
    sqlite3* db = Abrir(Arquivo(), SQLITE_OPEN_READONLY);
    sqlite3_stmt* st = nullptr;
    QList<QVariantList> linhas;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            QVariantList linha;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_NULL:
                    linha << QVariant();
                    break;
                case SQLITE_INTEGER:
                    linha << qlonglong(sqlite3_column_int64(st, c));
                    break;
                default:
                    linha << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                               sqlite3_column_bytes(st, c));
                }
            }
            linhas << linha;
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return linhas;
}

QVariant BancoDeTeste::Valor(const QString& sql) const
{
    const auto linhas = Linhas(sql);
    return linhas.isEmpty() || linhas.first().isEmpty() ? QVariant() : linhas.first().first();
}

QStringList Itens(const QComboBox* lista)
{
    QStringList itens;
    for (int i = 0; i < lista->count(); ++i)
        itens << lista->itemText(i);
    return itens;
}
