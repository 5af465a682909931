#pragma once
// The task grid: 23 fixed rows over the buffer of the current group's tasks, each a mark that shows
// whether the task is done and a label with its name on its priority's colour and its description
// as a tooltip; a scroll bar moves the rows over the buffer when the group holds more than 23. A
// click on a mark ticks the task off or reopens it; a double-click on a name opens the task. From the
// keyboard the rows are one stop: Up and Down move between them (and scroll at the edges), Space
// ticks the task off or reopens it, Enter opens it.
#include "data/BancoDeDados.h"
#include "grid/BufferGrade.h"

#include <QWidget>
#include <array>
#include <optional>

class Construtor;
class Imagem;
class QKeyEvent;
class QScrollBar;
class Rotulo;

class Grade : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Linhas = 23;
    static constexpr int LinhaDaMensagem = 10;
    static constexpr const char* SemFazelas = "Sem Fazelas Cadastradas !        ";

    // Made on the board picture `prancheta`; `marcaFeita` holds the picture a done task's mark shows.
    Grade(QWidget* prancheta, Construtor& construtor, const BancoDeDados& banco, const Imagem* marcaFeita);

    // Every row cleared and the buffer emptied.
    void limpar();
    // The group's tasks, whole (a group code of 0 or below: none, without reading the file). A read
    // that fails leaves the grid empty and throws.
    void carregar(int64_t grupo);
    // At start-up: only the rows on the screen, with the scroll bar's whole range, from one read of
    // the file; completar() reads the rest and gives the rows their keyboard stop.
    void carregarPrimeirasLinhas(int64_t grupo);
    void completar();

    qsizetype quantidade() const { return m_itens.tamanho(); }
    // The task a row shows, or none for a row without a task.
    std::optional<Fazela> fazelaDaLinha(int linha) const;
    // The row whose label or mark `controle` is, or -1.
    int linhaDe(const QObject* controle) const;

public slots:
    // Ticks the row's task off, or reopens it: the mark on the screen decides, and the buffer and
    // the file follow.
    void alternarMarca(int linha);
    void abrirFazela(int linha);

signals:
    void fazelaAberta(const Fazela& fazela);
    void marcaAlternada(int linha);
    // The rows moved with the scroll bar; the keyboard focus must leave it.
    void rolada();
    void falhaNoBanco(const QString& relatorio);

protected:
    bool eventFilter(QObject* alvo, QEvent* e) override;

private:
    void carregar(int64_t grupo, bool soAsVisiveis);
    void incluir(const LinhaDeFazela& linha);
    void pintarLinha(int linha, const ItemGrade& item);
    void ajustarRolagem(qsizetype linhas);
    void repintarDaRolagem();
    void pintarVisiveis();
    bool teclaNaLinha(int linha, const QKeyEvent* e);
    void irParaLinha(int linha);
    // The row the keyboard reaches the grid on: the last one it was on, if it shows a task.
    void ajustarParadaDoTeclado();
    std::optional<qsizetype> posicaoDaLinha(int linha) const;

    const BancoDeDados& m_banco;
    const Imagem* m_marcaFeita;
    std::array<Imagem*, Linhas> m_marcas {};
    std::array<Rotulo*, Linhas> m_linhas {};
    QScrollBar* m_rolagem = nullptr;
    BufferGrade m_itens;
    int64_t m_grupo = 0;
    int m_proximaLinha = 0; // the row the next appended task is painted on
    int m_linhaDoTeclado = 0;
    bool m_cheia = false; // all rows painted; later tasks are only stored
    bool m_incompleta = false; // only the rows on the screen are loaded yet (start-up)
};
