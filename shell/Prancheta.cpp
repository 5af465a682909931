#include "shell/Prancheta.h"

#include "assets/Imagens.h"
#include "editor/PainelFazela.h"
#include "grid/Grade.h"
#include "groups/ListaGrupos.h"
#include "groups/PainelGrupo.h"
#include "message/PainelMensagem.h"
#include "shell/Acessibilidade.h"
#include "shell/Bandeja.h"
#include "shell/Controles.h"
#include "shell/Desdobramento.h"
#include "shell/Inventario.h"
#include "shell/SistemaDeJanelas.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>
#include <QWindow>

using namespace Inventario;

namespace {

constexpr Letra Fabricante { "Tahoma", 14.25, true };
constexpr unsigned Cor = Centro | Borda | Opaco;
constexpr const char* NomeFabricante = "Oficina das Fazelas";
constexpr const char* Direitos = "Copyright © 2026 Oficina das Fazelas. Todos os direitos reservados.";

// The board picture, which holds every control of the board itself (not the panels, so that
// disabling it leaves them usable). Its font is the rows'.
constexpr Controle Desenho
    = caixa("PicPrancheta", 30, 0, 6840, 8985).comFigura(Imagens::Prancheta).com({ "Arial", 8.25 }).naOrdem(1);

// The board's own controls, topmost first; the grid and the group list are parts of their own.
// Keyboard order: the board's design gives PicFocus, PicPrancheta, the group list and the scroll
// bar (the grid's rows take the place left between these two); the image buttons follow, left to
// right. The maker's links are not in it: a screen reader reaches them as links.
// clang-format off
constexpr Controle Tabela[] = {
    caixa("Picture1", 5730, 1470, 285, 285).comMarcas(Oculto),
    caixa("PicFocus", 1740, 1470, 10, 10).naOrdem(0),
    acao("CmdDelGrupo", 870, 1000, 240, 240, Imagens::Lixeira).comDica("Excluir Grupo").naOrdem(6),
    acao("CmdNewGrupo", 480, 1000, 240, 240, Imagens::Caderno).comDica("Novo Grupo").naOrdem(5),
    acao("CmdNewFazela", 1230, 1005, 240, 240, Imagens::Pagina).comDica("Incluir Fazela").naOrdem(7),
    acao("CmdSair", 5850, 1000, 240, 240, Imagens::Fechar).comDica("Fechar").naOrdem(8),
    rotulo("Vek1", 990, 8250, 4500, 390).comTexto(NomeFabricante).com(Fabricante).comFrente(Branco).comMarcas(Centro | Mao),
    rotulo("Vek2", 1020, 8280, 4500, 390).comTexto(NomeFabricante).com(Fabricante).comFrente(Preto).comMarcas(Centro),
    acao("Image2", 5550, 8310, 510, 270, Imagens::Logo2),
    acao("Image1", 450, 8310, 510, 270, Imagens::Logo1),
    rotulo("copy", 630, 8670, 5865, 255).comTexto(Direitos).com({"Small Fonts", 6.75, true}).comFrente(0xFFC0C0C0),
    rotulo("Label1", 540, 7990, 1575, 225).comTexto("Legenda Prioridade").com({"Small Fonts", 6.75, true}).comFrente(Branco),
    rotulo("Cor1", 5190, 7980, 795, 195).comTexto("Nenhuma").com(Legenda).comFundo(0xFFFFFFFF).comMarcas(Cor),
    rotulo("Cor2", 4410, 7980, 795, 195).comTexto("Baixa").com(Legenda).comFundo(0xFFC0C0FF).comMarcas(Cor),
    rotulo("Cor3", 3630, 7980, 795, 195).comTexto("Média").com(Legenda).comFundo(0xFF80FF80).comMarcas(Cor),
    rotulo("Cor4", 2850, 7980, 795, 195).comTexto("Alta").com(Legenda).comFundo(0xFFFFFF80).comMarcas(Cor),
    rotulo("Cor5", 2070, 7980, 825, 195).comTexto("Urgente").com(Legenda).comFundo(0xFFFF8080).comMarcas(Cor),
    rotulo("LegPrior", 510, 7950, 5535, 255).com({"Small Fonts", 6.75, true}).comFundo(0xFF808080).comMarcas(Borda | Opaco),
    imagem("ImagemCheck", 1230, 1530, 270, 255).comFigura(Imagens::Check).comMarcas(Oculto),
    rotulo("lblGrupo", 540, 2010, 1575, 285).comTexto("Grupo de Fazela :").com({"Arial", 9, true}),
};
// clang-format on

} // namespace

