// The window's outline and pictures at the screen's density, dragging, stacking, web links, the
// icon's messages and the single instance.
#include "assets/Imagens.h"
#include "data/Modulo.h"
#include "shell/Bandeja.h"
#include "shell/FormMenu.h"
#include "shell/Plataforma.h"
#include "shell/Prancheta.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QIcon>
#include <QMenu>
#include <QMouseEvent>
#include <QUrl>
#include <QWindow>

QRegion Prancheta::CriarRegiao(const QImage& figura)
{
    const QImage img = figura.convertToFormat(QImage::Format_RGB32);
    const int largura = img.width();
    const QRgb transparente = img.pixel(0, 0);
    QRegion regiao;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* linha = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        int inicio = -1;
        for (int x = 0; x < largura; ++x) {
            const bool fora = linha[x] == transparente;
            if (fora && inicio >= 0) {
                regiao += QRect(inicio, y, x - inicio, 1);
                inicio = -1;
            } else if (!fora && inicio < 0) {
                inicio = x;
            }
        }
        if (inicio >= 0)
            regiao += QRect(inicio, y, largura - inicio, 1);
    }
    return regiao;
}

QImage Prancheta::SemChave(const QImage& figura)
{
    QImage saida = figura.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < saida.height(); ++y) {
        auto* linha = reinterpret_cast<QRgb*>(saida.scanLine(y));
        for (int x = 0; x < saida.width(); ++x)
            if (linha[x] == Imagens::Chave)
                linha[x] = 0;
    }
    return saida.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QCursor Prancheta::CursorDaMao(qreal densidade)
{
    // The X server takes the cursor's picture and hotspot in its own pixels.
    return QCursor(Imagens::Figura(Imagens::Mao, densidade), qRound(Imagens::MaoHotX * densidade),
                   qRound(Imagens::MaoHotY * densidade));
}

QIcon Prancheta::IconeDaJanela(int ate)
{
    // Drawn at build time at every size the icon's places ask for, in their own pixels: one of them
    // fits at any density, with nothing to draw at start-up.
    QIcon icone;
    for (const Imagens::Icone& figura : Imagens::Icones)
        if (figura.lado <= ate)
            icone.addPixmap(Imagens::Figura(figura.recurso));
    return icone;
}

QRegion Prancheta::ContornoNativo() const
{
    const qreal d = m_figura.devicePixelRatio();
    const QPointF origem = QPointF(OrigemDaPrancheta()) * d;
    // Placed on the device pixel the picture is painted from (DesenharFigura).
    return CriarRegiao(m_figura).translated(qRound(origem.x()), qRound(origem.y()));
}

void Prancheta::AplicarContorno()
{
    const QRegion nativo = ContornoNativo();
    if (nativo.isEmpty())
        return;
    // Qt's mask is in logical pixels, each rectangle scaled and rounded on its own: at a fractional
    // density rows would overlap or leave gaps. The window system takes the exact one where it can.
    if (Plataforma::RecortarJanela(windowHandle(), nativo))
        return;
    const QRegion logico = m_densidade == 1 ? nativo : CriarRegiao(Imagens::Ler(Imagens::Prancheta)).translated(OrigemDaPrancheta());
    setMask(logico);
}

void Prancheta::AjustarDensidade(qreal densidade)
{
    if (densidade == m_densidade || densidade <= 0)
        return;
    m_densidade = densidade;
    QHash<const char*, QPixmap> figuras;
    for (Imagem* i : findChildren<Imagem*>()) {
        if (!i->Recurso() || !i->TemPicture())
            continue;
        auto it = figuras.find(i->Recurso());
        if (it == figuras.end())
            it = figuras.insert(i->Recurso(), Imagens::Figura(i->Recurso(), densidade, i->size()));
        i->DefinirPicture(*it);
    }
    const QCursor mao = CursorDaMao(densidade);
    for (QWidget* w : findChildren<QWidget*>())
        if (w->testAttribute(Qt::WA_SetCursor) && w->cursor().shape() == Qt::BitmapCursor)
            w->setCursor(mao);
    m_figura = Imagens::Ler(Imagens::Prancheta, densidade);
    PicPrancheta->DefinirImagem(testAttribute(Qt::WA_TranslucentBackground) ? SemChave(m_figura) : m_figura);
    AplicarContorno();
    // A window moved to a screen of another density keeps its size in the old screen's pixels (and the
    // window manager its size limits): only part of the board would show, or the board in a corner.
    if (QWindow* janela = windowHandle())
        janela->resize(minimumSize());
}

