// Long use of the board through its controls in a random mix, with bounded data, while resident
// memory is sampled: after a warm-up it must stay flat (not judged under the sanitizers).
//   FAZELAS_USO_SEGUNDOS   how long to run (default 90; the README's long run uses 3600)
//   FAZELAS_USO_SEMENTE    the mix's seed (printed; default from the clock)
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "grid/Grade.h"
#include "message/Responder.h"
#include "shell/Prancheta.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>
#include <algorithm>
#include <random>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
constexpr bool ComSanitizadores = true;
#else
constexpr bool ComSanitizadores = false;
#endif

using namespace Modulo;

namespace {

double MemoriaResidenteMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> campos = statm.readAll().split(' ');
    return campos.size() > 1 ? campos[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : -1;
}

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int Inteiro(const char* variavel, int padrao)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(variavel, &ok);
    return ok && v > 0 ? v : padrao;
}

class Usuario
{
public:
    Usuario(Prancheta& p, BancoDeTeste& banco, uint32_t semente)
        : p(p)
        , banco(banco)
        , rng(semente)
    {
    }

    int Sorteio(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    int TarefasDoGrupo() { return banco.Valor(QStringLiteral("Select count(*) from Fazelas Where Cod_Grupo = %1").arg(GrupoAtual)).toInt(); }
    int Grupos() { return banco.Valor(QStringLiteral("Select count(*) from Grupo_Fazela")).toInt(); }
    int LinhasComFazela() const { return std::min(QtdItens, QtdLinhas); }

    void Agir()
    {
        const int r = Sorteio(100);
        const int tarefas = QtdItens;
        if (r < 30 && tarefas < 60)
            Incluir(Sorteio(20) == 0);
        else if (r < 50 && tarefas > 0)
            Marcar();
        else if (r < 65 && p.VscGrade->isVisible())
            Rolar();
        else if (r < 75 && tarefas > 0)
            AbrirEAlterarOuExcluir(tarefas > 45);
        else if (r < 82 && tarefas > 0)
            AbrirEFechar();
        else if (r < 88)
            PainelDeGrupo(Grupos() < 6);
        else if (r < 90 && Grupos() > 2)
            ExcluirGrupo();
        else if (r < 95)
            Selecionar();
        else
            Incluir(false);
        ++acoes;
    }

    // The panels are closed and the board takes input again after every action.
    bool Pronta() const
    {
        return p.FrmFazela->isHidden() && p.FrmGrupo->isHidden() && p.FrmMensagem->isHidden()
            && p.PicPrancheta->isEnabled() && !Conexao;
    }

    int acoes = 0;

private:
    void Incluir(bool semNome)
    {
        QTest::mouseClick(p.CmdNewFazela, Qt::LeftButton);
        if (p.FrmFazela->isHidden())
            return; // no current group
        p.CmbFazelaPrior->setCurrentIndex(Sorteio(5));
        const QString nome = semNome ? QString() : QStringLiteral("fazela %1 d'água").arg(++numero);
        p.txtFazelaNome->setText(nome);
        p.txtFazelaDescricao->setText(QStringLiteral("descrição %1\nsegunda linha").arg(numero));
        if (semNome) {
            ResponderQuandoEsperar(p, [this] { return p.CmdMensagemOkay; });
            QTest::keyClick(p.txtFazelaDescricao, Qt::Key_Return);
            QTest::mouseClick(p.CmdFazelaSair, Qt::LeftButton);
            return;
        }
        QTest::keyClick(p.txtFazelaDescricao, Qt::Key_Return);
    }

    void Marcar() { QTest::mouseClick(p.ImgLinha[Sorteio(LinhasComFazela())], Qt::LeftButton); }

    void Rolar()
    {
        for (int i = Sorteio(8); i >= 0; --i)
            p.VscGrade->setValue(Sorteio(p.VscGrade->maximum() + 1));
    }

    void AbrirEAlterarOuExcluir(bool excluir)
    {
        QTest::mouseDClick(p.Linha[Sorteio(LinhasComFazela())], Qt::LeftButton);
        if (p.FrmFazela->isHidden())
            return;
        if (excluir) {
            QTest::mouseClick(p.CmdFazelaExcluir, Qt::LeftButton);
            return;
        }
        p.txtFazelaNome->setText(p.txtFazelaNome->text().left(40) + QStringLiteral(" +"));
        QTest::mouseClick(p.CmdFazelaAlterar, Qt::LeftButton);
    }

    void AbrirEFechar()
    {
        QTest::mouseDClick(p.Linha[Sorteio(LinhasComFazela())], Qt::LeftButton);
        QTest::mouseClick(p.CmdFazelaSair, Qt::LeftButton);
    }

    void PainelDeGrupo(bool incluir)
    {
        QTest::mouseClick(p.CmdNewGrupo, Qt::LeftButton);
        if (!incluir) {
            QTest::mouseClick(Sorteio(2) ? p.CmdGrupoCancel : static_cast<QWidget*>(p.ImgGrupoSair), Qt::LeftButton);
            return;
        }
        QTest::keyClicks(p.txtGrupoGrupo, QStringLiteral("Grupo %1").arg(++numero));
        QTest::keyClick(p.txtGrupoGrupo, Qt::Key_Return);
    }

    void ExcluirGrupo()
    {
        const bool confirmar = Sorteio(3) != 0;
        ResponderQuandoEsperar(p, [this, confirmar] { return confirmar ? p.CmdMensagemConfirmar : p.CmdMensagemCancelar; });
        QTest::mouseClick(p.CmdDelGrupo, Qt::LeftButton);
    }

    void Selecionar()
    {
        const int i = Sorteio(p.cmbGrupo->count());
        p.cmbGrupo->setCurrentIndex(i);
        emit p.cmbGrupo->activated(i);
    }

    Prancheta& p;
    BancoDeTeste& banco;
    std::mt19937 rng;
    int numero = 0;
};

} // namespace

