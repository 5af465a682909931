// The board as a user sees it: how its panels unfold, and what it looks like, pixel for pixel,
// against the reference pictures beside this file. Driven only through controls found by name.
//
// To make the reference pictures anew, on purpose (look at each one before committing it):
//   FAZELAS_NOVAS_REFERENCIAS=1 QT_QPA_PLATFORM=offscreen build/tests/tst_aparencia
#include "apoio/Apoio.h"
#include "shell/Controles.h"

namespace {

const QString Preparo = QStringLiteral(
    "Insert into Grupo_Fazela values (1,'Casa e Escritório'), (2,'Trabalho');"
    "Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade,Executado) Select 1, printf('Fazela %02d · %s', i,"
    " substr('NenhumaBaixa  Média  Alta   Urgente', 1 + 7 * (i % 5), 7)), printf('%02d', i), 1 + i % 5,"
    " iif(i % 3 = 0, 'S', Null) From (With recursive n(i) as (Select 0 Union All Select i + 1 from n where i < 25)"
    " Select i from n);"
    "Update Config set Ultimo_Grupo = 1");

// The sizes and places a panel shows in, as each pass of the event loop (a repaint) finds it.
class Registro : public QObject
{
public:
    explicit Registro(QWidget* painel)
        : m_painel(painel)
    {
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }
    QList<QSize> passos;
    QList<QPoint> cantos;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        if (m_painel->isVisible() && !m_painel->size().isEmpty()) {
            if (passos.isEmpty() || passos.last() != m_painel->size())
                passos << m_painel->size();
            if (cantos.isEmpty() || cantos.last() != m_painel->pos())
                cantos << m_painel->pos();
        } else if (!passos.isEmpty()) {
            return true; // closed: done
        }
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        return true;
    }

private:
    QWidget* m_painel;
};

// Once the panel is up at its full size (and a message waits for its answer), takes `acao` and
// clicks the panel's control `fechar`.
void FecharQuandoAberto(QWidget* painel, QSize cheio, const QString& fechar, std::function<void()> acao = {})
{
    auto* relogio = new QTimer(painel);
    QObject::connect(relogio, &QTimer::timeout, painel, [=] {
        if (painel->isVisible() && painel->size() == cheio) {
            relogio->deleteLater();
            relogio->stop();
            if (acao)
                acao();
            QTest::mouseClick(painel->findChild<QWidget*>(fechar), Qt::LeftButton);
        }
    });
    relogio->start(5);
}

// Pixels that differ by more than a shade, painted red on a faint copy of the picture.
int Diferencas(const QImage& esperada, const QImage& obtida, QImage& diferenca)
{
    diferenca = obtida;
    if (esperada.size() != obtida.size())
        return obtida.width() * obtida.height();
    int n = 0;
    for (int y = 0; y < obtida.height(); ++y)
        for (int x = 0; x < obtida.width(); ++x) {
            const QRgb a = esperada.pixel(x, y), b = obtida.pixel(x, y);
            const bool difere = qAbs(qRed(a) - qRed(b)) > 8 || qAbs(qGreen(a) - qGreen(b)) > 8
                || qAbs(qBlue(a) - qBlue(b)) > 8 || qAbs(qAlpha(a) - qAlpha(b)) > 8;
            n += difere;
            diferenca.setPixel(x, y, difere ? qRgb(255, 0, 0) : qRgba(qGray(b), qGray(b), qGray(b), 60));
        }
    return n;
}

QImage Retrato(QWidget* janela)
{
    QImage imagem(janela->size(), QImage::Format_ARGB32);
    imagem.fill(Qt::transparent);
    janela->render(&imagem);
    return imagem;
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
    void initTestCase();
    // First: a fresh board draws its styles from the start of their sequence.
    void desdobramentos();
    void aparencia_data();
    void aparencia();
};

void TstAparencia::initTestCase()
{
    SubstituirFontes();
    QApplication::setCursorFlashTime(0); // the text cursor always shown, never half-way through a blink
}

