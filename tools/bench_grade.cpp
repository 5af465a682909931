// fazelas-bench-grade: how long the grid takes to load a group, against SQLite alone.
//
//   fazelas-bench-grade [TAMANHO...]      grid loads for groups of these sizes (1000 10000 100000),
//                                         with other groups in the same file, and the peak memory
//   fazelas-bench-grade --banco PASTA N [N...]
//                                         writes PASTA/fzldados.mdb with groups of these sizes and the
//                                         benchmark's other groups, the first one remembered
//                                         (a single 0: no group at all)
//
// A load is timed from the call of Grade::carregar until the rows have been painted; before each
// timed load another group is shown, so every row really changes. The baselines run the same
// statement straight through SQLite: with its built-in caseless order and with ours.
#include "Medida.h"
#include "assets/Imagens.h"
#include "data/BancoDeDados.h"
#include "data/OrdemTexto.h"
#include "grid/Grade.h"
#include "shell/Controles.h"
#include "shell/Inventario.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <sqlite3.h>
#include <vector>

namespace {

using namespace Medida;

constexpr int GrupoVizinho = 9; // the group shown between two timed loads
volatile int64_t Sumidouro = 0; // what the baseline reads, so the compiler keeps the reading

// The grid's statement straight through SQLite on a connection of its own, opened and closed
// as the program does for every load: the floor for anything that follows the same rules.
double soSqlite(const QString& arquivo, bool nossaOrdem, int grupo)
{
    const std::string_view sql = BancoDeDados::consultaDaGrade();
    QElapsedTimer t;
    t.start();
    sqlite3* db = nullptr;
    exigir(sqlite3_open_v2(QFile::encodeName(arquivo).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
    if (nossaOrdem)
        OrdemTexto::registrar(db);
    sqlite3_stmt* st = nullptr;
    exigir(sqlite3_prepare_v2(db, sql.data(), int(sql.size()), &st, nullptr), db);
    exigir(sqlite3_bind_int64(st, 1, grupo), db);
    int64_t soma = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        soma += sqlite3_column_int64(st, 0) + sqlite3_column_int64(st, 3);
        soma += sqlite3_column_bytes(st, 1) + sqlite3_column_bytes(st, 2) + sqlite3_column_bytes(st, 4);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    Sumidouro = soma;
    return double(t.nsecsElapsed()) / 1e6;
}

void pintar(ContaPinturas& contador, int antes)
{
    if (!contador.esperarAlem(antes, 5000)) {
        std::fprintf(stderr, "the rows were never painted\n");
        std::exit(1);
    }
}

// The grid on a board picture of its own, on one file.
struct GradeDeMedida
{
    BancoDeDados banco;
    QWidget prancheta;
    Construtor construtor { 1 };
    Imagem feita { &prancheta };
    Grade grade { &prancheta, construtor, banco, &feita };
    ContaPinturas contador;
    explicit GradeDeMedida(const QString& pasta)
        : banco(BancoDeDados::arquivoNaPasta(pasta))
    {
        prancheta.setFont(fonte("Arial", 8.25));
        prancheta.resize(460, 560);
        feita.definirFigura(Imagens::figura(Imagens::Check));
        construtor.controle<QWidget>(QStringLiteral("Linha(0)"))->installEventFilter(&contador);
        prancheta.show();
    }
};

double carregarEPintar(GradeDeMedida& m, int grupo)
{
    ContaPinturas& contador = m.contador;
    const int antes = contador.vezes;
    QElapsedTimer t;
    t.start();
    m.grade.carregar(grupo);
    pintar(contador, antes);
    return double(t.nsecsElapsed()) / 1e6;
}

long kbDoProcesso(const char* campo)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linha : status.readAll().split('\n'))
        if (linha.startsWith(campo))
            return linha.mid(int(std::strlen(campo))).trimmed().split(' ').first().toLong();
    return -1;
}

// Child process: the board shown with an empty grid, then with the group loaded; peak memory of both.
int medirPico(const QString& pasta, int grupo)
{
    GradeDeMedida m(pasta);
    carregarEPintar(m, GrupoVizinho);
    const long vazio = kbDoProcesso("VmHWM:");
    carregarEPintar(m, grupo);
    std::printf("%ld %ld %ld\n", vazio, kbDoProcesso("VmHWM:"), kbDoProcesso("VmRSS:"));
    return 0;
}

std::vector<GrupoDeMedida> grupos(const std::vector<int>& tamanhos)
{
    static const char* const nomes[] = { "Casa", "Trabalho", "Arquivo morto", "Escola", "Viagem", "Sítio" };
    std::vector<GrupoDeMedida> grupos;
    for (size_t i = 0; i < tamanhos.size(); ++i)
        grupos.push_back({ int(i) + 1, nomes[i % std::size(nomes)], tamanhos[i] });
    grupos.push_back({ GrupoVizinho, "Vizinho", 40 });
    grupos.push_back({ GrupoVizinho + 1, "Outros", 20000 });
    return grupos;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    substituirFontes();
    QStringList args = app.arguments().mid(1);

    if (args.size() == 3 && args[0] == QLatin1String("--pico"))
        return medirPico(args[1], args[2].toInt());
    if (args.size() >= 3 && args[0] == QLatin1String("--banco")) {
        std::vector<int> tamanhos;
        for (const QString& a : args.mid(2))
            tamanhos.push_back(a.toInt());
        const bool vazio = tamanhos == std::vector<int> { 0 };
        criarBanco(args[1], vazio ? std::vector<GrupoDeMedida> {} : grupos(tamanhos), vazio ? 0 : 1);
        return 0;
    }

    std::vector<int> tamanhos;
    for (const QString& a : args)
        tamanhos.push_back(a.toInt());
    if (tamanhos.empty())
        tamanhos = { 1000, 10000, 100000 };

    // One file per size: the group (code 1) among the others, so a small group is not measured in
    // the file of a large one.
    QTemporaryDir pasta;
    std::vector<QString> pastas;
    for (int n : tamanhos) {
        pastas.push_back(QDir(pasta.path()).filePath(QString::number(n)));
        QDir().mkpath(pastas.back());
        criarBanco(pastas.back(), grupos({ n }), 0);
    }
    std::printf("Each file: the measured group, a group of 40 and one of 20000 tasks (%s)\n", qPrintable(pasta.path()));

    std::printf("\n%9s %14s %14s %16s %9s %15s\n", "tasks", "SQLite NOCASE", "SQLite ours", "Grade::carregar",
        "vs ours", "growth (nlogn)");
    double anterior = 0;
    int nAnterior = 0;
    for (size_t i = 0; i < tamanhos.size(); ++i) {
        const int n = tamanhos[i];
        GradeDeMedida m(pastas[i]);
        carregarEPintar(m, GrupoVizinho);
        const QString arquivo = m.banco.arquivo();
        const int vezes = n >= 100000 ? 9 : n >= 10000 ? 21 : 41;
        std::vector<double> a, b, c;
        soSqlite(arquivo, true, 1); // the file into the system's cache
        for (int k = 0; k < vezes; ++k) {
            a.push_back(soSqlite(arquivo, false, 1));
            b.push_back(soSqlite(arquivo, true, 1));
            carregarEPintar(m, GrupoVizinho);
            c.push_back(carregarEPintar(m, 1));
        }
        if (m.grade.quantidade() != n) {
            std::fprintf(stderr, "the grid holds %lld tasks, not %d\n", qlonglong(m.grade.quantidade()), n);
            return 1;
        }
        const double mc = mediana(c);
        char crescimento[64] = "";
        if (nAnterior > 0) {
            const double nlogn = (double(n) * std::log(n)) / (double(nAnterior) * std::log(nAnterior));
            std::snprintf(crescimento, sizeof crescimento, "x%.1f (x%.1f)", mc / anterior, nlogn);
        }
        std::printf("%9d %11.2f ms %11.2f ms %13.2f ms %8.2fx %15s   (median of %d; grid min %.2f max %.2f)\n", n,
            mediana(a), mediana(b), mc, mc / mediana(b), crescimento, vezes, *std::min_element(c.begin(), c.end()),
            *std::max_element(c.begin(), c.end()));
        anterior = mc;
        nAnterior = n;
    }

    // Peak memory in a fresh process: the board with an empty grid, then with the largest group.
    const auto maior = std::max_element(tamanhos.begin(), tamanhos.end());
    QProcess filho;
    filho.start(QCoreApplication::applicationFilePath(),
        { QStringLiteral("--pico"), pastas[size_t(maior - tamanhos.begin())], QStringLiteral("1") });
    filho.waitForFinished(60000);
    const QList<QByteArray> kb = filho.readAllStandardOutput().simplified().split(' ');
    if (kb.size() == 3)
        std::printf("\nPeak memory (VmHWM) of the board: %.1f MiB with a %d-task grid, %.1f MiB with %d tasks "
                    "loaded (resident then %.1f MiB)\n",
            kb[0].toDouble() / 1024, 40, kb[1].toDouble() / 1024, *maior, kb[2].toDouble() / 1024);
    return 0;
}
