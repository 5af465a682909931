#pragma once
// The board's controls are described by tables, one per part of the board: kind, place and size
// as the board was designed (in twips, 15 to the logical pixel), text, font, colours, picture. A
// Construtor turns a table into widgets; twips exist only in the tables and here.
#include <QCursor>
#include <QHash>
#include <QRect>
#include <QRgb>
#include <map>
#include <span>

class QWidget;

namespace Inventario {

constexpr int px(int twips) { return (twips * 2 + (twips >= 0 ? 15 : -15)) / 30; }
// Edges are rounded, not sizes, so controls that touch in twips touch on the screen.
constexpr QRect retangulo(int esquerda, int topo, int largura, int altura)
{
    return QRect(px(esquerda), px(topo), px(esquerda + largura) - px(esquerda), px(topo + altura) - px(topo));
}

enum class Tipo { Rotulo, Imagem, CaixaImagem, Botao, Lista, Texto, TextoMulti, Rolagem, Painel, Traco };

enum Marca : unsigned {
    Oculto = 1 << 0,
    Borda = 1 << 1,
    Opaco = 1 << 2,
    Centro = 1 << 3,
    Mao = 1 << 4, // the pointing-hand cursor
    Quebra = 1 << 5, // text wraps inside the control
    Limite50 = 1 << 6 // at most 50 characters
};

struct Letra
{
    const char* familia = nullptr;
    double pontos = 0;
    bool negrito = false;
    bool italico = false;
};

struct Controle
{
    const char* nome;
    Tipo tipo;
    int x, y, w, h; // a line's two end points for Tipo::Traco
    const char* texto = nullptr;
    Letra letra = {};
    QRgb fundo = 0; // 0: the desktop's own colour
    QRgb frente = 0;
    unsigned marcas = 0;
    const char* dica = nullptr;
    const char* figura = nullptr;
    int ordem = -1; // keyboard order; a line's thickness for Tipo::Traco

    constexpr QRect geometria() const { return retangulo(x, y, w, h); }
    // clang-format off
    constexpr Controle com(Letra v) const { auto c = *this; c.letra = v; return c; }
    constexpr Controle comTexto(const char* v) const { auto c = *this; c.texto = v; return c; }
    constexpr Controle comFundo(QRgb v) const { auto c = *this; c.fundo = v; return c; }
    constexpr Controle comFrente(QRgb v) const { auto c = *this; c.frente = v; return c; }
    constexpr Controle comMarcas(unsigned v) const { auto c = *this; c.marcas = v; return c; }
    constexpr Controle comDica(const char* v) const { auto c = *this; c.dica = v; return c; }
    constexpr Controle comFigura(const char* v) const { auto c = *this; c.figura = v; return c; }
    constexpr Controle naOrdem(int v) const { auto c = *this; c.ordem = v; return c; }
    // clang-format on
};

constexpr Controle rotulo(const char* n, int x, int y, int w, int h) { return { n, Tipo::Rotulo, x, y, w, h }; }
constexpr Controle imagem(const char* n, int x, int y, int w, int h) { return { n, Tipo::Imagem, x, y, w, h }; }
constexpr Controle caixa(const char* n, int x, int y, int w, int h) { return { n, Tipo::CaixaImagem, x, y, w, h }; }
constexpr Controle botao(const char* n, int x, int y, int w, int h) { return { n, Tipo::Botao, x, y, w, h }; }
constexpr Controle painel(const char* n, int x, int y, int w, int h) { return { n, Tipo::Painel, x, y, w, h }; }
constexpr Controle linha(const char* n, int x1, int y1, int x2, int y2, int espessura)
{
    return Controle { n, Tipo::Traco, x1, y1, x2, y2 }.naOrdem(espessura);
}
// A clickable image with the pointing hand.
constexpr Controle acao(const char* n, int x, int y, int w, int h, const char* figura)
{
    return imagem(n, x, y, w, h).comFigura(figura).comMarcas(Mao);
}

inline constexpr QRgb Branco = 0xFFFFFFFF;
inline constexpr QRgb Preto = 0xFF000000;
inline constexpr QRgb Azul = 0xFF0000FF;
inline constexpr QRgb Vinho = 0xFF400000;
inline constexpr Letra Botoes { "MS Sans Serif", 8.25, true };
inline constexpr Letra Titulo { "Arial Black", 9.75 };
inline constexpr Letra Legenda { "Small Fonts", 6.75 };
inline constexpr Letra Caixas { "Times New Roman", 9 };
inline constexpr Letra Rotulos { "Arial", 9, true, true };

} // namespace Inventario

// Makes the widgets of the tables, and chains the keyboard order of all it made.
class Construtor
{
public:
    explicit Construtor(qreal densidade);

    // Creates a table's controls in `pai`, bottom first, so that the table's first lies on top.
    // `origem` is where `pai` lies in the frame the table's places are given in.
    void criar(std::span<const Inventario::Controle> tabela, QWidget* pai, QPoint origem = {});
    // Gives an existing widget (a part of the board made by its own class) the row's name, place,
    // font, tooltip, cursor, visibility and keyboard order.
    void aplicar(const Inventario::Controle& c, QWidget* w, QPoint origem = {});
    // A control made here, by its name; a name that is not there ends the program at once, so a
    // renamed control cannot go unnoticed by any test.
    template <class T> T* controle(const QString& nome) const
    {
        T* w = qobject_cast<T*>(m_feitos.value(nome));
        if (!w)
            naoEncontrado(nome);
        return w;
    }
    // Chains the controls made here by their keyboard order, after `anterior` if given.
    void ordenarTeclado(QWidget* anterior = nullptr);

private:
    QWidget* novo(const Inventario::Controle& c, QWidget* pai);
    [[noreturn]] static void naoEncontrado(const QString& nome);

    qreal m_densidade;
    QCursor m_mao;
    QHash<const char*, QPixmap> m_figuras;
    QHash<QString, QWidget*> m_feitos;
    std::multimap<int, QWidget*> m_ordem;
};
