// fazelas-bench-escala: the board's everyday actions on one file, timed until the rows are painted.
//
//   fazelas-bench-escala --banco PASTA N   writes PASTA/fzldados.mdb: one remembered group of N tasks
//   fazelas-bench-escala --medir PASTA     starts the board on PASTA/fzldados.mdb as the program does and
//                                          prints one line of medians, in ms, then the peak memory in
//                                          KiB: "grid-load scroll-step tick add-and-reload peak"
//                                          (scroll step -1 when the group fits in the rows)
// tools/bench_escala.sh runs both for every size and prints the table.
#include "Medida.h"
#include "data/Modulo.h"
#include "grid/Grade.h"
#include "shell/Prancheta.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <random>
#include <sqlite3.h>
#include <vector>

namespace {

using namespace Medida;

int CriarBanco(const QString& pasta, int tarefas)
{
    Medida::CriarBanco(pasta, {{1, "Casa", tarefas}}, 1);
    return 0;
}

// Runs the action and then the event loop until the watched widget has been painted once more.
template <class Acao> double Medir(ContaPinturas& contador, Acao acao)
{
    const int antes = contador.vezes;
    QElapsedTimer t;
    t.start();
    acao();
    QElapsedTimer prazo;
    prazo.start();
    while (contador.vezes == antes) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (prazo.elapsed() > 10000) {
            std::fprintf(stderr, "fazelas-bench-escala: nothing was painted\n");
            std::exit(1);
        }
    }
    return double(t.nsecsElapsed()) / 1e6;
}

long PicoKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linha : status.readAll().split('\n'))
        if (linha.startsWith("VmHWM:"))
            return linha.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

int MedirAcoes(const QString& pasta)
{
    Modulo::PastaDoPrograma = pasta;
    Prancheta p;
    p.Form_Load();
    p.show();
    ContaPinturas linha0, marca0;
    p.Linha[0]->installEventFilter(&linha0);
    p.ImgLinha[0]->installEventFilter(&marca0);
    // The first paint of the board is not what is measured.
    Medir(linha0, [&] { p.Linha[0]->update(); });

    const int n = Modulo::QtdItens;
    const int vezes = n >= 100000 ? 7 : n >= 10000 ? 15 : 31;
    std::vector<double> carga, rolagem, marca, inclusao;
    for (int i = 0; i < vezes; ++i)
        carga.push_back(Medir(linha0, [&] { p.AlimentarGrade(Modulo::GrupoAtual); }));
    // One step of the scroll bar, down and back, as its arrows do.
    if (p.VscGrade->isVisible()) {
        for (int i = 0; i < 60; ++i) {
            const int alvo = p.VscGrade->value() + (i % 2 ? -1 : 1);
            rolagem.push_back(Medir(linha0, [&] { p.VscGrade->setValue(alvo); }));
        }
    }
    for (int i = 0; i < 2 * (vezes / 2) + 1; ++i)
        marca.push_back(Medir(marca0, [&] { p.ImgLinha_Click(0); }));
    for (int i = 0; i < vezes; ++i) {
        p.CmbFazelaPrior->setCurrentIndex(2);
        p.txtFazelaNome->setText(QStringLiteral("Nova %1").arg(i));
        p.txtFazelaDescricao->setText(QStringLiteral("medida"));
        inclusao.push_back(Medir(linha0, [&] { p.CmdFazelaIncluir_Click(); }));
    }
    if (Modulo::QtdItens != n + vezes) {
        std::fprintf(stderr, "fazelas-bench-escala: the grid holds %d tasks, not %d\n", Modulo::QtdItens, n + vezes);
        return 1;
    }
    std::printf("%.3f %.3f %.3f %.3f %ld\n", Mediana(carga), rolagem.empty() ? -1.0 : Mediana(rolagem), Mediana(marca),
        Mediana(inclusao), PicoKiB());
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    SubstituirFontes();
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("--banco"))
        return CriarBanco(args[1], args[2].toInt());
    if (args.size() == 2 && args[0] == QLatin1String("--medir"))
        return MedirAcoes(args[1]);
    std::fprintf(stderr, "uso: fazelas-bench-escala --banco PASTA N | --medir PASTA\n");
    return 2;
}
