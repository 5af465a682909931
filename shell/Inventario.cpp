// The board's controls, described by tables: kind, place in twips, text, font, colours.
// Each table lists its controls topmost first, as they are stacked.
#include "assets/Imagens.h"
#include "shell/Plataforma.h"
#include "shell/Prancheta.h"

#include <QCursor>
#include <QHash>
#include <QIcon>
#include <QScrollBar>
#include <map>
#include <span>
#include <vector>

namespace {

enum class Tipo { Rotulo, Imagem, CaixaImagem, Botao, Lista, Texto, TextoMulti, Rolagem, Painel, Traco };

enum Marca : unsigned {
    Oculto = 1 << 0,
    Borda = 1 << 1,
    Opaco = 1 << 2,
    Centro = 1 << 3,
    Mao = 1 << 4,     // the pointing-hand cursor
    Quebra = 1 << 5,  // text wraps inside the control
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

    constexpr Controle Texto(const char* v) const { auto c = *this; c.texto = v; return c; }
    constexpr Controle Com(Letra v) const { auto c = *this; c.letra = v; return c; }
    constexpr Controle Fundo(QRgb v) const { auto c = *this; c.fundo = v; return c; }
    constexpr Controle Frente(QRgb v) const { auto c = *this; c.frente = v; return c; }
    constexpr Controle Marcas(unsigned v) const { auto c = *this; c.marcas = v; return c; }
    constexpr Controle Dica(const char* v) const { auto c = *this; c.dica = v; return c; }
    constexpr Controle Figura(const char* v) const { auto c = *this; c.figura = v; return c; }
    constexpr Controle Ordem(int v) const { auto c = *this; c.ordem = v; return c; }
};

constexpr Controle Rot(const char* n, int x, int y, int w, int h) { return {n, Tipo::Rotulo, x, y, w, h}; }
constexpr Controle Img(const char* n, int x, int y, int w, int h) { return {n, Tipo::Imagem, x, y, w, h}; }
constexpr Controle Caixa(const char* n, int x, int y, int w, int h) { return {n, Tipo::CaixaImagem, x, y, w, h}; }
constexpr Controle Botao(const char* n, int x, int y, int w, int h) { return {n, Tipo::Botao, x, y, w, h}; }
constexpr Controle Linha(const char* n, int x1, int y1, int x2, int y2, int espessura)
{
    return Controle{n, Tipo::Traco, x1, y1, x2, y2}.Ordem(espessura);
}
// A clickable image with the pointing hand.
constexpr Controle Acao(const char* n, int x, int y, int w, int h, const char* figura)
{
    return Img(n, x, y, w, h).Figura(figura).Marcas(Mao);
}

constexpr QRgb Branco = 0xFFFFFFFF;
constexpr QRgb Preto = 0xFF000000;
constexpr QRgb Azul = 0xFF0000FF;
constexpr QRgb Vinho = 0xFF400000;
constexpr Letra Botoes{"MS Sans Serif", 8.25, true};
constexpr Letra Titulo{"Arial Black", 9.75};
constexpr Letra Legenda{"Small Fonts", 6.75};
constexpr Letra Caixas{"Times New Roman", 9};
constexpr Letra Rotulos{"Arial", 9, true, true};
constexpr Letra Fabricante{"Tahoma", 14.25, true};
constexpr unsigned Cor = Centro | Borda | Opaco;

constexpr const char* NomeFabricante = "Oficina das Fazelas";
constexpr const char* Direitos = "Copyright © 2026 Oficina das Fazelas. Todos os direitos reservados.";

// Window children. The panels are not inside the board picture, so disabling it leaves them usable.
constexpr Controle Janela[] = {
    Controle{"FrmMensagem", Tipo::Painel, 1230, 3803, 4365, 1395}.Marcas(Oculto),
    Controle{"FrmFazela", Tipo::Painel, 1230, 2828, 4365, 3345}.Marcas(Oculto),
    Controle{"FrmGrupo", Tipo::Painel, 1230, 3638, 4365, 1725}.Marcas(Oculto),
    // The rows' font: the 23 labels inherit it instead of each being given its own.
    Caixa("PicPrancheta", 30, 0, 6840, 8985).Figura(Imagens::Prancheta).Com({"Arial", 8.25}).Ordem(1),
};

constexpr Controle PranchetaAcimaDasLinhas[] = {
    Caixa("Picture1", 5730, 1470, 285, 285).Marcas(Oculto),
    Caixa("PicFocus", 1740, 1470, 10, 10).Ordem(0),
    Controle{"VscGrade", Tipo::Rolagem, 5820, 2370, 255, 5535}.Ordem(4),
    Controle{"cmbGrupo", Tipo::Lista, 2040, 1950, 3975, 285}.Com({"Tahoma", 6.75}).Ordem(2),
    Acao("CmdDelGrupo", 870, 1000, 240, 240, Imagens::Lixeira).Dica("Excluir Grupo"),
    Acao("CmdNewGrupo", 480, 1000, 240, 240, Imagens::Caderno).Dica("Novo Grupo"),
    Acao("CmdNewFazela", 1230, 1005, 240, 240, Imagens::Pagina).Dica("Incluir Fazela"),
    Acao("CmdSair", 5850, 1000, 240, 240, Imagens::Fechar).Dica("Fechar"),
    Rot("Vek1", 990, 8250, 4500, 390).Texto(NomeFabricante).Com(Fabricante).Frente(Branco).Marcas(Centro | Mao),
    Rot("Vek2", 1020, 8280, 4500, 390).Texto(NomeFabricante).Com(Fabricante).Frente(Preto).Marcas(Centro),
    Acao("Image2", 5550, 8310, 510, 270, Imagens::Logo2),
    Acao("Image1", 450, 8310, 510, 270, Imagens::Logo1),
    Rot("copy", 630, 8670, 5865, 255).Texto(Direitos).Com({"Small Fonts", 6.75, true}).Frente(0xFFC0C0C0),
    Rot("Label1", 540, 7990, 1575, 225).Texto("Legenda Prioridade").Com({"Small Fonts", 6.75, true}).Frente(Branco),
    Rot("Cor1", 5190, 7980, 795, 195).Texto("Nenhuma").Com(Legenda).Fundo(0xFFFFFFFF).Marcas(Cor),
    Rot("Cor2", 4410, 7980, 795, 195).Texto("Baixa").Com(Legenda).Fundo(0xFFC0C0FF).Marcas(Cor),
    Rot("Cor3", 3630, 7980, 795, 195).Texto("Média").Com(Legenda).Fundo(0xFF80FF80).Marcas(Cor),
    Rot("Cor4", 2850, 7980, 795, 195).Texto("Alta").Com(Legenda).Fundo(0xFFFFFF80).Marcas(Cor),
    Rot("Cor5", 2070, 7980, 825, 195).Texto("Urgente").Com(Legenda).Fundo(0xFFFF8080).Marcas(Cor),
    Rot("LegPrior", 510, 7950, 5535, 255).Com({"Small Fonts", 6.75, true}).Fundo(0xFF808080).Marcas(Borda | Opaco),
    Img("ImagemCheck", 1230, 1530, 270, 255).Figura(Imagens::Check).Marcas(Oculto),
};

constexpr Controle PranchetaAbaixoDasLinhas[] = {
    Rot("lblGrupo", 540, 2010, 1575, 285).Texto("Grupo de Fazela :").Com({"Arial", 9, true}),
};

constexpr Controle NoGrupo[] = {
    Controle{"txtGrupoGrupo", Tipo::Texto, 90, 720, 4155, 330}.Com(Caixas).Marcas(Limite50).Ordem(41),
    Botao("CmdGrupoIncluir", 420, 1250, 1335, 315).Texto("&Incluir").Com(Botoes).Ordem(43),
    Botao("CmdGrupoCancel", 2640, 1250, 1335, 315).Texto("&Cancelar").Com(Botoes).Ordem(45),
    Rot("Label3", 120, 450, 3105, 285).Texto("Descrição do Grupo :").Com(Rotulos).Frente(Vinho),
    Rot("lblGrupoCaption", 60, 30, 2505, 285).Texto("Inclur Novo Grupo").Com(Titulo).Frente(Branco),
    Acao("ImgGrupoSair", 4080, 60, 240, 240, Imagens::Fechar).Dica("Fechar"),
    Rot("Label2", 30, 30, 4305, 285).Fundo(Azul).Marcas(Opaco),
    Linha("Line1", 0, 0, 0, 3045, 3),
    Linha("Line2", 4335, 0, 4335, 3045, 3),
    Linha("Line3", 0, 0, 4335, 0, 3),
    Linha("Line4", 0, 1710, 4335, 1710, 3),
    Linha("Line5", 0, 330, 4335, 330, 2),
};

constexpr Controle NaFazela[] = {
    Controle{"CmbFazelaPrior", Tipo::Lista, 3120, 390, 1125, 285}.Com(Legenda).Ordem(55),
    Controle{"txtFazelaDescricao", Tipo::TextoMulti, 90, 1350, 4155, 1320}.Com(Caixas).Ordem(57),
    Botao("CmdFazelaAlterar", 1650, 2850, 1125, 315).Texto("&Alterar").Com(Botoes).Ordem(59),
    Botao("CmdFazelaExcluir", 3000, 2850, 1125, 315).Texto("&Excluir").Com(Botoes).Ordem(60),
    Botao("CmdFazelaIncluir", 270, 2850, 1125, 315).Texto("&Incluir").Com(Botoes).Ordem(58),
    Controle{"txtFazelaNome", Tipo::Texto, 90, 690, 4155, 330}.Com(Caixas).Marcas(Limite50).Ordem(56),
    Rot("txtFazelaCodigo", 2460, 1080, 1605, 255).Marcas(Oculto),
    Rot("Label9", 2070, 450, 1065, 195).Texto("Prioridade :").Com({"Arial", 8.25, true, true}).Frente(Vinho),
    Rot("Label8", 120, 1080, 3105, 285).Texto("Descrição da Fazela :").Com(Rotulos).Frente(Vinho),
    Rot("Label5", 60, 30, 2505, 285).Texto("Dados da Fazela").Com(Titulo).Frente(Branco),
    Acao("CmdFazelaSair", 4080, 60, 240, 240, Imagens::Fechar).Dica("Fechar"),
    Linha("Line15", 0, 330, 4335, 330, 2),
    Linha("Line14", 0, 3330, 4335, 3330, 3),
    Linha("Line13", 0, 0, 4335, 0, 3),
    Linha("Line12", 4350, 0, 4350, 3300, 3),
    Linha("Line11", 0, 0, 0, 3330, 3),
    Rot("Label7", 30, 30, 4305, 285).Fundo(Azul).Marcas(Opaco),
    Rot("Label4", 120, 420, 3105, 285).Texto("Nome da Fazela :").Com(Rotulos).Frente(Vinho),
};

constexpr Controle NaMensagem[] = {
    Botao("CmdMensagemOkay", 1530, 915, 1335, 315).Texto("&Okay").Com(Botoes).Ordem(47),
    Botao("CmdMensagemCancelar", 2940, 915, 1335, 315).Texto("&Cancelar").Com(Botoes).Ordem(48),
    Botao("CmdMensagemConfirmar", 120, 915, 1335, 315).Texto("&Confirmar").Com(Botoes).Ordem(46),
    Acao("ImgMensagemSair", 4080, 60, 240, 240, Imagens::Fechar).Dica("Fechar"),
    Rot("lblMsgBoxCaption", 60, 30, 3975, 285).Texto("Mensagem do Sistema").Com(Titulo).Fundo(Azul).Frente(Branco)
        .Marcas(Opaco),
    Linha("Line10", 0, 330, 4335, 330, 2),
    Linha("Line9", 0, 1380, 4335, 1380, 3),
    Linha("Line8", 0, 0, 4335, 0, 3),
    Linha("Line7", 4350, 0, 4350, 3045, 3),
    Linha("Line6", 0, 0, 0, 3045, 3),
    Rot("Label6", 30, 30, 4305, 285).Fundo(Azul).Marcas(Opaco),
    Rot("txtMsgBoxMensagem", 180, 420, 4065, 435).Com(Rotulos).Frente(0xFFFFFF00).Marcas(Centro | Quebra),
};

// The grid rows, 240 twips apart; row 22 lies on top, each mark above its label.
std::vector<Controle> Linhas()
{
    static const std::vector<std::string> nomes = [] {
        std::vector<std::string> n;
        for (int i = 0; i < QtdLinhas; ++i) {
            n.push_back("ImgLinha(" + std::to_string(i) + ")");
            n.push_back("Linha(" + std::to_string(i) + ")");
        }
        return n;
    }();
    std::vector<Controle> linhas;
    for (int i = QtdLinhas - 1; i >= 0; --i) {
        const int topo = 2370 + 240 * i;
        linhas.push_back(Img(nomes[2 * i].c_str(), 510, topo, 270, 255).Figura(Imagens::Check).Marcas(Borda));
        linhas.push_back(Rot(nomes[2 * i + 1].c_str(), 810, topo, 5285, 255).Com({"Arial", 8.25}).Marcas(Borda));
    }
    return linhas;
}

class Construtor
{
public:
    Construtor(Prancheta* janela, qreal densidade)
        : m_janela(janela)
        , m_densidade(densidade)
        , m_mao(Prancheta::CursorDaMao(densidade))
    {
    }

