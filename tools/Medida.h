#pragma once
// What the benchmarks share: databases of made-up tasks with Portuguese words, in the program's
// schema, written straight through SQLite; medians; a count of a widget's paints.
#include "Esquema.h"
#include "data/BancoDeDados.h"

#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sqlite3.h>
#include <string>
#include <type_traits>
#include <vector>

namespace Medida {

inline const char* const Verbos[] = { "Comprar", "pagar", "Ligar para", "levar", "Revisar", "buscar", "Enviar",
    "agendar", "Óculos:", "Água", "trocar", "ônibus", "Lavar", "escrever" };
inline const char* const Palavras[] = { "pão", "conta de luz", "o médico", "a reunião", "relatório", "João", "Ângela",
    "açúcar", "café", "escola", "banco", "aniversário", "Cartório", "mãe", "contrato", "Ônibus", "farmácia", "ÁGUA",
    "documentos", "orçamento", "élan" };

struct GrupoDeMedida
{
    int codigo;
    const char* nome;
    int tarefas;
};

inline std::string frase(std::mt19937& rng, int minimo, int maximo)
{
    std::uniform_int_distribution<int> qtd(minimo, maximo);
    std::uniform_int_distribution<size_t> verbo(0, std::size(Verbos) - 1), palavra(0, std::size(Palavras) - 1);
    std::string s = Verbos[verbo(rng)];
    for (int i = qtd(rng); i > 0; --i)
        s += std::string(" ") + Palavras[palavra(rng)];
    return s;
}

inline void exigir(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

// Runs one prepared statement with its values bound in order (int or text).
template <class... Valores> void executar(sqlite3* db, const char* sql, const Valores&... valores)
{
    sqlite3_stmt* st = nullptr;
    exigir(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db);
    int i = 0;
    auto ligar = [&](const auto& v) {
        ++i;
        if constexpr (std::is_integral_v<std::decay_t<decltype(v)>>)
            sqlite3_bind_int64(st, i, v);
        else
            sqlite3_bind_text(st, i, v, -1, SQLITE_TRANSIENT);
    };
    (ligar(valores), ...);
    exigir(sqlite3_step(st), db);
    sqlite3_finalize(st);
}

// The tasks of all groups are inserted in a shuffled order, as a board used for years holds them.
inline void criarBanco(const QString& pasta, const std::vector<GrupoDeMedida>& grupos, int lembrado)
{
    const QString arquivo = QDir(pasta).filePath(QStringLiteral("fzldados.mdb"));
    QFile::remove(arquivo);
    sqlite3* db = nullptr;
    exigir(sqlite3_open_v2(
               QFile::encodeName(arquivo).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
        db);
    exigir(sqlite3_exec(db, Esquema::Sql, nullptr, nullptr, nullptr), db);
    exigir(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    std::vector<int> ordem;
    for (const GrupoDeMedida& g : grupos) {
        executar(db, "INSERT INTO Grupo_Fazela VALUES (?, ?)", g.codigo, g.nome);
        ordem.insert(ordem.end(), g.tarefas, g.codigo);
    }
    std::mt19937 rng(20260115);
    std::shuffle(ordem.begin(), ordem.end(), rng);
    std::uniform_int_distribution<int> prioridade(0, 5), feito(0, 3);
    for (int codigo : ordem) {
        const std::string nome = frase(rng, 0, 3).substr(0, 50);
        const std::string descricao = frase(rng, 2, 10);
        const int p = prioridade(rng);
        if (feito(rng) == 0)
            executar(db,
                "INSERT INTO Fazelas (Cod_Grupo, Fazela, Descricao, Prioridade, Executado) "
                "VALUES (?, ?, ?, ?, 'S')",
                codigo, nome.c_str(), descricao.c_str(), p);
        else
            executar(db, "INSERT INTO Fazelas (Cod_Grupo, Fazela, Descricao, Prioridade) VALUES (?, ?, ?, ?)", codigo,
                nome.c_str(), descricao.c_str(), p);
    }
    if (lembrado != 0)
        executar(db, "UPDATE Config SET Ultimo_Grupo = ?", lembrado);
    exigir(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

// The code of the group's last task in the grid's order, read straight from the file.
inline int64_t ultimaDaGrade(const BancoDeDados& banco, int64_t grupo)
{
    int64_t ultima = 0;
    banco.lerFazelas(grupo, [&](const LinhaDeFazela& l) {
        ultima = l.codigo;
        return true;
    });
    return ultima;
}

inline double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Counts a widget's paints, so an action is timed until its result is on the screen.
class ContaPinturas : public QObject
{
public:
    int vezes = 0;
    // Runs the event loop until the watched widget is painted more than `antes` times; false when
    // nothing more is painted within `prazoMs`.
    bool esperarAlem(int antes, int prazoMs)
    {
        if (vezes > antes)
            return true;
        QEventLoop laco;
        m_laco = &laco;
        QTimer::singleShot(prazoMs, &laco, [&laco] { laco.exit(1); });
        const bool pintou = laco.exec() == 0;
        m_laco = nullptr;
        return pintou;
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            ++vezes;
            if (m_laco)
                m_laco->quit();
        }
        return false;
    }

private:
    QEventLoop* m_laco = nullptr;
};

} // namespace Medida
