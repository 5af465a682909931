// The message panel: informs, or asks for a confirmation, and waits for the answer.
#include "data/Modulo.h"
#include "shell/Prancheta.h"

#include <QApplication>
#include <QEventLoop>
#include <utility>

using namespace Modulo;

namespace {

void Responder(Prancheta& p, uint8_t resposta)
{
    MsgBoxResposta = resposta;
    p.FrmMensagem->hide();
    p.PicPrancheta->setEnabled(true);
    if (p.EsperaDaResposta)
        p.EsperaDaResposta->quit();
}

} // namespace

bool Prancheta::MensageBox(const QString& Mensagem, uint8_t Tipo)
{
    QApplication::beep();
    MsgBoxResposta = 0;
    const bool informacao = Tipo == 1;
    CmdMensagemCancelar->setVisible(!informacao);
    CmdMensagemConfirmar->setVisible(!informacao);
    CmdMensagemOkay->setVisible(informacao);
    txtMsgBoxMensagem->setText(Mensagem);
    PicPrancheta->setEnabled(false);
    Mostrar(FrmMensagem, 1395, 4365);

    // An answer given while the panel unfolded has already been counted.
    if (MsgBoxResposta == 0) {
        // The thread sleeps until an event comes; the answer handlers quit this loop, and the
        // end of the program quits it too, unanswered.
        QEventLoop espera;
        QEventLoop* anterior = std::exchange(EsperaDaResposta, &espera);
        espera.exec();
        EsperaDaResposta = anterior;
    }
    // An unanswered wait (the program is ending) confirms nothing.
    return MsgBoxResposta == 2;
}

void Prancheta::CmdMensagemOkay_Click() { Responder(*this, 1); }
void Prancheta::CmdMensagemCancelar_Click() { Responder(*this, 1); }
void Prancheta::CmdMensagemConfirmar_Click() { Responder(*this, 2); }
void Prancheta::ImgMensagemSair_Click() { Responder(*this, 1); }