bool Prancheta::eventFilter(QObject* alvo, QEvent* e)
{
    if (alvo == PicPrancheta && m_botaoDoArrasto != Qt::NoButton
        && (e->type() == QEvent::MouseMove || e->type() == QEvent::MouseButtonRelease)) {
        const auto* m = static_cast<QMouseEvent*>(e);
        if (!(m->buttons() & m_botaoDoArrasto)) {
            // A move handed over whose release still reaches the board was never taken up.
            if (!m_pegada)
                Plataforma::DesistirDoMovimento(windowHandle());
            m_botaoDoArrasto = Qt::NoButton;
        } else if (m_pegada) {
            // The window's own place, not its frame's: after a window manager died, Qt keeps the
            // frame it had and would put the board that far off.
            windowHandle()->setPosition(m->globalPosition().toPoint() - *m_pegada);
        }
    }
    if (alvo == PicPrancheta && e->type() == QEvent::MouseButtonPress)
        m_botaoDoArrasto = Qt::NoButton;
    // Qt hands on to the board picture the presses its controls leave unused (a row, an image),
    // double-clicks too (a mark ticked and unticked at once), and a double-click it treats as a
    // press; the picture's own mouse-down is only for the places no control covers.
    if (alvo == PicPrancheta && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick))
        return PicPrancheta->childAt(static_cast<QMouseEvent*>(e)->position().toPoint()) != nullptr;
    return QWidget::eventFilter(alvo, e);
}

void Prancheta::PicPrancheta_MouseDown(Qt::MouseButton botao, QPoint ponto)
{
    // The window manager moves the window with the pointer until the button is released; where it
    // would not end the move on that button's release, or none moves windows, the board follows
    // the pointer itself.
    m_botaoDoArrasto = botao;
    m_pegada.reset();
    switch (Plataforma::MoverComOPonteiro(windowHandle(), botao, PicPrancheta->mapTo(this, ponto))) {
    case Plataforma::Arrasto::PelaJanela:
        m_pegada = PicPrancheta->mapTo(this, ponto);
        break;
    case Plataforma::Arrasto::Nenhum:
        m_botaoDoArrasto = Qt::NoButton;
        break;
    case Plataforma::Arrasto::PeloGerenciador:
        break;
    }
}

void Prancheta::ManterNoTopo(bool ligar)
{
    NoTopo = ligar;
    Plataforma::ManterAcima(windowHandle(), ligar);
}

void Prancheta::Vek1_Click() { QDesktopServices::openUrl(QUrl(QStringLiteral(FAZELAS_ENDERECO_FABRICANTE))); }
void Prancheta::Image1_Click() { Vek1_Click(); }
void Prancheta::Image2_Click() { Vek1_Click(); }

void Prancheta::TrazerDeVolta()
{
    // Hidden to the icon, minimized, on another desktop or under other windows: shown here and
    // raised, as the icon's double-click brings it back, but not kept above.
    if (!isVisible() || isMinimized())
        showNormal();
    Plataforma::TrazerParaEstaAreaDeTrabalho(windowHandle());
    raise();
    activateWindow();
}

QMenu* Prancheta::MenuDaBandeja()
{
    if (!FormularioMenu) {
        FormularioMenu = new FormMenu(this);
        connect(FormularioMenu->Encerrar, &QAction::triggered, this, [this] { Encerrar_Click(); });
    }
    return FormularioMenu->mnu0;
}

void Prancheta::Picture1_MouseMove(int mensagem)
{
    switch (mensagem) {
    case WM_LBUTTONDBLCLK:
        // A board minimized through the task bar is brought back as a hidden one is.
        if (isVisible() && !isMinimized())
            ManterNoTopo(true);
        else
            showNormal();
        break;
    case WM_RBUTTONUP:
        MenuDaBandeja()->popup(QCursor::pos());
        break;
    default:
        break;
    }
}

void Prancheta::closeEvent(QCloseEvent* e)
{
    // Closed by the window manager (Alt+F4, a task bar): with the icon there, the board hides as
    // its own close image does; without it nothing could bring the board back, so the program ends.
    e->ignore();
    if (BandejaPresente())
        CmdSair_Click();
    else
        Encerrar_Click();
}
