// The message panel: informs, or asks for a confirmation, and waits for the answer.
#include "data/Modulo.h"
#include "shell/Prancheta.h"

using namespace Modulo;

bool Prancheta::MensageBox(const QString& Mensagem, uint8_t Tipo)
{
    Q_UNUSED(Mensagem);
    Q_UNUSED(Tipo);
    return false;
}
void Prancheta::CmdMensagemOkay_Click() {}
void Prancheta::CmdMensagemCancelar_Click() {}
void Prancheta::CmdMensagemConfirmar_Click() {}
void Prancheta::ImgMensagemSair_Click() {}
