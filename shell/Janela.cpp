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
#include <QLockFile>
#include <QMenu>
#include <QMouseEvent>
#include <QUrl>
#include <QWindow>
#include <cstring>

namespace {

// The runs of each row whose pixels differ from the top-left one, compared as stored, `Bytes` each.
template <int Bytes>
QRegion Trechos(const QImage& img)
{
    const int largura = img.width();
    const uchar* transparente = img.constScanLine(0);
    QRegion regiao;
    for (int y = 0; y < img.height(); ++y) {
        const uchar* linha = img.constScanLine(y);
        int inicio = -1;
        for (int x = 0; x < largura; ++x) {
            const bool fora = std::memcmp(linha + x * Bytes, transparente, Bytes) == 0;
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

} // namespace

QRegion Prancheta::CriarRegiao(const QImage& figura)
{
    // The embedded board picture is 24-bit: read as it is, not through a converted copy, which would
    // be a second picture in memory for a moment.
    if (figura.format() == QImage::Format_RGB888)
        return Trechos<3>(figura);
    return Trechos<4>(figura.convertToFormat(QImage::Format_RGB32));
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

QIcon Prancheta::IconeDaJanela(qreal densidade)
{
    QIcon icone(Imagens::Figura(Imagens::Icone));
    // The icon's places ask for these sizes (task bars, notification areas, the window manager).
    if (densidade != 1)
        for (int lado : {16, 22, 24, 32, 48, 64})
            icone.addPixmap(Imagens::Figura(Imagens::Icone, densidade, QSize(lado, lado)));
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
    setWindowIcon(IconeDaJanela(densidade));
    m_figura = Imagens::Ler(Imagens::Prancheta, densidade);
    PicPrancheta->DefinirImagem(testAttribute(Qt::WA_TranslucentBackground) ? SemChave(m_figura) : m_figura);
    AplicarContorno();
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
            move(m->globalPosition().toPoint() - *m_pegada);
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
    // The window manager moves the window with the pointer until the button is released, with
    // whichever button was pressed; where none does, the board follows the pointer itself.
    m_botaoDoArrasto = botao;
    m_pegada.reset();
    if (!Plataforma::MoverComOPonteiro(windowHandle(), botao, PicPrancheta->mapTo(this, ponto)))
        m_pegada = PicPrancheta->mapToGlobal(ponto) - pos();
}

void Prancheta::ManterNoTopo(bool ligar)
{
    NoTopo = ligar;
    Plataforma::ManterAcima(windowHandle(), ligar);
}

void Prancheta::Vek1_Click() { QDesktopServices::openUrl(QUrl(QStringLiteral(FAZELAS_ENDERECO_FABRICANTE))); }
void Prancheta::Image1_Click() { Vek1_Click(); }
void Prancheta::Image2_Click() { Vek1_Click(); }

bool Prancheta::AdquirirInstancia()
{
    m_instancia = std::make_unique<QLockFile>(Plataforma::ArquivoDaTrava(Modulo::PastaDoPrograma));
    // Only a lock whose owner has died is stale (QLockFile checks the process); age alone must
    // never hand over the lock of a copy that runs.
    m_instancia->setStaleLockTime(0);
    if (m_instancia->tryLock(0))
        return true;
    // A runtime folder we cannot write must not keep the board from starting: only another copy does.
    return m_instancia->error() != QLockFile::LockFailedError;
}

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
