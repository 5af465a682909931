#include "shell/Plataforma.h"

#include <QCryptographicHash>
#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QWindow>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

xcb_atom_t Atomo(xcb_connection_t* x, const char* nome)
{
    const xcb_intern_atom_cookie_t pedido = xcb_intern_atom(x, 0, uint16_t(qstrlen(nome)), nome);
    xcb_intern_atom_reply_t* resposta = xcb_intern_atom_reply(x, pedido, nullptr);
    const xcb_atom_t atomo = resposta ? resposta->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(resposta);
    return atomo;
}

} // namespace

namespace Plataforma {

void PreferirX11()
{
    // A Wayland client can neither cut its window to a shape nor place itself, so the board goes
    // through XWayland where the session has it; plain Wayland remains the fallback.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

void ManterAcima(QWindow* janela, bool ligar)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!janela || !x11 || !x11->connection())
        return;
    // Not Qt::WindowStaysOnTopHint: changing a widget's flags re-creates its window, which hides
    // the board for a moment. The EWMH request changes the state of the window as it stands.
    xcb_connection_t* x = x11->connection();
    xcb_client_message_event_t pedido {};
    pedido.response_type = XCB_CLIENT_MESSAGE;
    pedido.format = 32;
    pedido.window = xcb_window_t(janela->winId());
    pedido.type = Atomo(x, "_NET_WM_STATE");
    pedido.data.data32[0] = ligar ? 1 : 0; // _NET_WM_STATE_ADD or _NET_WM_STATE_REMOVE
    pedido.data.data32[1] = Atomo(x, "_NET_WM_STATE_ABOVE");
    pedido.data.data32[3] = 1; // asked by an ordinary application
    const xcb_window_t raiz = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    xcb_send_event(x, 0, raiz, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&pedido));
    xcb_flush(x);
}

QString ArquivoDaTrava(const QString& pasta)
{
    QString lugar = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (lugar.isEmpty())
        lugar = QDir::tempPath();
    // Copies kept in different folders are different boards, with databases of their own.
    const QByteArray chave = QDir(pasta).canonicalPath().toUtf8();
    const QByteArray resumo = QCryptographicHash::hash(chave, QCryptographicHash::Sha1).toHex().left(16);
    return QDir(lugar).filePath(QStringLiteral("fazelas-%1.lock").arg(QString::fromLatin1(resumo)));
}

} // namespace Plataforma
