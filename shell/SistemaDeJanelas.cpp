#include "shell/SistemaDeJanelas.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QRegion>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atomo(xcb_connection_t* x, const char* nome)
{
    const xcb_intern_atom_cookie_t pedido = xcb_intern_atom(x, 0, uint16_t(qstrlen(nome)), nome);
    xcb_intern_atom_reply_t* resposta = xcb_intern_atom_reply(x, pedido, nullptr);
    const xcb_atom_t atomo = resposta ? resposta->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(resposta);
    return atomo;
}

xcb_connection_t* conexaoX11()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t raiz(xcb_connection_t* x) { return xcb_setup_roots_iterator(xcb_get_setup(x)).data->root; }

// Sends the window manager an EWMH request about `janela`.
void pedir(xcb_connection_t* x, QWindow* janela, const char* tipo, std::initializer_list<uint32_t> dados)
{
    xcb_client_message_event_t pedido {};
    pedido.response_type = XCB_CLIENT_MESSAGE;
    pedido.format = 32;
    pedido.window = xcb_window_t(janela->winId());
    pedido.type = atomo(x, tipo);
    std::copy(dados.begin(), dados.end(), pedido.data.data32);
    xcb_send_event(x, 0, raiz(x), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&pedido));
    xcb_flush(x);
}

// The 32-bit items of a window's property; none where the window or the property is missing.
std::vector<uint32_t> propriedade(xcb_connection_t* x, xcb_window_t janela, const char* nome, xcb_atom_t tipo)
{
    xcb_generic_error_t* erro = nullptr; // taken here, so that a vanished window is not reported
    xcb_get_property_reply_t* resposta
        = xcb_get_property_reply(x, xcb_get_property(x, 0, janela, atomo(x, nome), tipo, 0, 4096), &erro);
    std::vector<uint32_t> itens;
    if (resposta && resposta->format == 32) {
        const auto* valor = static_cast<const uint32_t*>(xcb_get_property_value(resposta));
        itens.assign(valor, valor + xcb_get_property_value_length(resposta) / 4);
    }
    std::free(resposta);
    std::free(erro);
    return itens;
}

