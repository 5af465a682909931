// The icon's messages, told apart by number, and what stands for them where there is no icon.
#include "apoio/Apoio.h"
#include "shell/Bandeja.h"
#include "shell/FormMenu.h"
#include "shell/Plataforma.h"
#include "shell/Prancheta.h"

#include <QMenu>
#include <QtTest>

using namespace Modulo;
using Motivo = QSystemTrayIcon::ActivationReason;
using Passo = QPair<int, qint64>; // activation, milliseconds

class TstBandeja : public QObject
{
    Q_OBJECT
private slots:
    void ativacoesViramMensagens_data();
    void ativacoesViramMensagens();
    void duploCliqueMostraOuPoeNoTopo();
    void botaoDireitoAbreOMenu();
    void demaisMensagensNadaFazem();
    void semBandejaAPranchetaFicaAoAlcance();
};

void TstBandeja::ativacoesViramMensagens_data()
{
    QTest::addColumn<QList<Passo>>("passos");
    QTest::addColumn<QList<int>>("mensagens");
    const int T = QSystemTrayIcon::Trigger, D = QSystemTrayIcon::DoubleClick, C = QSystemTrayIcon::Context,
              M = QSystemTrayIcon::MiddleClick, U = QSystemTrayIcon::Unknown;
    QTest::newRow("um clique") << QList<Passo> { { T, 0 } } << QList<int> { 0 };
    QTest::newRow("duplo, XEmbed") << QList<Passo> { { T, 0 }, { D, 90 } } << QList<int> { 0, 515 };
    QTest::newRow("duplo, StatusNotifierItem") << QList<Passo> { { T, 0 }, { T, 90 } } << QList<int> { 0, 515 };
    QTest::newRow("duplo contado duas vezes")
        << QList<Passo> { { T, 0 }, { T, 90 }, { D, 95 } } << QList<int> { 0, 515, 0 };
    QTest::newRow("dois cliques lentos") << QList<Passo> { { T, 0 }, { T, 401 } } << QList<int> { 0, 0 };
    QTest::newRow("triplo") << QList<Passo> { { T, 0 }, { T, 90 }, { T, 180 } } << QList<int> { 0, 515, 0 };
    QTest::newRow("dois duplos") << QList<Passo> { { T, 0 }, { T, 90 }, { T, 1000 }, { T, 1090 } }
                                 << QList<int> { 0, 515, 0, 515 };
    QTest::newRow("direito") << QList<Passo> { { C, 0 }, { C, 50 } } << QList<int> { 517, 517 };
    QTest::newRow("meio e desconhecido") << QList<Passo> { { M, 0 }, { U, 10 } } << QList<int> { 0, 0 };
}

void TstBandeja::ativacoesViramMensagens()
{
    QFETCH(QList<Passo>, passos);
    QFETCH(QList<int>, mensagens);
    TradutorBandeja tradutor(400);
    QList<int> obtidas;
    for (const Passo& p : passos)
        obtidas << tradutor.Mensagem(Motivo(p.first), p.second);
    QCOMPARE(obtidas, mensagens);
}

void TstBandeja::duploCliqueMostraOuPoeNoTopo()
{
    BancoDeTeste banco;
    Prancheta p;
    QVERIFY(p.Form_Load());
    p.hide();
    p.Picture1_MouseMove(WM_LBUTTONDBLCLK);
    QVERIFY(p.isVisible());
    QVERIFY(!p.NoTopo);
    p.Picture1_MouseMove(WM_LBUTTONDBLCLK);
    p.Picture1_MouseMove(WM_LBUTTONDBLCLK);
    QVERIFY(p.isVisible());
    QVERIFY(p.NoTopo);
    p.CmdSair_Click();
    QVERIFY(!p.NoTopo);
    // Minimized through a task bar, the board comes back as from hiding.
    p.showMinimized();
    QTRY_VERIFY(p.isMinimized());
    p.Picture1_MouseMove(WM_LBUTTONDBLCLK);
    QTRY_VERIFY(!p.isMinimized());
    QVERIFY(p.isVisible());
    QVERIFY(!p.NoTopo);
    QVERIFY(!p.FormularioMenu);
}

void TstBandeja::botaoDireitoAbreOMenu()
{
    BancoDeTeste banco;
    Prancheta p;
    QVERIFY(p.Form_Load());
    p.hide(); // the menu opens while the board is hidden too
    p.Picture1_MouseMove(WM_RBUTTONUP);
    QVERIFY(p.FormularioMenu);
    FormMenu* formulario = p.FormularioMenu;
    QVERIFY(!formulario->isVisible());
    QTRY_VERIFY(formulario->mnu0->isVisible());
    QCOMPARE(formulario->mnu0->actions().size(), 1);
    QCOMPARE(formulario->mnu0->actions().first()->text(), QStringLiteral("&Encerrar"));
    formulario->mnu0->hide();
    p.Picture1_MouseMove(WM_RBUTTONUP);
    QCOMPARE(p.FormularioMenu, formulario);
    QTRY_VERIFY(formulario->mnu0->isVisible());
    formulario->mnu0->hide();
    QVERIFY(!p.isVisible());
    QVERIFY(DadosBandeja);
    // Choosing the item removes the icon and ends the program.
    formulario->Encerrar->trigger();
    QVERIFY(!DadosBandeja);
}

void TstBandeja::demaisMensagensNadaFazem()
{
    BancoDeTeste banco;
    Prancheta p;
    QVERIFY(p.Form_Load());
    for (bool visivel : { false, true }) {
        p.setVisible(visivel);
        for (int mensagem : { WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, 0, 518, 0x203 + 0x100 }) {
            p.Picture1_MouseMove(mensagem);
            QCOMPARE(p.isVisible(), visivel);
            QVERIFY(!p.NoTopo);
            QVERIFY(!p.FormularioMenu);
        }
    }
}

void TstBandeja::semBandejaAPranchetaFicaAoAlcance()
{
    // The test platform has no notification area, like GNOME without its extension.
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    BancoDeTeste banco;
    Prancheta p;
    QVERIFY(p.Form_Load());
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    // The close image leaves the board on the task bar instead of out of reach, or where it is when
    // nothing keeps a minimized window (weston; any native Wayland client)...
    p.CmdSair_Click();
    if (Plataforma::PodeMinimizar())
        QTRY_VERIFY(p.isMinimized());
    else
        QVERIFY(!p.isMinimized());
    QVERIFY(p.isVisible());
    // ... and closing it through the window manager ends the program.
    QVERIFY(DadosBandeja);
    QVERIFY(!p.close());
    QVERIFY(!DadosBandeja);
}

QTEST_MAIN(TstBandeja)
#include "tst_bandeja.moc"
