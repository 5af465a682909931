#pragma once
// The task panel: unfolds over the board to add a task to the group shown, or to change or delete
// one of its tasks. Every write sends one statement, closes the panel and has the grid reloaded;
// a write that fails keeps the panel and what the user typed, to try again or cancel.
#include "data/BancoDeDados.h"
#include "shell/Controles.h"

class CaixaTexto;
class CaixaTextoMulti;
class Construtor;
class Desdobramento;
class Lista;
class PainelMensagem;
class QPushButton;

class PainelFazela : public Painel
{
    Q_OBJECT
public:
    PainelFazela(QWidget* janela, Construtor& construtor, const BancoDeDados& banco, Desdobramento& desdobramento,
        PainelMensagem& mensagem);

    // New mode: only "&Incluir", priority "Média", empty name and description. No group: nothing.
    void abrirNova(int64_t grupo);
    // Change mode, with the task's data: "&Alterar" and "&Excluir".
    void abrirParaAlterar(const Fazela& fazela);

public slots:
    void incluir();
    void alterar();
    void excluir();
    void fechar();

signals:
    // A task was written: the grid shows the group again.
    void gravada();
    void falhaAoGravar(const QString& relatorio);

private:
    bool nomeInformado();
    void gravar(const std::function<void()>& gravacao);
    void teclaNaPrioridade(int caractere);
    void teclaNoNome(int caractere);
    void teclaNaDescricao(int caractere);

    const BancoDeDados& m_banco;
    Desdobramento& m_desdobramento;
    PainelMensagem& m_mensagem;
    Lista* m_prioridade;
    CaixaTexto* m_nome;
    CaixaTextoMulti* m_descricao;
    Rotulo* m_codigoMostrado;
    QPushButton* m_incluir;
    QPushButton* m_alterar;
    QPushButton* m_excluir;
    int64_t m_grupo = 0;
    int64_t m_codigo = 0; // the task being changed
};
