#pragma once
// The group panel: unfolds over the board to add a group by its name.
#include "data/BancoDeDados.h"
#include "shell/Controles.h"

class CaixaTexto;
class Construtor;
class Desdobramento;
class QPushButton;

class PainelGrupo : public Painel
{
    Q_OBJECT
public:
    PainelGrupo(QWidget* janela, Construtor& construtor, const BancoDeDados& banco, Desdobramento& desdobramento);

    // With an empty name box.
    void abrir();

public slots:
    // Adds a group with the name typed, as it stands (empty and repeated names too).
    void incluir();
    void fechar();

signals:
    // Added: the group list shows it, before the panel closes.
    void grupoIncluido(int64_t codigo);
    void falhaAoGravar(const QString& relatorio);

private:
    void teclaNoNome(int caractere);

    const BancoDeDados& m_banco;
    Desdobramento& m_desdobramento;
    CaixaTexto* m_nome;
    QPushButton* m_incluir;
};
