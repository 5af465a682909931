// medir_inicio COMMAND [ARGS...]
// Starts COMMAND and prints, on one line, the milliseconds from its start until its first window is
// mapped on the X server, and its peak resident memory (KiB) at that moment. The X server must have
// no window manager, so that the client's own map is seen on the root window.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

long picoDeMemoria(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string linha; std::getline(status, linha);) {
        if (linha.rfind("VmHWM:", 0) == 0)
            return std::strtol(linha.c_str() + 6, nullptr, 10);
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "uso: medir_inicio COMANDO [ARGUMENTOS...]\n");
        return 2;
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "medir_inicio: sem servidor X\n");
        return 2;
    }
    xcb_screen_t* tela = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mascara = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, tela->root, XCB_CW_EVENT_MASK, &mascara);
    xcb_flush(x);

    const auto inicio = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    double ms = -1;
    while (xcb_generic_event_t* e = xcb_wait_for_event(x)) {
        const bool mapeou = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
        std::free(e);
        if (mapeou) {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio).count();
            break;
        }
    }
    const long pico = picoDeMemoria(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(x);
    std::printf("%.2f %ld\n", ms, pico);
    return ms < 0 ? 1 : 0;
}
