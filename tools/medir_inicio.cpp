// medir_inicio [--depois] [--campainha PASTA] COMMAND [ARGS...]
// Starts COMMAND and prints, on one line, the milliseconds from its start until its first window is
// mapped on the X server, and its peak resident memory (KiB) at that moment. The X server must have
// no window manager, so that the client's own map is seen on the root window.
//   --depois            also the peak once the program is idle after its map, as a third number:
//                       what a system monitor shows for a program that has finished starting
//   --campainha PASTA   (implies --depois) idle only after a local socket has appeared in PASTA: the
//                       board's doorbell, made last in its second stage
// Idle is two _NET_WM_PING round trips through the program's event loop: the toolkit answers a ping
// only from its event loop, so the first answer comes after the work that ran before the loop, and
// the second after the window-system events the first one was handled with (the first paint).
// With FAZELAS_MEDIR_SMAPS=PREFIX, /proc/PID/smaps at each moment is copied to PREFIX.mapa and
// PREFIX.depois, to see which mappings the peak is made of.
#include <xcb/xcb.h>

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

namespace {

using Relogio = std::chrono::steady_clock;
// Far beyond any start-up: only a program that never gets there reaches it.
constexpr auto Prazo = std::chrono::seconds(60);

long PicoDeMemoria(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string linha; std::getline(status, linha);) {
        if (linha.rfind("VmHWM:", 0) == 0)
            return std::strtol(linha.c_str() + 6, nullptr, 10);
    }
    return -1;
}

void CopiarMapas(pid_t pid, const char* prefixo, const char* momento)
{
    if (!prefixo)
        return;
    std::ifstream de("/proc/" + std::to_string(pid) + "/smaps");
    std::ofstream para(std::string(prefixo) + momento);
    para << de.rdbuf();
}

// Waits for an X event that `aceito` takes, until the deadline; false when it passed first.
template <class Aceito>
bool EsperarEvento(xcb_connection_t* x, Relogio::time_point prazo, Aceito aceito)
{
    for (;;) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(x)) {
            const bool achou = aceito(e);
            std::free(e);
            if (achou)
                return true;
        }
        if (xcb_connection_has_error(x))
            return false;
        const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(prazo - Relogio::now()).count();
        if (resta <= 0)
            return false;
        pollfd p { xcb_get_file_descriptor(x), POLLIN, 0 };
        poll(&p, 1, int(resta));
    }
}

// Waits until a socket whose name ends in ".sock" is created in the folder watched by `inotify`.
bool EsperarSocket(int inotify, Relogio::time_point prazo)
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

xcb_atom_t Atomo(xcb_connection_t* x, const char* nome)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, uint16_t(std::strlen(nome)), nome), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

// One _NET_WM_PING to `janela`, answered on the root window once the program's event loop runs.
bool Pingar(xcb_connection_t* x, xcb_window_t raiz, xcb_window_t janela, uint32_t numero, Relogio::time_point prazo)
{
    const xcb_atom_t protocolos = Atomo(x, "WM_PROTOCOLS"), ping = Atomo(x, "_NET_WM_PING");
    xcb_client_message_event_t pedido {};
    pedido.response_type = XCB_CLIENT_MESSAGE;
    pedido.format = 32;
    pedido.window = janela;
    pedido.type = protocolos;
    pedido.data.data32[0] = ping;
    pedido.data.data32[1] = numero; // the timestamp field, echoed back: tells our answers apart
    pedido.data.data32[2] = janela;
    xcb_send_event(x, 0, janela, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&pedido));
    xcb_flush(x);
    return EsperarEvento(x, prazo, [&](const xcb_generic_event_t* e) {
        if ((e->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(e);
        return m->window == raiz && m->type == protocolos && m->data.data32[0] == ping && m->data.data32[1] == numero;
    });
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
    xcb_screen_t* tela = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    // Maps are seen as the root's substructure; the toolkit sends its ping answers to the root's
    // structure (some versions to its substructure).
    const uint32_t mascara = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, tela->root, XCB_CW_EVENT_MASK, &mascara);
    xcb_flush(x);
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
    xcb_window_t janela = XCB_WINDOW_NONE;
    if (EsperarEvento(x, inicio + Prazo, [&](const xcb_generic_event_t* e) {
            if ((e->response_type & 0x7f) != XCB_MAP_NOTIFY)
                return false;
            janela = reinterpret_cast<const xcb_map_notify_event_t*>(e)->window;
            return true;
        }))
        ms = std::chrono::duration<double, std::milli>(Relogio::now() - inicio).count();
    const long pico = PicoDeMemoria(pid);
    CopiarMapas(pid, smaps, ".mapa");
    long picoDepois = -1;
    if (depois && ms >= 0) {
        const auto prazo = Relogio::now() + Prazo;
        if ((inotify < 0 || EsperarSocket(inotify, prazo)) && Pingar(x, tela->root, janela, 1, prazo)
            && Pingar(x, tela->root, janela, 2, prazo)) {
            picoDepois = PicoDeMemoria(pid);
            CopiarMapas(pid, smaps, ".depois");
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
