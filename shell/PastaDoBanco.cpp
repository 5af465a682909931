#include "shell/PastaDoBanco.h"

#include "data/Banco.h"
#include "data/NovoBanco.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace {

// Makes `pasta` and the missing folders above it, each for its user alone, as the XDG base
// directories ask of a new data folder; false, with the system's words, when one cannot be made.
bool CriarPasta(const QString& pasta, QString& erro)
{
    if (QFileInfo(pasta).isDir())
        return true;
    const QString acima = QFileInfo(pasta).absolutePath();
    if (acima != pasta && !CriarPasta(acima, erro))
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

QString PastaDeDadosDoUsuario()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/fazelas"));
}

QString PastaDoBanco(const QString& pastaDoPrograma, const QString& pastaInstalada)
{
    // The program's real folder: a link to the installed program is the installed program.
    const QString instalada = QFileInfo(pastaInstalada).canonicalFilePath();
    if (instalada.isEmpty() || QFileInfo(pastaDoPrograma).canonicalFilePath() != instalada)
        return pastaDoPrograma;

    const QString pasta = PastaDeDadosDoUsuario();
    const QString arquivo = QDir(pasta).filePath(QStringLiteral("fzldados.mdb"));
    QString erro;
    if (!CriarPasta(pasta, erro))
        throw FalhaBanco(arquivo, QStringLiteral("a pasta de dados do usuário não pôde ser criada"), erro);
    const CriacaoDoBanco criacao = CriarBanco(pasta);
    switch (criacao.resultado) {
    case CriacaoDoBanco::Criado:
    case CriacaoDoBanco::JaExistia:
        return pasta;
    case CriacaoDoBanco::PastaAusente: // removed meanwhile
        throw FalhaBanco(arquivo, QStringLiteral("a pasta de dados do usuário não pôde ser criada"), criacao.detalhe);
    case CriacaoDoBanco::SemGravacao:
        throw FalhaBanco(arquivo, QStringLiteral("a pasta de dados do usuário não permite gravação"), criacao.detalhe);
    case CriacaoDoBanco::Recusado:
        break;
    }
    throw FalhaBanco(arquivo, QStringLiteral("o banco de dados novo não pôde ser criado"), criacao.detalhe);
}
