#pragma once
// What the benchmarks share: databases of made-up tasks with Portuguese words, in the program's
// schema, written straight through SQLite; medians; a count of a widget's paints.
#include "Esquema.h"
#include "data/BancoDeDados.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sqlite3.h>
#include <string>
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

inline std::string Frase(std::mt19937& rng, int minimo, int maximo)
{
    std::uniform_int_distribution<int> qtd(minimo, maximo);
    std::uniform_int_distribution<size_t> verbo(0, std::size(Verbos) - 1), palavra(0, std::size(Palavras) - 1);
    std::string s = Verbos[verbo(rng)];
    for (int i = qtd(rng); i > 0; --i)
        s += std::string(" ") + Palavras[palavra(rng)];
    return s;
}

inline void Exigir(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

// The tasks of all groups are inserted in a shuffled order, as a board used for years holds them.
inline void CriarBanco(const QString& pasta, const std::vector<GrupoDeMedida>& grupos, int lembrado)
{
    const QString arquivo = QDir(pasta).filePath(QStringLiteral("fzldados.mdb"));
    QFile::remove(arquivo);
    sqlite3* db = nullptr;
    Exigir(sqlite3_open_v2(
               QFile::encodeName(arquivo).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
        db);
    Exigir(sqlite3_exec(db, Esquema::Sql, nullptr, nullptr, nullptr), db);
    Exigir(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    std::vector<int> ordem;
    for (const GrupoDeMedida& g : grupos) {
        const QByteArray sql = QStringLiteral("INSERT INTO Grupo_Fazela VALUES (%1, '%2')")
                                   .arg(g.codigo)
                                   .arg(QString::fromUtf8(g.nome))
                                   .toUtf8();
        Exigir(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), db);
        ordem.insert(ordem.end(), g.tarefas, g.codigo);
    }
    std::mt19937 rng(20260115);
    std::shuffle(ordem.begin(), ordem.end(), rng);
    sqlite3_stmt* st = nullptr;
    Exigir(sqlite3_prepare_v2(db,
               "INSERT INTO Fazelas (Cod_Grupo, Fazela, Descricao, Prioridade, Executado) "
               "VALUES (?, ?, ?, ?, ?)",
               -1, &st, nullptr),
        db);
    std::uniform_int_distribution<int> prioridade(0, 5), feito(0, 3);
    for (int codigo : ordem) {
        const std::string nome = Frase(rng, 0, 3).substr(0, 50);
        const std::string descricao = Frase(rng, 2, 10);
        sqlite3_bind_int(st, 1, codigo);
        sqlite3_bind_text(st, 2, nome.c_str(), int(nome.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, descricao.c_str(), int(descricao.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 4, prioridade(rng));
        if (feito(rng) == 0)
            sqlite3_bind_text(st, 5, "S", 1, SQLITE_STATIC);
        else
            sqlite3_bind_null(st, 5);
        Exigir(sqlite3_step(st), db);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    if (lembrado != 0)
        Exigir(
            sqlite3_exec(db, QStringLiteral("UPDATE Config SET Ultimo_Grupo = %1").arg(lembrado).toUtf8().constData(),
                nullptr, nullptr, nullptr),
            db);
    Exigir(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

// The code of the group's last task in the grid's order, read straight from the file.
inline int64_t UltimaDaGrade(const BancoDeDados& banco, int64_t grupo)
{
    int64_t ultima = 0;
    banco.lerFazelas(grupo, [&](const LinhaDeFazela& l) {
        ultima = l.codigo;
        return true;
    });
    return ultima;
}

inline double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
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

} // namespace Medida
