#pragma once
// What the board needs from the desktop beyond Qt's own reach: the window manager's keep-above
// state and move, the place of the lock that marks a running copy, the running copy's doorbell,
// and the display server to ask for.
#include <QPoint>
#include <QString>
#include <Qt>
#include <functional>
#include <memory>

class QSocketNotifier;
class QRegion;
class QWindow;

namespace Plataforma {

// Where the session is Wayland, asks Qt for XWayland first, before the application is built.
void PreferirX11();

// Switches the window manager's keep-above state of a shown window, leaving its place, size
// and visibility alone. Does nothing where the window system offers no such request.
void ManterAcima(QWindow* janela, bool ligar);

// Moves a shown window to the virtual desktop the user is on. Does nothing where the window
// system has no virtual desktops.
void TrazerParaEstaAreaDeTrabalho(QWindow* janela);

// Cuts a created window to `regiao`, given in the window system's own pixels, so that no rounding
// of logical pixels leaves a gap or a seam at a fractional density. False where the window system
// takes no such outline (then Qt's mask, in logical pixels, is the way).
bool RecortarJanela(QWindow* janela, const QRegion& regiao);

// Whether windows are composited with no way to cut them to a shape (a native Wayland client): the
// window is then translucent where it must not show.
bool SemRecorte();

// Whether a minimized window stays within the user's reach: the window manager announces a hidden
// state. A native Wayland client gets no answer to its request, so it never counts on one.
bool PodeMinimizar();

// Hands the window to the window manager, to follow the pointer until `botao`, pressed at `ponto`
// of the window, is released. False where none takes it (no window manager that moves on request,
// or the button is already up): the caller then moves the window itself while the button is held.
bool MoverComOPonteiro(QWindow* janela, Qt::MouseButton botao, QPoint ponto);

// Calls off the move handed over above when its button came back to the window: released before
// the window manager took the pointer, which would otherwise wait for a release that never comes.
void DesistirDoMovimento(QWindow* janela);

// The lock file of the copy of the program kept in `pasta`: one per folder and user.
QString ArquivoDaTrava(const QString& pasta);

// How a second start reaches the copy that runs in the same folder: that copy listens on a local
// socket beside its lock, and a second copy only connects to it and ends. Nothing is read or
// written, so there is nothing a stranger's connection could say.
class Campainha
{
public:
    // Listens for the copy kept in `pasta`; `tocada` runs in the event loop at each ring. Called
    // only by the holder of the folder's lock, so a socket left by a crashed copy is taken over.
    Campainha(const QString& pasta, std::function<void()> tocada);
    ~Campainha();
    Campainha(const Campainha&) = delete;
    Campainha& operator=(const Campainha&) = delete;
    bool Ouvindo() const { return m_socket >= 0; }

    // Rings the copy that runs in `pasta`; false when none listens.
    static bool Tocar(const QString& pasta);

private:
    int m_socket = -1;
    QString m_arquivo;
    std::unique_ptr<QSocketNotifier> m_aviso;
};

} // namespace Plataforma
