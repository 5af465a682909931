// Long use of the board through its controls in a random mix, with bounded data, while resident
// memory is sampled: after a warm-up it must stay flat (not judged under the sanitizers).
//   FAZELAS_USO_SEGUNDOS   how long to run (the test command: 20, or 8 under the sanitizers)
//   FAZELAS_USO_SEMENTE    the mix's seed (printed; default from the clock)
#include "apoio/Apoio.h"
#include "grid/Grade.h"
#include "groups/ListaGrupos.h"
#include "message/PainelMensagem.h"

#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <random>
#include <unistd.h>

namespace {

double memoriaResidenteMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    const QList<QByteArray> campos = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ') : QList<QByteArray>();
    return campos.size() > 1 ? campos[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : -1;
}

double mediana(std::vector<double> v)
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
    int sorteio(int n) { return std::uniform_int_distribution<int>(0, std::max(n, 1) - 1)(m_rng); }
    void agir(Prancheta& p, int grupos);
    std::mt19937 m_rng;
    int m_numero = 0;
};

// One action of a user, as the controls receive it.
void TstUsoProlongado::agir(Prancheta& p, int grupos)
{
    const auto c = [&p](const QString& nome) { return p.findChild<QWidget*>(nome); };
    const auto clicar = [&c](const QString& nome) { QTest::mouseClick(c(nome), Qt::LeftButton); };
    auto* grade = p.findChild<Grade*>();
    auto* rolagem = p.findChild<QScrollBar*>("VscGrade");
    auto* lista = p.findChild<ListaGrupos*>();
    const int r = sorteio(100), linhas = int(std::min<qsizetype>(grade->quantidade(), Grade::Linhas));
    if (r < 35 && grade->quantidade() < 60) {
        clicar("CmdNewFazela");
        if (c("FrmFazela")->isHidden())
            return; // no current group
        p.findChild<QComboBox*>("CmbFazelaPrior")->setCurrentIndex(sorteio(5));
        const bool semNome = sorteio(20) == 0;
        p.findChild<QLineEdit*>("txtFazelaNome")
            ->setText(semNome ? QString() : QStringLiteral("fazela %1 d'água").arg(++m_numero));
        p.findChild<CaixaTextoMulti*>("txtFazelaDescricao")
            ->setText(QStringLiteral("descrição %1\nsegunda linha").arg(m_numero));
        if (semNome)
            responderQuandoEsperar(&p, "CmdMensagemOkay");
        QTest::keyClick(c("txtFazelaDescricao"), Qt::Key_Return);
        if (semNome)
            clicar("CmdFazelaSair");
    } else if (r < 55 && linhas > 0) {
        clicar(QStringLiteral("ImgLinha(%1)").arg(sorteio(linhas)));
    } else if (r < 70 && rolagem->isVisible()) {
        for (int i = sorteio(8); i >= 0; --i)
            rolagem->setValue(sorteio(rolagem->maximum() + 1));
    } else if (r < 85 && linhas > 0) {
        QTest::mouseDClick(c(QStringLiteral("Linha(%1)").arg(sorteio(linhas))), Qt::LeftButton);
        const int fim = sorteio(3);
        if (fim == 0 || grade->quantidade() > 45)
            clicar("CmdFazelaExcluir");
        else if (fim == 1)
            clicar("CmdFazelaSair");
        else {
            auto* nome = p.findChild<QLineEdit*>("txtFazelaNome");
            nome->setText(nome->text().left(40) + QStringLiteral(" +"));
            clicar("CmdFazelaAlterar");
        }
    } else if (r < 92) {
        clicar("CmdNewGrupo");
        if (grupos < 6) {
            QTest::keyClicks(c("txtGrupoGrupo"), QStringLiteral("Grupo %1").arg(++m_numero));
            QTest::keyClick(c("txtGrupoGrupo"), Qt::Key_Return);
        } else {
            clicar(sorteio(2) ? "CmdGrupoCancel" : "ImgGrupoSair");
        }
    } else if (r < 94 && grupos > 2) {
        responderQuandoEsperar(&p, sorteio(3) != 0 ? "CmdMensagemConfirmar" : "CmdMensagemCancelar");
        clicar("CmdDelGrupo");
    } else {
        const int i = sorteio(lista->count());
        lista->setCurrentIndex(i);
        emit lista->activated(i);
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
        ? qEnvironmentVariableIntValue("FAZELAS_USO_SEGUNDOS")
        : comSanitizadores ? 8
                           : 20;
    const uint32_t semente = qEnvironmentVariableIsSet("FAZELAS_USO_SEMENTE")
        ? uint32_t(qEnvironmentVariableIntValue("FAZELAS_USO_SEMENTE"))
        : uint32_t(QDateTime::currentSecsSinceEpoch() % 1000000);
    qInfo("uso prolongado: %d s, semente %u", segundos, semente);
    m_rng.seed(semente);
    BancoDeTeste banco;
    banco.executar("Insert into Grupo_Fazela values (1,'Casa'), (2,'Trabalho'); Update Config set Ultimo_Grupo = 1");
    Prancheta p(banco.banco());
    p.iniciar();
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    const auto fechado = [&p](const char* nome) { return p.findChild<QWidget*>(nome)->isHidden(); };

    // The first fifth warms up (caches, fonts, the allocator's pools); samples are taken after it.
    std::vector<double> amostras;
    QElapsedTimer relogio, ultimaAmostra;
    relogio.start();
    ultimaAmostra.start();
    int acoes = 0;
    for (; relogio.elapsed() < segundos * 1000; ++acoes) {
        agir(p, banco.valor("Select count(*) from Grupo_Fazela").toInt());
        // The panels are closed and the board takes input again after every action.
        QVERIFY2(fechado("FrmFazela") && fechado("FrmGrupo") && fechado("FrmMensagem")
                && p.findChild<QWidget*>("PicPrancheta")->isEnabled(),
            qPrintable(QStringLiteral("action %1 left the board busy").arg(acoes)));
        if (relogio.elapsed() >= segundos * 200 && ultimaAmostra.elapsed() >= 250) {
            ultimaAmostra.restart();
            amostras.push_back(memoriaResidenteMiB());
        }
    }
    qInfo("uso prolongado: %d actions in %d s; resident memory %.1f MiB after warm-up, %.1f MiB at the end", acoes,
        segundos, amostras.empty() ? -1.0 : amostras.front(), memoriaResidenteMiB());
    QVERIFY(acoes > 100);
    if (comSanitizadores)
        return;
    // Flat: the last third's median and the end within 2 MiB of the first third's.
    QVERIFY(amostras.size() >= 6);
    const long terco = long(amostras.size() / 3);
    const double primeiro = mediana({ amostras.begin(), amostras.begin() + terco });
    const double ultimo = mediana({ amostras.end() - terco, amostras.end() });
    QVERIFY2(ultimo - primeiro <= 2.0 && memoriaResidenteMiB() - amostras.front() <= 2.0,
        qPrintable(QStringLiteral("memory grew from %1 to %2 MiB").arg(primeiro).arg(ultimo)));
}

QTEST_MAIN(TstUsoProlongado)
#include "tst_uso_prolongado.moc"
