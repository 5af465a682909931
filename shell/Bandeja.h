#pragma once
// The notification-area icon. Its record and the result of the last call are module-wide, as the
// icon is one for the whole program.
#include <QString>
#include <QSystemTrayIcon>
#include <memory>

class QWidget;

namespace Modulo {
inline std::unique_ptr<QSystemTrayIcon> DadosBandeja;
inline bool RetornoBandeja = false;
} // namespace Modulo

// Adds the icon: its activations reach the handler of `controle`'s board, with the tip text and
// the icon of `formulario`.
void IncluirNaBandeja(QWidget* controle, const QString& dica, QWidget* formulario);
void ExcluirDaBandeja(QWidget* controle);
