#include "grid/Grade.h"

#include "assets/Imagens.h"
#include "grid/AcessoGrade.h"
#include "shell/Controles.h"
#include "shell/Inventario.h"

#include <QKeyEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <algorithm>
#include <string>
#include <vector>

using namespace Inventario;

namespace {

// The grid's place on the board picture: from the first mark's left and the first row's top to the
// labels' right edge and the last row's bottom.
constexpr Controle Desenho = rotulo("Grade", 510, 2370, 6095 - 510, 7905 - 2370);

// The rows, 240 twips apart, under the scroll bar; row 22 lies on top, each mark above its label.
// In the keyboard order the rows come between the group list and the scroll bar.
std::vector<Controle> tabela()
{
    static const std::vector<std::string> nomes = [] {
        std::vector<std::string> n;
        for (int i = 0; i < Grade::Linhas; ++i) {
            n.push_back("ImgLinha(" + std::to_string(i) + ")");
            n.push_back("Linha(" + std::to_string(i) + ")");
        }
        return n;
    }();
    std::vector<Controle> linhas { Controle { "VscGrade", Tipo::Rolagem, 5820, 2370, 255, 5535 }.naOrdem(4) };
    for (int i = Grade::Linhas - 1; i >= 0; --i) {
        const int topo = 2370 + 240 * i;
        linhas.push_back(imagem(nomes[2 * i].c_str(), 510, topo, 270, 255).comFigura(Imagens::Check).comMarcas(Borda));
        linhas.push_back(
            rotulo(nomes[2 * i + 1].c_str(), 810, topo, 5285, 255).com({ "Arial", 8.25 }).comMarcas(Borda).naOrdem(3));
    }
    return linhas;
}

// The rows' colours by priority, as the legend shows them; priority 0, or one another program
// stored outside 1 to 5, leaves the row transparent.
QColor corDaPrioridade(int prioridade)
{
    static const QColor cores[] = { QColor(), QColor(255, 255, 255), QColor(192, 192, 255), QColor(128, 255, 128),
        QColor(255, 255, 128), QColor(255, 128, 128) };
    return prioridade >= 1 && prioridade <= 5 ? cores[prioridade] : QColor();
}

// Every reload clears the rows and paints them again; setting a palette, frame or font to what it
// already is still costs Qt a pass over the widget, so only real changes reach the widgets.
bool temCor(const QWidget* w, QPalette::ColorRole papel, QColor cor)
{
    const QPalette& p = w->palette();
    return p.color(QPalette::Active, papel) == cor && p.color(QPalette::Inactive, papel) == cor
        && p.color(QPalette::Disabled, papel) == cor;
}

void borda(Rotulo* linha, bool simples)
{
    if (linha->temBorda() != simples)
        linha->definirBorda(simples);
}

void borda(Imagem* marca, bool simples)
{
    if (marca->temBorda() != simples)
        marca->definirBorda(simples);
}

void destaque(Rotulo* linha, Qt::Alignment alinhamento, bool destacado)
{
    linha->setAlignment(alinhamento);
    if (linha->font().italic() != destacado || linha->font().bold() != destacado) {
        QFont f = linha->font();
        f.setItalic(destacado);
        f.setBold(destacado);
        linha->setFont(f);
    }
}

} // namespace

