// The task panel: adding, changing and deleting the tasks of the group shown.
#include "data/Comandos.h"
#include "data/Modulo.h"
#include "grid/Grade.h"
#include "shell/Prancheta.h"

using namespace Modulo;

namespace {

constexpr int AlturaDoPainel = 3345;
constexpr int LarguraDoPainel = 4365;
constexpr int PrioridadeMedia = 2; // position of "Média"

// A task needs a name; blanks count as one. Says so and keeps the panel as it is otherwise.
bool NomeInformado(Prancheta& p)
{
    if (!p.txtFazelaNome->text().isEmpty())
        return true;
    p.FrmFazela->setEnabled(false);
    p.MensageBox(QStringLiteral("Informe o Nome da Fazela !"), 1);
    p.FrmFazela->setEnabled(true);
    // Answering the message enabled the board; it stays out of reach while the task panel is open.
    if (!p.FrmFazela->isHidden())
        p.PicPrancheta->setEnabled(false);
    p.txtFazelaNome->setFocus();
    return false;
}

// Sends the statement built in ComandoSql, closes the panel and shows the group again.
void Gravar(Prancheta& p)
{
    const bool gravou = p.GravarOuAvisar([] {
        AbrirConexao();
        Conexao->Execute(ComandoSql);
        FecharConexao();
    });
    if (!gravou)
        return;
    p.FrmFazela->hide();
    p.AlimentarGrade(GrupoAtual);
    p.PicPrancheta->setEnabled(true);
}

} // namespace

void Prancheta::CmdNewFazela_Click()
{
    if (GrupoAtual == 0)
        return;
    PicPrancheta->setEnabled(false);
    CmdFazelaAlterar->setEnabled(false);
    CmdFazelaExcluir->setEnabled(false);
    CmdFazelaIncluir->setEnabled(true);
    CmbFazelaPrior->setCurrentIndex(PrioridadeMedia);
    txtFazelaDescricao->setText(QString());
    txtFazelaNome->setText(QString());
    Mostrar(FrmFazela, AlturaDoPainel, LarguraDoPainel);
}

void Prancheta::AbrirParaAlterar(const ItemGrade& e)
{
    PicPrancheta->setEnabled(false);
    CmdFazelaAlterar->setEnabled(true);
    CmdFazelaExcluir->setEnabled(true);
    CmdFazelaIncluir->setEnabled(false);
    CmbFazelaPrior->setCurrentIndex(int(e.Prioridade) - 1);
    txtFazelaDescricao->setText(e.Descricao);
    txtFazelaNome->setText(e.Fazela);
    txtFazelaCodigo->setText(QString::number(e.Codigo));
    Mostrar(FrmFazela, AlturaDoPainel, LarguraDoPainel);
}

void Prancheta::CmdFazelaIncluir_Click()
{
    if (!NomeInformado(*this))
        return;
    ComandoSql = Comandos::IncluirFazela(
        GrupoAtual, txtFazelaNome->text(), txtFazelaDescricao->text(), CmbFazelaPrior->currentIndex() + 1);
    Gravar(*this);
}

void Prancheta::CmdFazelaAlterar_Click()
{
    if (!NomeInformado(*this))
        return;
    ComandoSql = Comandos::AlterarFazela(
        txtFazelaNome->text(), txtFazelaDescricao->text(), CmbFazelaPrior->currentIndex() + 1, txtFazelaCodigo->text());
    Gravar(*this);
}

void Prancheta::CmdFazelaExcluir_Click()
{
    ComandoSql = Comandos::ExcluirFazela(txtFazelaCodigo->text());
    Gravar(*this);
}

void Prancheta::CmdFazelaSair_Click()
{
    FrmFazela->hide();
    PicPrancheta->setEnabled(true);
}

void Prancheta::CmbFazelaPrior_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        txtFazelaNome->setFocus();
}

void Prancheta::txtFazelaNome_KeyPress(int KeyAscii)
{
    // The count is taken before the key has its effect: a full box hands the next key on.
    if (KeyAscii == 13 || txtFazelaNome->text().length() == 50)
        txtFazelaDescricao->setFocus();
}

void Prancheta::txtFazelaDescricao_KeyPress(int KeyAscii)
{
    if (KeyAscii != 13)
        return;
    if (CmdFazelaIncluir->isEnabled())
        CmdFazelaIncluir_Click();
    else
        CmdFazelaAlterar_Click();
}
