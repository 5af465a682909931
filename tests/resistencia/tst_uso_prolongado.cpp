// Long use of the board through its controls in a random mix, with bounded data, while resident
// memory is sampled: after a warm-up it must stay flat (not judged under the sanitizers).
//   FAZELAS_USO_SEGUNDOS   how long to run (the test command: 20, or 8 under the sanitizers)
//   FAZELAS_USO_SEMENTE    the mix's seed (printed; default from the clock)
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "grid/Grade.h"

#include <algorithm>
#include <random>
#include <unistd.h>

using namespace Modulo;

namespace {

double MemoriaResidenteMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    const QList<QByteArray> campos = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ') : QList<QByteArray>();
    return campos.size() > 1 ? campos[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : -1;
}

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

class TstUsoProlongado : public QObject
{
    Q_OBJECT
private slots:
    void memoriaEstavel();

private:
    int Sorteio(int n) { return std::uniform_int_distribution<int>(0, std::max(n, 1) - 1)(m_rng); }
    void Agir(Prancheta& p, int grupos);
    std::mt19937 m_rng;
    int m_numero = 0;
};

// One action of a user, as the controls receive it.
void TstUsoProlongado::Agir(Prancheta& p, int grupos)
{
    const int r = Sorteio(100), linhas = std::min(QtdItens, QtdLinhas);
    if (r < 35 && QtdItens < 60) {
        QTest::mouseClick(p.CmdNewFazela, Qt::LeftButton);
        if (p.FrmFazela->isHidden())
            return; // no current group
        p.CmbFazelaPrior->setCurrentIndex(Sorteio(5));
        const bool semNome = Sorteio(20) == 0;
        p.txtFazelaNome->setText(semNome ? QString() : QStringLiteral("fazela %1 d'água").arg(++m_numero));
        p.txtFazelaDescricao->setText(QStringLiteral("descrição %1\nsegunda linha").arg(m_numero));
        if (semNome)
            ResponderQuandoEsperar(p, [&p] { return p.CmdMensagemOkay; });
        QTest::keyClick(p.txtFazelaDescricao, Qt::Key_Return);
        if (semNome)
            QTest::mouseClick(p.CmdFazelaSair, Qt::LeftButton);
    } else if (r < 55 && linhas > 0) {
        QTest::mouseClick(p.ImgLinha[Sorteio(linhas)], Qt::LeftButton);
    } else if (r < 70 && p.VscGrade->isVisible()) {
        for (int i = Sorteio(8); i >= 0; --i)
            p.VscGrade->setValue(Sorteio(p.VscGrade->maximum() + 1));
    } else if (r < 85 && linhas > 0) {
        QTest::mouseDClick(p.Linha[Sorteio(linhas)], Qt::LeftButton);
        const int fim = Sorteio(3);
        if (fim == 0 || QtdItens > 45)
            QTest::mouseClick(p.CmdFazelaExcluir, Qt::LeftButton);
        else if (fim == 1)
            QTest::mouseClick(p.CmdFazelaSair, Qt::LeftButton);
        else {
            p.txtFazelaNome->setText(p.txtFazelaNome->text().left(40) + QStringLiteral(" +"));
            QTest::mouseClick(p.CmdFazelaAlterar, Qt::LeftButton);
        }
    } else if (r < 92) {
        QTest::mouseClick(p.CmdNewGrupo, Qt::LeftButton);
        if (grupos < 6) {
            QTest::keyClicks(p.txtGrupoGrupo, QStringLiteral("Grupo %1").arg(++m_numero));
            QTest::keyClick(p.txtGrupoGrupo, Qt::Key_Return);
        } else {
            QTest::mouseClick(Sorteio(2) ? p.CmdGrupoCancel : static_cast<QWidget*>(p.ImgGrupoSair), Qt::LeftButton);
        }
    } else if (r < 94 && grupos > 2) {
        const bool confirmar = Sorteio(3) != 0;
        ResponderQuandoEsperar(p, [&p, confirmar] { return confirmar ? p.CmdMensagemConfirmar : p.CmdMensagemCancelar; });
        QTest::mouseClick(p.CmdDelGrupo, Qt::LeftButton);
    } else {
        const int i = Sorteio(p.cmbGrupo->count());
        p.cmbGrupo->setCurrentIndex(i);
        emit p.cmbGrupo->activated(i);
    }
}

void TstUsoProlongado::memoriaEstavel()
{
#if defined(__SANITIZE_ADDRESS__)
    constexpr bool comSanitizadores = true;
#else
    constexpr bool comSanitizadores = false;
#endif
    const int segundos = qEnvironmentVariableIntValue("FAZELAS_USO_SEGUNDOS") > 0
        ? qEnvironmentVariableIntValue("FAZELAS_USO_SEGUNDOS") : comSanitizadores ? 8 : 20;
    const uint32_t semente = qEnvironmentVariableIsSet("FAZELAS_USO_SEMENTE")
        ? uint32_t(qEnvironmentVariableIntValue("FAZELAS_USO_SEMENTE")) : uint32_t(QDateTime::currentSecsSinceEpoch() % 1000000);
    qInfo("uso prolongado: %d s, semente %u", segundos, semente);
    m_rng.seed(semente);
    BancoDeTeste banco;
    banco.Executar("Insert into Grupo_Fazela values (1,'Casa'), (2,'Trabalho'); Update Config set Ultimo_Grupo = 1");
    Prancheta p;
    p.Form_Load();
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    p.GeradorDeEstilos.seed(semente);

    // The first fifth warms up (caches, fonts, the allocator's pools); samples are taken after it.
    std::vector<double> amostras;
    QElapsedTimer relogio, ultimaAmostra;
    relogio.start();
    ultimaAmostra.start();
    int acoes = 0;
    for (; relogio.elapsed() < segundos * 1000; ++acoes) {
        Agir(p, banco.Valor("Select count(*) from Grupo_Fazela").toInt());
        // The panels are closed and the board takes input again after every action.
        QVERIFY2(p.FrmFazela->isHidden() && p.FrmGrupo->isHidden() && p.FrmMensagem->isHidden()
                     && p.PicPrancheta->isEnabled() && !Conexao,
                 qPrintable(QStringLiteral("action %1 left the board busy").arg(acoes)));
        if (relogio.elapsed() >= segundos * 200 && ultimaAmostra.elapsed() >= 250) {
            ultimaAmostra.restart();
            amostras.push_back(MemoriaResidenteMiB());
        }
    }
    qInfo("uso prolongado: %d actions in %d s; resident memory %.1f MiB after warm-up, %.1f MiB at the end", acoes,
          segundos, amostras.empty() ? -1.0 : amostras.front(), MemoriaResidenteMiB());
    QVERIFY(acoes > 100);
    if (comSanitizadores)
        return;
    // Flat: the last third's median and the end within 2 MiB of the first third's.
    QVERIFY(amostras.size() >= 6);
    const long terco = long(amostras.size() / 3);
    const double primeiro = Mediana({amostras.begin(), amostras.begin() + terco});
    const double ultimo = Mediana({amostras.end() - terco, amostras.end()});
    QVERIFY2(ultimo - primeiro <= 2.0 && MemoriaResidenteMiB() - amostras.front() <= 2.0,
             qPrintable(QStringLiteral("memory grew from %1 to %2 MiB").arg(primeiro).arg(ultimo)));
}

QTEST_MAIN(TstUsoProlongado)
#include "tst_uso_prolongado.moc"
