#pragma once
// The database access objects the program relies on: a connection that runs statements and a
// result set read as a static snapshot. SQLite stands behind both.
#include "data/FalhaBanco.h"

#include <QString>
#include <QVariant>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class ConexaoBd
{
public:
    // Opens an existing database file for reading and writing; never creates one.
    explicit ConexaoBd(const QString& arquivo);
    ~ConexaoBd();
    ConexaoBd(const ConexaoBd&) = delete;
    ConexaoBd& operator=(const ConexaoBd&) = delete;

    // Runs one statement that returns no rows.
    void Execute(const QString& sql);
    void Close();
    bool Aberta() const { return m_db != nullptr; }
    const QString& Arquivo() const { return m_arquivo; }
    sqlite3* Handle() const { return m_db; }

    // Raises the failure for the last error of this connection.
    [[noreturn]] void Falhar(int codigo, const QString& acao) const;

private:
    QString m_arquivo;
    sqlite3* m_db = nullptr;
};

// One row of a statement being walked by RegistrosBd::Percorrer, read in place from the engine:
// valid only while the row is handed over.
class LinhaBd
{
public:
    explicit LinhaBd(sqlite3_stmt* st)
        : m_st(st)
    {
    }
    // Where two columns share a name, the name reaches the later one; -1 for none.
    int Coluna(QLatin1StringView nome) const;
    // The field as RegistrosBd::Campo gives it.
    QVariant Campo(int posicao) const;
    // True, with the value, only for a field the engine holds as an integer or as a text.
    bool Inteiro(int posicao, int64_t& valor) const;
    bool Texto(int posicao, std::string_view& bytes) const;
    bool Nulo(int posicao) const;

private:
    sqlite3_stmt* m_st;
};

class RegistrosBd
{
public:
    // Reads every row of the statement at once: a static snapshot, not affected by later
    // changes, that holds no lock on the file while it is walked.
    void Open(const QString& sql, const std::shared_ptr<ConexaoBd>& conexao);
    bool Eof() const { return m_atual >= m_linhas; }
    // A field of the current row; a Null field gives a null QVariant. Where two columns share
    // a name (a join of two tables), the name reaches the later one.
    QVariant Campo(QLatin1StringView nome) const;
    QVariant Campo(int posicao) const;
    void MoveNext() { ++m_atual; }
    // Runs the statement and hands its rows over one by one, as the engine steps them, without a
    // snapshot: for a reader that keeps its own copy of what it needs (made once, from the
    // engine's own bytes), until porLinha returns false. Holds the file's read lock only for the
    // call, like Open; leaves the result set closed.
    void Percorrer(const QString& sql, const std::shared_ptr<ConexaoBd>& conexao,
                   const std::function<bool(const LinhaBd&)>& porLinha);
    void Close();
    bool Aberto() const { return m_aberto; }
    qsizetype Linhas() const { return m_linhas; }

private:
    int Coluna(QLatin1StringView nome) const;

    // A field as the engine gave it; a text's bytes lie in m_bytes and become a QString only when
    // read, so the columns nobody reads cost no conversion.
    struct Celula
    {
        int64_t valor = 0; // an integer, a real's bits, or where a text's bytes start in m_bytes
        int32_t tamanho = 0;
        int32_t tipo = 0;
    };

    std::shared_ptr<ConexaoBd> m_conexao;
    std::vector<QByteArray> m_nomes;
    std::vector<Celula> m_celulas;
    std::string m_bytes;
    qsizetype m_linhas = 0;
    qsizetype m_atual = 0;
    bool m_aberto = false;
};

// Statements that stand or fall together: undone unless confirmed, so a failure between them
// leaves the file as it was before the first.
class Transacao
{
public:
    explicit Transacao(ConexaoBd& conexao);
    ~Transacao();
    Transacao(const Transacao&) = delete;
    Transacao& operator=(const Transacao&) = delete;
    void Confirmar();

private:
    ConexaoBd& m_conexao;
    bool m_confirmada = false;
};