// Whether a running window manager announces the request: _NET_SUPPORTED outlives a window
// manager that died, its check window does not.
bool anunciado(xcb_connection_t* x, const char* pedido)
{
    const auto verificacao = propriedade(x, raiz(x), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
    if (verificacao.empty()
        || propriedade(x, verificacao[0], "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW) != verificacao)
        return false;
    const auto anunciados = propriedade(x, raiz(x), "_NET_SUPPORTED", XCB_ATOM_ATOM);
    return std::find(anunciados.begin(), anunciados.end(), atomo(x, pedido)) != anunciados.end();
}

} // namespace

void SistemaDeJanelas::preferirX11()
{
    // A Wayland client can neither cut its window to a shape nor place itself, so the board goes
    // through XWayland where the session has it; plain Wayland remains the fallback.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

bool SistemaDeJanelas::semRecorte() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

SistemaDeJanelas::SistemaDeJanelas(QWidget* janela)
    : QObject(janela)
    , m_janela(janela)
{
}

void SistemaDeJanelas::manterAcima(bool ligar)
{
    m_acima = ligar;
    // Not Qt::WindowStaysOnTopHint: changing a widget's flags re-creates its window, which hides
    // the board for a moment. The EWMH request changes the state of the window as it stands.
    if (xcb_connection_t* x = conexaoX11(); x && m_janela->windowHandle()) {
        pedir(x, m_janela->windowHandle(), "_NET_WM_STATE",
            { ligar ? 1u : 0u, // _NET_WM_STATE_ADD or _NET_WM_STATE_REMOVE
                atomo(x, "_NET_WM_STATE_ABOVE"), 0, 1 }); // asked by an ordinary application
    }
}

void SistemaDeJanelas::trazerParaEstaAreaDeTrabalho()
{
    xcb_connection_t* x = conexaoX11();
    if (!x || !m_janela->windowHandle())
        return;
    const auto atual = propriedade(x, raiz(x), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL);
    if (!atual.empty())
        pedir(x, m_janela->windowHandle(), "_NET_WM_DESKTOP", { atual[0], 1 }); // asked by an ordinary application
}

bool SistemaDeJanelas::recortar(const QRegion& regiao)
{
    xcb_connection_t* x = conexaoX11();
    if (!x || !m_janela->windowHandle())
        return false;
    const xcb_query_extension_reply_t* shape = xcb_get_extension_data(x, &xcb_shape_id);
    if (!shape || !shape->present)
        return false;
    std::vector<xcb_rectangle_t> retangulos;
    retangulos.reserve(size_t(regiao.rectCount()));
    for (const QRect& r : regiao)
        retangulos.push_back({ int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height()) });
    xcb_shape_rectangles(x, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED,
        xcb_window_t(m_janela->winId()), 0, 0, uint32_t(retangulos.size()), retangulos.data());
    xcb_flush(x);
    return true;
}

bool SistemaDeJanelas::podeMinimizar() const
{
    if (semRecorte())
        return false;
    xcb_connection_t* x = conexaoX11();
    return !x || anunciado(x, "_NET_WM_STATE_HIDDEN");
}

void SistemaDeJanelas::arrastar(QWidget* superficie, Qt::MouseButton botao, QPoint ponto)
{
    superficie->removeEventFilter(this);
    superficie->installEventFilter(this);
    m_botao = botao;
    m_pegada.reset();
    const QPoint naJanela = superficie->mapTo(m_janela, ponto);
    switch (entregarAoGerenciador(botao, naJanela)) {
    case Arrasto::PelaJanela:
        m_pegada = naJanela;
        break;
    case Arrasto::Nenhum:
        m_botao = Qt::NoButton;
        break;
    case Arrasto::PeloGerenciador:
        break;
    }
}

bool SistemaDeJanelas::eventFilter(QObject* alvo, QEvent* e)
{
    if (m_botao != Qt::NoButton && (e->type() == QEvent::MouseMove || e->type() == QEvent::MouseButtonRelease)) {
        const auto* m = static_cast<QMouseEvent*>(e);
        if (!(m->buttons() & m_botao)) {
            // A move handed over whose release still reaches the window was never taken up.
            if (!m_pegada)
                desistirDoMovimento();
            m_botao = Qt::NoButton;
        } else if (m_pegada) {
            // The window's own place, not its frame's: after a window manager died, Qt keeps the
            // frame it had and would put the board that far off.
            m_janela->windowHandle()->setPosition(m->globalPosition().toPoint() - *m_pegada);
        }
    } else if (e->type() == QEvent::MouseButtonPress) {
        m_botao = Qt::NoButton;
    }
    return QObject::eventFilter(alvo, e);
}

SistemaDeJanelas::Arrasto SistemaDeJanelas::entregarAoGerenciador(Qt::MouseButton botao, QPoint ponto)
{
    QWindow* janela = m_janela->windowHandle();
    if (!janela)
        return Arrasto::Nenhum;
    // mutter ends a move on the release of button 1 or 2 only, whatever button the request names: a
    // move begun with another would go on after its release, so none is handed over.
    const uint32_t numero = botao == Qt::LeftButton ? 1 : botao == Qt::MiddleButton ? 2 : 0;
    xcb_connection_t* x = conexaoX11();
    // Wayland: the compositor knows the press by its serial. A window cannot place itself there, so
    // a drag with another button leaves the board where it is.
    if (!x)
        return numero != 0 && janela->startSystemMove() ? Arrasto::PeloGerenciador : Arrasto::Nenhum;
    // Not QWindow::startSystemMove(): it names the left button whatever is held, and openbox then
    // keeps moving after a middle button's release, until the next left click.
    if (numero == 0 || !anunciado(x, "_NET_WM_MOVERESIZE"))
        return Arrasto::PelaJanela;
    // A quick click can be over by now, and a window manager would wait for its release.
    xcb_query_pointer_reply_t* ponteiro = xcb_query_pointer_reply(x, xcb_query_pointer(x, raiz(x)), nullptr);
    const bool preso = ponteiro && (ponteiro->mask & (XCB_BUTTON_MASK_1 << (numero - 1)));
    std::free(ponteiro);
    // The press on the screen, in its own pixels whatever Qt's scaling: the window manager keeps
    // that point of the window under the pointer, which may have moved on since.
    const QPoint nativo = (QPointF(ponto) * janela->devicePixelRatio()).toPoint();
    xcb_translate_coordinates_reply_t* tela = xcb_translate_coordinates_reply(x,
        xcb_translate_coordinates(x, xcb_window_t(janela->winId()), raiz(x), int16_t(nativo.x()), int16_t(nativo.y())),
        nullptr);
    const uint32_t tx = tela ? uint32_t(tela->dst_x) : 0, ty = tela ? uint32_t(tela->dst_y) : 0;
    const bool achado = tela != nullptr;
    std::free(tela);
    if (!preso || !achado)
        return Arrasto::PelaJanela;
    // The press's own grab would keep the window manager from taking the pointer.
    xcb_ungrab_pointer(x, XCB_CURRENT_TIME);
    pedir(x, janela, "_NET_WM_MOVERESIZE", { tx, ty, 8, numero, 1 }); // 8: _NET_WM_MOVERESIZE_MOVE
    return Arrasto::PeloGerenciador;
}

void SistemaDeJanelas::desistirDoMovimento()
{
    if (xcb_connection_t* x = conexaoX11(); x && m_janela->windowHandle())
        pedir(x, m_janela->windowHandle(), "_NET_WM_MOVERESIZE", { 0, 0, 11, 0, 1 }); // 11: _NET_WM_MOVERESIZE_CANCEL
}
