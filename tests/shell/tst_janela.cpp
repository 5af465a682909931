// The board window: start-up, what stands where, the outline, which presses move the window, the
// icon's messages, pasting into the boxes, and one copy per folder.
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "assets/Imagens.h"
#include "shell/Bandeja.h"
#include "shell/Controles.h"
#include "shell/Falhas.h"
#include "shell/FormMenu.h"
#include "shell/Plataforma.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

using namespace Modulo;
using Passo = QPair<int, qint64>; // activation, milliseconds

namespace {

// One character a pixel, each character its own colour; the top-left one is the transparent colour.
QImage Figura(const QStringList& linhas)
{
    QImage img(int(linhas.first().size()), int(linhas.size()), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(linhas[y][x].unicode(), 7, 7));
    return img;
}

QRegion Regiao(const QList<QRect>& retangulos)
{
    QRegion r;
    for (const QRect& q : retangulos)
        r += q;
    return r;
}

// Stands in for the desktop's web browser.
class Navegador : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> abertas;
public slots:
    void abrir(const QUrl& url) { abertas << url; }
};

} // namespace

class TstJanela : public ComPrancheta
{
    Q_OBJECT
public:
    TstJanela() : ComPrancheta(Espera::Exposta, QString()) {}

private slots:
    // First: once a test has ended the program (QCoreApplication::exit), later modal waits return at once.
    void textosDoToolkitEmPortugues();
    void estadoInicial();
    void pontosDaPrancheta_data();
    void pontosDaPrancheta();
    void contornoEPressoes_data();
    void contornoEPressoes();
    void regiaoDeFigurasPequenas_data();
    void regiaoDeFigurasPequenas();
    void ativacoesViramMensagens_data();
    void ativacoesViramMensagens();
    void iconeEMenu();
    void umaPaginaPorClique();
    void colarNasCaixas_data();
    void colarNasCaixas();
    void umaCopiaPorPasta();
};

void TstJanela::textosDoToolkitEmPortugues()
{
    // Whatever the session's language: the catalogue is the program's own, not the system's.
    QLocale::setDefault(QLocale::c());
    FalarPortugues();
    const std::unique_ptr<QMenu> menu(m_p->txtFazelaNome->createStandardContextMenu());
    QStringList textos;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            textos << a->text().section(QLatin1Char('\t'), 0, 0);
    QCOMPARE(textos, QStringList({"&Desfazer", "&Refazer", "Recor&tar", "&Copiar", "C&olar", "Excluir",
                                  "Selecionar tudo"}));
    QCOMPARE(QCoreApplication::translate("QScrollBar", "Scroll here"), "Rolar aqui");
    // The failure report is answered with the board's own word.
    QString botao;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* relatorio = qobject_cast<QMessageBox*>(w); relatorio && relatorio->isVisible()) {
                botao = relatorio->button(QMessageBox::Ok)->text();
                relatorio->button(QMessageBox::Ok)->click();
            }
    });
    ReportarFalha("Falha ao abrir o banco");
    QCOMPARE(botao, "&Okay");
}

