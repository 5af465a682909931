#include "data/Banco.h"

#include "data/OrdemTexto.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <sqlite3.h>

namespace {

// How long a statement waits for another program that holds the file.
constexpr int EsperaPorOutroPrograma = 3000; // ms

bool PastaGravavel(const QString& arquivo) { return QFileInfo(QFileInfo(arquivo).absolutePath()).isWritable(); }

} // namespace

ConexaoBd::ConexaoBd(const QString& arquivo)
    : m_arquivo(arquivo)
{
    try {
        // Without SQLITE_OPEN_CREATE a missing file is an error, never a new empty database.
        const int rc = sqlite3_open_v2(QFile::encodeName(arquivo).constData(), &m_db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE, nullptr);
        if (rc != SQLITE_OK)
            Falhar(rc, QStringLiteral("ao abrir"));
        if (sqlite3_db_readonly(m_db, "main") == 1)
            Falhar(SQLITE_READONLY, QStringLiteral("ao abrir"));
        // Every write puts a journal beside the file: a folder that refuses it is reported now,
        // before the user types what could not be saved.
        if (!PastaGravavel(arquivo))
            Falhar(SQLITE_READONLY_DIRECTORY, QStringLiteral("ao abrir"));
        sqlite3_busy_timeout(m_db, EsperaPorOutroPrograma);
        OrdemTexto::Registrar(m_db);
        // Reading the schema now reports a file that is not a database as soon as it is opened.
        const int rcEsquema = sqlite3_exec(m_db, "PRAGMA schema_version", nullptr, nullptr, nullptr);
        if (rcEsquema != SQLITE_OK)
            Falhar(rcEsquema, QStringLiteral("ao abrir"));
    } catch (...) {
        Close();
        throw;
    }
}

ConexaoBd::~ConexaoBd() { Close(); }

void ConexaoBd::Close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void ConexaoBd::Falhar(int codigo, const QString& acao) const
{
    const bool temMensagem = m_db && sqlite3_errcode(m_db) != SQLITE_OK;
    const QString mensagem = QString::fromUtf8(temMensagem ? sqlite3_errmsg(m_db) : sqlite3_errstr(codigo));
    throw FalhaBanco(m_arquivo, acao, codigo, mensagem);
}

void ConexaoBd::Execute(const QString& sql)
{
    if (!m_db)
        throw FalhaBanco(m_arquivo, QStringLiteral("ao gravar"), QStringLiteral("a conexão com o banco de dados está fechada"), sql);
    const QByteArray texto = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(m_db, texto.constData(), int(texto.size()), &st, nullptr);
    if (rc == SQLITE_OK) {
        do
            rc = sqlite3_step(st);
        while (rc == SQLITE_ROW);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        Falhar(rc, QStringLiteral("ao gravar"));
}

namespace {

using Comando = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Comando Preparar(const std::shared_ptr<ConexaoBd>& conexao, const QString& sql)
{
    if (!conexao || !conexao->Aberta())
        throw FalhaBanco(conexao ? conexao->Arquivo() : QString(), QStringLiteral("ao ler"),
                         QStringLiteral("a conexão com o banco de dados está fechada"), sql);
    const QByteArray texto = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v2(conexao->Handle(), texto.constData(), int(texto.size()), &st, nullptr);
    Comando comando(st, &sqlite3_finalize);
    if (rc != SQLITE_OK)
        conexao->Falhar(rc, QStringLiteral("ao ler"));
    return comando;
}

QVariant Valor(int tipo, int64_t inteiro, double real, const char* bytes, int tamanho)
{
    switch (tipo) {
    case SQLITE_INTEGER:
        return qlonglong(inteiro);
    case SQLITE_FLOAT:
        return real;
    case SQLITE_TEXT:
        return QString::fromUtf8(bytes, tamanho);
    case SQLITE_BLOB:
        return QByteArray(bytes, tamanho);
    default:
        return {};
    }
}

} // namespace

void RegistrosBd::Open(const QString& sql, const std::shared_ptr<ConexaoBd>& conexao)
{
    Close();
    Comando comando = Preparar(conexao, sql);
    m_conexao = conexao;
    sqlite3_stmt* st = comando.get();
    int rc = SQLITE_OK;
    const int colunas = sqlite3_column_count(st);
    m_nomes.reserve(colunas);
    for (int c = 0; c < colunas; ++c)
        m_nomes.emplace_back(sqlite3_column_name(st, c));
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int c = 0; c < colunas; ++c) {
            Celula celula;
            celula.tipo = sqlite3_column_type(st, c);
            switch (celula.tipo) {
            case SQLITE_INTEGER:
                celula.valor = sqlite3_column_int64(st, c);
                break;
            case SQLITE_FLOAT: {
                const double real = sqlite3_column_double(st, c);
                std::memcpy(&celula.valor, &real, sizeof real);
                break;
            }
            case SQLITE_TEXT:
            case SQLITE_BLOB: {
                const void* dados = celula.tipo == SQLITE_TEXT ? static_cast<const void*>(sqlite3_column_text(st, c))
                                                               : sqlite3_column_blob(st, c);
                celula.valor = int64_t(m_bytes.size());
                celula.tamanho = sqlite3_column_bytes(st, c);
                if (celula.tamanho > 0)
                    m_bytes.append(static_cast<const char*>(dados), size_t(celula.tamanho));
                break;
            }
            }
            m_celulas.push_back(celula);
        }
        ++m_linhas;
    }
    comando.reset();
    if (rc != SQLITE_DONE)
        m_conexao->Falhar(rc, QStringLiteral("ao ler"));
    m_aberto = true;
}

