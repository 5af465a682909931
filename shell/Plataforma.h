#pragma once
// What the board needs from the desktop beyond Qt's own reach: the window manager's keep-above
// state, the place of the lock that marks a running copy, the running copy's doorbell, and the
// display server to ask for.
#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;
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
