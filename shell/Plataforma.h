#pragma once
// What the board needs from the desktop beyond Qt's own reach: the window manager's keep-above
// state, the place of the lock that marks a running copy, and the display server to ask for.
#include <QString>

class QWindow;

namespace Plataforma {

// Where the session is Wayland, asks Qt for XWayland first, before the application is built.
void PreferirX11();

// Switches the window manager's keep-above state of a shown window, leaving its place, size
// and visibility alone. Does nothing where the window system offers no such request.
void ManterAcima(QWindow* janela, bool ligar);

// The lock file of the copy of the program kept in `pasta`: one per folder and user.
QString ArquivoDaTrava(const QString& pasta);

} // namespace Plataforma
