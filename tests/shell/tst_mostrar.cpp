// Panels unfolding step by step, in each of the three styles.
#include "apoio/Apoio.h"
#include "shell/Prancheta.h"

#include <QtTest>

namespace {

// Records a panel: every size it is given (also while hidden), and its size and place each time
// pending events run (one posted event per pass, posted again from inside), i.e. at each step.
class Registro : public QObject
{
public:
    explicit Registro(QWidget* painel)
        : m_painel(painel)
    {
        painel->installEventFilter(this);
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }
    void Parar()
    {
        m_painel->removeEventFilter(this);
        m_parado = true;
    }

    QList<QSize> tamanhos, passos;
    QList<QPoint> cantos;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Resize)
            tamanhos << m_painel->size();
        return false;
    }
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User || m_parado)
            return QObject::event(e);
        passos << m_painel->size();
        cantos << m_painel->pos();
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        return true;
    }

private:
    QWidget* m_painel;
    bool m_parado = false;
};

// Reseeds the board's generator so that its next style falls in the class of `estilo`.
int ProximoEstilo(Prancheta& p, int estilo)
{
    const int ultimo = estilo == 0 ? 3 : estilo == 4 ? 6 : 9;
    for (unsigned semente = 1;; ++semente) {
        std::minstd_rand g(semente);
        if (const int k = Prancheta::SortearEstilo(g); k >= estilo && k <= ultimo) {
            p.GeradorDeEstilos.seed(semente);
            return ultimo;
        }
    }
}

QList<int> Serie(int primeiro, int passo, int quantos)
{
    QList<int> s;
    for (int i = 0; i < quantos; ++i)
        s << primeiro + i * passo;
    return s;
}

} // namespace

class TstMostrar : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void passos_data();
    void passos();
    void painelJaVisivelRecomecaDoZero();
    void estilosSemSemente();

private:
    std::unique_ptr<BancoDeTeste> m_banco;
    std::unique_ptr<Prancheta> m_p;
};

void TstMostrar::init()
{
    m_banco = std::make_unique<BancoDeTeste>();
    m_p = std::make_unique<Prancheta>();
    m_p->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_p.get()));
}

void TstMostrar::cleanup()
{
    m_p.reset();
    m_banco.reset();
}

void TstMostrar::passos_data()
{
    QTest::addColumn<QString>("painel");
    QTest::addColumn<int>("altura");
    QTest::addColumn<int>("largura");
    QTest::addColumn<int>("estilo"); // 0 vertical, 4 horizontal, 7 diagonal
    QTest::addColumn<QList<int>>("larguras"); // twips at each step; empty: not touched
    QTest::addColumn<QList<int>>("alturas");
    struct Painel
    {
        const char* nome;
        int altura, passosVerticais, passoDiagonal;
    };
    const QList<int> nada;
    for (const Painel& p : { Painel { "FrmFazela", 3345, 66, 76 }, Painel { "FrmGrupo", 1725, 34, 39 },
             Painel { "FrmMensagem", 1395, 27, 31 } }) {
        QTest::addRow("%s vertical", p.nome)
            << p.nome << p.altura << 4365 << 0 << nada << Serie(50, 50, p.passosVerticais);
        QTest::addRow("%s horizontal", p.nome) << p.nome << p.altura << 4365 << 4 << Serie(50, 75, 58) << nada;
        QTest::addRow("%s diagonal", p.nome)
            << p.nome << p.altura << 4365 << 7 << Serie(50, 100, 44) << Serie(p.passoDiagonal, p.passoDiagonal, 44);
    }
    QTest::newRow("último passo igual ao tamanho") << "FrmGrupo" << 1750 << 4365 << 0 << nada << Serie(50, 50, 35);
    QTest::newRow("altura abaixo de 50") << "FrmGrupo" << 40 << 4365 << 0 << nada << nada;
    QTest::newRow("largura abaixo de 50") << "FrmGrupo" << 1725 << 40 << 4 << nada << nada;
    QTest::newRow("diagonal sem passos") << "FrmGrupo" << 1725 << 40 << 7 << nada << nada;
    // d = 200: the second step passes the height by less than one step; the end sets it exactly.
    QTest::newRow("diagonal passa da altura")
        << "FrmGrupo" << 300 << 150 << 7 << QList<int> { 50, 150 } << QList<int> { 200, 400 };
}

