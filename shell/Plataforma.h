#pragma once
// What the board needs from the desktop beyond Qt's own reach: the window manager's keep-above
// state and move, the lock that marks a running copy, the running copy's doorbell, and the display
// server to ask for.
#include <QLockFile>
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

// How a drag goes on after its press.
enum class Arrasto {
    PeloGerenciador, // the window manager moves the window until the button is released
    PelaJanela,      // the window follows the pointer itself while the button is held
    Nenhum,          // the window stays where it is
};

// Hands the window to the window manager, to follow the pointer until `botao`, pressed at `ponto`
// of the window, is released, where one takes the request and ends it on that button's release.
Arrasto MoverComOPonteiro(QWindow* janela, Qt::MouseButton botao, QPoint ponto);

// Calls off the move handed over above when its button came back to the window: released before
// the window manager took the pointer, which would otherwise wait for a release that never comes.
void DesistirDoMovimento(QWindow* janela);

// The mark of the copy that runs on a data file: a lock file beside the file, where every copy on
// it looks whatever its environment says, in a folder the user must be able to write anyway (the
// database's journal goes there). One left by a copy that crashed is taken over.
class Trava
{
public:
    enum Resultado { Tomada, OutraCopia, Falhou };
    explicit Trava(const QString& banco);
    Resultado Tomar();
    // Why it could not be taken (Falhou), in plain words, and the detail for the report.
    const QString& Problema() const { return m_problema; }
    const QString& Detalhe() const { return m_detalhe; }
    // Lets go of the lock before the program ends without unwinding (a failure report).
    void Soltar() { m_trava.unlock(); }
    static QString Arquivo(const QString& banco);

private:
    Resultado Falha(const QString& problema);
    QLockFile m_trava;
    QString m_problema;
    QString m_detalhe;
};

// How a second start reaches the copy that runs on the same data file: that copy listens on a
// local socket in the user's private runtime folder, and a second copy only connects to it and
// ends. Nothing is read or written, so there is nothing a stranger's connection could say.
class Campainha
{
public:
    // Listens for the copy that runs on `banco`; `tocada` runs in the event loop at each ring.
    // Called only by the holder of the file's lock, so a socket left by a crashed copy is taken over.
    Campainha(const QString& banco, std::function<void()> tocada);
    ~Campainha();
    Campainha(const Campainha&) = delete;
    Campainha& operator=(const Campainha&) = delete;
    bool Ouvindo() const { return m_socket >= 0; }

    // Rings the copy that runs on `banco`; false when none listens.
    static bool Tocar(const QString& banco);

private:
    int m_socket = -1;
    QString m_arquivo;
    std::unique_ptr<QSocketNotifier> m_aviso;
};

} // namespace Plataforma
