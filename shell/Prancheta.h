#pragma once
// The board: one frameless window cut to the outline of its clipboard picture. It builds its parts
// (the grid, the group list, the three panels, the icon in the notification area) and wires them.
#include "data/BancoDeDados.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>

class Bandeja;
class CaixaImagem;
class Construtor;
class Desdobramento;
class Grade;
class Imagem;
class ListaGrupos;
class PainelFazela;
class PainelGrupo;
class PainelMensagem;
class SistemaDeJanelas;

class Prancheta : public QWidget
{
    Q_OBJECT
public:
    // The program puts the board on the screen first (EmDuasEtapas): the hidden panels, the icon
    // and the rest of a large group follow in concluirMontagem(), before any input is handled.
    enum class Montagem { Completa, EmDuasEtapas };
    explicit Prancheta(const BancoDeDados& banco, Montagem montagem = Montagem::Completa);
    ~Prancheta() override;

    // Reads the remembered group and fills the group list and the grid, before the board is shown.
    // A failure of the file is thrown.
    void iniciar();
    void concluirMontagem();
    // The program was started again: the board comes back to the user, shown and raised.
    void trazerDeVolta();
    bool mantidaAcima() const;

signals:
    // A failure of the file that ends the program; the report names the file and the failure.
    void falhaNoBanco(const QString& relatorio);
    // A panel's write failed; the board and the panel stay as they were.
    void falhaAoGravar(const QString& relatorio);

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* alvo, QEvent* e) override;

private:
    void montarPaineis();
    void excluirGrupo();
    void esconder();
    void encerrar();
    void abrirPaginaDoFabricante();
    void ajustarDensidade(qreal densidade);
    void aplicarContorno();
    // Runs a reaction to the user; a failure of the file goes to falhaNoBanco.
    template <class Acao> void protegido(Acao&& acao);

    const BancoDeDados& m_banco;
    Montagem m_montagem;
    qreal m_densidade = 1;
    QImage m_figura; // the board picture as drawn for the screen, surroundings in the key colour
    std::unique_ptr<Construtor> m_construtor; // until the second stage has made its controls
    SistemaDeJanelas* m_sistema;
    Desdobramento* m_desdobramento;
    CaixaImagem* m_prancheta;
    QWidget* m_foco;
    QPointer<QWidget> m_focoAntesDoPainel; // where the keyboard was on the board when a panel opened
    Imagem* m_marcaFeita;
    Grade* m_grade;
    ListaGrupos* m_grupos;
    PainelGrupo* m_painelGrupo = nullptr;
    PainelFazela* m_painelFazela = nullptr;
    PainelMensagem* m_mensagem = nullptr;
    Bandeja* m_bandeja = nullptr;
};
