#include "shell/Plataforma.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QRegion>
#include <QStandardPaths>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>
#include <xcb/shape.h>
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

xcb_connection_t* ConexaoX11()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Sends a request to the window manager, as EWMH asks: to the root window, for its redirect.
void PedirAoGerenciador(xcb_connection_t* x, const xcb_client_message_event_t& pedido)
{
    const xcb_window_t raiz = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    xcb_send_event(x, 0, raiz, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&pedido));
    xcb_flush(x);
}

// The runtime files of the copy kept in `pasta`, without their ending.
QString Prefixo(const QString& pasta)
{
    QString lugar = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (lugar.isEmpty())
        lugar = QDir::tempPath();
    // Copies kept in different folders are different boards, with databases of their own.
    const QByteArray chave = QDir(pasta).canonicalPath().toUtf8();
    const QByteArray resumo = QCryptographicHash::hash(chave, QCryptographicHash::Sha1).toHex().left(16);
    return QDir(lugar).filePath(QStringLiteral("fazelas-%1").arg(QString::fromLatin1(resumo)));
}

// The doorbell's address; false when the path does not fit a local socket's address.
bool Endereco(const QString& arquivo, sockaddr_un& endereco)
{
    const QByteArray caminho = QFile::encodeName(arquivo);
    endereco = {};
    endereco.sun_family = AF_UNIX;
    if (size_t(caminho.size()) >= sizeof endereco.sun_path)
        return false;
    std::memcpy(endereco.sun_path, caminho.constData(), size_t(caminho.size()));
    return true;
}

QString ArquivoDaCampainha(const QString& pasta) { return Prefixo(pasta) + QStringLiteral(".sock"); }

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
    xcb_connection_t* x = ConexaoX11();
    if (!janela || !x)
        return;
    // Not Qt::WindowStaysOnTopHint: changing a widget's flags re-creates its window, which hides
    // the board for a moment. The EWMH request changes the state of the window as it stands.
    xcb_client_message_event_t pedido {};
    pedido.response_type = XCB_CLIENT_MESSAGE;
    pedido.format = 32;
    pedido.window = xcb_window_t(janela->winId());
    pedido.type = Atomo(x, "_NET_WM_STATE");
    pedido.data.data32[0] = ligar ? 1 : 0; // _NET_WM_STATE_ADD or _NET_WM_STATE_REMOVE
    pedido.data.data32[1] = Atomo(x, "_NET_WM_STATE_ABOVE");
    pedido.data.data32[3] = 1; // asked by an ordinary application
    PedirAoGerenciador(x, pedido);
}

bool RecortarJanela(QWindow* janela, const QRegion& regiao)
{
    xcb_connection_t* x = ConexaoX11();
    if (!janela || !x)
        return false;
    const xcb_query_extension_reply_t* shape = xcb_get_extension_data(x, &xcb_shape_id);
    if (!shape || !shape->present)
        return false;
    std::vector<xcb_rectangle_t> retangulos;
    retangulos.reserve(size_t(regiao.rectCount()));
    for (const QRect& r : regiao)
        retangulos.push_back({int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height())});
    xcb_shape_rectangles(x, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED,
        xcb_window_t(janela->winId()), 0, 0, uint32_t(retangulos.size()), retangulos.data());
    xcb_flush(x);
    return true;
}

bool SemRecorte() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

bool PodeMinimizar()
{
    if (SemRecorte())
        return false;
    xcb_connection_t* x = ConexaoX11();
    if (!x)
        return true;
    const xcb_window_t raiz = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const xcb_atom_t oculto = Atomo(x, "_NET_WM_STATE_HIDDEN");
    const xcb_get_property_cookie_t pedido
        = xcb_get_property(x, 0, raiz, Atomo(x, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096);
    xcb_get_property_reply_t* resposta = xcb_get_property_reply(x, pedido, nullptr);
    bool anunciado = false;
    if (resposta && resposta->format == 32) {
        const auto* atomos = static_cast<const xcb_atom_t*>(xcb_get_property_value(resposta));
        const int n = xcb_get_property_value_length(resposta) / 4;
        anunciado = oculto != XCB_ATOM_NONE && std::find(atomos, atomos + n, oculto) != atomos + n;
    }
    std::free(resposta);
    return anunciado;
}

void TrazerParaEstaAreaDeTrabalho(QWindow* janela)
{
    xcb_connection_t* x = ConexaoX11();
    if (!janela || !x)
        return;
    const xcb_window_t raiz = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const xcb_get_property_cookie_t leitura
        = xcb_get_property(x, 0, raiz, Atomo(x, "_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL, 0, 1);
    xcb_get_property_reply_t* atual = xcb_get_property_reply(x, leitura, nullptr);
    if (atual && atual->format == 32 && xcb_get_property_value_length(atual) == 4) {
        xcb_client_message_event_t pedido {};
        pedido.response_type = XCB_CLIENT_MESSAGE;
        pedido.format = 32;
        pedido.window = xcb_window_t(janela->winId());
        pedido.type = Atomo(x, "_NET_WM_DESKTOP");
        pedido.data.data32[0] = *static_cast<const uint32_t*>(xcb_get_property_value(atual));
        pedido.data.data32[1] = 1; // asked by an ordinary application
        PedirAoGerenciador(x, pedido);
    }
    std::free(atual);
}

QString ArquivoDaTrava(const QString& pasta) { return Prefixo(pasta) + QStringLiteral(".lock"); }

Campainha::Campainha(const QString& pasta, std::function<void()> tocada)
    : m_arquivo(ArquivoDaCampainha(pasta))
{
    sockaddr_un endereco;
    if (!Endereco(m_arquivo, endereco))
        return;
    m_socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_socket < 0)
        return;
    ::unlink(endereco.sun_path);
    if (::bind(m_socket, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) != 0
        || ::listen(m_socket, 4) != 0) {
        ::close(m_socket);
        m_socket = -1;
        return;
    }
    m_aviso = std::make_unique<QSocketNotifier>(m_socket, QSocketNotifier::Read);
    QObject::connect(m_aviso.get(), &QSocketNotifier::activated, [this, tocada = std::move(tocada)] {
        bool tocou = false;
        for (int c; (c = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
            ::close(c);
            tocou = true;
        }
        if (tocou)
            tocada();
    });
}

Campainha::~Campainha()
{
    if (m_socket < 0)
        return;
    m_aviso.reset();
    ::close(m_socket);
    ::unlink(QFile::encodeName(m_arquivo).constData());
}

bool Campainha::Tocar(const QString& pasta)
{
    sockaddr_un endereco;
    if (!Endereco(ArquivoDaCampainha(pasta), endereco))
        return false;
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return false;
    // A local connect completes at once or fails at once: nothing here can keep the copy waiting.
    const bool ouvida = ::connect(s, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) == 0;
    ::close(s);
    return ouvida;
}

} // namespace Plataforma