Prancheta::Prancheta(const BancoDeDados& banco, Montagem montagem)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_banco(banco)
    , m_montagem(montagem)
    , m_sistema(new SistemaDeJanelas(this))
    , m_desdobramento(new Desdobramento(this))
{
    Acessibilidade::instalar();
    setObjectName(QStringLiteral("Prancheta"));
    setWindowTitle(QStringLiteral("Fazelas"));
    // Where nothing cuts the window to the clipboard's outline, the window is see-through around it.
    if (SistemaDeJanelas::semRecorte())
        setAttribute(Qt::WA_TranslucentBackground);
    m_densidade = screen()->devicePixelRatio();
    // The task bars' sizes; the large ones follow once the board is on the screen.
    setWindowIcon(Imagens::iconeDaJanela(32));

    m_construtor = std::make_unique<Construtor>(m_densidade);
    Construtor& construtor = *m_construtor;
    construtor.criar(std::span(&Desenho, 1), this);
    m_prancheta = construtor.controle<CaixaImagem>(QStringLiteral("PicPrancheta"));
    m_figura = m_prancheta->imagem();
    if (testAttribute(Qt::WA_TranslucentBackground))
        m_prancheta->definirImagem(Imagens::semChave(m_figura));
    construtor.criar(Tabela, m_prancheta);
    m_foco = construtor.controle<QWidget>(QStringLiteral("PicFocus"));
    m_marcaFeita = construtor.controle<Imagem>(QStringLiteral("ImagemCheck"));
    m_grade = new Grade(m_prancheta, construtor, m_banco, m_marcaFeita);
    m_grupos = new ListaGrupos(m_prancheta, construtor, m_banco);
    construtor.ordenarTeclado();

    // The board picture loses its border and takes its picture's size; the window ends where it
    // ends, cut to its outline in the pixels of the screen it is on, drawn anew on another screen.
    m_prancheta->resize(m_prancheta->imagem().deviceIndependentSize().toSize());
    const QRect quadro = m_prancheta->geometry();
    setFixedSize(quadro.right() + 1, quadro.bottom() + 1);
    winId();
    connect(windowHandle(), &QWindow::screenChanged, this, [this](QScreen* tela) {
        if (tela)
            ajustarDensidade(tela->devicePixelRatio());
    });
    aplicarContorno();

    connect(m_prancheta, &CaixaImagem::pressionada, this,
        [this](Qt::MouseButton botao, QPoint ponto) { m_sistema->arrastar(m_prancheta, botao, ponto); });
    m_prancheta->installEventFilter(this); // keeps the controls' presses from moving the window
    const auto aoClicar = [&construtor, this](const char* nome, auto acao) {
        connect(construtor.controle<Imagem>(QString::fromLatin1(nome)), &Imagem::clicado, this, acao);
    };
    aoClicar("CmdSair", [this] { esconder(); });
    aoClicar("Image1", [this] { abrirPaginaDoFabricante(); });
    aoClicar("Image2", [this] { abrirPaginaDoFabricante(); });
    connect(construtor.controle<Rotulo>(QStringLiteral("Vek1")), &Rotulo::clicado, this,
        &Prancheta::abrirPaginaDoFabricante);
    aoClicar("CmdNewGrupo", [this] { m_painelGrupo->abrir(); });
    aoClicar("CmdDelGrupo", [this] { excluirGrupo(); });
    aoClicar("CmdNewFazela", [this] { m_painelFazela->abrirNova(m_grupos->grupoAtual()); });

    connect(m_grupos, &ListaGrupos::grupoAtualMudou, this,
        [this](int64_t grupo) { protegido([&] { m_grade->carregar(grupo); }); });
    connect(m_grupos, &ListaGrupos::falhaNoBanco, this, &Prancheta::falhaNoBanco);
    // The arrow keys must not go on scrolling the grid.
    connect(m_grade, &Grade::rolada, m_foco, qOverload<>(&QWidget::setFocus));
    connect(m_grade, &Grade::fazelaAberta, this, [this](const Fazela& f) { m_painelFazela->abrirParaAlterar(f); });
    connect(m_grade, &Grade::falhaNoBanco, this, &Prancheta::falhaNoBanco);

    if (montagem == Montagem::Completa)
        montarPaineis();
}

