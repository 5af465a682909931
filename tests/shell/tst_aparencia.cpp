// The board as a user sees it: how its panels unfold, and what it looks like, pixel for pixel,
// against the reference pictures beside this file. Driven only through controls found by name.
//
// To make the reference pictures anew, on purpose (look at each one before committing it):
//   FAZELAS_NOVAS_REFERENCIAS=1 QT_QPA_PLATFORM=offscreen build/tests/tst_aparencia
#include "apoio/Apoio.h"
#include "shell/Controles.h"

namespace {

// 26 tasks of group 1, every priority, every third one done.
const QString Preparo = QStringLiteral(
    "Insert into Grupo_Fazela values (1,'Casa e Escritório'), (2,'Trabalho'); Update Config set Ultimo_Grupo = 1;"
    "With recursive n(i) as (Select 0 Union All Select i + 1 from n where i < 25)"
    " Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade,Executado) Select 1, printf('Fazela %02d · %s', i,"
    " substr('NenhumaBaixa  Média  Alta   Urgente', 1 + 7 * (i % 5), 7)), printf('%02d', i), 1 + i % 5,"
    " iif(i % 3 = 0, 'S', Null) From n");

// Hands every event `alvo` gets to `aoEvento`, while it lives.
class Observador : public QObject
{
public:
    Observador(QObject* alvo, std::function<void(QEvent*)> aoEvento)
        : m_aoEvento(std::move(aoEvento))
    {
        alvo->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        m_aoEvento(e);
        return false;
    }

private:
    std::function<void(QEvent*)> m_aoEvento;
};

// Calls `passo` at every pass of the event loop (each one a repaint) until it returns true.
void aCadaPasso(QWidget* painel, const std::function<bool()>& passo)
{
    auto* relogio = new QTimer(painel);
    QObject::connect(relogio, &QTimer::timeout, painel, [=] {
        if (passo()) {
            relogio->stop();
            relogio->deleteLater();
        }
    });
    relogio->start(0);
}

QImage retrato(QWidget* janela)
{
    QImage imagem(janela->size(), QImage::Format_ARGB32);
    imagem.fill(Qt::transparent);
    janela->render(&imagem);
    return imagem;
}

void clicarEm(QWidget* janela, const QString& nome)
{
    // A row opens its task with a double-click.
    if (nome.startsWith("Linha"))
        QTest::mouseDClick(janela->findChild<QWidget*>(nome), Qt::LeftButton);
    else
        QTest::mouseClick(janela->findChild<QWidget*>(nome), Qt::LeftButton);
}

} // namespace

class TstAparencia : public ComPrancheta
{
    Q_OBJECT
public:
    TstAparencia()
        : ComPrancheta(Espera::Ativa)
    {
    }

private slots:
    void initTestCase()
    {
        substituirFontes();
        QApplication::setCursorFlashTime(0); // the text cursor always shown, never half-way through a blink
    }
    // First: a fresh board draws its styles from the start of their sequence.
    void desdobramentos();
    void aparencia_data();
    void aparencia();
};

void TstAparencia::desdobramentos()
{
    QWidget& janela = iniciar(Preparo);
    // Height, steps down, height step across (twips); all are 4365 wide.
    const QHash<QString, QList<int>> paineis
        = { { "FrmFazela", { 3345, 66, 76 } }, { "FrmGrupo", { 1725, 34, 39 } }, { "FrmMensagem", { 1395, 27, 31 } } };
    // Opened by, the panel, closed by, and the style drawn: the same sequence on every run.
    const QStringList aberturas = { "CmdNewGrupo FrmGrupo CmdGrupoCancel V", "CmdNewFazela FrmFazela CmdFazelaSair V",
        "CmdNewGrupo FrmGrupo ImgGrupoSair H", "CmdNewGrupo FrmGrupo CmdGrupoCancel D",
        "Linha(0) FrmFazela CmdFazelaSair D", "CmdDelGrupo FrmMensagem CmdMensagemCancelar V",
        "CmdDelGrupo FrmMensagem ImgMensagemSair H", "Linha(1) FrmFazela CmdFazelaSair V",
        "CmdNewGrupo FrmGrupo CmdGrupoCancel V", "CmdDelGrupo FrmMensagem CmdMensagemCancelar D",
        "CmdNewFazela FrmFazela CmdFazelaSair V", "Linha(0) FrmFazela CmdFazelaSair H" };
    for (const QString& abertura : aberturas) {
        const QStringList a = abertura.split(' ');
        QWidget* painel = janela.findChild<QWidget*>(a[1]);
        const QList<int> t = paineis[a[1]];
        const QSize cheio(px(4365), px(t[0]));
        // The steps are fixed numbers of twips, the panel's corner stays put, the last size is the full one.
        QList<QSize> passos;
        for (int i = 0; a[3] == "V" && i < t[1]; ++i)
            passos << QSize(cheio.width(), px(50 + 50 * i));
        for (int i = 0; a[3] == "H" && i < 58; ++i)
            passos << QSize(px(50 + 75 * i), cheio.height());
        for (int i = 0; a[3] == "D" && i < 44; ++i)
            passos << QSize(px(50 + 100 * i), px(t[2] * (i + 1)));
        passos << cheio;
        // Every size the panel takes while shown, as its resizes come.
        QList<QSize> vistos;
        const QPoint canto = painel->pos();
        bool parado = true;
        Observador observador(painel, [&, painel](QEvent* e) {
            if (e->type() != QEvent::Resize || !painel->isVisible() || painel->size().isEmpty())
                return;
            if (vistos.isEmpty() || vistos.last() != painel->size())
                vistos << painel->size();
            parado &= painel->pos() == canto;
        });
        // Closed once unfolded; the message's question waits inside the click that opened it.
        aCadaPasso(painel, [painel, cheio, fechar = a[2]] {
            if (!painel->isVisible() || painel->size() != cheio)
                return false;
            QTest::mouseClick(painel->findChild<QWidget*>(fechar), Qt::LeftButton);
            return true;
        });
        clicarEm(&janela, a[0]);
        QTRY_VERIFY2(painel->isHidden(), qPrintable(abertura));
        QVERIFY2(vistos == passos && parado, qPrintable(abertura));
    }
}

