#pragma once
// Answers the message panel the way a user does: once MensageBox waits, a timer clicks one of
// the panel's real buttons. What the panel showed at that moment is kept for the test.
#include "shell/Prancheta.h"

#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

struct Resposta
{
    bool clicada = false;
    QString texto;
    bool okay = false, confirmar = false, cancelar = false;
    bool pranchetaHabilitada = true;
    bool tarefaHabilitada = true;
    QSize tamanho;
};

// Clicks the control `botao` gives once the panel is up and MensageBox waits for the answer.
inline std::shared_ptr<Resposta> ResponderQuandoEsperar(Prancheta& p, std::function<QWidget*()> botao)
{
    auto r = std::make_shared<Resposta>();
    auto* relogio = new QTimer(&p);
    relogio->setInterval(5);
    QObject::connect(relogio, &QTimer::timeout, &p, [&p, r, relogio, botao] {
        if (!p.EsperaDaResposta || p.FrmMensagem->isHidden())
            return;
        relogio->deleteLater();
        relogio->stop();
        r->texto = p.txtMsgBoxMensagem->text();
        r->okay = p.CmdMensagemOkay->isVisibleTo(p.FrmMensagem);
        r->confirmar = p.CmdMensagemConfirmar->isVisibleTo(p.FrmMensagem);
        r->cancelar = p.CmdMensagemCancelar->isVisibleTo(p.FrmMensagem);
        r->pranchetaHabilitada = p.PicPrancheta->isEnabled();
        r->tarefaHabilitada = p.FrmFazela->isEnabled();
        r->tamanho = p.FrmMensagem->size();
        r->clicada = true;
        QTest::mouseClick(botao(), Qt::LeftButton);
    });
    relogio->start();
    return r;
}
