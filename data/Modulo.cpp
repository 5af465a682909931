#include "data/Modulo.h"

#include <QDir>

namespace Modulo {

QString ArquivoBanco() { return QDir(PastaDoPrograma).filePath(QStringLiteral("fzldados.mdb")); }

void AbrirConexao() { Conexao = std::make_shared<ConexaoBd>(ArquivoBanco()); }

void FecharConexao()
{
    if (!Conexao)
        return;
    Conexao->Close();
    Conexao.reset();
}

} // namespace Modulo
