#include "apoio/Apoio.h"

#include "Esquema.h"
#include "data/Modulo.h"
#include "grid/Grade.h"
#include "shell/Bandeja.h"

#include <QTimer>
#include <sqlite3.h>

namespace {

sqlite3* Abrir(const QString& arquivo, int modo)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(arquivo).constData(), &db, modo, nullptr) != SQLITE_OK)
        qFatal("%s: %s", qPrintable(arquivo), sqlite3_errmsg(db));
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
    UltimoGrupo = GrupoAtual = 0;
    MsgBoxResposta = 0;
    GradeItens.clear();
    QtdItens = ProximaLinha = 0;
    GradeCheia = false;
    DadosBandeja.reset();
    RetornoBandeja = false;
}

BancoDeTeste::BancoDeTeste()
{
    sqlite3* db = Abrir(Arquivo(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (sqlite3_exec(db, Esquema::Sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("schema: %s", sqlite3_errmsg(db));
    sqlite3_close(db);
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
        QFAIL(qPrintable(sql + QStringLiteral(": ") + texto));
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
                const int tipo = sqlite3_column_type(st, c);
                if (tipo == SQLITE_NULL)
                    linha << QVariant();
                else if (tipo == SQLITE_INTEGER)
                    linha << qlonglong(sqlite3_column_int64(st, c));
                else
                    linha << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                               sqlite3_column_bytes(st, c));
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

void ComPrancheta::init()
{
    m_banco = std::make_unique<BancoDeTeste>();
    if (m_preparo)
        Iniciar(*m_preparo);
}

void ComPrancheta::cleanup()
{
    m_p.reset();
    m_banco.reset();
}

Prancheta& ComPrancheta::Iniciar(const QString& preparo)
{
    if (!preparo.isEmpty())
        m_banco->Executar(preparo);
    m_p = std::make_unique<Prancheta>();
    m_p->Form_Load();
    m_p->show();
    if (m_espera == Espera::Ativa) {
        m_p->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(m_p.get())); }();
    } else {
        [&] { QVERIFY(QTest::qWaitForWindowExposed(m_p.get())); }();
    }
    return *m_p;
}

QString Tarefas(int n)
{
    return QStringLiteral("Insert into Grupo_Fazela values (1,'g');"
                          "With recursive n(i) as (Select 0 Union All Select i + 1 from n where i + 1 < %1)"
                          " Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) Select 1, 't' || i, printf('%06d', i), 3 from n;")
        .arg(n);
}

QStringList Itens(const QComboBox* lista)
{
    QStringList itens;
    for (int i = 0; i < lista->count(); ++i)
        itens << lista->itemText(i);
    return itens;
}

void Digitar(QWidget* w, const QString& texto)
{
    for (const char32_t c : texto.toUcs4()) {
        if (c >= 0x20 && c < 0x7F)
            QTest::keyClick(w, char(c));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
    }
}

std::shared_ptr<Resposta> ResponderQuandoEsperar(Prancheta& p, std::function<QWidget*()> botao)
{
    auto r = std::make_shared<Resposta>();
    auto* relogio = new QTimer(&p);
    relogio->setInterval(5);
    QObject::connect(relogio, &QTimer::timeout, &p, [&p, r, relogio, botao] {
        if (!p.EsperaDaResposta || p.FrmMensagem->isHidden())
            return;
        relogio->deleteLater();
        relogio->stop();
        r->texto = p.txtMsgBoxMensagem->text();
        r->okay = p.CmdMensagemOkay->isVisibleTo(p.FrmMensagem);
        r->confirmar = p.CmdMensagemConfirmar->isVisibleTo(p.FrmMensagem);
        r->cancelar = p.CmdMensagemCancelar->isVisibleTo(p.FrmMensagem);
        r->pranchetaHabilitada = p.PicPrancheta->isEnabled();
        r->tarefaHabilitada = p.FrmFazela->isEnabled();
        r->tamanho = p.FrmMensagem->size();
        r->clicada = true;
        QTest::mouseClick(botao(), Qt::LeftButton);
    });
    relogio->start();
    return r;
}