void TstMostrar::passos()
{
    QFETCH(QString, painel);
    QFETCH(int, altura);
    QFETCH(int, largura);
    QFETCH(int, estilo);
    QFETCH(QList<int>, larguras);
    QFETCH(QList<int>, alturas);
    QWidget* frm = m_p->findChild<QWidget*>(painel);
    const QSize antes = frm->size();
    const QPoint canto = frm->pos();
    const bool cresceLargura = estilo >= 4;
    const bool cresceAltura = estilo <= 3 || estilo >= 7;
    const int ultimo = ProximoEstilo(*m_p, estilo);

    Registro r(frm);
    m_p->Mostrar(frm, altura, largura);
    r.Parar();

    QVERIFY(m_p->EstiloAbertura >= estilo && m_p->EstiloAbertura <= ultimo);
    QCOMPARE(r.passos.size(), std::max(larguras.size(), alturas.size()));
    for (int i = 0; i < r.passos.size(); ++i) {
        QCOMPARE(r.passos[i].width(), larguras.isEmpty() ? antes.width() : Px(larguras[i]));
        QCOMPARE(r.passos[i].height(), alturas.isEmpty() ? antes.height() : Px(alturas[i]));
        QCOMPARE(r.cantos[i], canto);
    }
    // Made visible at zero in the growing direction, ending at exactly the size asked.
    QCOMPARE(r.tamanhos.first().width() == 0, cresceLargura);
    QCOMPARE(r.tamanhos.first().height() == 0, cresceAltura);
    QCOMPARE(
        frm->size(), QSize(cresceLargura ? Px(largura) : antes.width(), cresceAltura ? Px(altura) : antes.height()));
    QCOMPARE(frm->pos(), canto);
    QVERIFY(frm->isVisible() && frm->isEnabled());
}

void TstMostrar::painelJaVisivelRecomecaDoZero()
{
    m_p->Mostrar(m_p->FrmFazela, 3345, 4365);
    ProximoEstilo(*m_p, 7);
    Registro r(m_p->FrmFazela);
    m_p->Mostrar(m_p->FrmFazela, 3345, 4365);
    r.Parar();
    QCOMPARE(r.tamanhos.mid(0, 2), (QList<QSize> { QSize(0, Px(3345)), QSize(0, 0) }));
    QCOMPARE(r.passos.size(), 44);
    QCOMPARE(r.passos.first(), QSize(Px(50), Px(76)));
    QCOMPARE(m_p->FrmFazela->size(), QSize(Px(4365), Px(3345)));
}

void TstMostrar::estilosSemSemente()
{
    // Every run of the program draws the same styles, uniformly over 0 to 9.
    std::minstd_rand a = m_p->GeradorDeEstilos, b = Prancheta().GeradorDeEstilos;
    int quantos[10] = {};
    for (int i = 0; i < 10000; ++i) {
        const uint8_t k = Prancheta::SortearEstilo(a);
        QCOMPARE(Prancheta::SortearEstilo(b), k);
        ++quantos[k];
    }
    for (int n : quantos)
        QVERIFY2(n > 850 && n < 1150, qPrintable(QString::number(n)));
    std::minstd_rand previsto = m_p->GeradorDeEstilos;
    m_p->Mostrar(m_p->FrmMensagem, 1395, 4365);
    QCOMPARE(m_p->EstiloAbertura, Prancheta::SortearEstilo(previsto));
}

QTEST_MAIN(TstMostrar)
#include "tst_mostrar.moc"
