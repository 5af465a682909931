// Adding a group through the group panel, and deleting the current group with its tasks.
#include "data/Comandos.h"
#include "data/Modulo.h"
#include "groups/Grupos.h"
#include "shell/Prancheta.h"

#include <limits>

using namespace Modulo;

namespace {

constexpr int AlturaDoPainel = 1725;
constexpr int LarguraDoPainel = 4365;

} // namespace

void Prancheta::CmdNewGrupo_Click()
{
    PicPrancheta->setEnabled(false);
    txtGrupoGrupo->setText(QString());
    Mostrar(FrmGrupo, AlturaDoPainel, LarguraDoPainel);
}

void Prancheta::CmdGrupoIncluir_Click()
{
    const bool gravou = GravarOuAvisar([this] {
        AbrirConexao();
        ComandoSql = Comandos::MaiorCodigoGrupo();
        Registros = std::make_shared<RegistrosBd>();
        Registros->Open(ComandoSql, Conexao);
        const QVariant maior = Registros->Campo(0);
        // The next code past the largest; past the largest code a file can hold there is none, and
        // wrapping would give the new group another group's code.
        if (!maior.isNull() && maior.toLongLong() == std::numeric_limits<int64_t>::max())
            throw FalhaBanco(ArquivoBanco(), QStringLiteral("ao gravar"), QStringLiteral("não há mais códigos livres para um novo grupo"),
                             QStringLiteral("max(Codigo) = %1").arg(maior.toLongLong()));
        const int64_t codigo = maior.isNull() ? 1 : maior.toLongLong() + 1;
        ComandoSql = Comandos::IncluirGrupo(codigo, txtGrupoGrupo->text());
        Conexao->Execute(ComandoSql);
        Registros->Close();
        FecharConexao();
    });
    if (!gravou)
        return;

    AlimentarCombo();
    FrmGrupo->hide();
    PicPrancheta->setEnabled(true);
}

void Prancheta::CmdGrupoCancel_Click()
{
    FrmGrupo->hide();
    PicPrancheta->setEnabled(true);
}

void Prancheta::ImgGrupoSair_Click() { CmdGrupoCancel_Click(); }

void Prancheta::txtGrupoGrupo_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        CmdGrupoIncluir_Click();
    // A full box hands the next key on to the add button; after Enter has added the group the
    // panel is closed and the focus stays where it is.
    if (txtGrupoGrupo->text().length() == 50 && !FrmGrupo->isHidden())
        CmdGrupoIncluir->setFocus();
}

void Prancheta::CmdDelGrupo_Click()
{
    if (GrupoAtual == 0)
        return;
    if (!MensageBox(QStringLiteral("Confirma Exclusão do Grupo e suas Fazelas ?"), 2))
        return;

    const bool gravou = GravarOuAvisar([] {
        AbrirConexao();
        {
            Transacao juntos(*Conexao);
            ComandoSql = Comandos::ExcluirFazelasDoGrupo(GrupoAtual);
            Conexao->Execute(ComandoSql);
            ComandoSql = Comandos::ExcluirGrupo(GrupoAtual);
            Conexao->Execute(ComandoSql);
            juntos.Confirmar();
        }
        FecharConexao();
    });
    if (!gravou)
        return;

    AlimentarCombo();
    if (const auto codigo = CodigoDoItem(cmbGrupo->currentText())) {
        GrupoAtual = *codigo;
        AlimentarGrade(GrupoAtual);
    }
}