void RegistrosBd::Percorrer(const QString& sql, const std::shared_ptr<ConexaoBd>& conexao,
                            const std::function<bool(const LinhaBd&)>& porLinha)
{
    Close();
    Comando comando = Preparar(conexao, sql);
    const LinhaBd linha(comando.get());
    int rc;
    while ((rc = sqlite3_step(comando.get())) == SQLITE_ROW) {
        if (!porLinha(linha)) {
            rc = SQLITE_DONE;
            break;
        }
    }
    comando.reset();
    if (rc != SQLITE_DONE)
        conexao->Falhar(rc, QStringLiteral("ao ler"));
}

void RegistrosBd::Close()
{
    m_conexao.reset();
    // A closed result set stays in its slot until the next read; it gives its memory back now.
    std::vector<QByteArray>().swap(m_nomes);
    std::vector<Celula>().swap(m_celulas);
    std::string().swap(m_bytes);
    m_linhas = 0;
    m_atual = 0;
    m_aberto = false;
}

namespace {

constexpr char Minuscula(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

// Column names are ASCII; their case does not matter.
bool MesmoNome(std::string_view coluna, QLatin1StringView nome)
{
    if (qsizetype(coluna.size()) != nome.size())
        return false;
    const char* a = coluna.data();
    const char* b = nome.data();
    for (qsizetype i = 0; i < nome.size(); ++i) {
        if (a[i] != b[i] && Minuscula(a[i]) != Minuscula(b[i]))
            return false;
    }
    return true;
}

} // namespace

int RegistrosBd::Coluna(QLatin1StringView nome) const
{
    for (int c = int(m_nomes.size()) - 1; c >= 0; --c) {
        if (MesmoNome(std::string_view(m_nomes[size_t(c)].constData(), size_t(m_nomes[size_t(c)].size())), nome))
            return c;
    }
    return -1;
}

QVariant RegistrosBd::Campo(int posicao) const
{
    if (Eof() || posicao < 0 || posicao >= int(m_nomes.size()))
        return {};
    const Celula& celula = m_celulas[size_t(m_atual) * m_nomes.size() + size_t(posicao)];
    double real;
    std::memcpy(&real, &celula.valor, sizeof real);
    const bool bytes = celula.tipo == SQLITE_TEXT || celula.tipo == SQLITE_BLOB;
    return Valor(celula.tipo, celula.valor, real, bytes ? m_bytes.data() + celula.valor : nullptr, celula.tamanho);
}

QVariant RegistrosBd::Campo(QLatin1StringView nome) const { return Campo(Coluna(nome)); }

int LinhaBd::Coluna(QLatin1StringView nome) const
{
    for (int c = sqlite3_column_count(m_st) - 1; c >= 0; --c) {
        if (MesmoNome(sqlite3_column_name(m_st, c), nome))
            return c;
    }
    return -1;
}

QVariant LinhaBd::Campo(int posicao) const
{
    if (posicao < 0 || posicao >= sqlite3_column_count(m_st))
        return {};
    const int tipo = sqlite3_column_type(m_st, posicao);
    switch (tipo) {
    case SQLITE_INTEGER:
        return Valor(tipo, sqlite3_column_int64(m_st, posicao), 0, nullptr, 0);
    case SQLITE_FLOAT:
        return Valor(tipo, 0, sqlite3_column_double(m_st, posicao), nullptr, 0);
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const char* bytes = tipo == SQLITE_TEXT ? reinterpret_cast<const char*>(sqlite3_column_text(m_st, posicao))
                                                : static_cast<const char*>(sqlite3_column_blob(m_st, posicao));
        return Valor(tipo, 0, 0, bytes, sqlite3_column_bytes(m_st, posicao));
    }
    default:
        return {};
    }
}

bool LinhaBd::Inteiro(int posicao, int64_t& valor) const
{
    if (posicao < 0 || sqlite3_column_type(m_st, posicao) != SQLITE_INTEGER)
        return false;
    valor = sqlite3_column_int64(m_st, posicao);
    return true;
}

bool LinhaBd::Texto(int posicao, std::string_view& bytes) const
{
    if (posicao < 0 || sqlite3_column_type(m_st, posicao) != SQLITE_TEXT)
        return false;
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_st, posicao));
    bytes = std::string_view(p ? p : "", size_t(sqlite3_column_bytes(m_st, posicao)));
    return true;
}

bool LinhaBd::Nulo(int posicao) const { return posicao < 0 || sqlite3_column_type(m_st, posicao) == SQLITE_NULL; }

Transacao::Transacao(ConexaoBd& conexao)
    : m_conexao(conexao)
{
    m_conexao.Execute(QStringLiteral("BEGIN"));
}

Transacao::~Transacao()
{
    if (m_confirmada)
        return;
    // The failure that brought us here is the one to report; if even the rollback fails,
    // closing the connection undoes the transaction anyway.
    try {
        m_conexao.Execute(QStringLiteral("ROLLBACK"));
    } catch (const FalhaBanco&) {
    }
}

void Transacao::Confirmar()
{
    m_conexao.Execute(QStringLiteral("COMMIT"));
    m_confirmada = true;
}
