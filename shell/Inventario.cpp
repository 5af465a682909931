#include "shell/Inventario.h"

#include "assets/Imagens.h"
#include "shell/Controles.h"

#include <QPushButton>
#include <QScrollBar>

using namespace Inventario;

Construtor::Construtor(qreal densidade)
    : m_densidade(densidade)
    , m_mao(Imagens::cursorDaMao(densidade))
{
}

void Construtor::criar(std::span<const Controle> tabela, QWidget* pai, QPoint origem)
{
    for (auto it = tabela.rbegin(); it != tabela.rend(); ++it)
        aplicar(*it, novo(*it, pai), origem);
}

void Construtor::aplicar(const Controle& c, QWidget* w, QPoint origem)
{
    const QString nome = QString::fromLatin1(c.nome);
    w->setObjectName(nome);
    m_feitos.insert(nome, w);
    if (c.tipo != Tipo::Traco)
        w->setGeometry(c.geometria().translated(-origem));
    if (c.letra.familia) {
        // Setting a font costs a pass over the widget even when it changes nothing.
        const QFont f = fonte(c.letra.familia, c.letra.pontos, c.letra.negrito, c.letra.italico);
        if (w->parentWidget() && f == w->parentWidget()->font())
            ;
        else if (c.tipo == Tipo::Texto || c.tipo == Tipo::TextoMulti)
            definirFonteAoMostrar(w, f);
        else
            w->setFont(f);
    }
    if (c.dica)
        w->setToolTip(QString::fromUtf8(c.dica));
    if (c.marcas & Mao)
        w->setCursor(m_mao);
    if (c.marcas & Oculto)
        w->setVisible(false);
    if (c.tipo != Tipo::Traco && c.ordem >= 0) {
        m_ordem.emplace(c.ordem, w);
        // Pictures and labels take the focus from the keyboard only: a click on them draws no frame.
        const bool soTeclado = c.tipo == Tipo::CaixaImagem || c.tipo == Tipo::Imagem || c.tipo == Tipo::Rotulo;
        w->setFocusPolicy(soTeclado ? Qt::TabFocus : Qt::StrongFocus);
    } else if (c.tipo == Tipo::Rolagem || c.tipo == Tipo::Botao) {
        w->setFocusPolicy(Qt::NoFocus);
    }
}

void Construtor::ordenarTeclado(QWidget* anterior)
{
    for (auto& [n, w] : m_ordem) {
        if (anterior)
            QWidget::setTabOrder(anterior, w);
        anterior = w;
    }
}

void Construtor::naoEncontrado(const QString& nome)
{
    qFatal("Fazelas: no control named %s was made", qPrintable(nome));
}

QWidget* Construtor::novo(const Controle& c, QWidget* pai)
{
    const QString texto = c.texto ? QString::fromUtf8(c.texto) : QString();
    switch (c.tipo) {
    case Tipo::Rotulo: {
        auto r = new Rotulo(pai);
        r->setText(texto);
        r->definirBorda(c.marcas & Borda);
        r->definirOpaco(c.marcas & Opaco);
        if (c.fundo)
            r->definirCorFundo(QColor::fromRgb(c.fundo));
        if (c.frente)
            r->definirCorTexto(QColor::fromRgb(c.frente));
        if (c.marcas & Centro)
            r->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        r->setWordWrap(c.marcas & Quebra);
        return r;
    }
    case Tipo::Imagem: {
        auto i = new Imagem(pai);
        if (c.figura) {
            auto it = m_figuras.find(c.figura);
            if (it == m_figuras.end())
                it = m_figuras.insert(c.figura, Imagens::figura(c.figura, m_densidade, c.geometria().size()));
            i->definirFigura(*it);
            i->definirRecurso(c.figura);
        }
        i->definirBorda(c.marcas & Borda);
        return i;
    }
    case Tipo::CaixaImagem: {
        auto b = new CaixaImagem(pai);
        if (c.figura)
            b->definirImagem(Imagens::ler(c.figura, m_densidade));
        return b;
    }
    case Tipo::Botao:
        return new QPushButton(texto, pai);
    case Tipo::Lista:
        return new Lista(pai);
    case Tipo::Texto: {
        auto t = new CaixaTexto(pai);
        if (c.marcas & Limite50)
            t->setMaxLength(50);
        return t;
    }
    case Tipo::TextoMulti:
        return new CaixaTextoMulti(pai);
    case Tipo::Rolagem: {
        auto s = new QScrollBar(Qt::Vertical, pai);
        s->setRange(0, 0);
        s->setSingleStep(1);
        s->setPageStep(1);
        return s;
    }
    case Tipo::Painel:
        return new Painel(pai);
    case Tipo::Traco:
        return new Traco(pai, QPoint(px(c.x), px(c.y)), QPoint(px(c.w), px(c.h)), c.ordem);
    }
    return nullptr;
}
