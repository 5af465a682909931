#pragma once
// The group list: every group, by name, as " code - name"; the group selected is the current one,
// whose tasks the grid shows and which the next start shows again.
#include "data/BancoDeDados.h"
#include "shell/Controles.h"

class Construtor;

class ListaGrupos : public Lista
{
    Q_OBJECT
public:
    static constexpr const char* SemGrupos = " Sem Grupos de Fazela Cadastrado !";

    ListaGrupos(QWidget* prancheta, Construtor& construtor, const BancoDeDados& banco);

    // 0 when no group is current.
    int64_t grupoAtual() const { return m_atual; }
    // At start-up, the board still hidden: the remembered group is current and the list shows it;
    // one that is gone gives way to the group the list shows, so that new tasks never go to a group
    // that no longer exists. Nothing is written.
    void iniciar();
    // Fills the list anew and selects the current group, or the first when it is gone. With the
    // board on the screen, the selection makes that group current and remembers it.
    void alimentar();
    // Deletes the current group with its tasks, and the list shows the groups left.
    void excluirGrupoAtual();

signals:
    // The current group changed, or must be shown again; 0 for none.
    void grupoAtualMudou(int64_t grupo);
    void falhaNoBanco(const QString& relatorio);

private:
    void selecionar(int posicao);
    void aoSelecionar();

    const BancoDeDados& m_banco;
    int64_t m_atual = 0;
};
