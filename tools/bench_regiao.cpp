// fazelas-bench-regiao: how long the window's outline takes to build from the board picture, on
// the start-up path, against merely reading the picture's pixels (the least any way must do) and
// against Qt's own mask-to-region conversion. Prints the rectangles the outline is made of.
#include "assets/Imagens.h"

#include <QBitmap>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

QImage figuraRgb32() { return Imagens::ler(Imagens::Prancheta).convertToFormat(QImage::Format_RGB32); }

// The baseline: one read of every pixel against the corner's colour.
void soLerOsPixels(benchmark::State& estado)
{
    const QImage img = figuraRgb32();
    const QRgb transparente = img.pixel(0, 0);
    for (auto _ : estado) {
        int opacos = 0;
        for (int y = 0; y < img.height(); ++y) {
            const QRgb* linha = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < img.width(); ++x)
                opacos += linha[x] != transparente;
        }
        benchmark::DoNotOptimize(opacos);
    }
}

void criarRegiao(benchmark::State& estado)
{
    const QImage img = Imagens::ler(Imagens::Prancheta); // as the program reads it
    QRegion regiao;
    for (auto _ : estado) {
        regiao = Imagens::contorno(img);
        benchmark::DoNotOptimize(regiao);
    }
    // Each run of a row is one rectangle merged in; the region then holds fewer, as rows alike
    // are joined.
    int trechos = 0;
    for (int y = 0; y < img.height(); ++y)
        trechos += QRegion(regiao.intersected(QRect(0, y, img.width(), 1))).rectCount();
    estado.counters["trechos"] = trechos;
    estado.counters["retangulos"] = regiao.rectCount();
}

void mascaraDoQt(benchmark::State& estado)
{
    const QImage img = figuraRgb32();
    QRegion regiao;
    for (auto _ : estado) {
        regiao = QRegion(QBitmap::fromImage(img.createMaskFromColor(img.pixel(0, 0), Qt::MaskInColor)));
        benchmark::DoNotOptimize(regiao);
    }
    estado.counters["retangulos"] = regiao.rectCount();
}

} // namespace

BENCHMARK(soLerOsPixels)->Unit(benchmark::kMicrosecond);
BENCHMARK(criarRegiao)->Unit(benchmark::kMicrosecond);
BENCHMARK(mascaraDoQt)->Unit(benchmark::kMicrosecond);

int main(int argc, char* argv[])
{
    // Bitmaps want a platform; none needs a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