Grade::Grade(QWidget* prancheta, Construtor& construtor, const BancoDeDados& banco, const Imagem* marcaFeita)
    : QWidget(prancheta)
    , m_banco(banco)
    , m_marcaFeita(marcaFeita)
{
    const QRect lugar = Desenho.geometria();
    setGeometry(lugar);
    const std::vector<Controle> linhas = tabela();
    construtor.criar(linhas, this, lugar.topLeft());
    QRegion controles;
    for (int i = 0; i < Linhas; ++i) {
        m_marcas[i] = construtor.controle<Imagem>(QStringLiteral("ImgLinha(%1)").arg(i));
        m_linhas[i] = construtor.controle<Rotulo>(QStringLiteral("Linha(%1)").arg(i));
        controles += m_marcas[i]->geometry();
        controles += m_linhas[i]->geometry();
        connect(m_marcas[i], &Imagem::clicado, this, [this, i] { alternarMarca(i); });
        connect(m_linhas[i], &Rotulo::duploClique, this, [this, i] { abrirFazela(i); });
        m_linhas[i]->installEventFilter(this);
    }
    setAccessibleName(QStringLiteral("Fazelas"));
    m_rolagem = construtor.controle<QScrollBar>(QStringLiteral("VscGrade"));
    m_rolagem->setAccessibleName(QStringLiteral("Rolar as fazelas"));
    controles += m_rolagem->geometry();
    // Between the controls lies the bare board picture, which a press moves the window by.
    setMask(controles);
    // The rows follow each move, and the thumb while it is dragged.
    m_rolagem->setTracking(false);
    connect(m_rolagem, &QScrollBar::valueChanged, this, &Grade::repintarDaRolagem);
    connect(m_rolagem, &QScrollBar::sliderMoved, this, &Grade::repintarDaRolagem);
    ajustarParadaDoTeclado();
}

void Grade::limpar()
{
    m_rolagem->setVisible(false);
    {
        // The rows are painted from the first task on, so the position goes back there with them;
        // a position left beyond the new range would move it, and repaint the rows, mid-load.
        const QSignalBlocker calado(m_rolagem);
        m_rolagem->setRange(0, 0);
    }
    destaque(m_linhas[LinhaDaMensagem], Qt::AlignLeft | Qt::AlignTop, false);
    m_proximaLinha = 0;
    m_cheia = false;
    m_incompleta = false;
    m_grupo = 0;
    m_itens.limpar();
    const QColor texto = palette().color(QPalette::Active, QPalette::WindowText);
    for (int i = 0; i < Linhas; ++i) {
        Rotulo* linha = m_linhas[i];
        const bool feita = m_marcas[i]->temFigura();
        if (!linha->text().isEmpty())
            AcessoGrade::anunciar(linha, m_marcas[i], feita ? AcessoGrade::Tudo : AcessoGrade::Texto);
        if (feita)
            m_marcas[i]->definirFigura({});
        borda(m_marcas[i], false);
        linha->setText(QString());
        borda(linha, false);
        linha->definirOpaco(false);
        if (!temCor(linha, QPalette::WindowText, texto))
            linha->definirCorTexto(texto);
        linha->setToolTip(QString());
    }
    ajustarParadaDoTeclado();
}

void Grade::carregar(int64_t grupo) { carregar(grupo, false); }

void Grade::carregarPrimeirasLinhas(int64_t grupo) { carregar(grupo, true); }

void Grade::completar()
{
    if (m_incompleta)
        carregar(m_grupo, false);
    else
        ajustarParadaDoTeclado();
}

// The group's rows in the file's order. With soAsVisiveis only the rows on the screen are read, by
// stepping the statement no further: the engine sorts a group block by block of priority, so the
// first rows come before the whole group is sorted, in the order the whole load gives them. The
// scroll bar then takes its range from a count made in the same read.
void Grade::carregar(int64_t grupo, bool soAsVisiveis)
{
    limpar();
    if (grupo <= 0)
        return;
    m_grupo = grupo;
    int64_t total = -1;
    {
        // The scroll bar takes its range once, after the load, and is drawn once.
        m_rolagem->setUpdatesEnabled(false);
        const auto redesenhar = qScopeGuard([this] { m_rolagem->setUpdatesEnabled(true); });
        try {
            m_banco.lerFazelas(
                grupo,
                [&](const LinhaDeFazela& linha) {
                    incluir(linha);
                    return !(soAsVisiveis && m_cheia);
                },
                soAsVisiveis ? &total : nullptr);
        } catch (const FalhaBanco&) {
            // A read that fails midway shows none of the group, as one that fails at once.
            limpar();
            throw;
        }
        // Never fewer rows than were read, whatever the count said.
        const qsizetype linhas = std::max<qsizetype>(total, m_itens.tamanho());
        m_incompleta = soAsVisiveis && linhas > m_itens.tamanho();
        ajustarRolagem(linhas);
    }
    if (m_itens.tamanho() == 0) {
        Rotulo* mensagem = m_linhas[LinhaDaMensagem];
        destaque(mensagem, Qt::AlignHCenter | Qt::AlignTop, true);
        mensagem->setText(QString::fromLatin1(SemFazelas));
        AcessoGrade::anunciar(mensagem, m_marcas[LinhaDaMensagem], AcessoGrade::Texto);
    }
    // A label the keyboard can stop on lays its text out as a document, which loads the fonts
    // before the board is on the screen: the rows on the screen first leave the stop to completar().
    if (!soAsVisiveis)
        ajustarParadaDoTeclado();
}

