// fazelas-bench-escala: the board's everyday actions on one file, timed until the rows are painted.
//
//   fazelas-bench-escala --banco PASTA N   writes PASTA/fzldados.mdb: one remembered group of N tasks
//   fazelas-bench-escala --medir PASTA     starts the board on PASTA/fzldados.mdb as the program does and
//                                          prints one line of medians, in ms, then the peak memory in
//                                          KiB: "grid-load scroll-step tick add-and-reload peak"
//                                          (scroll step -1 when the group fits in the rows)
// tools/bench_escala.sh runs both for every size and prints the table.
#include "Esquema.h"
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

const char* const Palavras[] = { "Comprar", "pão", "conta de luz", "médico", "reunião", "relatório", "João", "Ângela",
    "açúcar", "café", "escola", "banco", "aniversário", "Cartório", "mãe", "contrato", "ônibus", "farmácia", "água" };

std::string Frase(std::mt19937& rng, int palavras)
{
    std::uniform_int_distribution<size_t> p(0, std::size(Palavras) - 1);
    std::string s = Palavras[p(rng)];
    while (--palavras > 0)
        s += std::string(" ") + Palavras[p(rng)];
    return s;
}

void Exigir(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

int CriarBanco(const QString& pasta, int tarefas)
{
    const QByteArray arquivo = QFile::encodeName(QDir(pasta).filePath(QStringLiteral("fzldados.mdb")));
    QFile::remove(QString::fromLocal8Bit(arquivo));
    sqlite3* db = nullptr;
    Exigir(sqlite3_open_v2(arquivo.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), db);
    Exigir(sqlite3_exec(db, Esquema::Sql, nullptr, nullptr, nullptr), db);
    Exigir(sqlite3_exec(db,
               "BEGIN; INSERT INTO Grupo_Fazela VALUES (1, 'Casa'); UPDATE Config SET Ultimo_Grupo = 1;", nullptr,
               nullptr, nullptr),
        db);
    sqlite3_stmt* st = nullptr;
    Exigir(sqlite3_prepare_v2(db,
               "INSERT INTO Fazelas (Cod_Grupo, Fazela, Descricao, Prioridade, Executado) VALUES (1, ?, ?, ?, ?)", -1,
               &st, nullptr),
        db);
    std::mt19937 rng(20260115);
    std::uniform_int_distribution<int> prioridade(0, 5), feito(0, 3), palavras(1, 4);
    for (int i = 0; i < tarefas; ++i) {
        const std::string nome = Frase(rng, palavras(rng)).substr(0, 50), descricao = Frase(rng, 3 * palavras(rng));
        sqlite3_bind_text(st, 1, nome.c_str(), int(nome.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, descricao.c_str(), int(descricao.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 3, prioridade(rng));
        if (feito(rng) == 0)
            sqlite3_bind_text(st, 4, "S", 1, SQLITE_STATIC);
        else
            sqlite3_bind_null(st, 4);
        Exigir(sqlite3_step(st), db);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    Exigir(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    return 0;
}

// Counts a widget's paints, so an action is timed until its result is on the screen.
class ContaPinturas : public QObject
{
public:
    int vezes = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++vezes;
        return false;
    }
};

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

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
    if (!p.Form_Load())
        return 1;
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