void TstAparencia::desdobramentos()
{
    QWidget& janela = Iniciar(Preparo);
    struct Painel
    {
        int altura, passosVerticais, passoDiagonal; // twips
    };
    const QHash<QString, Painel> paineis
        = { { "FrmFazela", { 3345, 66, 76 } }, { "FrmGrupo", { 1725, 34, 39 } }, { "FrmMensagem", { 1395, 27, 31 } } };
    struct Abertura
    {
        const char *abrir, *painel, *fechar;
        char estilo; // Vertical, Horizontal, Diagonal
    };
    // The styles come in the same order on every run of the program.
    const Abertura aberturas[] = {
        { "CmdNewGrupo", "FrmGrupo", "CmdGrupoCancel", 'V' },
        { "CmdNewFazela", "FrmFazela", "CmdFazelaSair", 'V' },
        { "CmdNewGrupo", "FrmGrupo", "ImgGrupoSair", 'H' },
        { "CmdNewGrupo", "FrmGrupo", "CmdGrupoCancel", 'D' },
        { "Linha(0)", "FrmFazela", "CmdFazelaSair", 'D' },
        { "CmdDelGrupo", "FrmMensagem", "CmdMensagemCancelar", 'V' },
        { "CmdDelGrupo", "FrmMensagem", "ImgMensagemSair", 'H' },
        { "Linha(1)", "FrmFazela", "CmdFazelaSair", 'V' },
        { "CmdNewGrupo", "FrmGrupo", "CmdGrupoCancel", 'V' },
        { "CmdDelGrupo", "FrmMensagem", "CmdMensagemCancelar", 'D' },
        { "CmdNewFazela", "FrmFazela", "CmdFazelaSair", 'V' },
        { "Linha(0)", "FrmFazela", "CmdFazelaSair", 'H' },
    };
    QString estilos, esperados;
    for (const Abertura& a : aberturas) {
        QWidget* painel = janela.findChild<QWidget*>(a.painel);
        const Painel& tam = paineis[a.painel];
        const QSize cheio(Px(4365), Px(tam.altura));
        const QPoint canto = painel->pos();
        // The steps are fixed numbers of twips; the last one set is the full size.
        QList<QSize> passos;
        for (int i = 1; a.estilo == 'V' && i <= tam.passosVerticais; ++i)
            passos << QSize(cheio.width(), Px(50 * i));
        for (int i = 0; a.estilo == 'H' && i < 58; ++i)
            passos << QSize(Px(50 + 75 * i), cheio.height());
        for (int i = 0; a.estilo == 'D' && i < 44; ++i)
            passos << QSize(Px(50 + 100 * i), Px(tam.passoDiagonal * (i + 1)));
        passos << cheio;
        Registro r(painel);
        FecharQuandoAberto(painel, cheio, a.fechar);
        QWidget* abrir = janela.findChild<QWidget*>(a.abrir);
        if (QByteArray(a.abrir).startsWith("Linha"))
            QTest::mouseDClick(abrir, Qt::LeftButton);
        else
            QTest::mouseClick(abrir, Qt::LeftButton);
        QTRY_VERIFY(painel->isHidden());
        esperados += a.estilo;
        estilos += r.passos.first().width() < cheio.width() ? (r.passos.first().height() < cheio.height() ? 'D' : 'H')
                                                            : 'V';
        QCOMPARE(estilos, esperados);
        QCOMPARE(r.passos, passos);
        QCOMPARE(r.cantos, QList<QPoint> { canto });
    }
}

void TstAparencia::aparencia_data()
{
    QTest::addColumn<QString>("preparo");
    QTest::addColumn<QString>("abrir"); // the control clicked (a row: double-clicked) before the picture
    QTest::addColumn<QString>("painel");
    QTest::addColumn<QString>("caixa"); // clicked, and typed into
    QTest::newRow("sem grupos") << ""
                                << ""
                                << ""
                                << "";
    QTest::newRow("sem fazelas") << "Insert into Grupo_Fazela values (1,'Casa'); Update Config set Ultimo_Grupo = 1"
                                 << ""
                                 << ""
                                 << "";
    QTest::newRow("grade") << Preparo << ""
                           << ""
                           << "";
    QTest::newRow("grupo") << Preparo << "CmdNewGrupo"
                           << "FrmGrupo"
                           << "txtGrupoGrupo";
    QTest::newRow("fazela") << Preparo << "Linha(2)"
                            << "FrmFazela"
                            << "";
    QTest::newRow("mensagem") << Preparo << "CmdDelGrupo"
                              << "FrmMensagem"
                              << "";
}

void TstAparencia::aparencia()
{
    QFETCH(QString, preparo);
    QFETCH(QString, abrir);
    QFETCH(QString, painel);
    QFETCH(QString, caixa);
    QWidget& janela = Iniciar(preparo);
    QImage obtida;
    // The message waits for its answer inside the click: the picture is taken meanwhile.
    if (painel == "FrmMensagem")
        FecharQuandoAberto(janela.findChild<QWidget*>(painel), QSize(Px(4365), Px(1395)), "CmdMensagemCancelar",
            [&] { obtida = Retrato(&janela); });
    if (abrir.startsWith("Linha"))
        QTest::mouseDClick(janela.findChild<QWidget*>(abrir), Qt::LeftButton);
    else if (!abrir.isEmpty())
        QTest::mouseClick(janela.findChild<QWidget*>(abrir), Qt::LeftButton);
    if (!caixa.isEmpty()) {
        QTest::mouseClick(janela.findChild<QWidget*>(caixa), Qt::LeftButton);
        Digitar(QApplication::focusWidget(), QStringLiteral("Mercado d'Ávila"));
    }
    if (obtida.isNull())
        obtida = Retrato(&janela);

    const QString nome = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
    const QString referencia = QStringLiteral(PASTA_DOS_TESTES "/shell/aparencia/%1.png").arg(nome);
    if (qEnvironmentVariableIsSet("FAZELAS_NOVAS_REFERENCIAS"))
        QVERIFY(obtida.save(referencia));
    const QImage esperada = QImage(referencia).convertToFormat(QImage::Format_ARGB32);
    // A handful of pixels may differ (text smoothing); a control moved or redrawn differs in hundreds.
    QImage diferenca;
    if (const int diferentes = Diferencas(esperada, obtida, diferenca); diferentes > 8) {
        const QDir pasta(QCoreApplication::applicationDirPath() + "/aparencia");
        pasta.mkpath(".");
        obtida.save(pasta.filePath(nome + "-obtida.png"));
        diferenca.save(pasta.filePath(nome + "-diferenca.png"));
        QFAIL(qPrintable(QStringLiteral("%1 pixels differ from %2; the board as drawn now and the difference (in red) "
                                        "are in %3")
                             .arg(diferentes)
                             .arg(referencia, pasta.filePath(nome + "-{obtida,diferenca}.png"))));
    }
}

QTEST_MAIN(TstAparencia)
#include "tst_aparencia.moc"
