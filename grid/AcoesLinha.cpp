// What a task row answers: a click on its mark ticks the task off or reopens it, a double-click
// on its name opens the task for changing.
#include "data/Comandos.h"
#include "data/Modulo.h"
#include "grid/Grade.h"
#include "shell/Prancheta.h"

using namespace Modulo;

ItemGrade* Prancheta::FazelaDaLinha(int Index)
{
    const QString texto = Linha[Index]->text();
    if (texto.isEmpty() || texto == QLatin1String(SemFazelas))
        return nullptr;
    const size_t posicao = size_t(Index + VscGrade->value());
    return posicao < GradeItens.size() ? &GradeItens[posicao] : nullptr;
}

void Prancheta::ImgLinha_Click(int Index)
{
    ItemGrade* e = FazelaDaLinha(Index);
    if (!e)
        return;
    // The mark on the screen decides; the buffer and the database follow it.
    if (!ImgLinha[Index]->TemPicture()) {
        ImgLinha[Index]->DefinirPicture(ImagemCheck->Picture());
        e->Executado = true;
        AbrirConexao();
        ComandoSql = Comandos::MarcarExecutado(e->Codigo);
    } else {
        ImgLinha[Index]->DefinirPicture({});
        e->Executado = false;
        AbrirConexao();
        ComandoSql = Comandos::DesmarcarExecutado(e->Codigo);
    }
    Conexao->Execute(ComandoSql);
    FecharConexao();
}

void Prancheta::Linha_DblClick(int Index)
{
    if (const ItemGrade* e = FazelaDaLinha(Index))
        AbrirParaAlterar(*e);
}
