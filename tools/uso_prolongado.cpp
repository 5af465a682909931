// fazelas-uso-prolongado: long use of the board through its controls in a random mix, with bounded
// data, while resident memory is sampled; prints the memory after warm-up, in the last third and at
// the end, and whether it stayed flat (within 2 MiB). Also checks, after every action, that the
// panels are closed and the board takes input again. Not run by the tests: it takes minutes to say
// anything, and memory on a shared machine is noisy.
//   fazelas-uso-prolongado [SECONDS [SEED]]      (default 60 s, seed from the clock)
#include "data/BancoDeDados.h"
#include "grid/Grade.h"
#include "groups/ListaGrupos.h"
#include "message/PainelMensagem.h"
#include "shell/Controles.h"
#include "shell/Inventario.h"
#include "shell/Prancheta.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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

// Presses `botao` on the message panel once it waits for an answer, unfolded.
void responder(Prancheta& p, const char* botao)
{
    auto* relogio = new QTimer(&p);
    relogio->setInterval(5);
    QObject::connect(relogio, &QTimer::timeout, &p, [&p, relogio, botao] {
        auto* mensagem = p.findChild<PainelMensagem*>();
        if (!mensagem || !mensagem->esperando()
            || mensagem->size() != QSize(Inventario::px(4365), Inventario::px(1395)))
            return;
        relogio->deleteLater();
        relogio->stop();
        QTest::mouseClick(mensagem->findChild<QWidget*>(botao), Qt::LeftButton);
    });
    relogio->start();
}

class Uso
{
public:
    explicit Uso(uint32_t semente)
        : m_rng(semente)
    {
    }
    void agir(Prancheta& p, int grupos);

private:
    int sorteio(int n) { return std::uniform_int_distribution<int>(0, std::max(n, 1) - 1)(m_rng); }
    std::mt19937 m_rng;
    int m_numero = 0;
};

// One action of a user, as the controls receive it.
void Uso::agir(Prancheta& p, int grupos)
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
            responder(p, "CmdMensagemOkay");
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
        responder(p, sorteio(3) != 0 ? "CmdMensagemConfirmar" : "CmdMensagemCancelar");
        clicar("CmdDelGrupo");
    } else {
        const int i = sorteio(lista->count());
        lista->setCurrentIndex(i);
        emit lista->activated(i);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int segundos = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    const uint32_t semente
        = argc > 2 ? uint32_t(strtoul(argv[2], nullptr, 10)) : uint32_t(QDateTime::currentSecsSinceEpoch() % 1000000);
    std::printf("long use: %d s, seed %u\n", segundos, semente);
    QTemporaryDir pasta;
    if (BancoDeDados::criar(pasta.path()) != BancoDeDados::Criacao::Criado)
        return 2;
    const BancoDeDados banco(BancoDeDados::arquivoNaPasta(pasta.path()));
    banco.lembrarGrupo(banco.incluirGrupo(QStringLiteral("Casa")));
    banco.incluirGrupo(QStringLiteral("Trabalho"));
    Prancheta p(banco);
    p.iniciar();
    p.show();
    if (!QTest::qWaitForWindowExposed(&p))
        return 2;
    const auto fechado = [&p](const char* nome) { return p.findChild<QWidget*>(nome)->isHidden(); };

    // The first fifth warms up (caches, fonts, the allocator's pools); samples are taken after it.
    Uso uso(semente);
    std::vector<double> amostras;
    QElapsedTimer relogio, ultimaAmostra;
    relogio.start();
    ultimaAmostra.start();
    int acoes = 0;
    for (; relogio.elapsed() < segundos * 1000; ++acoes) {
        uso.agir(p, int(banco.grupos().size()));
        if (!fechado("FrmFazela") || !fechado("FrmGrupo") || !fechado("FrmMensagem")
            || !p.findChild<QWidget*>("PicPrancheta")->isEnabled()) {
            std::printf("action %d left the board busy (seed %u)\n", acoes, semente);
            return 1;
        }
        if (relogio.elapsed() >= segundos * 200 && ultimaAmostra.elapsed() >= 250) {
            ultimaAmostra.restart();
            amostras.push_back(memoriaResidenteMiB());
        }
    }
    if (amostras.size() < 6) {
        std::printf("%d actions: too short to judge\n", acoes);
        return 2;
    }
    // Flat: the last third's median and the end within 2 MiB of the first third's.
    const long terco = long(amostras.size() / 3);
    const double primeiro = mediana({ amostras.begin(), amostras.begin() + terco });
    const double ultimo = mediana({ amostras.end() - terco, amostras.end() });
    const double fim = memoriaResidenteMiB();
    const bool plana = ultimo - primeiro <= 2.0 && fim - amostras.front() <= 2.0;
    std::printf("%d actions; resident memory after warm-up %.1f MiB, first third %.1f, last third %.1f, end %.1f: "
                "%s\n",
        acoes, amostras.front(), primeiro, ultimo, fim, plana ? "flat" : "GREW");
    return plana ? 0 : 1;
}
