#include "shell/PastaDoBanco.h"

#include "data/BancoDeDados.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace {

// Makes `pasta` and the missing folders above it, each for its user alone, as the XDG base
// directories ask of a new data folder; false, with the system's words, when one cannot be made.
bool criarPasta(const QString& pasta, QString& erro)
{
    if (QFileInfo(pasta).isDir())
        return true;
    const QString acima = QFileInfo(pasta).absolutePath();
    if (acima != pasta && !criarPasta(acima, erro))
        return false;
    if (::mkdir(QFile::encodeName(pasta).constData(), 0700) == 0)
        return true;
    const int falha = errno;
    // Another first start may have made it meanwhile.
    if (falha == EEXIST && QFileInfo(pasta).isDir())
        return true;
    erro = qt_error_string(falha);
    return false;
}

} // namespace

QString pastaDeDadosDoUsuario()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/fazelas"));
}

QString pastaDoBanco(const QString& pastaDoPrograma, const QString& pastaInstalada)
{
    // The program's real folder: a link to the installed program is the installed program.
    const QString instalada = QFileInfo(pastaInstalada).canonicalFilePath();
    if (instalada.isEmpty() || QFileInfo(pastaDoPrograma).canonicalFilePath() != instalada)
        return pastaDoPrograma;

    const QString pasta = pastaDeDadosDoUsuario();
    const QString arquivo = QDir(pasta).filePath(QStringLiteral("fzldados.mdb"));
    const QString aoCriar = QStringLiteral("ao criar");
    QString erro;
    if (!criarPasta(pasta, erro))
        throw FalhaBanco(arquivo, aoCriar, QStringLiteral("a pasta de dados do usuário não pôde ser criada"), erro);
    switch (BancoDeDados::criar(pasta, &erro)) {
    case BancoDeDados::Criacao::Criado:
    case BancoDeDados::Criacao::JaExistia:
        return pasta;
    case BancoDeDados::Criacao::PastaAusente: // removed meanwhile
        throw FalhaBanco(arquivo, aoCriar, QStringLiteral("a pasta de dados do usuário não pôde ser criada"), erro);
    case BancoDeDados::Criacao::SemGravacao:
        throw FalhaBanco(arquivo, aoCriar, QStringLiteral("a pasta de dados do usuário não permite gravação"), erro);
    case BancoDeDados::Criacao::Recusado:
        break;
    }
    throw FalhaBanco(arquivo, aoCriar, QStringLiteral("o banco de dados novo não pôde ser criado"), erro);
}
