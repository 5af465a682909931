// The group list and the current group.
#include "data/Comandos.h"
#include "data/Modulo.h"
#include "groups/Grupos.h"
#include "shell/Prancheta.h"

using namespace Modulo;

void Prancheta::SelecionarNaLista(int posicao)
{
    {
        const QSignalBlocker calado(cmbGrupo);
        cmbGrupo->setCurrentIndex(posicao);
    }
    cmbGrupo_Click();
}

bool Prancheta::AlimentarCombo()
{
    AbrirConexao();
    ComandoSql = Comandos::ListarGrupos();
    Registros = std::make_shared<RegistrosBd>();
    Registros->Open(ComandoSql, Conexao);
    {
        const QSignalBlocker calado(cmbGrupo);
        cmbGrupo->clear();
    }
    if (Registros->Eof()) {
        {
            const QSignalBlocker calado(cmbGrupo);
            cmbGrupo->addItem(QString::fromLatin1(SemGrupos));
        }
        SelecionarNaLista(0);
        cmbGrupo->setEnabled(false);
        LimparGrade();
    } else {
        cmbGrupo->setEnabled(true);
        int alvo = 1;
        for (; !Registros->Eof(); Registros->MoveNext()) {
            const qint64 codigo = Registros->Campo(QLatin1StringView("Codigo")).toLongLong();
            {
                const QSignalBlocker calado(cmbGrupo);
                cmbGrupo->addItem(QStringLiteral(" ") + QString::number(codigo) + QStringLiteral(" - ")
                                  + Registros->Campo(QLatin1StringView("Grupo")).toString());
            }
            if (codigo == GrupoAtual)
                alvo = cmbGrupo->count();
            if (GrupoAtual == 0)
                alvo = 1;
        }
        SelecionarNaLista(alvo - 1);
    }
    Registros->Close();
    FecharConexao();
    return true;
}

void Prancheta::cmbGrupo_Click()
{
    if (!isVisible())
        return;
    if (const auto codigo = CodigoDoItem(cmbGrupo->currentText())) {
        GrupoAtual = *codigo;
        AlimentarGrade(GrupoAtual);
    } else {
        GrupoAtual = 0;
    }
    AbrirConexao();
    ComandoSql = Comandos::GravarUltimoGrupo(GrupoAtual);
    Conexao->Execute(ComandoSql);
    FecharConexao();
}