// Appends a task: painted on the next row while there are rows left, only stored after that.
void Grade::incluir(const LinhaDeFazela& linha)
{
    m_itens.incluir(linha);
    if (!m_cheia) {
        borda(m_linhas[m_proximaLinha], true);
        borda(m_marcas[m_proximaLinha], true);
        pintarLinha(m_proximaLinha, m_itens[m_itens.tamanho() - 1]);
        if (++m_proximaLinha == Linhas) {
            m_cheia = true;
            m_proximaLinha = Linhas - 1;
        }
    }
}

// The scroll bar's range for a group of `linhas` tasks. setMaximum alone would move the minimum
// below 0 for a short group, and the rows would then act on entries above the first.
void Grade::ajustarRolagem(qsizetype linhas)
{
    if (linhas > Linhas) {
        m_rolagem->setVisible(true);
        m_rolagem->setRange(0, int(linhas - Linhas));
    }
}

// A row shows one task: its name after two blanks, its description as tooltip, its priority's
// colour (or none) and its done mark.
void Grade::pintarLinha(int linha, const ItemGrade& item)
{
    Rotulo* rotulo = m_linhas[linha];
    // What a screen reader holds of the row follows what it shows.
    unsigned mudancas = 0;
    const QString texto = QStringLiteral("  ") + item.nome.texto();
    if (texto != rotulo->text()) {
        rotulo->setText(texto);
        mudancas |= AcessoGrade::Texto;
    }
    const QString descricao = item.descricao.texto();
    if (descricao != rotulo->toolTip()) {
        rotulo->setToolTip(descricao);
        mudancas |= AcessoGrade::Texto;
    }
    const QColor cor = corDaPrioridade(item.prioridade);
    const bool outraCor = cor.isValid() && !temCor(rotulo, QPalette::Window, cor);
    if (cor.isValid() != rotulo->opaco() || outraCor)
        mudancas |= AcessoGrade::Texto;
    rotulo->definirOpaco(cor.isValid());
    if (outraCor)
        rotulo->definirCorFundo(cor);
    Imagem* marca = m_marcas[linha];
    if (item.executada != marca->temFigura()) {
        marca->definirFigura(item.executada ? m_marcaFeita->figura() : QPixmap());
        mudancas |= AcessoGrade::Marca;
    }
    if (mudancas)
        AcessoGrade::anunciar(rotulo, marca, mudancas);
}

void Grade::repintarDaRolagem()
{
    pintarVisiveis();
    emit rolada();
}

void Grade::pintarVisiveis()
{
    // While the thumb is dragged the position is the thumb's; afterwards both are the same.
    const int p = m_rolagem->sliderPosition();
    for (int i = 0; i < Linhas && p + i < m_itens.tamanho(); ++i)
        pintarLinha(i, m_itens[p + i]);
}

int Grade::linhaDe(const QObject* controle) const
{
    for (int i = 0; i < Linhas; ++i)
        if (m_linhas[i] == controle || m_marcas[i] == controle)
            return i;
    return -1;
}

