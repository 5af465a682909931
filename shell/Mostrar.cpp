// Panels unfold over the board in small steps instead of simply appearing.
#include "shell/Prancheta.h"

void Prancheta::Mostrar(QWidget* frm, int Altura, int Largura)
{
    frm->resize(Px(Largura), Px(Altura));
    frm->show();
}
