#pragma once
// The notification-area icon. Its record and the result of the last call are module-wide, as the
// icon is one for the whole program.
#include <QString>
#include <QSystemTrayIcon>
#include <QtGlobal>
#include <memory>

class QWidget;

namespace Modulo {
inline std::unique_ptr<QSystemTrayIcon> DadosBandeja;
inline bool RetornoBandeja = false;
} // namespace Modulo

// The mouse messages the icon's handler receives, by the numbers the handler tells apart.
inline constexpr int WM_MOUSEMOVE = 512;
inline constexpr int WM_LBUTTONDOWN = 513;
inline constexpr int WM_LBUTTONUP = 514;
inline constexpr int WM_LBUTTONDBLCLK = 515;
inline constexpr int WM_RBUTTONDOWN = 516;
inline constexpr int WM_RBUTTONUP = 517;

// Adds the icon, with the tip text and the icon of `formulario`; its mouse actions reach the
// handler of the board that holds `controle`.
void IncluirNaBandeja(QWidget* controle, const QString& dica, QWidget* formulario);
void ExcluirDaBandeja(QWidget* controle);
// Whether the icon sits in a notification area now, so that a hidden board can come back.
bool BandejaPresente();

// Qt reports the icon's mouse actions as activations, and trays differ: an XEmbed tray (icewm,
// XFCE) gives a double-click as a single activation and a double one, a StatusNotifierItem host
// (KDE, GNOME's AppIndicator) as two single activations. Either way one double-click message
// comes out, also where both kinds arrive; a lone single activation makes none.
class TradutorBandeja
{
public:
    explicit TradutorBandeja(int intervaloDuplo)
        : m_intervalo(intervaloDuplo)
    {
    }
    // The mouse message for an activation at `instante` (milliseconds), or 0 for none.
    int Mensagem(QSystemTrayIcon::ActivationReason motivo, qint64 instante);

private:
    bool Recente(qint64 desde, qint64 instante) const { return desde >= 0 && instante - desde <= m_intervalo; }

    int m_intervalo;
    qint64 m_toqueSolto = -1; // a single activation still waiting for its pair
    qint64 m_duploDeToques = -1; // when two single activations last made a double-click
};