void TstJanela::estadoInicial()
{
    Prancheta& p = *m_p;
    // The window ends where the board picture ends.
    QCOMPARE(p.size(), QSize(454, 595));
    QCOMPARE(p.PicPrancheta->geometry(), QRect(2, 0, 452, 595));
    for (QWidget* oculto : {(QWidget*)p.FrmGrupo, (QWidget*)p.FrmFazela, (QWidget*)p.FrmMensagem, (QWidget*)p.Picture1,
                            (QWidget*)p.ImagemCheck, (QWidget*)p.txtFazelaCodigo, (QWidget*)p.VscGrade})
        QVERIFY2(!oculto->isVisible(), qPrintable(oculto->objectName()));
    // The keyboard order: the board's own controls, then each panel's in its order.
    QVERIFY(p.PicFocus->hasFocus());
    QStringList ordem;
    QWidget* w = p.PicFocus;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            ordem << w->objectName();
        w = w->nextInFocusChain();
    } while (w != p.PicFocus);
    QCOMPARE(ordem.join(' '), "PicFocus PicPrancheta cmbGrupo VscGrade txtGrupoGrupo CmdGrupoIncluir CmdGrupoCancel "
                              "CmdMensagemConfirmar CmdMensagemOkay CmdMensagemCancelar CmbFazelaPrior txtFazelaNome "
                              "txtFazelaDescricao CmdFazelaIncluir CmdFazelaAlterar CmdFazelaExcluir");
    // The priority list's positions are the stored priorities less one.
    QCOMPARE(Itens(p.CmbFazelaPrior), QStringList({"Nenhuma", "Baixa", "Média", "Alta", "Urgente"}));
    // A list box makes its drop-down list when it is first needed, in the box's own font.
    for (QComboBox* lista : {static_cast<QComboBox*>(p.cmbGrupo), static_cast<QComboBox*>(p.CmbFazelaPrior)}) {
        QVERIFY(!lista->findChild<QAbstractItemView*>());
        QCOMPARE(lista->view()->font(), lista->font());
    }
    QCOMPARE(p.cmbGrupo->currentText(), QString::fromLatin1(SemGrupos));
    QVERIFY(!p.cmbGrupo->isEnabled());
    QCOMPARE(p.CmdSair->cursor().shape(), Qt::BitmapCursor);
    // The panels lie over the board (message over task over group) and stay usable while the
    // board is disabled.
    const QObjectList filhos = p.children();
    QVERIFY(filhos.indexOf(p.FrmMensagem) > filhos.indexOf(p.FrmFazela));
    QVERIFY(filhos.indexOf(p.FrmFazela) > filhos.indexOf(p.FrmGrupo));
    QVERIFY(filhos.indexOf(p.FrmGrupo) > filhos.indexOf(p.PicPrancheta));
    p.PicPrancheta->setEnabled(false);
    QVERIFY(!p.cmbGrupo->isEnabled() && p.txtFazelaNome->isEnabled() && p.CmdMensagemConfirmar->isEnabled());
}

// What lies under the pointer at points of the window where a user clicks or looks.
void TstJanela::pontosDaPrancheta_data()
{
    QTest::addColumn<QPoint>("ponto");
    QTest::addColumn<QString>("controle");
    QTest::addColumn<QColor>("cor"); // the label's background, if it has one
    QTest::newRow("novo grupo") << QPoint(42, 75) << "CmdNewGrupo" << QColor();
    QTest::newRow("excluir grupo") << QPoint(68, 75) << "CmdDelGrupo" << QColor();
    QTest::newRow("nova fazela") << QPoint(92, 75) << "CmdNewFazela" << QColor();
    QTest::newRow("fechar") << QPoint(398, 75) << "CmdSair" << QColor();
    QTest::newRow("marca 0") << QPoint(45, 166) << "ImgLinha(0)" << QColor();
    QTest::newRow("linha 0") << QPoint(356, 166) << "Linha(0)" << QColor();
    QTest::newRow("linha 22") << QPoint(356, 166 + 16 * 22) << "Linha(22)" << QColor();
    QTest::newRow("fabricante") << QPoint(216, 563) << "Vek1" << QColor();
    QTest::newRow("legenda nenhuma") << QPoint(370, 538) << "Cor1" << QColor(255, 255, 255);
    QTest::newRow("legenda baixa") << QPoint(320, 538) << "Cor2" << QColor(192, 192, 255);
    QTest::newRow("legenda média") << QPoint(268, 538) << "Cor3" << QColor(128, 255, 128);
    QTest::newRow("legenda alta") << QPoint(216, 538) << "Cor4" << QColor(255, 255, 128);
    QTest::newRow("legenda urgente") << QPoint(164, 538) << "Cor5" << QColor(255, 128, 128);
}

void TstJanela::pontosDaPrancheta()
{
    QFETCH(QPoint, ponto);
    QFETCH(QString, controle);
    QFETCH(QColor, cor);
    QWidget* w = m_p->childAt(ponto);
    QVERIFY(w);
    QCOMPARE(w->objectName(), controle);
    if (cor.isValid())
        QCOMPARE(static_cast<Rotulo*>(w)->CorFundo(), cor);
}