class TstUsoProlongado : public QObject
{
    Q_OBJECT
private slots:
    void memoriaEstavel();
};

void TstUsoProlongado::memoriaEstavel()
{
    const int segundos = Inteiro("FAZELAS_USO_SEGUNDOS", ComSanitizadores ? 20 : 90);
    const uint32_t semente = uint32_t(Inteiro("FAZELAS_USO_SEMENTE", int(QDateTime::currentSecsSinceEpoch() % 1000000)));
    qInfo("uso prolongado: %d s, semente %u", segundos, semente);

    BancoDeTeste banco;
    banco.Executar("Insert into Grupo_Fazela values (1,'Casa'), (2,'Trabalho');"
                   "Update Config set Ultimo_Grupo = 1");
    Prancheta p;
    QVERIFY(p.Form_Load());
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    p.GeradorDeEstilos.seed(semente);
    Usuario usuario(p, banco, semente);

    // The first fifth warms up (caches, fonts, the allocator's pools); samples are taken after it.
    const qint64 total = qint64(segundos) * 1000;
    const qint64 aquecimento = total / 5;
    std::vector<double> amostras;
    double aposAquecimento = -1;
    QElapsedTimer relogio, ultimaAmostra;
    relogio.start();
    ultimaAmostra.start();
    while (relogio.elapsed() < total) {
        usuario.Agir();
        QVERIFY2(usuario.Pronta(), qPrintable(QStringLiteral("action %1 left the board busy").arg(usuario.acoes)));
        if (relogio.elapsed() >= aquecimento && ultimaAmostra.elapsed() >= 500) {
            ultimaAmostra.restart();
            amostras.push_back(MemoriaResidenteMiB());
            if (aposAquecimento < 0)
                aposAquecimento = amostras.back();
        }
    }
    const int tarefas = banco.Valor("Select count(*) from Fazelas").toInt();
    const double fim = MemoriaResidenteMiB();
    qInfo("uso prolongado: %d actions in %.0f s; resident memory %.1f MiB after warm-up, %.1f MiB at the end; "
          "%d tasks and %d groups left",
        usuario.acoes, double(relogio.elapsed()) / 1000, aposAquecimento, fim, tarefas,
        banco.Valor("Select count(*) from Grupo_Fazela").toInt());
    QVERIFY(usuario.acoes > 100);
    if (ComSanitizadores)
        return;

    // Flat: the last third's median and the end within 2 MiB of the first third and the warm-up.
    QVERIFY(amostras.size() >= 6);
    const size_t terco = amostras.size() / 3;
    const double primeiro = Mediana({ amostras.begin(), amostras.begin() + long(terco) });
    const double ultimo = Mediana({ amostras.end() - long(terco), amostras.end() });
    qInfo("uso prolongado: median resident memory %.1f MiB in the first third, %.1f MiB in the last", primeiro, ultimo);
    constexpr double Margem = 2.0; // MiB
    QVERIFY2(ultimo - primeiro <= Margem, qPrintable(QStringLiteral("memory grew from %1 to %2 MiB").arg(primeiro).arg(ultimo)));
    QVERIFY2(fim - aposAquecimento <= Margem,
        qPrintable(QStringLiteral("memory grew from %1 to %2 MiB").arg(aposAquecimento).arg(fim)));
}

QTEST_MAIN(TstUsoProlongado)
#include "tst_uso_prolongado.moc"
