// The message panel answered through its real buttons while MensageBox waits.
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "message/Responder.h"
#include "shell/Prancheta.h"

#include <QAbstractEventDispatcher>
#include <QtTest>

using namespace Modulo;

namespace {

const QSize Cheio(Px(4365), Px(1395));

// Counts what reaches a widget: posted events and paints.
class Receptor : public QObject
{
public:
    int postados = 0;
    int pinturas = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            ++postados;
            return true;
        }
        return QObject::event(e);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++pinturas;
        return false;
    }
};

} // namespace

class TstMensagem : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void respostas_data();
    void respostas();
    void eventosSeguemDuranteAEspera();
    void respostaDuranteODesdobramento();
    // Ends every event loop of the test program, so it must come last.
    void programaEncerrandoNaoConfirma();

private:
    std::unique_ptr<BancoDeTeste> m_banco;
    std::unique_ptr<Prancheta> m_p;
};

void TstMensagem::init()
{
    m_banco = std::make_unique<BancoDeTeste>();
    m_p = std::make_unique<Prancheta>();
    m_p->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_p.get()));
}

void TstMensagem::cleanup()
{
    m_p.reset();
    m_banco.reset();
}

void TstMensagem::respostas_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("botao");
    QTest::addColumn<bool>("confirmacao");
    QTest::addColumn<bool>("esperado");
    QTest::addColumn<int>("resposta");
    QTest::newRow("informação, okay") << 1 << "CmdMensagemOkay" << false << false << 1;
    QTest::newRow("informação, fechar") << 1 << "ImgMensagemSair" << false << false << 1;
    QTest::newRow("confirmar") << 2 << "CmdMensagemConfirmar" << true << true << 2;
    QTest::newRow("cancelar") << 2 << "CmdMensagemCancelar" << true << false << 1;
    QTest::newRow("fechar") << 2 << "ImgMensagemSair" << true << false << 1;
    QTest::newRow("tipo 0") << 0 << "CmdMensagemConfirmar" << true << true << 2;
    QTest::newRow("tipo 3") << 3 << "CmdMensagemCancelar" << true << false << 1;
    QTest::newRow("tipo 255") << 255 << "CmdMensagemConfirmar" << true << true << 2;
}

void TstMensagem::respostas()
{
    QFETCH(int, tipo);
    QFETCH(QString, botao);
    QFETCH(bool, confirmacao);
    QFETCH(bool, esperado);
    QFETCH(int, resposta);
    Prancheta& p = *m_p;
    MsgBoxResposta = 7;
    // Answering enables the board whatever its state was before.
    p.PicPrancheta->setEnabled(tipo != 3);
    const QString texto = QStringLiteral("Confirma Exclusão do Grupo e suas Fazelas ?");
    auto r = ResponderQuandoEsperar(p, [&] { return p.FrmMensagem->findChild<QWidget*>(botao); });

    QCOMPARE(p.MensageBox(texto, uint8_t(tipo)), esperado);

    QVERIFY(r->clicada);
    QCOMPARE(r->texto, texto);
    QCOMPARE(r->okay, !confirmacao);
    QCOMPARE(r->confirmar, confirmacao);
    QCOMPARE(r->cancelar, confirmacao);
    QVERIFY(!r->pranchetaHabilitada);
    QCOMPARE(r->tamanho, Cheio);
    QCOMPARE(MsgBoxResposta, uint8_t(resposta));
    QVERIFY(p.FrmMensagem->isHidden());
    QVERIFY(p.PicPrancheta->isEnabled());
    QVERIFY(!p.EsperaDaResposta);
}

void TstMensagem::eventosSeguemDuranteAEspera()
{
    Prancheta& p = *m_p;
    Receptor receptor;
    p.txtMsgBoxMensagem->installEventFilter(&receptor);
    // The thread goes to sleep between events while it waits; a busy wait never would.
    int bloqueios = 0;
    connect(
        QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &receptor, [&] { ++bloqueios; });

    int bloqueiosNaEspera = -1;
    QTimer relogio;
    relogio.setInterval(5);
    connect(&relogio, &QTimer::timeout, &receptor, [&] {
        if (!p.EsperaDaResposta)
            return;
        if (bloqueiosNaEspera < 0) {
            bloqueiosNaEspera = bloqueios;
            receptor.pinturas = 0;
            QCoreApplication::postEvent(&receptor, new QEvent(QEvent::User));
            p.txtMsgBoxMensagem->update();
            return;
        }
        if (receptor.postados == 1 && receptor.pinturas > 0 && bloqueios > bloqueiosNaEspera)
            QTest::mouseClick(p.CmdMensagemOkay, Qt::LeftButton);
    });
    relogio.start();
    // Whatever the wait is made of, an answer ends it; the checks below then tell what was missing.
    QTimer::singleShot(5000, &receptor, [&] {
        if (p.FrmMensagem->isVisible())
            QTest::mouseClick(p.CmdMensagemOkay, Qt::LeftButton);
    });

    QVERIFY(!p.MensageBox(QStringLiteral("Informe o Nome da Fazela !"), 1));
    QCOMPARE(MsgBoxResposta, uint8_t(1));
    QCOMPARE(receptor.postados, 1);
    QVERIFY(receptor.pinturas > 0);
    QVERIFY(bloqueios > bloqueiosNaEspera);
}

void TstMensagem::respostaDuranteODesdobramento()
{
    Prancheta& p = *m_p;
    bool clicou = false;
    bool esperou = false;
    QSize tamanhoNoClique;
    QTimer relogio;
    relogio.setInterval(0);
    connect(&relogio, &QTimer::timeout, &relogio, [&] {
        if (p.EsperaDaResposta) {
            esperou = true;
            p.EsperaDaResposta->quit();
        }
        if (!clicou && p.FrmMensagem->isVisible() && p.FrmMensagem->size() != Cheio) {
            clicou = true;
            tamanhoNoClique = p.FrmMensagem->size();
            QTest::mouseClick(p.CmdMensagemConfirmar, Qt::LeftButton);
        }
    });
    relogio.start();
    QVERIFY(p.MensageBox(QStringLiteral("Confirma Exclusão do Grupo e suas Fazelas ?"), 2));
    relogio.stop();
    QVERIFY(clicou);
    QVERIFY(tamanhoNoClique != Cheio);
    QVERIFY(!esperou);
    // The unfolding ran to its end on the hidden panel without showing it again.
    QVERIFY(p.FrmMensagem->isHidden());
    QCOMPARE(p.FrmMensagem->size(), Cheio);
    QVERIFY(p.PicPrancheta->isEnabled());
}

void TstMensagem::programaEncerrandoNaoConfirma()
{
    Prancheta& p = *m_p;
    QTimer relogio;
    relogio.setInterval(5);
    connect(&relogio, &QTimer::timeout, &relogio, [&] {
        if (p.EsperaDaResposta)
            QCoreApplication::exit(0);
    });
    relogio.start();
    QVERIFY(!p.MensageBox(QStringLiteral("Confirma Exclusão do Grupo e suas Fazelas ?"), 2));
    QCOMPARE(MsgBoxResposta, uint8_t(0));
}

QTEST_MAIN(TstMensagem)
#include "tst_mensagem.moc"
