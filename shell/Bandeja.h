#pragma once
// The board's icon in the notification area: a double-click brings the hidden board back, or keeps
// the shown one above the other windows; its menu's one item ends the program.
#include <QObject>
#include <QSystemTrayIcon>
#include <memory>

class QAction;
class QMenu;
class QWidget;

// Qt tells the icon's clicks as activations, and trays differ: an XEmbed tray (icewm, Xfce) gives a
// double-click as a single activation and a double one, a StatusNotifierItem host (KDE, GNOME's
// AppIndicator) as two single activations. Either way one double-click comes out, also where both
// kinds arrive; a lone single activation makes none.
class CliquesDoIcone
{
public:
    enum class Gesto { Nenhum, DuploClique, Menu };
    explicit CliquesDoIcone(int intervaloDuplo)
        : m_intervalo(intervaloDuplo)
    {
    }
    // The gesture an activation at `instante` (milliseconds) completes.
    Gesto gesto(QSystemTrayIcon::ActivationReason motivo, qint64 instante);

private:
    bool recente(qint64 desde, qint64 instante) const { return desde >= 0 && instante - desde <= m_intervalo; }

    int m_intervalo;
    qint64 m_toqueSolto = -1; // a single activation still waiting for its pair
    qint64 m_duploDeToques = -1; // when two single activations last made a double-click
};

class Bandeja : public QObject
{
    Q_OBJECT
public:
    // The icon of `quadro`, the board, which it brings back or keeps above.
    explicit Bandeja(QWidget* quadro);
    ~Bandeja() override;

    // Puts the icon in the notification area, with the board's window icon and the tip "Fazelas".
    // True when a notification area took it.
    bool incluir();
    // Takes the icon away; true when one was there.
    bool excluir();
    // Whether the icon sits in a notification area now, so that a hidden board can come back.
    bool presente() const;
    // The menu, made (on its hidden form) the first time it is needed.
    QMenu* menu();

signals:
    void mostrarQuadro();
    void manterQuadroAcima();
    void encerrar();

private:
    void aoAtivar(QSystemTrayIcon::ActivationReason motivo);

    QWidget* m_quadro;
    QSystemTrayIcon* m_icone = nullptr;
    std::unique_ptr<QWidget> m_formulario; // hidden; carries the menu
    QMenu* m_menu = nullptr;
    CliquesDoIcone m_cliques;
};
