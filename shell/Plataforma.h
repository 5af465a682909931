#pragma once
// What the board needs from the desktop beyond Qt's own reach: the window manager's keep-above
// state, the place of the lock that marks a running copy, and the display server to ask for.
#include <QString>

class QRegion;
class QWindow;

namespace Plataforma {

// Where the session is Wayland, asks Qt for XWayland first, before the application is built.
void PreferirX11();

// Switches the window manager's keep-above state of a shown window, leaving its place, size
// and visibility alone. Does nothing where the window system offers no such request.
void ManterAcima(QWindow* janela, bool ligar);

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

// The lock file of the copy of the program kept in `pasta`: one per folder and user.
QString ArquivoDaTrava(const QString& pasta);

} // namespace Plataforma
