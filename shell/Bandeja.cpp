#include "shell/Bandeja.h"

#include <QSystemTrayIcon>
#include <QWidget>

using namespace Modulo;

void IncluirNaBandeja(QWidget* controle, const QString& dica, QWidget* formulario)
{
    Q_UNUSED(controle);
    DadosBandeja = std::make_unique<QSystemTrayIcon>(formulario->windowIcon());
    DadosBandeja->setToolTip(dica);
    DadosBandeja->show();
    RetornoBandeja = QSystemTrayIcon::isSystemTrayAvailable();
}

void ExcluirDaBandeja(QWidget* controle)
{
    Q_UNUSED(controle);
    if (DadosBandeja)
        DadosBandeja->hide();
    DadosBandeja.reset();
    RetornoBandeja = true;
}
