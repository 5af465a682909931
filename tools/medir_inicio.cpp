// medir_inicio [--depois] [--campainha PASTA] COMMAND [ARGS...]
// Starts COMMAND and prints, on one line, the milliseconds from its start until its first window is
// mapped on the X server, and its peak resident memory (KiB) at that moment. The X server must have
// no window manager, so that the client's own map is seen on the root window.
//   --depois            also the peak once start-up is over, as a third number: what a system monitor
//                       shows for a program that has finished starting. Over means: the window has
//                       been painted (the X server reports damage to it), and then the program's
//                       event loop has answered two _NET_WM_PING round trips, so that the work it
//                       queued before or with its paint is done too.
//   --campainha PASTA   (implies --depois) over also needs a local socket to have appeared in PASTA:
//                       the board's doorbell, made last in its second stage
// With FAZELAS_MEDIR_SMAPS=PREFIX, /proc/PID/smaps at each moment is copied to PREFIX.mapa and
// PREFIX.depois, to see which mappings the peak is made of.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace {

using Relogio = std::chrono::steady_clock;
// Far beyond any start-up: only a program that never gets there reaches it.
constexpr auto Prazo = std::chrono::seconds(60);

long picoDeMemoria(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string linha; std::getline(status, linha);) {
        if (linha.rfind("VmHWM:", 0) == 0)
            return std::strtol(linha.c_str() + 6, nullptr, 10);
    }
    return -1;
}

void copiarMapas(pid_t pid, const char* prefixo, const char* momento)
{
    if (!prefixo)
        return;
    std::ifstream de("/proc/" + std::to_string(pid) + "/smaps");
    std::ofstream para(std::string(prefixo) + momento);
    para << de.rdbuf();
}

xcb_atom_t atomo(xcb_connection_t* x, const char* nome)
{
    xcb_intern_atom_reply_t* r
        = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, uint16_t(std::strlen(nome)), nome), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

// What the X server has told about the program's windows.
class Observador
{
public:
    // With `seguirDano`, the paints of the program's windows are followed too.
    Observador(xcb_connection_t* x, bool seguirDano)
        : m_x(x)
        , m_raiz(xcb_setup_roots_iterator(xcb_get_setup(x)).data->root)
    {
        // Maps and new windows are seen as the root's substructure; the toolkit sends its ping
        // answers to the root's structure (some versions to its substructure).
        const uint32_t mascara = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(x, m_raiz, XCB_CW_EVENT_MASK, &mascara);
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(x, &xcb_damage_id);
        if (seguirDano && damage && damage->present) {
            m_eventoDano = damage->first_event + XCB_DAMAGE_NOTIFY;
            std::free(xcb_damage_query_version_reply(
                x, xcb_damage_query_version(x, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), nullptr));
        }
        m_protocolos = atomo(x, "WM_PROTOCOLS");
        m_ping = atomo(x, "_NET_WM_PING");
        xcb_flush(x);
    }

    bool temDano() const { return m_eventoDano >= 0; }
    xcb_window_t mapeada() const { return m_mapeada; }
    bool pintada() const
    {
        return m_mapeada != XCB_WINDOW_NONE && std::count(m_danificadas.begin(), m_danificadas.end(), m_mapeada);
    }

    // Handles events until `pronto` holds or the deadline passes; false then.
    template <class Pronto> bool esperar(Relogio::time_point prazo, Pronto pronto)
    {
        for (;;) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(m_x)) {
                tratar(e);
                std::free(e);
            }
            if (pronto())
                return true;
            if (xcb_connection_has_error(m_x))
                return false;
            const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(prazo - Relogio::now()).count();
            if (resta <= 0)
                return false;
            pollfd p { xcb_get_file_descriptor(m_x), POLLIN, 0 };
            poll(&p, 1, int(resta));
        }
    }

    // One _NET_WM_PING to the mapped window, answered on the root window from the program's event loop.
    bool pingar(Relogio::time_point prazo)
    {
        const uint32_t numero = ++m_pings; // the timestamp field, echoed back: tells our answers apart
        xcb_client_message_event_t pedido {};
        pedido.response_type = XCB_CLIENT_MESSAGE;
        pedido.format = 32;
        pedido.window = m_mapeada;
        pedido.type = m_protocolos;
        pedido.data.data32[0] = m_ping;
        pedido.data.data32[1] = numero;
        pedido.data.data32[2] = m_mapeada;
        xcb_send_event(m_x, 0, m_mapeada, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&pedido));
        xcb_flush(m_x);
        return esperar(prazo, [&] { return m_respondidos == numero; });
    }