    // Creates a table's controls bottom first, so that the first of the table lies on top.
    void Criar(std::span<const Controle> tabela, QWidget* pai)
    {
        for (auto it = tabela.rbegin(); it != tabela.rend(); ++it)
            Criar(*it, pai);
    }

    // Chains the controls made here by their keyboard order, after `anterior` if given.
    void OrdenarTeclado(QWidget* anterior = nullptr)
    {
        std::map<int, QWidget*> ordem(m_ordem.begin(), m_ordem.end());
        for (auto& [n, w] : ordem) {
            if (anterior)
                QWidget::setTabOrder(anterior, w);
            anterior = w;
        }
    }

private:
    const QPixmap& Figura(const char* recurso, QSize tamanho)
    {
        auto it = m_figuras.find(recurso);
        if (it == m_figuras.end())
            it = m_figuras.insert(recurso, Imagens::Figura(recurso, m_densidade, tamanho));
        return *it;
    }

    void Criar(const Controle& c, QWidget* pai)
    {
        QWidget* w = Novo(c, pai);
        w->setObjectName(QString::fromLatin1(c.nome));
        if (c.tipo != Tipo::Traco)
            w->setGeometry(RetanguloTwips(c.x, c.y, c.w, c.h));
        if (c.letra.familia) {
            // Setting a font costs a pass over the widget even when it changes nothing.
            const QFont fonte = Fonte(c.letra.familia, c.letra.pontos, c.letra.negrito, c.letra.italico);
            if (fonte == pai->font())
                ;
            else if (c.tipo == Tipo::Texto || c.tipo == Tipo::TextoMulti)
                DefinirFonteAoMostrar(w, fonte);
            else
                w->setFont(fonte);
        }
        if (c.dica)
            w->setToolTip(QString::fromUtf8(c.dica));
        if (c.marcas & Mao)
            w->setCursor(m_mao);
        if (c.marcas & Oculto)
            w->setVisible(false);
        if (c.tipo != Tipo::Traco && c.ordem >= 0) {
            m_ordem.emplace(c.ordem, w);
            w->setFocusPolicy(c.tipo == Tipo::CaixaImagem ? Qt::TabFocus : Qt::StrongFocus);
        } else if (c.tipo == Tipo::Rolagem || c.tipo == Tipo::Botao) {
            w->setFocusPolicy(Qt::NoFocus);
        }
    }