void Grade::ajustarParadaDoTeclado()
{
    int ultima = Linhas - 1;
    while (ultima >= 0 && !posicaoDaLinha(ultima))
        --ultima;
    m_linhaDoTeclado = std::clamp(m_linhaDoTeclado, 0, std::max(ultima, 0));
    for (int i = 0; i < Linhas; ++i) {
        const Qt::FocusPolicy politica = i == m_linhaDoTeclado && ultima >= 0 ? Qt::TabFocus : Qt::NoFocus;
        if (m_linhas[i]->focusPolicy() != politica)
            m_linhas[i]->setFocusPolicy(politica);
    }
}

bool Grade::eventFilter(QObject* alvo, QEvent* e)
{
    const int linha = linhaDe(alvo);
    if (linha >= 0 && e->type() == QEvent::FocusIn) {
        m_linhaDoTeclado = linha;
        ajustarParadaDoTeclado();
    } else if (linha >= 0 && e->type() == QEvent::KeyPress && teclaNaLinha(linha, static_cast<QKeyEvent*>(e))) {
        return true;
    }
    return QWidget::eventFilter(alvo, e);
}

bool Grade::teclaNaLinha(int linha, const QKeyEvent* e)
{
    if (e->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (e->key()) {
    case Qt::Key_Space:
        if (!e->isAutoRepeat())
            alternarMarca(linha);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!e->isAutoRepeat())
            abrirFazela(linha);
        return true;
    case Qt::Key_Up:
        irParaLinha(linha - 1);
        return true;
    case Qt::Key_Down:
        irParaLinha(linha + 1);
        return true;
    default:
        return false;
    }
}

// Beyond the first or last row the rows scroll by one task and the focus stays where it is: the
// scroll bar's own moves hand the focus away (rolada), these do not.
void Grade::irParaLinha(int linha)
{
    const int posicao = m_rolagem->value() + (linha < 0 ? -1 : 1);
    if (linha < 0 || linha >= Linhas) {
        if (posicao < m_rolagem->minimum() || posicao > m_rolagem->maximum())
            return;
        {
            const QSignalBlocker calado(m_rolagem);
            m_rolagem->setValue(posicao);
        }
        pintarVisiveis();
    } else if (posicaoDaLinha(linha)) {
        m_linhaDoTeclado = linha;
        ajustarParadaDoTeclado();
        m_linhas[linha]->setFocus(Qt::TabFocusReason);
    }
}

// Where in the buffer the task a row shows lies; none for a row without a task.
std::optional<qsizetype> Grade::posicaoDaLinha(int linha) const
{
    // A screen reader may ask while the grid is still being made.
    if (linha < 0 || linha >= Linhas || !m_rolagem)
        return std::nullopt;
    const QString texto = m_linhas[linha]->text();
    if (texto.isEmpty() || texto == QLatin1String(SemFazelas))
        return std::nullopt;
    const qsizetype posicao = linha + m_rolagem->value();
    return posicao < m_itens.tamanho() ? std::optional(posicao) : std::nullopt;
}

std::optional<Fazela> Grade::fazelaDaLinha(int linha) const
{
    const std::optional<qsizetype> posicao = posicaoDaLinha(linha);
    if (!posicao)
        return std::nullopt;
    const ItemGrade& item = m_itens[*posicao];
    return Fazela { item.codigo, item.nome.texto(), item.descricao.texto(), item.prioridade, item.executada };
}

void Grade::alternarMarca(int linha)
{
    const std::optional<qsizetype> posicao = posicaoDaLinha(linha);
    if (!posicao)
        return;
    ItemGrade* item = &m_itens[*posicao];
    // The mark on the screen decides; the buffer and the file follow it.
    Imagem* marca = m_marcas[linha];
    item->executada = !marca->temFigura();
    marca->definirFigura(item->executada ? m_marcaFeita->figura() : QPixmap());
    AcessoGrade::anunciar(m_linhas[linha], marca, AcessoGrade::Marca);
    protegido([&] { m_banco.marcarFazela(item->codigo, item->executada); },
        [this](const QString& relatorio) { emit falhaNoBanco(relatorio); });
    emit marcaAlternada(linha);
}

void Grade::abrirFazela(int linha)
{
    if (const std::optional<Fazela> fazela = fazelaDaLinha(linha))
        emit fazelaAberta(*fazela);
}
