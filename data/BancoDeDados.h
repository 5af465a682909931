#pragma once
// The board's database file: every operation the board does on it, typed. Each operation opens
// the file, runs its prepared statements with bound values and closes it again, so that between
// operations the file is free for other programs (the sqlite3 shell, a backup, a sync tool) and a
// file replaced on disk is the one read next. A failure is thrown as FalhaBanco.
#include "data/FalhaBanco.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

struct Grupo
{
    int64_t codigo = 0;
    QString nome;
    friend bool operator==(const Grupo&, const Grupo&) = default;
};

// A task as the board holds it.
struct Fazela
{
    int64_t codigo = 0;
    QString nome;
    QString descricao;
    int prioridade = 0;
    bool executada = false;
};

Q_DECLARE_METATYPE(Fazela)

// A task as the engine steps it. The texts are its UTF-8 bytes, valid only while the row is
// handed over: a reader that keeps them copies them.
struct LinhaDeFazela
{
    int64_t codigo = 0;
    std::string_view nome;
    std::string_view descricao;
    int prioridade = 0; // 0 to 5; what other programs may have stored outside that reads as 0
    bool executada = false;
};

class BancoDeDados
{
public:
    // The file of the board kept in `pasta`.
    static QString arquivoNaPasta(const QString& pasta);

    // For an existing file; nothing is opened until an operation runs, and nothing ever creates it.
    explicit BancoDeDados(QString arquivo);
    const QString& arquivo() const { return m_arquivo; }

    // The group shown last, as the settings row remembers it; none where no whole number is there.
    std::optional<int64_t> grupoLembrado() const;
    void lembrarGrupo(int64_t grupo) const;

    // Every group, in the board's order (by name, as a Portuguese reader sorts).
    QList<Grupo> grupos() const;
    // Adds a group with the next code past the largest, and gives it.
    int64_t incluirGrupo(const QString& nome) const;
    // Deletes the group and all its tasks, or nothing.
    void excluirGrupo(int64_t grupo) const;

    // The group's tasks in the board's order (highest priority first, then by description), handed
    // to `porLinha` as the engine steps them until it returns false. With `total`, their count is
    // read first, in the same read of the file: no other program's write falls between the two.
    void lerFazelas(
        int64_t grupo, const std::function<bool(const LinhaDeFazela&)>& porLinha, int64_t* total = nullptr) const;
    // The statement lerFazelas() steps (?1: the group), for a benchmark's baseline.
    static std::string_view consultaDaGrade();
    // Adds a task, not done, to the group, and gives its code.
    int64_t incluirFazela(int64_t grupo, const QString& nome, const QString& descricao, int prioridade) const;
    void alterarFazela(int64_t codigo, const QString& nome, const QString& descricao, int prioridade) const;
    void excluirFazela(int64_t codigo) const;
    void marcarFazela(int64_t codigo, bool executada) const;

    // Writes a new file with the schema and the one settings row into `pasta`, never over an existing
    // one: built beside it and moved into place, the folder synced after. For a failure, `erro`
    // receives the system's or the engine's own words.
    enum class Criacao { Criado, JaExistia, PastaAusente, SemGravacao, Recusado };
    static Criacao criar(const QString& pasta, QString* erro = nullptr);

private:
    QString m_arquivo;
};
