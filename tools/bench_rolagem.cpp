// fazelas-bench-rolagem [TAREFAS]: one scroll step and a thumb drag across a large group.
// A step is timed from the move of the scroll bar until the 23 rows are painted again; the
// baseline is painting the same board without any change.
#include "Medida.h"
#include "grid/Grade.h"
#include "shell/Prancheta.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

using Medida::mediana;

volatile qint64 Sumidouro = 0;

double Quantil(std::vector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    return v[size_t(q * double(v.size() - 1))];
}

// Renders the board with its rows, as a repaint of the screen does.
void pintar(Prancheta& p)
{
    Sumidouro = Sumidouro + p.findChild<QWidget*>(QStringLiteral("PicPrancheta"))->grab().cacheKey();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int tarefas = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir pasta;
    Medida::criarBanco(pasta.path(), { { 1, "Grande", tarefas } }, 0);
    const BancoDeDados banco(BancoDeDados::arquivoNaPasta(pasta.path()));

    Prancheta p(banco);
    p.show();
    auto* grade = p.findChild<Grade*>();
    auto* rolagem = p.findChild<QScrollBar*>(QStringLiteral("VscGrade"));
    grade->carregar(1);
    pintar(p);
    const int maximo = rolagem->maximum();
    QElapsedTimer t;

    std::vector<double> pintura, manipulador, passo, arrasto;
    for (int i = 0; i < 300; ++i) {
        t.start();
        pintar(p);
        pintura.push_back(t.nsecsElapsed() / 1e6);
    }
    // The change handler alone: 23 rows given their entries, nothing painted yet.
    for (int i = 0; i < 300; ++i) {
        t.start();
        rolagem->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        manipulador.push_back(t.nsecsElapsed() / 1e6);
    }
    rolagem->setValue(0);
    // Arrow steps down from the top, as a click on the arrow does.
    for (int i = 0; i < 300; ++i) {
        t.start();
        rolagem->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        pintar(p);
        passo.push_back(t.nsecsElapsed() / 1e6);
    }
    // The thumb dragged from the top to the bottom in 600 moves.
    rolagem->setSliderDown(true);
    for (int i = 1; i <= 600; ++i) {
        t.start();
        rolagem->setSliderPosition(int(qint64(maximo) * i / 600));
        pintar(p);
        arrasto.push_back(t.nsecsElapsed() / 1e6);
    }
    rolagem->setSliderDown(false);
    const bool emPasso = p.findChild<QLabel*>(QStringLiteral("Linha(22)"))->text()
            == QStringLiteral("  ") + grade->fazelaDaLinha(22)->nome
        && grade->fazelaDaLinha(22)->codigo == Medida::ultimaDaGrade(banco, 1);

    std::printf("scroll over a group of %d tasks (23 rows repainted per move), ms\n", tarefas);
    std::printf("%-40s%10s%10s%10s\n", "", "median", "p90", "max");
    const auto linha = [](const char* nome, const std::vector<double>& v) {
        std::printf(
            "%-40s%10.3f%10.3f%10.3f\n", nome, mediana(v), Quantil(v, 0.9), *std::max_element(v.begin(), v.end()));
    };
    linha("painting the board (baseline)", pintura);
    linha("change handler alone", manipulador);
    linha("one arrow step, painted", passo);
    linha("one thumb move while dragging, painted", arrasto);
    std::printf(
        "a screen refresh at 60 Hz is 16.7 ms; rows in step with the thumb at the end: %s\n", emPasso ? "yes" : "NO");
    return emPasso ? 0 : 1;
}
