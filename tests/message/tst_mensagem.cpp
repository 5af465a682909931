// The message panel answered through its real buttons while MensageBox waits.
#include "apoio/Apoio.h"
#include "data/Modulo.h"

using namespace Modulo;

namespace {

const QSize Cheio(Px(4365), Px(1395));
const QString Pergunta = QStringLiteral("Confirma Exclusão do Grupo e suas Fazelas ?");

} // namespace

class TstMensagem : public ComPrancheta
{
    Q_OBJECT
public:
    TstMensagem() : ComPrancheta(Espera::Exposta, QString()) {}

private slots:
    void respostas_data();
    void respostas();
    void respostaDuranteODesdobramento();
    // Ends every event loop of the test program, so it must come last.
    void programaEncerrandoNaoConfirma();
};

void TstMensagem::respostas_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("botao");
    QTest::addColumn<bool>("esperado");
    QTest::addColumn<int>("resposta");
    QTest::newRow("informação, okay") << 1 << "CmdMensagemOkay" << false << 1;
    QTest::newRow("informação, fechar") << 1 << "ImgMensagemSair" << false << 1;
    QTest::newRow("confirmar") << 2 << "CmdMensagemConfirmar" << true << 2;
    QTest::newRow("cancelar") << 2 << "CmdMensagemCancelar" << false << 1;
    QTest::newRow("fechar") << 2 << "ImgMensagemSair" << false << 1;
    // Any other type asks for a confirmation too.
    QTest::newRow("tipo 0") << 0 << "CmdMensagemConfirmar" << true << 2;
    QTest::newRow("tipo 255") << 255 << "CmdMensagemCancelar" << false << 1;
}

void TstMensagem::respostas()
{
    QFETCH(int, tipo);
    QFETCH(QString, botao);
    QFETCH(bool, esperado);
    QFETCH(int, resposta);
    Prancheta& p = *m_p;
    MsgBoxResposta = 7;
    // Answering enables the board whatever its state was before.
    p.PicPrancheta->setEnabled(tipo != 255);
    auto r = ResponderQuandoEsperar(p, [&] { return p.FrmMensagem->findChild<QWidget*>(botao); });
    QCOMPARE(p.MensageBox(Pergunta, uint8_t(tipo)), esperado);
    QVERIFY(r->clicada);
    QCOMPARE(r->texto, Pergunta);
    QCOMPARE(r->okay, tipo == 1);
    QCOMPARE(r->confirmar, tipo != 1);
    QCOMPARE(r->cancelar, tipo != 1);
    QVERIFY(!r->pranchetaHabilitada);
    QCOMPARE(r->tamanho, Cheio);
    QCOMPARE(MsgBoxResposta, uint8_t(resposta));
    QVERIFY(p.FrmMensagem->isHidden() && p.PicPrancheta->isEnabled() && !p.EsperaDaResposta);
}

void TstMensagem::respostaDuranteODesdobramento()
{
    Prancheta& p = *m_p;
    bool clicou = false, esperou = false;
    QTimer relogio;
    relogio.setInterval(0);
    connect(&relogio, &QTimer::timeout, &relogio, [&] {
        if (p.EsperaDaResposta) {
            esperou = true;
            p.EsperaDaResposta->quit();
        }
        if (!clicou && p.FrmMensagem->isVisible() && p.FrmMensagem->size() != Cheio) {
            clicou = true;
            QTest::mouseClick(p.CmdMensagemConfirmar, Qt::LeftButton);
        }
    });
    relogio.start();
    QVERIFY(p.MensageBox(Pergunta, 2));
    relogio.stop();
    QVERIFY(clicou && !esperou);
    // The unfolding ran to its end on the hidden panel without showing it again.
    QVERIFY(p.FrmMensagem->isHidden() && p.PicPrancheta->isEnabled());
    QCOMPARE(p.FrmMensagem->size(), Cheio);
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
    QVERIFY(!p.MensageBox(Pergunta, 2));
    QCOMPARE(MsgBoxResposta, uint8_t(0));
}

QTEST_MAIN(TstMensagem)
#include "tst_mensagem.moc"
