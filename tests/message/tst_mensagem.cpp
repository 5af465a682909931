// The message panel on its own, answered through its real buttons while its caller waits.
#include "apoio/Apoio.h"
#include "message/PainelMensagem.h"
#include "shell/Acessibilidade.h"
#include "shell/Desdobramento.h"

#include <QAccessible>

namespace {

const QSize Cheio(px(4365), px(1395));
const QString Pergunta = QStringLiteral("Confirma Exclusão do Grupo e suas Fazelas ?");

} // namespace

class TstMensagem : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_janela = std::make_unique<QWidget>();
        m_janela->resize(454, 595);
        Construtor construtor(1);
        m_painel = new PainelMensagem(m_janela.get(), construtor, m_desdobramento);
        m_janela->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_janela.get()));
    }
    void cleanup() { m_janela.reset(); }
    void respostas_data();
    void respostas();
    void lidaPeloLeitorDeTela();
    // Ends every event loop of the test program, so it must come last.
    void programaEncerrandoNaoConfirma();

private:
    Desdobramento m_desdobramento;
    std::unique_ptr<QWidget> m_janela;
    PainelMensagem* m_painel = nullptr;
};

void TstMensagem::respostas_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("botao");
    QTest::addColumn<bool>("esperado");
    QTest::newRow("informação, okay") << 1 << "CmdMensagemOkay" << false;
    QTest::newRow("informação, fechar") << 1 << "ImgMensagemSair" << false;
    QTest::newRow("confirmar") << 2 << "CmdMensagemConfirmar" << true;
    QTest::newRow("cancelar") << 2 << "CmdMensagemCancelar" << false;
    QTest::newRow("fechar") << 2 << "ImgMensagemSair" << false;
    // Any other type asks for a confirmation too.
    QTest::newRow("tipo 0") << 0 << "CmdMensagemConfirmar" << true;
    QTest::newRow("tipo 255") << 255 << "CmdMensagemCancelar" << false;
}

void TstMensagem::respostas()
{
    QFETCH(int, tipo);
    QFETCH(QString, botao);
    QFETCH(bool, esperado);
    auto r = responderQuandoEsperar(m_janela.get(), botao);
    QCOMPARE(m_painel->mostrar(Pergunta, uint8_t(tipo)), esperado);
    QVERIFY(r->clicada);
    QCOMPARE(r->texto, Pergunta);
    QCOMPARE(r->okay, tipo == 1);
    QCOMPARE(r->confirmar, tipo != 1);
    QCOMPARE(r->cancelar, tipo != 1);
    QCOMPARE(r->tamanho, Cheio);
    QVERIFY(m_painel->isHidden() && !m_painel->esperando());
}

// A screen reader reads the message as a notification, with its text (that it is read out as it
// shows, the end-to-end case caso_leitor_de_tela checks through AT-SPI).
void TstMensagem::lidaPeloLeitorDeTela()
{
    Acessibilidade::instalar();
    QAccessible::Role papel {};
    QString descricao;
    QTimer::singleShot(0, this, [&] {
        const QAccessibleInterface* leitura = QAccessible::queryAccessibleInterface(m_painel);
        papel = leitura->role();
        descricao = leitura->text(QAccessible::Description);
    });
    auto r = responderQuandoEsperar(m_janela.get(), QStringLiteral("CmdMensagemCancelar"));
    QVERIFY(!m_painel->mostrar(Pergunta, 2));
    QCOMPARE(papel, QAccessible::Notification);
    QVERIFY(descricao.contains(Pergunta));
}

void TstMensagem::programaEncerrandoNaoConfirma()
{
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QVERIFY(!m_painel->mostrar(Pergunta, 2));
}

QTEST_MAIN(TstMensagem)
#include "tst_mensagem.moc"
