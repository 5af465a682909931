#include "data/FalhaBanco.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <sys/statvfs.h>

namespace {

// A file with the board's name may be an Access database of another program.
bool arquivoDoAccess(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray assinatura = f.read(19).mid(4);
    return assinatura == "Standard Jet DB" || assinatura == "Standard ACE DB";
}

bool pastaGravavel(const QString& arquivo) { return QFileInfo(QFileInfo(arquivo).absolutePath()).isWritable(); }

bool sistemaSoDeLeitura(const QString& arquivo)
{
    struct statvfs sistema
    {
    };
    return statvfs(QFile::encodeName(QFileInfo(arquivo).absolutePath()).constData(), &sistema) == 0
        && (sistema.f_flag & ST_RDONLY);
}

QString descrever(int codigo, const QString& arquivo, const QString& causa)
{
    const QFileInfo info(arquivo);
    switch (codigo & 0xFF) {
    case SQLITE_CANTOPEN:
        if (!info.exists())
            return QStringLiteral("o arquivo não foi encontrado");
        if (!pastaGravavel(arquivo))
            return QStringLiteral("a pasta do arquivo não permite gravação");
        return QStringLiteral("o arquivo não pôde ser aberto (verifique as permissões)");
    case SQLITE_NOTADB:
        if (arquivoDoAccess(arquivo))
            return QStringLiteral("o arquivo não é um banco de dados do Fazelas: está no formato do Microsoft Access, "
                                  "que o Fazelas não lê");
        return QStringLiteral("o arquivo não é um banco de dados do Fazelas (formato desconhecido)");
    case SQLITE_CORRUPT:
        return QStringLiteral("o banco de dados está danificado");
    case SQLITE_READONLY:
        if (sistemaSoDeLeitura(arquivo) || codigo == SQLITE_READONLY_DIRECTORY
            || (info.isWritable() && !pastaGravavel(arquivo)))
            return FalhaBanco::pastaSemGravacao(arquivo);
        if (!info.isWritable())
            return QStringLiteral("o arquivo só permite leitura");
        return QStringLiteral("o banco de dados só permite leitura");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("o banco de dados está em uso por outro programa e não ficou livre a tempo");
    case SQLITE_FULL:
        return QStringLiteral("o disco está cheio");
    case SQLITE_IOERR:
        return QStringLiteral("houve um erro de leitura ou gravação no disco");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("o acesso ao arquivo foi negado");
    default:
        if (causa.contains(QLatin1String("no such table")) || causa.contains(QLatin1String("no such column"))) {
            // The engine takes an empty file for a database without tables.
            if (info.size() == 0)
                return QStringLiteral("o arquivo está vazio: não tem as tabelas do Fazelas");
            return QStringLiteral("o banco de dados não tem as tabelas esperadas");
        }
        return QStringLiteral("o banco de dados recusou a operação");
    }
}

} // namespace

QString FalhaBanco::pastaSemGravacao(const QString& arquivo)
{
    // Permissions say nothing on a file system mounted read-only: it is the cause to name.
    if (sistemaSoDeLeitura(arquivo))
        return QStringLiteral("o sistema de arquivos só permite leitura");
    return QStringLiteral("a pasta do arquivo não permite gravação (o Fazelas precisa criar arquivos temporários ao "
                          "lado dele)");
}

FalhaBanco::FalhaBanco(QString arquivo, QString operacao, int codigo, QString causa)
    : FalhaBanco(arquivo, operacao, descrever(codigo, arquivo, causa), causa)
{
    m_codigo = codigo;
}

FalhaBanco::FalhaBanco(QString arquivo, QString operacao, QString descricao, QString causa)
    : m_arquivo(std::move(arquivo))
    , m_operacao(std::move(operacao))
    , m_causa(std::move(causa))
    , m_descricao(std::move(descricao))
    , m_texto(relatorio().toUtf8())
{
}

QString FalhaBanco::relatorio() const
{
    return QStringLiteral(
        "Falha no banco de dados do Fazelas.\n\nArquivo: %1\nProblema: %2.\nMensagem do banco: %3: %4")
        .arg(QDir::toNativeSeparators(m_arquivo), m_descricao, m_operacao, m_causa);
}