void TstAparencia::aparencia_data()
{
    // clang-format off
    QTest::addColumn<QString>("preparo");
    QTest::addColumn<QString>("abrir"); // the control clicked before the picture
    QTest::addColumn<QString>("caixa"); // a box clicked and typed into
    QTest::newRow("sem grupos") << "" << "" << "";
    QTest::newRow("sem fazelas") << "Insert into Grupo_Fazela values (1,'Casa'); Update Config set Ultimo_Grupo = 1"
        << "" << "";
    QTest::newRow("grade") << Preparo << "" << "";
    QTest::newRow("grupo") << Preparo << "CmdNewGrupo" << "txtGrupoGrupo";
    QTest::newRow("fazela") << Preparo << "Linha(2)" << "";
    QTest::newRow("mensagem") << Preparo << "CmdDelGrupo" << "";
    // clang-format on
}

void TstAparencia::aparencia()
{
    QFETCH(QString, preparo);
    QFETCH(QString, abrir);
    QFETCH(QString, caixa);
    QWidget& janela = iniciar(preparo);
    QImage obtida;
    // The message waits for its answer inside the click: the picture is taken meanwhile.
    QWidget* mensagem = janela.findChild<QWidget*>("FrmMensagem");
    if (abrir == "CmdDelGrupo")
        aCadaPasso(mensagem, [&] {
            if (!mensagem->isVisible() || mensagem->size() != QSize(px(4365), px(1395)))
                return false;
            obtida = retrato(&janela);
            QTest::mouseClick(mensagem->findChild<QWidget*>("CmdMensagemCancelar"), Qt::LeftButton);
            return true;
        });
    if (!abrir.isEmpty()) {
        clicarEm(&janela, abrir);
        // Pictured once unfolded.
        for (const auto& [nome, altura] : { std::pair { "FrmGrupo", 1725 }, { "FrmFazela", 3345 } }) {
            QWidget* painel = janela.findChild<QWidget*>(nome);
            QTRY_VERIFY(painel->isHidden() || painel->size() == QSize(px(4365), px(altura)));
        }
    }
    if (!caixa.isEmpty()) {
        clicarEm(&janela, caixa);
        digitar(QApplication::focusWidget(), QStringLiteral("Mercado d'Ávila"));
    }
    if (obtida.isNull())
        obtida = retrato(&janela);

    const QString nome = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
    const QString referencia = QStringLiteral(PASTA_DOS_TESTES "/shell/aparencia/%1.png").arg(nome);
    if (qEnvironmentVariableIsSet("FAZELAS_NOVAS_REFERENCIAS"))
        QVERIFY(obtida.save(referencia));
    const QImage esperada = QImage(referencia).convertToFormat(QImage::Format_ARGB32);
    // A handful of pixels may differ (text smoothing); a control moved or redrawn differs in hundreds.
    // The difference: red where a pixel differs by more than a shade, on a faint copy of the board.
    int diferentes = esperada.size() == obtida.size() ? 0 : obtida.width() * obtida.height();
    QImage diferenca = obtida;
    for (int y = 0; esperada.size() == obtida.size() && y < obtida.height(); ++y)
        for (int x = 0; x < obtida.width(); ++x) {
            const QRgb a = esperada.pixel(x, y), b = obtida.pixel(x, y);
            const bool difere = qAbs(qRed(a) - qRed(b)) > 8 || qAbs(qGreen(a) - qGreen(b)) > 8
                || qAbs(qBlue(a) - qBlue(b)) > 8 || qAbs(qAlpha(a) - qAlpha(b)) > 8;
            diferentes += difere;
            diferenca.setPixel(x, y, difere ? qRgb(255, 0, 0) : qRgba(qGray(b), qGray(b), qGray(b), 60));
        }
    if (diferentes > 8) {
        const QString pasta = QCoreApplication::applicationDirPath() + "/aparencia/";
        QDir().mkpath(pasta);
        obtida.save(pasta + nome + "-obtida.png");
        diferenca.save(pasta + nome + "-diferenca.png");
        QFAIL(qPrintable(
            QStringLiteral("%1 pixels differ from %2; the board drawn now and the difference (red): %3-*.png")
                .arg(diferentes)
                .arg(referencia, pasta + nome)));
    }
}

QTEST_MAIN(TstAparencia)
#include "tst_aparencia.moc"