    QWidget* Novo(const Controle& c, QWidget* pai)
    {
        const QString texto = c.texto ? QString::fromUtf8(c.texto) : QString();
        switch (c.tipo) {
        case Tipo::Rotulo: {
            auto r = new Rotulo(pai);
            r->setText(texto);
            r->DefinirBorda(c.marcas & Borda);
            r->DefinirOpaco(c.marcas & Opaco);
            if (c.fundo)
                r->DefinirCorFundo(QColor::fromRgb(c.fundo));
            if (c.frente)
                r->DefinirCorTexto(QColor::fromRgb(c.frente));
            if (c.marcas & Centro)
                r->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            r->setWordWrap(c.marcas & Quebra);
            return r;
        }
        case Tipo::Imagem: {
            auto i = new Imagem(pai);
            if (c.figura) {
                i->DefinirPicture(Figura(c.figura, RetanguloTwips(c.x, c.y, c.w, c.h).size()));
                i->DefinirRecurso(c.figura);
            }
            i->DefinirBorda(c.marcas & Borda);
            return i;
        }
        case Tipo::CaixaImagem: {
            auto b = new CaixaImagem(pai);
            if (c.figura)
                b->DefinirImagem(Imagens::Ler(c.figura, m_densidade));
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
            return new Traco(pai, c.x, c.y, c.w, c.h, c.ordem);
        }
        return nullptr;
    }

    Prancheta* m_janela;
    qreal m_densidade;
    QCursor m_mao;
    QHash<const char*, QPixmap> m_figuras;
    std::multimap<int, QWidget*> m_ordem;
};

template <class T>
void Vincular(QWidget* raiz, T*& membro, const QString& nome)
{
    membro = raiz->findChild<T*>(nome);
    Q_ASSERT_X(membro, "Vincular", qPrintable(nome));
}

} // namespace

void Prancheta::MontarControles()
{
    setObjectName(QStringLiteral("Prancheta"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(RetanguloTwips(0, 0, 6915, 9000).size());
    // Where nothing cuts the window to the clipboard's outline, the window is see-through around it.
    if (Plataforma::SemRecorte())
        setAttribute(Qt::WA_TranslucentBackground);
    m_densidade = screen()->devicePixelRatio();
    setWindowIcon(IconeDaJanela(m_densidade));

    Construtor construtor(this, m_densidade);
    construtor.Criar(Janela, this);
    Vincular(this, PicPrancheta, QStringLiteral("PicPrancheta"));
    m_figura = PicPrancheta->Image();
    if (testAttribute(Qt::WA_TranslucentBackground))
        PicPrancheta->DefinirImagem(SemChave(m_figura));
    Vincular(this, FrmGrupo, QStringLiteral("FrmGrupo"));
    Vincular(this, FrmFazela, QStringLiteral("FrmFazela"));
    Vincular(this, FrmMensagem, QStringLiteral("FrmMensagem"));

    construtor.Criar(PranchetaAbaixoDasLinhas, PicPrancheta);
    const std::vector<Controle> linhas = Linhas();
    construtor.Criar(linhas, PicPrancheta);
    construtor.Criar(PranchetaAcimaDasLinhas, PicPrancheta);
    construtor.OrdenarTeclado();

    Vincular(PicPrancheta, Picture1, QStringLiteral("Picture1"));
    Vincular(PicPrancheta, PicFocus, QStringLiteral("PicFocus"));
    Vincular(PicPrancheta, VscGrade, QStringLiteral("VscGrade"));
    Vincular(PicPrancheta, cmbGrupo, QStringLiteral("cmbGrupo"));
    Vincular(PicPrancheta, CmdDelGrupo, QStringLiteral("CmdDelGrupo"));
    Vincular(PicPrancheta, CmdNewGrupo, QStringLiteral("CmdNewGrupo"));
    Vincular(PicPrancheta, CmdNewFazela, QStringLiteral("CmdNewFazela"));
    Vincular(PicPrancheta, CmdSair, QStringLiteral("CmdSair"));
    Vincular(PicPrancheta, Vek1, QStringLiteral("Vek1"));
    Vincular(PicPrancheta, Image1, QStringLiteral("Image1"));
    Vincular(PicPrancheta, Image2, QStringLiteral("Image2"));
    Vincular(PicPrancheta, ImagemCheck, QStringLiteral("ImagemCheck"));
    for (int i = 0; i < QtdLinhas; ++i) {
        Vincular(PicPrancheta, ImgLinha[i], QStringLiteral("ImgLinha(%1)").arg(i));
        Vincular(PicPrancheta, Linha[i], QStringLiteral("Linha(%1)").arg(i));
    }
}

void Prancheta::MontarPaineis()
{
    Construtor construtor(this, m_densidade);
    construtor.Criar(NoGrupo, FrmGrupo);
    construtor.Criar(NaFazela, FrmFazela);
    construtor.Criar(NaMensagem, FrmMensagem);
    construtor.OrdenarTeclado(VscGrade);
    Vincular(FrmGrupo, txtGrupoGrupo, QStringLiteral("txtGrupoGrupo"));
    Vincular(FrmGrupo, CmdGrupoIncluir, QStringLiteral("CmdGrupoIncluir"));
    Vincular(FrmGrupo, CmdGrupoCancel, QStringLiteral("CmdGrupoCancel"));
    Vincular(FrmGrupo, ImgGrupoSair, QStringLiteral("ImgGrupoSair"));
    Vincular(FrmFazela, CmbFazelaPrior, QStringLiteral("CmbFazelaPrior"));
    Vincular(FrmFazela, txtFazelaDescricao, QStringLiteral("txtFazelaDescricao"));
    Vincular(FrmFazela, CmdFazelaAlterar, QStringLiteral("CmdFazelaAlterar"));
    Vincular(FrmFazela, CmdFazelaExcluir, QStringLiteral("CmdFazelaExcluir"));
    Vincular(FrmFazela, CmdFazelaIncluir, QStringLiteral("CmdFazelaIncluir"));
    Vincular(FrmFazela, txtFazelaNome, QStringLiteral("txtFazelaNome"));
    Vincular(FrmFazela, txtFazelaCodigo, QStringLiteral("txtFazelaCodigo"));
    Vincular(FrmFazela, CmdFazelaSair, QStringLiteral("CmdFazelaSair"));
    Vincular(FrmMensagem, CmdMensagemOkay, QStringLiteral("CmdMensagemOkay"));
    Vincular(FrmMensagem, CmdMensagemCancelar, QStringLiteral("CmdMensagemCancelar"));
    Vincular(FrmMensagem, CmdMensagemConfirmar, QStringLiteral("CmdMensagemConfirmar"));
    Vincular(FrmMensagem, ImgMensagemSair, QStringLiteral("ImgMensagemSair"));
    Vincular(FrmMensagem, txtMsgBoxMensagem, QStringLiteral("txtMsgBoxMensagem"));
    CmbFazelaPrior->addItems({QStringLiteral("Nenhuma"), QStringLiteral("Baixa"), QStringLiteral("Média"),
                              QStringLiteral("Alta"), QStringLiteral("Urgente")});
    LigarEventosDosPaineis();
}
