#include "data/BancoDeDados.h"

#include "Esquema.h"
#include "data/OrdemTexto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sqlite3.h>
#include <unistd.h>

namespace {

// How long a statement waits for another program that holds the file.
constexpr int EsperaPorOutroPrograma = 3000; // ms

const QString AoAbrir = QStringLiteral("ao abrir");
const QString AoLer = QStringLiteral("ao ler");
const QString AoGravar = QStringLiteral("ao gravar");

bool pastaGravavel(const QString& arquivo) { return QFileInfo(QFileInfo(arquivo).absolutePath()).isWritable(); }

// One connection, for one operation.
class Conexao
{
public:
    explicit Conexao(const QString& arquivo)
        : m_arquivo(arquivo)
    {
        // A connection that failed to open is closed here: no destructor runs for it.
        try {
            abrir(arquivo);
        } catch (...) {
            sqlite3_close_v2(m_db);
            throw;
        }
    }
    ~Conexao() { sqlite3_close_v2(m_db); }
    Conexao(const Conexao&) = delete;
    Conexao& operator=(const Conexao&) = delete;

    sqlite3* db() const { return m_db; }

    void abrir(const QString& arquivo)
    {
        // Without SQLITE_OPEN_CREATE a missing file is an error, never a new empty database.
        const int rc = sqlite3_open_v2(QFile::encodeName(arquivo).constData(), &m_db,
            SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE, nullptr);
        if (rc != SQLITE_OK)
            falhar(rc, AoAbrir);
        if (sqlite3_db_readonly(m_db, "main") == 1)
            falhar(SQLITE_READONLY, AoAbrir);
        // Every write puts a journal beside the file: a folder that refuses it is reported now,
        // before the user types what could not be saved.
        if (!pastaGravavel(arquivo))
            falhar(SQLITE_READONLY_DIRECTORY, AoAbrir);
        sqlite3_busy_timeout(m_db, EsperaPorOutroPrograma);
        OrdemTexto::registrar(m_db);
        // EXTRA also syncs the folder once the journal is deleted: a power cut just after a commit
        // cannot bring the journal back and undo the write. Reading the schema now reports a file
        // that is not a database as soon as it is opened.
        executar("PRAGMA synchronous = EXTRA; PRAGMA schema_version", AoAbrir);
    }

    [[noreturn]] void falhar(int codigo, const QString& operacao) const
    {
        const bool temMensagem = m_db && sqlite3_errcode(m_db) != SQLITE_OK;
        throw FalhaBanco(m_arquivo, operacao, codigo,
            QString::fromUtf8(temMensagem ? sqlite3_errmsg(m_db) : sqlite3_errstr(codigo)));
    }

    // Fixed statements only: no value ever goes into a statement's text.
    void executar(const char* sql, const QString& operacao)
    {
        if (const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); rc != SQLITE_OK)
            falhar(rc, operacao);
    }

private:
    QString m_arquivo;
    sqlite3* m_db = nullptr;
};

// A prepared statement and its bound values; reset and finalized with it.
class Comando
{
public:
    Comando(Conexao& conexao, std::string_view sql, const QString& operacao)
        : m_conexao(conexao)
        , m_operacao(operacao)
    {
        const int rc = sqlite3_prepare_v3(conexao.db(), sql.data(), int(sql.size()), 0, &m_st, nullptr);
        if (rc != SQLITE_OK)
            conexao.falhar(rc, operacao);
    }
    ~Comando() { sqlite3_finalize(m_st); }
    Comando(const Comando&) = delete;
    Comando& operator=(const Comando&) = delete;

    Comando& ligar(int posicao, int64_t valor)
    {
        conferir(sqlite3_bind_int64(m_st, posicao, valor));
        return *this;
    }
    Comando& ligar(int posicao, const QString& texto)
    {
        const QByteArray bytes = texto.toUtf8();
        conferir(sqlite3_bind_text64(
            m_st, posicao, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT, SQLITE_UTF8));
        return *this;
    }
    Comando& ligarNulo(int posicao)
    {
        conferir(sqlite3_bind_null(m_st, posicao));
        return *this;
    }

    // The next row: true while there is one. A step that fails is thrown, never taken for the end.
    bool passo()
    {
        const int rc = sqlite3_step(m_st);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            m_conexao.falhar(rc, m_operacao);
        return false;
    }
    void executar()
    {
        while (passo()) { }
    }

    bool nulo(int coluna) const { return sqlite3_column_type(m_st, coluna) == SQLITE_NULL; }
    int64_t inteiro(int coluna) const { return sqlite3_column_int64(m_st, coluna); }
    bool eInteiro(int coluna) const { return sqlite3_column_type(m_st, coluna) == SQLITE_INTEGER; }
    // Any value as text (a number written out), or empty for Null.
    std::string_view texto(int coluna) const
    {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_st, coluna));
        return bytes ? std::string_view(bytes, size_t(sqlite3_column_bytes(m_st, coluna))) : std::string_view();
    }
    QString textoQ(int coluna) const
    {
        const std::string_view t = texto(coluna);
        return QString::fromUtf8(t.data(), qsizetype(t.size()));
    }