Prancheta::~Prancheta() = default;

template <class Acao> void Prancheta::protegido(Acao&& acao)
{
    ::protegido(std::forward<Acao>(acao), [this](const QString& relatorio) { emit falhaNoBanco(relatorio); });
}

void Prancheta::iniciar()
{
    // The group list reads the remembered group; the grid shows it (a board built in two stages
    // reads only the rows on the screen now, and the rest of a large group in its second stage).
    m_grupos->iniciar();
    const int64_t atual = m_grupos->grupoAtual();
    if (atual == 0)
        m_grade->limpar();
    else if (m_montagem == Montagem::EmDuasEtapas)
        m_grade->carregarPrimeirasLinhas(atual);
    else
        m_grade->carregar(atual);
    m_foco->setFocus();
    if (m_montagem == Montagem::Completa)
        concluirMontagem();
}

void Prancheta::concluirMontagem()
{
    protegido([this] { m_grade->completar(); });
    if (!m_mensagem)
        montarPaineis();
    if (!m_bandeja) {
        setWindowIcon(Imagens::iconeDaJanela());
        m_bandeja = new Bandeja(this);
        connect(m_bandeja, &Bandeja::mostrarQuadro, this, &QWidget::showNormal);
        connect(m_bandeja, &Bandeja::manterQuadroAcima, this, [this] { m_sistema->manterAcima(true); });
        connect(m_bandeja, &Bandeja::encerrar, this, &Prancheta::encerrar);
        m_bandeja->incluir();
    }
}

void Prancheta::montarPaineis()
{
    Construtor& construtor = *m_construtor;
    m_painelGrupo = new PainelGrupo(this, construtor, m_banco, *m_desdobramento);
    m_mensagem = new PainelMensagem(this, construtor, *m_desdobramento);
    m_painelFazela = new PainelFazela(this, construtor, m_banco, *m_desdobramento, *m_mensagem);
    // The message lies over the task panel, which lies over the group panel.
    m_mensagem->raise();
    construtor.ordenarTeclado();
    m_construtor.reset();
    Acessibilidade::ligarRotulos(this);

    connect(m_painelGrupo, &PainelGrupo::grupoIncluido, this, [this] { protegido([this] { m_grupos->alimentar(); }); });
    connect(m_painelFazela, &PainelFazela::gravada, this,
        [this] { protegido([this] { m_grade->carregar(m_grupos->grupoAtual()); }); });
    connect(m_painelGrupo, &PainelGrupo::falhaAoGravar, this, &Prancheta::falhaAoGravar);
    connect(m_painelFazela, &PainelFazela::falhaAoGravar, this, &Prancheta::falhaAoGravar);
    // While a panel is open the board behind it is out of reach.
    for (QWidget* painel : { static_cast<QWidget*>(m_painelGrupo), static_cast<QWidget*>(m_painelFazela),
             static_cast<QWidget*>(m_mensagem) })
        painel->installEventFilter(this);
}

void Prancheta::excluirGrupo()
{
    const int64_t grupo = m_grupos->grupoAtual();
    if (grupo == 0 || !m_mensagem->confirmar(QStringLiteral("Confirma Exclusão do Grupo e suas Fazelas ?")))
        return;
    // A deletion that fails leaves the file and the board as they were.
    if (::protegido(
            [&] { m_banco.excluirGrupo(grupo); }, [this](const QString& relatorio) { emit falhaAoGravar(relatorio); }))
        protegido([this] { m_grupos->alimentar(); });
}

void Prancheta::esconder()
{
    m_sistema->manterAcima(false);
    // Without a notification area a hidden board could never come back: the task bar keeps it.
    // Where nothing keeps a minimized window either, the board stays where it is.
    if (m_bandeja && m_bandeja->presente())
        hide();
    else if (m_sistema->podeMinimizar())
        showMinimized();
}

void Prancheta::encerrar()
{
    if (m_bandeja)
        m_bandeja->excluir();
    QCoreApplication::exit(0);
}

