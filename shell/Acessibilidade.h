#pragma once
// What assistive technology (a screen reader, through AT-SPI) is told of the board's controls that
// are not standard ones: a role, a Portuguese name, their state and what they do.
class QWidget;

namespace Acessibilidade {

// Installs the interfaces of the board's own kinds of control and of the grid's rows. Any number of
// calls install them once; made before the board makes its controls.
void instalar();

// Each text box and list is named by the label beside it; called when all of them are made.
void ligarRotulos(QWidget* janela);

} // namespace Acessibilidade