private:
    void conferir(int rc)
    {
        if (rc != SQLITE_OK)
            m_conexao.falhar(rc, m_operacao);
    }

    Conexao& m_conexao;
    QString m_operacao;
    sqlite3_stmt* m_st = nullptr;
};

// Statements that stand or fall together: undone unless confirmed. A write takes the file at once
// (IMMEDIATE), so that what it read first is still true when it writes.
class Transacao
{
public:
    enum Tipo { Leitura, Escrita };
    Transacao(Conexao& conexao, Tipo tipo)
        : m_conexao(conexao)
        , m_operacao(tipo == Leitura ? AoLer : AoGravar)
    {
        m_conexao.executar(tipo == Leitura ? "BEGIN" : "BEGIN IMMEDIATE", m_operacao);
    }
    ~Transacao()
    {
        // The failure that brought us here is the one to report; if even the rollback fails,
        // closing the connection undoes the transaction anyway.
        if (!m_confirmada)
            sqlite3_exec(m_conexao.db(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    Transacao(const Transacao&) = delete;
    Transacao& operator=(const Transacao&) = delete;
    void confirmar()
    {
        m_conexao.executar("COMMIT", m_operacao);
        m_confirmada = true;
    }

private:
    Conexao& m_conexao;
    QString m_operacao;
    bool m_confirmada = false;
};

// The grid's order; the join leaves out tasks whose group is gone.
constexpr std::string_view FazelasDoGrupo
    = "Select Fazelas.Codigo, Fazelas.Fazela, Fazelas.Descricao, Fazelas.Prioridade, Fazelas.Executado"
      " from Grupo_Fazela Inner Join Fazelas ON Grupo_Fazela.Codigo = Fazelas.Cod_Grupo"
      " Where Grupo_Fazela.Codigo = ?1 Order By Fazelas.Prioridade desc, Fazelas.Descricao";
constexpr std::string_view ContarFazelasDoGrupo
    = "Select count(*) from Grupo_Fazela Inner Join Fazelas ON Grupo_Fazela.Codigo = Fazelas.Cod_Grupo"
      " Where Grupo_Fazela.Codigo = ?1";

// Syncs a folder's entries (a rename into it) to the disk.
bool sincronizarPasta(const QString& pasta)
{
    const int fd = ::open(QFile::encodeName(pasta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

QString BancoDeDados::arquivoNaPasta(const QString& pasta)
{
    return QDir(pasta).filePath(QStringLiteral("fzldados.mdb"));
}

BancoDeDados::BancoDeDados(QString arquivo)
    : m_arquivo(std::move(arquivo))
{
}

std::optional<int64_t> BancoDeDados::grupoLembrado() const
{
    Conexao c(m_arquivo);
    Comando ler(c, "Select Ultimo_Grupo from Config", AoLer);
    // Only a whole number names a group: another program may have left a text or a fraction there,
    // which no group's code can equal.
    if (ler.passo() && ler.eInteiro(0) && ler.inteiro(0) != 0)
        return ler.inteiro(0);
    return std::nullopt;
}

void BancoDeDados::lembrarGrupo(int64_t grupo) const
{
    Conexao c(m_arquivo);
    Comando(c, "Update Config set Ultimo_Grupo = ?1", AoGravar).ligar(1, grupo).executar();
}

QList<Grupo> BancoDeDados::grupos() const
{
    Conexao c(m_arquivo);
    Comando ler(c, "Select Codigo, Grupo from Grupo_Fazela Order By Grupo", AoLer);
    QList<Grupo> grupos;
    while (ler.passo())
        grupos.append({ ler.inteiro(0), ler.textoQ(1) });
    return grupos;
}

int64_t BancoDeDados::incluirGrupo(const QString& nome) const
{
    Conexao c(m_arquivo);
    Transacao juntos(c, Transacao::Escrita);
    Comando maior(c, "Select max(Codigo) from Grupo_Fazela", AoGravar);
    maior.passo();
    // Past the largest code a file can hold there is none: wrapping would give the new group
    // another group's code.
    if (!maior.nulo(0) && maior.inteiro(0) == std::numeric_limits<int64_t>::max())
        throw FalhaBanco(m_arquivo, AoGravar, QStringLiteral("não há mais códigos livres para um novo grupo"),
            QStringLiteral("max(Codigo) = %1").arg(maior.inteiro(0)));
    const int64_t codigo = maior.nulo(0) ? 1 : maior.inteiro(0) + 1;
    Comando(c, "Insert Into Grupo_Fazela(Codigo,Grupo) values(?1,?2)", AoGravar)
        .ligar(1, codigo)
        .ligar(2, nome)
        .executar();
    juntos.confirmar();
    return codigo;
}

void BancoDeDados::excluirGrupo(int64_t grupo) const
{
    Conexao c(m_arquivo);
    Transacao juntos(c, Transacao::Escrita);
    Comando(c, "Delete from Fazelas Where Cod_Grupo = ?1", AoGravar).ligar(1, grupo).executar();
    Comando(c, "Delete from Grupo_Fazela Where Codigo = ?1", AoGravar).ligar(1, grupo).executar();
    juntos.confirmar();
}

void BancoDeDados::lerFazelas(
    int64_t grupo, const std::function<bool(const LinhaDeFazela&)>& porLinha, int64_t* total) const
{
    Conexao c(m_arquivo);
    std::optional<Transacao> umaLeitura;
    if (total) {
        umaLeitura.emplace(c, Transacao::Leitura);
        Comando contar(c, ContarFazelasDoGrupo, AoLer);
        contar.ligar(1, grupo).passo();
        *total = contar.inteiro(0);
    }
    Comando ler(c, FazelasDoGrupo, AoLer);
    ler.ligar(1, grupo);
    LinhaDeFazela linha;
    while (ler.passo()) {
        linha.codigo = ler.inteiro(0);
        linha.nome = ler.texto(1);
        linha.descricao = ler.texto(2);
        const int64_t prioridade = ler.inteiro(3);
        linha.prioridade = prioridade >= 0 && prioridade <= 5 ? int(prioridade) : 0;
        // Any text but an empty one is done, and so is any number; Null is not.
        linha.executada = !ler.nulo(4) && !ler.texto(4).empty();
        if (!porLinha(linha))
            break;
    }
    if (umaLeitura)
        umaLeitura->confirmar();
}

std::string_view BancoDeDados::consultaDaGrade() { return FazelasDoGrupo; }

int64_t BancoDeDados::incluirFazela(int64_t grupo, const QString& nome, const QString& descricao, int prioridade) const
{
    Conexao c(m_arquivo);
    Comando(c, "Insert Into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) Values(?1,?2,?3,?4)", AoGravar)
        .ligar(1, grupo)
        .ligar(2, nome)
        .ligar(3, descricao)
        .ligar(4, int64_t(prioridade))
        .executar();
    return sqlite3_last_insert_rowid(c.db());
}

void BancoDeDados::alterarFazela(int64_t codigo, const QString& nome, const QString& descricao, int prioridade) const
{
    Conexao c(m_arquivo);
    Comando(c, "Update Fazelas set Fazela = ?2, Descricao = ?3, Prioridade = ?4 Where Codigo = ?1", AoGravar)
        .ligar(1, codigo)
        .ligar(2, nome)
        .ligar(3, descricao)
        .ligar(4, int64_t(prioridade))
        .executar();
}

void BancoDeDados::excluirFazela(int64_t codigo) const
{
    Conexao c(m_arquivo);
    Comando(c, "Delete from Fazelas Where Codigo = ?1", AoGravar).ligar(1, codigo).executar();
}

void BancoDeDados::marcarFazela(int64_t codigo, bool executada) const
{
    Conexao c(m_arquivo);
    Comando marcar(c, "Update Fazelas Set Executado = ?2 Where Codigo = ?1", AoGravar);
    marcar.ligar(1, codigo);
    if (executada)
        marcar.ligar(2, QStringLiteral("S"));
    else
        marcar.ligarNulo(2);
    marcar.executar();
}

BancoDeDados::Criacao BancoDeDados::criar(const QString& pasta, QString* erro)
{
    const auto falhou = [erro](Criacao motivo, const QString& texto) {
        if (erro)
            *erro = texto;
        return motivo;
    };
    const QString destino = arquivoNaPasta(pasta);
    if (QFileInfo::exists(destino))
        return Criacao::JaExistia;
    if (!QFileInfo(pasta).isDir())
        return Criacao::PastaAusente;
    // Built beside the target and moved into place at the end, so no half-made database is ever
    // left there.
    QTemporaryFile temporario(QDir(pasta).filePath(QStringLiteral("fzldados-XXXXXX.novo")));
    if (!temporario.open())
        return falhou(Criacao::SemGravacao, temporario.errorString());
    temporario.close();
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(
        QFile::encodeName(temporario.fileName()).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* mensagem = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, Esquema::Sql, nullptr, nullptr, &mensagem);
    const QString causa = QString::fromUtf8(mensagem ? mensagem : sqlite3_errstr(rc));
    sqlite3_free(mensagem);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        return falhou(Criacao::Recusado, causa);
    // Never over a file that appeared meanwhile (another first start): a new link fails where a
    // name exists, and a file system without links gets Qt's rename, which refuses one too.
    const QByteArray de = QFile::encodeName(temporario.fileName()), para = QFile::encodeName(destino);
    if (::link(de.constData(), para.constData()) == 0) {
        temporario.remove();
    } else if (errno == EEXIST) {
        return Criacao::JaExistia;
    } else if (temporario.rename(destino)) {
        temporario.setAutoRemove(false);
    } else {
        return QFileInfo::exists(destino) ? Criacao::JaExistia : falhou(Criacao::SemGravacao, temporario.errorString());
    }
    // The new name is on the disk only once the folder is.
    if (!sincronizarPasta(pasta))
        return falhou(Criacao::SemGravacao, QString::fromLocal8Bit(strerror(errno)));
    return Criacao::Criado;
}
