#include "shell/Plataforma.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegion>
#include <QSocketNotifier>
#include <QStorageInfo>
#include <QSysInfo>
#include <QWindow>
#include <algorithm>
#include <optional>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
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

xcb_window_t Raiz(xcb_connection_t* x) { return xcb_setup_roots_iterator(xcb_get_setup(x)).data->root; }

// Sends the window manager an EWMH request about `janela`.
void Pedir(xcb_connection_t* x, QWindow* janela, const char* tipo, std::initializer_list<uint32_t> dados)
{
    xcb_client_message_event_t pedido {};
    pedido.response_type = XCB_CLIENT_MESSAGE;
    pedido.format = 32;
    pedido.window = xcb_window_t(janela->winId());
    pedido.type = Atomo(x, tipo);
    std::copy(dados.begin(), dados.end(), pedido.data.data32);
    xcb_send_event(x, 0, Raiz(x), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&pedido));
    xcb_flush(x);
}

// The 32-bit items of a window's property; none where the window or the property is missing.
std::vector<uint32_t> Propriedade(xcb_connection_t* x, xcb_window_t janela, const char* nome, xcb_atom_t tipo)
{
    xcb_generic_error_t* erro = nullptr; // taken here, so that a vanished window is not reported
    xcb_get_property_reply_t* resposta
        = xcb_get_property_reply(x, xcb_get_property(x, 0, janela, Atomo(x, nome), tipo, 0, 4096), &erro);
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
bool Anunciado(xcb_connection_t* x, const char* pedido)
{
    const auto verificacao = Propriedade(x, Raiz(x), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
    if (verificacao.empty() || Propriedade(x, verificacao[0], "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW) != verificacao)
        return false;
    const auto anunciados = Propriedade(x, Raiz(x), "_NET_SUPPORTED", XCB_ATOM_ATOM);
    return std::find(anunciados.begin(), anunciados.end(), Atomo(x, pedido)) != anunciados.end();
}

// The data file as every copy reaches it, through whatever links lead there.
QString ArquivoReal(const QString& banco)
{
    const QFileInfo info(banco);
    const QString real = info.canonicalFilePath();
    return real.isEmpty() ? info.absoluteFilePath() : real;
}

// A folder only this user can write: ours, and closed to the group and to others.
bool PastaParticular(const QString& pasta)
{
    struct stat info;
    return QDir::isAbsolutePath(pasta) && ::stat(QFile::encodeName(pasta).constData(), &info) == 0
        && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The user's private runtime folders a doorbell may be in, the one to listen in first: the
// session's, then the system's for this user, found whatever the environment says; where there is
// neither, one of our own in the temporary folder, as Qt makes it (`criar`: made if missing). A
// folder someone else could write is never one of them.
QStringList PastasParticulares(bool criar)
{
    QStringList pastas;
    const QString sessao = qEnvironmentVariable("XDG_RUNTIME_DIR");
    for (const QString& p : {sessao, QStringLiteral("/run/user/%1").arg(::geteuid())})
        if (PastaParticular(p) && !pastas.contains(p))
            pastas << p;
    if (!pastas.isEmpty() && criar)
        return pastas;
    const passwd* usuario = ::getpwuid(::geteuid());
    const QString propria = QDir::tempPath() + QStringLiteral("/runtime-")
        + (usuario ? QFile::decodeName(usuario->pw_name) : QString::number(::geteuid()));
    if (criar)
        ::mkdir(QFile::encodeName(propria).constData(), 0700);
    if (PastaParticular(propria) && !pastas.contains(propria))
        pastas << propria;
    return pastas;
}

// The doorbell of the copy that runs on `banco` in a runtime folder.
QString ArquivoDaCampainha(const QString& pasta, const QString& banco)
{
    const QByteArray resumo = QCryptographicHash::hash(ArquivoReal(banco).toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(pasta).filePath(QStringLiteral("fazelas-%1.sock").arg(QString::fromLatin1(resumo.left(16))));
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

// Whether someone holds the lock file's native lock, as every copy does while it runs; none where
// the file system keeps no such locks.
std::optional<bool> Segura(const QByteArray& arquivo)
{
    const int fd = ::open(arquivo.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const int rc = ::flock(fd, LOCK_EX | LOCK_NB), erro = errno;
    ::close(fd);
    if (rc == 0 || erro == EWOULDBLOCK)
        return rc != 0;
    return std::nullopt;
}

// The words the database's own report gives for a folder that takes no new file.
// Why the folder `pasta` takes no new file, as the database's own failures say it.
QString PastaSemGravacao(const QString& pasta)
{
    if (QStorageInfo(pasta).isReadOnly())
        return QStringLiteral("o sistema de arquivos só permite leitura");
    return QStringLiteral("a pasta do arquivo não permite gravação (o Fazelas precisa criar arquivos temporários ao "
                          "lado dele)");
}

// Whether the process a lock names still runs the program that wrote it (a number may be reused).
bool ProcessoVivo(qint64 pid, const QString& programa)
{
    if (pid <= 0)
        return false;
    char alvo[4096];
    const QByteArray ligacao = "/proc/" + QByteArray::number(pid) + "/exe";
    const ssize_t n = ::readlink(ligacao.constData(), alvo, sizeof alvo);
    if (n <= 0)
        return false;
    // A program replaced while it runs is shown as deleted.
    QByteArray exe(alvo, n);
    if (exe.endsWith(" (deleted)"))
        exe.chop(10);
    return QFileInfo(QFile::decodeName(exe)).fileName() == QFileInfo(programa).fileName();
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
    // Not Qt::WindowStaysOnTopHint: changing a widget's flags re-creates its window, which hides
    // the board for a moment. The EWMH request changes the state of the window as it stands.
    if (xcb_connection_t* x = ConexaoX11(); x && janela) {
        Pedir(x, janela, "_NET_WM_STATE",
            {ligar ? 1u : 0u, // _NET_WM_STATE_ADD or _NET_WM_STATE_REMOVE
                Atomo(x, "_NET_WM_STATE_ABOVE"), 0, 1}); // asked by an ordinary application
    }
}

Arrasto MoverComOPonteiro(QWindow* janela, Qt::MouseButton botao, QPoint ponto)
{
    if (!janela)
        return Arrasto::Nenhum;
    // mutter ends a move on the release of button 1 or 2 only, whatever button the request names: a
    // move begun with another would go on after its release, so none is handed over.
    const uint32_t numero = botao == Qt::LeftButton ? 1 : botao == Qt::MiddleButton ? 2 : 0;
    xcb_connection_t* x = ConexaoX11();
    // Wayland: the compositor knows the press by its serial. A window cannot place itself there, so
    // a drag with another button leaves the board where it is.
    if (!x)
        return numero != 0 && janela->startSystemMove() ? Arrasto::PeloGerenciador : Arrasto::Nenhum;
    // Not QWindow::startSystemMove(): it names the left button whatever is held, and openbox then
    // keeps moving after a middle button's release, until the next left click.
    if (numero == 0 || !Anunciado(x, "_NET_WM_MOVERESIZE"))
        return Arrasto::PelaJanela;
    // A quick click can be over by now, and a window manager would wait for its release.
    xcb_query_pointer_reply_t* ponteiro = xcb_query_pointer_reply(x, xcb_query_pointer(x, Raiz(x)), nullptr);
    const bool preso = ponteiro && (ponteiro->mask & (XCB_BUTTON_MASK_1 << (numero - 1)));
    std::free(ponteiro);
    // The press on the screen, in its own pixels whatever Qt's scaling: the window manager keeps
    // that point of the window under the pointer, which may have moved on since.
    const QPoint nativo = (QPointF(ponto) * janela->devicePixelRatio()).toPoint();
    xcb_translate_coordinates_reply_t* tela = xcb_translate_coordinates_reply(x,
        xcb_translate_coordinates(x, xcb_window_t(janela->winId()), Raiz(x), int16_t(nativo.x()), int16_t(nativo.y())),
        nullptr);
    const uint32_t tx = tela ? uint32_t(tela->dst_x) : 0, ty = tela ? uint32_t(tela->dst_y) : 0;
    const bool achado = tela != nullptr;
    std::free(tela);
    if (!preso || !achado)
        return Arrasto::PelaJanela;
    // The press's own grab would keep the window manager from taking the pointer.
    xcb_ungrab_pointer(x, XCB_CURRENT_TIME);
    Pedir(x, janela, "_NET_WM_MOVERESIZE", {tx, ty, 8, numero, 1}); // 8: _NET_WM_MOVERESIZE_MOVE
    return Arrasto::PeloGerenciador;
}

void DesistirDoMovimento(QWindow* janela)
{
    if (xcb_connection_t* x = ConexaoX11(); x && janela)
        Pedir(x, janela, "_NET_WM_MOVERESIZE", {0, 0, 11, 0, 1}); // 11: _NET_WM_MOVERESIZE_CANCEL
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
    return !x || Anunciado(x, "_NET_WM_STATE_HIDDEN");
}

void TrazerParaEstaAreaDeTrabalho(QWindow* janela)
{
    xcb_connection_t* x = ConexaoX11();
    if (!janela || !x)
        return;
    const auto atual = Propriedade(x, Raiz(x), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL);
    if (!atual.empty())
        Pedir(x, janela, "_NET_WM_DESKTOP", {atual[0], 1}); // asked by an ordinary application
}

Trava::Trava(const QString& banco)
    : m_trava(Arquivo(banco))
{
    // Only a lock whose holder has died is stale (QLockFile checks the process); age alone must
    // never hand over the lock of a copy that runs.
    m_trava.setStaleLockTime(0);
}

QString Trava::Arquivo(const QString& banco) { return ArquivoReal(banco) + QStringLiteral("-trava"); }

Trava::Resultado Trava::Falha(const QString& problema)
{
    m_problema = problema;
    m_detalhe = QStringLiteral("ao abrir: %1").arg(QDir::toNativeSeparators(m_trava.fileName()));
    return Falhou;
}

Trava::Resultado Trava::Tomar()
{
    const QString nome = QFileInfo(m_trava.fileName()).fileName();
    for (int tentativa = 0; tentativa < 3; ++tentativa) {
        if (m_trava.tryLock(0))
            return Tomada;
        if (m_trava.error() == QLockFile::PermissionError)
            return Falha(PastaSemGravacao(QFileInfo(m_trava.fileName()).absolutePath()));
        if (m_trava.error() != QLockFile::LockFailedError)
            return Falha(QStorageInfo(QFileInfo(m_trava.fileName()).absolutePath()).bytesAvailable() == 0
                    ? QStringLiteral("o disco está cheio")
                    : QStringLiteral("não foi possível criar a trava %1 ao lado dele").arg(nome));
        const QByteArray arquivo = QFile::encodeName(m_trava.fileName());
        struct stat info;
        if (::lstat(arquivo.constData(), &info) != 0)
            continue; // let go of meanwhile
        // Only this user's copies mark the file; anything else in the lock's place was put there.
        if (!S_ISREG(info.st_mode))
            return Falha(QStringLiteral("a trava %1, ao lado dele, não é um arquivo comum").arg(nome));
        if (info.st_uid != ::geteuid())
            return Falha(QStringLiteral("a trava %1, ao lado dele, pertence a outro usuário, que pode estar com o "
                                        "Fazelas aberto neste arquivo").arg(nome));
        // An empty one was just made by a copy starting now, which has not yet locked and written it.
        if (info.st_size == 0 && std::abs(std::time(nullptr) - info.st_mtime) < 10)
            return OutraCopia;
        // Every copy holds the file's native lock while it runs, on this machine or another; where the
        // file system keeps no such locks, the process the lock names tells.
        qint64 pid = 0;
        QString maquina, programa;
        const bool vivo = m_trava.getLockInfo(&pid, &maquina, &programa) && maquina == QSysInfo::machineHostName()
            && ProcessoVivo(pid, programa);
        if (Segura(arquivo).value_or(vivo))
            return OutraCopia;
        // Left by a copy that ended without taking it away, or copied with the folder: taken over,
        // whatever it says.
        if (!m_trava.removeStaleLockFile() && ::lstat(arquivo.constData(), &info) == 0)
            return Falha(QFileInfo(QFileInfo(m_trava.fileName()).absolutePath()).isWritable()
                    ? QStringLiteral("a trava %1, ao lado dele, ficou de um Fazelas que terminou e não pôde ser "
                                     "apagada").arg(nome)
                    : PastaSemGravacao(QFileInfo(m_trava.fileName()).absolutePath()));
    }
    return OutraCopia;
}

Campainha::Campainha(const QString& banco, std::function<void()> tocada)
{
    const QStringList pastas = PastasParticulares(true);
    sockaddr_un endereco;
    if (pastas.isEmpty() || !Endereco(ArquivoDaCampainha(pastas.first(), banco), endereco))
        return;
    m_arquivo = QFile::decodeName(endereco.sun_path);
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

bool Campainha::Tocar(const QString& banco)
{
    // The running copy may have been started in another environment: every private runtime folder
    // of the user is tried.
    for (const QString& pasta : PastasParticulares(false)) {
        sockaddr_un endereco;
        if (!Endereco(ArquivoDaCampainha(pasta, banco), endereco))
            continue;
        const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (s < 0)
            return false;
        // A local connect completes at once or fails at once: nothing here can keep the copy waiting.
        const bool ouvida = ::connect(s, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) == 0;
        ::close(s);
        if (ouvida)
            return true;
    }
    return false;
}

} // namespace Plataforma
