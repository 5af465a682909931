#pragma once
// What the board needs from the desktop beyond Qt's own reach: the window manager's keep-above
// state and move, the place of the lock that marks a running copy, and the display server to ask for.
#include <QPoint>
#include <QString>
#include <Qt>

class QWindow;

namespace Plataforma {

// Where the session is Wayland, asks Qt for XWayland first, before the application is built.
void PreferirX11();

// Switches the window manager's keep-above state of a shown window, leaving its place, size
// and visibility alone. Does nothing where the window system offers no such request.
void ManterAcima(QWindow* janela, bool ligar);

// Hands the window to the window manager, to follow the pointer until `botao`, pressed at `ponto`
// of the window, is released. False where none takes it (no window manager that moves on request,
// or the button is already up): the caller then moves the window itself while the button is held.
bool MoverComOPonteiro(QWindow* janela, Qt::MouseButton botao, QPoint ponto);

// Calls off the move handed over above when its button came back to the window: released before
// the window manager took the pointer, which would otherwise wait for a release that never comes.
void DesistirDoMovimento(QWindow* janela);

// The lock file of the copy of the program kept in `pasta`: one per folder and user.
QString ArquivoDaTrava(const QString& pasta);

} // namespace Plataforma
