#include "shell/Bandeja.h"

#include "shell/Prancheta.h"

#include <QApplication>
#include <QMenu>
#include <QWidget>
#include <chrono>

using namespace Modulo;

int TradutorBandeja::Mensagem(QSystemTrayIcon::ActivationReason motivo, qint64 instante)
{
    switch (motivo) {
    case QSystemTrayIcon::Trigger:
        if (Recente(m_toqueSolto, instante)) {
            m_toqueSolto = -1;
            m_duploDeToques = instante;
            return WM_LBUTTONDBLCLK;
        }
        m_toqueSolto = instante;
        return 0;
    case QSystemTrayIcon::DoubleClick:
        m_toqueSolto = -1;
        // The same double-click, already made of two single activations.
        if (Recente(m_duploDeToques, instante)) {
            m_duploDeToques = -1;
            return 0;
        }
        return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Context:
        return WM_RBUTTONUP;
    default:
        return 0;
    }
}

namespace {

qint64 Agora()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

void IncluirNaBandeja(QWidget* controle, const QString& dica, QWidget* formulario)
{
    auto* prancheta = qobject_cast<Prancheta*>(controle->window());
    DadosBandeja = std::make_unique<QSystemTrayIcon>(formulario->windowIcon());
    DadosBandeja->setToolTip(dica);
    QObject::connect(DadosBandeja.get(), &QSystemTrayIcon::activated, controle,
        [prancheta, tradutor = TradutorBandeja(QApplication::doubleClickInterval())](
            QSystemTrayIcon::ActivationReason motivo) mutable {
            if (const int mensagem = tradutor.Mensagem(motivo, Agora()))
                prancheta->Picture1_MouseMove(mensagem);
        });
    DadosBandeja->show();
    RetornoBandeja = BandejaPresente();
    // Qt knows the place only of an icon it docked itself in an XEmbed tray; there the menu is
    // ours to open. A StatusNotifierItem host draws the menu itself, from the one handed to it.
    if (RetornoBandeja && !DadosBandeja->geometry().isValid())
        DadosBandeja->setContextMenu(prancheta->MenuDaBandeja());
}

void ExcluirDaBandeja(QWidget* controle)
{
    Q_UNUSED(controle);
    // Whether an icon sat in a notification area to be removed.
    RetornoBandeja = BandejaPresente();
    if (DadosBandeja)
        DadosBandeja->hide();
    DadosBandeja.reset();
}

bool BandejaPresente() { return DadosBandeja && DadosBandeja->isVisible() && QSystemTrayIcon::isSystemTrayAvailable(); }