void Prancheta::trazerDeVolta()
{
    // Hidden to the icon, minimized, on another desktop or under other windows: shown here and
    // raised, as the icon's double-click brings it back, but not kept above.
    if (!isVisible() || isMinimized())
        showNormal();
    m_sistema->trazerParaEstaAreaDeTrabalho();
    raise();
    activateWindow();
}

bool Prancheta::mantidaAcima() const { return m_sistema->mantidaAcima(); }

void Prancheta::abrirPaginaDoFabricante()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral(FAZELAS_ENDERECO_FABRICANTE)));
}

void Prancheta::closeEvent(QCloseEvent* e)
{
    // Closed by the window manager (Alt+F4, a task bar): with the icon there, the board hides as
    // its own close image does; without it nothing could bring the board back, so the program ends.
    e->ignore();
    if (m_bandeja && m_bandeja->presente())
        esconder();
    else
        encerrar();
}

bool Prancheta::eventFilter(QObject* alvo, QEvent* e)
{
    // Qt hands on to the board picture the presses its controls leave unused (a row, an image),
    // double-clicks too, and a double-click it treats as a press; the picture's own press is only
    // for the places no control covers.
    if (alvo == m_prancheta && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick))
        return m_prancheta->childAt(static_cast<QMouseEvent*>(e)->position().toPoint()) != nullptr;
    if (alvo != m_prancheta && (e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent)) {
        const bool livre = m_painelGrupo->isHidden() && m_painelFazela->isHidden() && m_mensagem->isHidden();
        if (!livre && m_prancheta->isEnabled()) {
            QWidget* f = focusWidget();
            m_focoAntesDoPainel = f && m_prancheta->isAncestorOf(f) ? f : m_foco;
        }
        m_prancheta->setEnabled(livre);
        // The keyboard goes back where it was when the panel opened (a mouse user's is PicFocus,
        // which shows nothing), not to a control of the hidden panel.
        if (livre && m_focoAntesDoPainel) {
            QWidget* volta = m_focoAntesDoPainel;
            m_focoAntesDoPainel = nullptr;
            (volta->isVisible() && (volta->focusPolicy() & Qt::TabFocus) ? volta : m_foco)->setFocus();
        }
    }
    return QWidget::eventFilter(alvo, e);
}

void Prancheta::aplicarContorno()
{
    // Placed on the device pixel the picture is painted from (desenharFigura).
    const qreal d = m_figura.devicePixelRatio();
    const QPointF origem = QPointF(m_prancheta->pos()) * d;
    const QRegion nativo = Imagens::contorno(m_figura).translated(qRound(origem.x()), qRound(origem.y()));
    if (nativo.isEmpty())
        return;
    // Qt's mask is in logical pixels, each rectangle scaled and rounded on its own: at a fractional
    // density rows would overlap or leave gaps. The window system takes the exact one where it can.
    if (m_sistema->recortar(nativo))
        return;
    setMask(
        m_densidade == 1 ? nativo : Imagens::contorno(Imagens::ler(Imagens::Prancheta)).translated(m_prancheta->pos()));
}

void Prancheta::ajustarDensidade(qreal densidade)
{
    if (densidade == m_densidade || densidade <= 0)
        return;
    m_densidade = densidade;
    QHash<const char*, QPixmap> figuras;
    for (Imagem* i : findChildren<Imagem*>()) {
        if (!i->recurso() || !i->temFigura())
            continue;
        auto it = figuras.find(i->recurso());
        if (it == figuras.end())
            it = figuras.insert(i->recurso(), Imagens::figura(i->recurso(), densidade, i->size()));
        i->definirFigura(*it);
    }
    const QCursor mao = Imagens::cursorDaMao(densidade);
    for (QWidget* w : findChildren<QWidget*>())
        if (w->testAttribute(Qt::WA_SetCursor) && w->cursor().shape() == Qt::BitmapCursor)
            w->setCursor(mao);
    m_figura = Imagens::ler(Imagens::Prancheta, densidade);
    m_prancheta->definirImagem(testAttribute(Qt::WA_TranslucentBackground) ? Imagens::semChave(m_figura) : m_figura);
    aplicarContorno();
    // A window moved to a screen of another density keeps its size in the old screen's pixels (and
    // the window manager its size limits): only part of the board would show, or the board in a corner.
    if (QWindow* janela = windowHandle())
        janela->resize(minimumSize());
}
