// fazelas-bench-escala: the board's everyday actions on one file, timed until the rows are painted.
//
//   fazelas-bench-escala --banco PASTA N   writes PASTA/fzldados.mdb: one remembered group of N tasks
//   fazelas-bench-escala --medir PASTA     starts the board on PASTA/fzldados.mdb as the program does and
//                                          prints one line of medians, in ms, then the peak memory in
//                                          KiB: "grid-load scroll-step tick add-and-reload peak"
//                                          (scroll step -1 when the group fits in the rows)
// tools/bench_escala.sh runs both for every size and prints the table.
#include "Medida.h"
#include "editor/PainelFazela.h"
#include "grid/Grade.h"
#include "groups/ListaGrupos.h"
#include "shell/Controles.h"
#include "shell/Prancheta.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <random>
#include <sqlite3.h>
#include <vector>

namespace {

using namespace Medida;

int criarBanco(const QString& pasta, int tarefas)
{
    Medida::criarBanco(pasta, { { 1, "Casa", tarefas } }, 1);
    return 0;
}

// Runs the action and then the event loop until the watched widget has been painted once more.
template <class Acao> double medir(ContaPinturas& contador, Acao acao)
{
    const int antes = contador.vezes;
    QElapsedTimer t;
    t.start();
    acao();
    if (!contador.esperarAlem(antes, 10000)) {
        std::fprintf(stderr, "fazelas-bench-escala: nothing was painted\n");
        std::exit(1);
    }
    return double(t.nsecsElapsed()) / 1e6;
}

long picoKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linha : status.readAll().split('\n'))
        if (linha.startsWith("VmHWM:"))
            return linha.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

int medirAcoes(const QString& pasta)
{
    const BancoDeDados banco(BancoDeDados::arquivoNaPasta(pasta));
    Prancheta p(banco);
    p.iniciar();
    p.show();
    auto* grade = p.findChild<Grade*>();
    auto* grupos = p.findChild<ListaGrupos*>();
    auto* painel = p.findChild<PainelFazela*>();
    auto* rolagem = p.findChild<QScrollBar*>(QStringLiteral("VscGrade"));
    ContaPinturas linha0, marca0;
    p.findChild<QWidget*>(QStringLiteral("Linha(0)"))->installEventFilter(&linha0);
    p.findChild<QWidget*>(QStringLiteral("ImgLinha(0)"))->installEventFilter(&marca0);
    // The first paint of the board is not what is measured.
    medir(linha0, [&] { p.findChild<QWidget*>(QStringLiteral("Linha(0)"))->update(); });

    const qsizetype n = grade->quantidade();
    const int vezes = n >= 100000 ? 7 : n >= 10000 ? 15 : 31;
    std::vector<double> carga, rolagens, marca, inclusao;
    for (int i = 0; i < vezes; ++i)
        carga.push_back(medir(linha0, [&] { grade->carregar(grupos->grupoAtual()); }));
    // One step of the scroll bar, down and back, as its arrows do.
    if (rolagem->isVisible()) {
        for (int i = 0; i < 60; ++i) {
            const int alvo = rolagem->value() + (i % 2 ? -1 : 1);
            rolagens.push_back(medir(linha0, [&] { rolagem->setValue(alvo); }));
        }
    }
    for (int i = 0; i < 2 * (vezes / 2) + 1; ++i)
        marca.push_back(medir(marca0, [&] { grade->alternarMarca(0); }));
    for (int i = 0; i < vezes; ++i) {
        painel->abrirNova(grupos->grupoAtual());
        p.findChild<QLineEdit*>(QStringLiteral("txtFazelaNome"))->setText(QStringLiteral("Nova %1").arg(i));
        p.findChild<CaixaTextoMulti*>(QStringLiteral("txtFazelaDescricao"))->setText(QStringLiteral("medida"));
        inclusao.push_back(medir(linha0, [&] { painel->incluir(); }));
    }
    if (grade->quantidade() != n + vezes) {
        std::fprintf(stderr, "fazelas-bench-escala: the grid holds %lld tasks, not %lld\n",
            qlonglong(grade->quantidade()), qlonglong(n + vezes));
        return 1;
    }
    std::printf("%.3f %.3f %.3f %.3f %ld\n", mediana(carga), rolagens.empty() ? -1.0 : mediana(rolagens),
        mediana(marca), mediana(inclusao), picoKiB());
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    substituirFontes();
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("--banco"))
        return criarBanco(args[1], args[2].toInt());
    if (args.size() == 2 && args[0] == QLatin1String("--medir"))
        return medirAcoes(args[1]);
    std::fprintf(stderr, "uso: fazelas-bench-escala --banco PASTA N | --medir PASTA\n");
    return 2;
}