private:
    void tratar(const xcb_generic_event_t* e)
    {
        const int tipo = e->response_type & 0x7f;
        if (tipo == XCB_CREATE_NOTIFY && m_eventoDano >= 0) {
            // Damage is followed from the window's creation: its first paint may come right after its map.
            const auto* c = reinterpret_cast<const xcb_create_notify_event_t*>(e);
            xcb_damage_create(m_x, xcb_generate_id(m_x), c->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(m_x);
        } else if (tipo == XCB_MAP_NOTIFY && m_mapeada == XCB_WINDOW_NONE) {
            m_mapeada = reinterpret_cast<const xcb_map_notify_event_t*>(e)->window;
        } else if (tipo == m_eventoDano) {
            m_danificadas.push_back(reinterpret_cast<const xcb_damage_notify_event_t*>(e)->drawable);
        } else if (tipo == XCB_CLIENT_MESSAGE) {
            const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(e);
            if (m->window == m_raiz && m->type == m_protocolos && m->data.data32[0] == m_ping)
                m_respondidos = m->data.data32[1];
        }
    }

    xcb_connection_t* m_x;
    xcb_window_t m_raiz;
    int m_eventoDano = -1;
    xcb_atom_t m_protocolos = XCB_ATOM_NONE, m_ping = XCB_ATOM_NONE;
    xcb_window_t m_mapeada = XCB_WINDOW_NONE;
    std::vector<xcb_window_t> m_danificadas;
    uint32_t m_pings = 0, m_respondidos = 0;
};

// Waits until a socket whose name ends in ".sock" is created in the folder watched by `inotify`.
bool esperarSocket(int inotify, Relogio::time_point prazo)
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(prazo - Relogio::now()).count();
        pollfd p { inotify, POLLIN, 0 };
        if (resta <= 0 || poll(&p, 1, int(resta)) <= 0)
            return false;
        const ssize_t n = read(inotify, buffer, sizeof buffer);
        for (ssize_t i = 0; i < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + i);
            const std::string_view nome = e->len ? std::string_view(e->name) : std::string_view();
            if (nome.size() > 5 && nome.substr(nome.size() - 5) == ".sock")
                return true;
            i += ssize_t(sizeof(inotify_event) + e->len);
        }
    }
}

} // namespace

int main(int argc, char* argv[])
{
    bool depois = false;
    const char* campainha = nullptr;
    int primeiro = 1;
    for (; primeiro < argc && argv[primeiro][0] == '-'; ++primeiro) {
        if (std::strcmp(argv[primeiro], "--depois") == 0) {
            depois = true;
        } else if (std::strcmp(argv[primeiro], "--campainha") == 0 && primeiro + 1 < argc) {
            depois = true;
            campainha = argv[++primeiro];
        } else {
            break;
        }
    }
    if (primeiro >= argc) {
        std::fprintf(stderr, "uso: medir_inicio [--depois] [--campainha PASTA] COMANDO [ARGUMENTOS...]\n");
        return 2;
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "medir_inicio: sem servidor X\n");
        return 2;
    }
    Observador observador(x, depois);
    if (depois && !observador.temDano()) {
        std::fprintf(stderr, "medir_inicio: o servidor X não tem a extensão DAMAGE\n");
        return 2;
    }
    // Watched before the start, so that the socket cannot appear unseen.
    const int inotify = campainha ? inotify_init1(IN_CLOEXEC) : -1;
    if (campainha && (inotify < 0 || inotify_add_watch(inotify, campainha, IN_CREATE) < 0)) {
        std::fprintf(stderr, "medir_inicio: não posso observar %s\n", campainha);
        return 2;
    }
    const char* smaps = std::getenv("FAZELAS_MEDIR_SMAPS");

    const auto inicio = Relogio::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[primeiro], argv + primeiro);
        _exit(127);
    }
    double ms = -1;
    if (observador.esperar(inicio + Prazo, [&] { return observador.mapeada() != XCB_WINDOW_NONE; }))
        ms = std::chrono::duration<double, std::milli>(Relogio::now() - inicio).count();
    const long pico = picoDeMemoria(pid);
    copiarMapas(pid, smaps, ".mapa");
    long picoDepois = -1;
    if (depois && ms >= 0) {
        const auto prazo = Relogio::now() + Prazo;
        if (observador.esperar(prazo, [&] { return observador.pintada(); })
            && (inotify < 0 || esperarSocket(inotify, prazo)) && observador.pingar(prazo) && observador.pingar(prazo)) {
            picoDepois = picoDeMemoria(pid);
            copiarMapas(pid, smaps, ".depois");
        }
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(x);
    if (depois) {
        std::printf("%.2f %ld %ld\n", ms, pico, picoDepois);
        return ms < 0 || picoDepois < 0 ? 1 : 0;
    }
    std::printf("%.2f %ld\n", ms, pico);
    return ms < 0 ? 1 : 0;
}