void TstJanela::contornoEPressoes_data()
{
    QTest::addColumn<qreal>("densidade");
    for (qreal d : {1.0, 1.25, 1.5, 1.75, 2.0})
        QTest::addRow("%g", d) << d;
}

void TstJanela::contornoEPressoes()
{
    // The board as painted for a screen of each density against the outline the window system gets:
    // no pixel of the surroundings inside it, no pixel of the clipboard outside.
    QFETCH(qreal, densidade);
    Prancheta& p = *m_p;
    p.AjustarDensidade(densidade);
    const QRegion contorno = p.ContornoNativo();
    const QRgb fundo = qRgb(0, 255, 0);
    QImage tela(qCeil(p.width() * densidade), qCeil(p.height() * densidade), QImage::Format_RGB32);
    tela.fill(fundo);
    tela.setDevicePixelRatio(densidade);
    p.render(&tela, {}, {}, QWidget::DrawChildren | QWidget::IgnoreMask);
    for (int y = 0; y < tela.height(); ++y)
        for (int x = 0; x < tela.width(); ++x) {
            const QRgb c = tela.pixel(x, y);
            if (contorno.contains(QPoint(x, y)) == (c == fundo || c == Imagens::Chave))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    // Here, with no window system to take it, the same outline is Qt's mask.
    if (densidade == 1)
        QCOMPARE(p.mask(), contorno);
    // The controls' presses are theirs, even those a control leaves unused; the bare picture
    // takes any button.
    QSignalSpy pressoes(p.PicPrancheta, &CaixaImagem::MouseDown);
    QTest::mousePress(p.Linha[3], Qt::RightButton);
    QTest::mousePress(p.Vek1, Qt::MiddleButton);
    QTest::mouseDClick(p.ImgLinha[0], Qt::LeftButton);
    QCOMPARE(pressoes.size(), 0);
    for (Qt::MouseButton botao : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        QTest::mousePress(p.PicPrancheta, botao, {}, QPoint(10, 300));
    QCOMPARE(pressoes.size(), 3);
}

void TstJanela::regiaoDeFigurasPequenas_data()
{
    QTest::addColumn<QStringList>("figura");
    QTest::addColumn<QRegion>("esperada");
    QTest::newRow("linhas terminam opacas") << QStringList{"..##", ".###", "####"}
                                            << Regiao({{2, 0, 2, 1}, {1, 1, 3, 1}, {0, 2, 4, 1}});
    // A row that ends inside a run does not carry it into the next row.
    QTest::newRow("nada passa de uma linha a outra") << QStringList{"..##", "#...", "...."} << Regiao({{2, 0, 2, 1}, {0, 1, 1, 1}});
    QTest::newRow("buraco dentro") << QStringList{".....", ".###.", ".#.#.", ".###.", "....."}
                                   << Regiao({{1, 1, 3, 1}, {1, 2, 1, 1}, {3, 2, 1, 1}, {1, 3, 3, 1}});
    QTest::newRow("cores diferentes, um trecho") << QStringList{".abc."} << Regiao({{1, 0, 3, 1}});
    QTest::newRow("a cor do canto vale em toda parte") << QStringList{"#..#", "#.#.", "####"}
                                                       << Regiao({{1, 0, 2, 1}, {1, 1, 1, 1}, {3, 1, 1, 1}});
    QTest::newRow("uma cor só") << QStringList{"xxx", "xxx"} << QRegion();
}

void TstJanela::regiaoDeFigurasPequenas()
{
    QFETCH(QStringList, figura);
    QFETCH(QRegion, esperada);
    QCOMPARE(Prancheta::CriarRegiao(Figura(figura)), esperada);
}

void TstJanela::ativacoesViramMensagens_data()
{
    QTest::addColumn<QList<Passo>>("passos");
    QTest::addColumn<QList<int>>("mensagens");
    const int T = QSystemTrayIcon::Trigger, D = QSystemTrayIcon::DoubleClick, C = QSystemTrayIcon::Context,
              M = QSystemTrayIcon::MiddleClick;
    QTest::newRow("um clique") << QList<Passo>{{T, 0}} << QList<int>{0};
    QTest::newRow("duplo, XEmbed") << QList<Passo>{{T, 0}, {D, 90}} << QList<int>{0, 515};
    QTest::newRow("duplo, StatusNotifierItem") << QList<Passo>{{T, 0}, {T, 90}} << QList<int>{0, 515};
    QTest::newRow("duplo contado duas vezes") << QList<Passo>{{T, 0}, {T, 90}, {D, 95}} << QList<int>{0, 515, 0};
    QTest::newRow("dois cliques lentos") << QList<Passo>{{T, 0}, {T, 401}} << QList<int>{0, 0};
    QTest::newRow("triplo") << QList<Passo>{{T, 0}, {T, 90}, {T, 180}} << QList<int>{0, 515, 0};
    QTest::newRow("direito e meio") << QList<Passo>{{C, 0}, {C, 50}, {M, 60}} << QList<int>{517, 517, 0};
}

void TstJanela::ativacoesViramMensagens()
{
    QFETCH(QList<Passo>, passos);
    QFETCH(QList<int>, mensagens);
    TradutorBandeja tradutor(400);
    QList<int> obtidas;
    for (const Passo& p : passos)
        obtidas << tradutor.Mensagem(QSystemTrayIcon::ActivationReason(p.first), p.second);
    QCOMPARE(obtidas, mensagens);
}

void TstJanela::iconeEMenu()
{
    Prancheta& p = *m_p;
    // The icon's result is what happened: here no notification area took it.
    QVERIFY(DadosBandeja && !RetornoBandeja);
    // A double-click brings a hidden board back, then keeps it on top; the close image takes it off.
    p.hide();
    p.Picture1_MouseMove(WM_LBUTTONDBLCLK);
    QVERIFY(p.isVisible() && !p.NoTopo);
    p.Picture1_MouseMove(WM_LBUTTONDBLCLK);
    QVERIFY(p.isVisible() && p.NoTopo);
    // The test platform has no notification area: the close image leaves the board on the task
    // bar, and a double-click brings it back from there too.
    // (Where nothing keeps a minimized window, weston or any native Wayland client, it stays.)
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    QTest::mouseClick(p.CmdSair, Qt::LeftButton);
    QTRY_COMPARE(p.isMinimized(), Plataforma::PodeMinimizar());
    QVERIFY(!p.NoTopo && p.isVisible());
    p.Picture1_MouseMove(WM_LBUTTONDBLCLK);
    QTRY_VERIFY(!p.isMinimized());
    QVERIFY(!p.NoTopo && !p.FormularioMenu);
    // The right button opens the menu, hidden board or not, with its one item, which ends all.
    p.hide();
    p.Picture1_MouseMove(WM_RBUTTONUP);
    QVERIFY(p.FormularioMenu);
    QTRY_VERIFY(p.FormularioMenu->mnu0->isVisible());
    QCOMPARE(p.FormularioMenu->mnu0->actions().size(), 1);
    QCOMPARE(p.FormularioMenu->mnu0->actions().first()->text(), QStringLiteral("&Encerrar"));
    p.FormularioMenu->mnu0->hide();
    QVERIFY(DadosBandeja);
    QTimer::singleShot(0, p.FormularioMenu->Encerrar, &QAction::trigger);
    QCOMPARE(QCoreApplication::exec(), 0); // with success
    QVERIFY(!DadosBandeja);
    // Closed through the window manager without a notification area, the program ends.
    DadosBandeja = std::make_unique<QSystemTrayIcon>();
    QVERIFY(!p.close());
    QVERIFY(!DadosBandeja);
}

// The maker's page opens once per click: the double-click's second press is not a click again.
void TstJanela::umaPaginaPorClique()
{
    Navegador navegador;
    QDesktopServices::setUrlHandler("https", &navegador, "abrir");
    const auto emCima = [&](const char* nome) {
        auto* w = m_p->findChild<QWidget*>(nome);
        return w->mapTo(m_p.get(), w->rect().center());
    };
    QTest::mouseClick(m_p->windowHandle(), Qt::LeftButton, {}, emCima("Vek1"));
    QTest::mouseDClick(m_p->windowHandle(), Qt::LeftButton, {}, emCima("Vek1"));
    QTest::mouseDClick(m_p->windowHandle(), Qt::LeftButton, {}, emCima("Image1"));
    QTest::mouseClick(m_p->windowHandle(), Qt::LeftButton, {}, emCima("Image2"));
    QTest::mouseClick(m_p->windowHandle(), Qt::RightButton, {}, emCima("Image2"));
    QDesktopServices::unsetUrlHandler("https");
    QCOMPARE(navegador.abertas.size(), 4);
    QCOMPARE(navegador.abertas.count(navegador.abertas.first()), 4);
}

void TstJanela::colarNasCaixas_data()
{
    QTest::addColumn<QString>("colado");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("descricao");
    const QChar nul(0);
    QTest::newRow("NUL") << QStringLiteral("a%1b%1").arg(nul) << "ab" << "ab";
    QTest::newRow("controles e tab") << "a\tb\x01" << "a\tb\x01" << "a\tb\x01";
    QTest::newRow("separadores") << QStringLiteral("a\u00a0b\u2028c\r\nd") << QStringLiteral("a\u00a0b\u2028c\r\nd")
                                 << QStringLiteral("a\u00a0b\u2028c\nd");
    QTest::newRow("meio emoji no limite") << QString(49, 'x') + "🙂" << QString(49, 'x') << QString(49, 'x') + "🙂";
}

// Pasted text is kept as pasted, less what the database cannot hold (NUL) and what the name box
// cannot hold (past 50, and half a character).
void TstJanela::colarNasCaixas()
{
    QFETCH(QString, colado);
    QFETCH(QString, nome);
    QFETCH(QString, descricao);
    QGuiApplication::clipboard()->setText(colado);
    m_p->txtFazelaNome->clear();
    m_p->txtFazelaNome->paste();
    QCOMPARE(m_p->txtFazelaNome->text(), nome);
    m_p->txtFazelaDescricao->clear();
    m_p->txtFazelaDescricao->paste();
    QCOMPARE(m_p->txtFazelaDescricao->text(), descricao);
}

void TstJanela::umaCopiaPorPasta()
{
    QSystemTrayIcon* icone = DadosBandeja.get();
    // A copy that has run for an hour holds its lock as firmly as a new one.
    QFile trava(Plataforma::ArquivoDaTrava(PastaDoPrograma));
    QVERIFY(trava.open(QIODevice::ReadOnly));
    QVERIFY(trava.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    trava.close();
    // The database is moved away: a second copy that touched it would fail.
    QVERIFY(QFile::rename(m_banco->Arquivo(), m_banco->Arquivo() + ".fora"));
    m_p->hide();
    Prancheta segunda;
    QVERIFY(!segunda.Form_Load());
    QCOMPARE(DadosBandeja.get(), icone);
    QVERIFY(!segunda.isVisible());
    // The user started it again: the running copy's board comes back.
    QTRY_VERIFY(m_p->isVisible());
    // A copy kept in another folder is another board.
    BancoDeTeste outra;
    Prancheta terceira;
    QVERIFY(terceira.Form_Load());
    // What a copy killed while running leaves: its lock, naming a process that no longer exists.
    m_p.reset();
    BancoDeTeste quarta;
    QFile morta(Plataforma::ArquivoDaTrava(PastaDoPrograma));
    QVERIFY(morta.open(QIODevice::WriteOnly) && morta.write("2147483000\nfazelas\n\n") > 0);
    morta.close();
    // ... and the socket its doorbell listened on.
    QFile campainha(morta.fileName().replace(QLatin1String(".lock"), QLatin1String(".sock")));
    QVERIFY(campainha.open(QIODevice::WriteOnly));
    campainha.close();
    Prancheta depois;
    QVERIFY(depois.Form_Load());
    Prancheta denovo;
    QVERIFY(!denovo.Form_Load());
    QTRY_VERIFY(depois.isVisible());
}

QTEST_MAIN(TstJanela)
#include "tst_janela.moc"
