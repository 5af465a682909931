#include "apoio/Apoio.h"

#include "Esquema.h"
#include "message/PainelMensagem.h"

#include <QTimer>
#include <sqlite3.h>

namespace {

sqlite3* abrir(const QString& arquivo, int modo)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(arquivo).constData(), &db, modo, nullptr) != SQLITE_OK)
        qFatal("%s: %s", qPrintable(arquivo), sqlite3_errmsg(db));
    return db;
}

} // namespace

BancoDeTeste::BancoDeTeste()
    : m_banco(BancoDeDados::arquivoNaPasta(m_pasta.path()))
{
    sqlite3* db = abrir(arquivo(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (sqlite3_exec(db, Esquema::Sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("schema: %s", sqlite3_errmsg(db));
    sqlite3_close(db);
}

QString BancoDeTeste::arquivo() const { return m_banco.arquivo(); }

void BancoDeTeste::executar(const QString& sql) const
{
    sqlite3* db = abrir(arquivo(), SQLITE_OPEN_READWRITE);
    char* erro = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &erro);
    const QString texto = QString::fromUtf8(erro ? erro : "");
    sqlite3_free(erro);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        QFAIL(qPrintable(sql + QStringLiteral(": ") + texto));
}

QList<QVariantList> BancoDeTeste::linhas(const QString& sql, const QList<qint64>& valores) const
{
    sqlite3* db = abrir(arquivo(), SQLITE_OPEN_READONLY);
    sqlite3_stmt* st = nullptr;
    QList<QVariantList> linhas;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK) {
        for (int i = 0; i < valores.size(); ++i)
            sqlite3_bind_int64(st, i + 1, valores[i]);
        while (sqlite3_step(st) == SQLITE_ROW) {
            QVariantList linha;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const int tipo = sqlite3_column_type(st, c);
                if (tipo == SQLITE_NULL)
                    linha << QVariant();
                else if (tipo == SQLITE_INTEGER)
                    linha << qlonglong(sqlite3_column_int64(st, c));
                else
                    linha << QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(st, c)), sqlite3_column_bytes(st, c));
            }
            linhas << linha;
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return linhas;
}

QVariant BancoDeTeste::valor(const QString& sql, const QList<qint64>& valores) const
{
    const auto linhas = this->linhas(sql, valores);
    return linhas.isEmpty() || linhas.first().isEmpty() ? QVariant() : linhas.first().first();
}

void ComPrancheta::init()
{
    m_banco = std::make_unique<BancoDeTeste>();
    if (m_preparo)
        iniciar(*m_preparo);
}

void ComPrancheta::cleanup()
{
    m_p.reset();
    m_banco.reset();
}

Prancheta& ComPrancheta::iniciar(const QString& preparo, Prancheta::Montagem montagem)
{
    if (!preparo.isEmpty())
        m_banco->executar(preparo);
    m_p = std::make_unique<Prancheta>(m_banco->banco(), montagem);
    m_p->iniciar();
    m_p->show();
    if (m_espera == Espera::Ativa) {
        m_p->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(m_p.get())); }();
    } else {
        [&] { QVERIFY(QTest::qWaitForWindowExposed(m_p.get())); }();
    }
    return *m_p;
}

QString tarefas(int n)
{
    return QStringLiteral(
        "Insert into Grupo_Fazela values (1,'g');"
        "With recursive n(i) as (Select 0 Union All Select i + 1 from n where i + 1 < %1)"
        " Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) Select 1, 't' || i, printf('%06d', i), 3 from n;")
        .arg(n);
}

QStringList itens(const QComboBox* lista)
{
    QStringList itens;
    for (int i = 0; i < lista->count(); ++i)
        itens << lista->itemText(i);
    return itens;
}

void digitar(QWidget* w, const QString& texto)
{
    for (const char32_t c : texto.toUcs4()) {
        if (c >= 0x20 && c < 0x7F)
            QTest::keyClick(w, char(c));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
    }
}

void duploClique(QWidget* w)
{
    QTest::mouseDClick(w->window()->windowHandle(), Qt::LeftButton, {}, w->mapTo(w->window(), w->rect().center()));
}

std::shared_ptr<Resposta> responderQuandoEsperar(QWidget* janela, const QString& botao)
{
    auto r = std::make_shared<Resposta>();
    auto* relogio = new QTimer(janela);
    relogio->setInterval(5);
    QObject::connect(relogio, &QTimer::timeout, janela, [janela, r, relogio, botao] {
        // Once it waits, unfolded.
        auto* mensagem = janela->findChild<PainelMensagem*>();
        if (!mensagem || !mensagem->esperando() || mensagem->isHidden()
            || mensagem->size() != QSize(px(4365), px(1395)))
            return;
        relogio->deleteLater();
        relogio->stop();
        const auto visivel
            = [mensagem](const char* nome) { return mensagem->findChild<QWidget*>(nome)->isVisibleTo(mensagem); };
        r->texto = mensagem->findChild<QLabel*>("txtMsgBoxMensagem")->text();
        r->okay = visivel("CmdMensagemOkay");
        r->confirmar = visivel("CmdMensagemConfirmar");
        r->cancelar = visivel("CmdMensagemCancelar");
        if (QWidget* prancheta = janela->findChild<QWidget*>("PicPrancheta"))
            r->pranchetaHabilitada = prancheta->isEnabled();
        if (QWidget* tarefa = janela->findChild<QWidget*>("FrmFazela"))
            r->tarefaHabilitada = tarefa->isEnabled();
        r->tamanho = mensagem->size();
        r->clicada = true;
        QTest::mouseClick(mensagem->findChild<QWidget*>(botao), Qt::LeftButton);
    });
    relogio->start();
    return r;
}
