#pragma once
// What the board asks of the window system beyond Qt's own reach, for one window: the window
// manager's keep-above state, moving the window with the pointer, the window's outline in the
// screen's own pixels, and whether a minimized window stays within the user's reach.
#include <QObject>
#include <QPoint>
#include <QRegion>
#include <optional>

class QWidget;

class SistemaDeJanelas : public QObject
{
    Q_OBJECT
public:
    // Where the session is Wayland, asks Qt for XWayland first; before the application is made.
    static void preferirX11();
    // Whether windows are composited with no way to cut them to a shape (a native Wayland client):
    // the window is then translucent where it must not show.
    static bool semRecorte();

    explicit SistemaDeJanelas(QWidget* janela);

    // Switches the keep-above state of the shown window, leaving its place, size and visibility alone.
    void manterAcima(bool ligar);
    bool mantidaAcima() const { return m_acima; }
    // Moves the shown window to the virtual desktop the user is on.
    void trazerParaEstaAreaDeTrabalho();
    // Cuts the window to `regiao`, given in the window system's own pixels, so that no rounding of
    // logical pixels leaves a gap or a seam at a fractional density. False where the window system
    // takes no such outline (then Qt's mask, in logical pixels, is the way).
    bool recortar(const QRegion& regiao);
    // Whether the window manager keeps a minimized window within reach (it announces a hidden
    // state). A native Wayland client gets no answer to its request, so it never counts on one.
    bool podeMinimizar() const;

    // A press of `botao` at `ponto` of `superficie` (a bare part of the window) moves the window with
    // the pointer until that button is released: the window manager does it where it ends the move
    // on that button's release; elsewhere on X11 the window follows the pointer itself, and on
    // Wayland, where a window cannot place itself, it stays where it is.
    void arrastar(QWidget* superficie, Qt::MouseButton botao, QPoint ponto);

protected:
    bool eventFilter(QObject* alvo, QEvent* e) override;

private:
    // How a drag goes on after its press.
    enum class Arrasto {
        PeloGerenciador, // the window manager moves the window until the button is released
        PelaJanela, // the window follows the pointer itself while the button is held
        Nenhum, // the window stays where it is
    };
    Arrasto entregarAoGerenciador(Qt::MouseButton botao, QPoint ponto);
    void desistirDoMovimento();

    QWidget* m_janela;
    bool m_acima = false;
    // The drag under way: its button and, where the window follows the pointer itself, the point
    // of the window the pointer holds.
    Qt::MouseButton m_botao = Qt::NoButton;
    std::optional<QPoint> m_pegada;
};
