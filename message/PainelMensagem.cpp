#include "message/PainelMensagem.h"

#include "assets/Imagens.h"
#include "shell/Desdobramento.h"
#include "shell/Inventario.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <utility>

using namespace Inventario;

namespace {

constexpr Controle Desenho = painel("FrmMensagem", 1230, 3803, 4365, 1395).comMarcas(Oculto);

// clang-format off
constexpr Controle Tabela[] = {
    botao("CmdMensagemOkay", 1530, 915, 1335, 315).comTexto("&Okay").com(Botoes).naOrdem(47),
    botao("CmdMensagemCancelar", 2940, 915, 1335, 315).comTexto("&Cancelar").com(Botoes).naOrdem(48),
    botao("CmdMensagemConfirmar", 120, 915, 1335, 315).comTexto("&Confirmar").com(Botoes).naOrdem(46),
    acao("ImgMensagemSair", 4080, 60, 240, 240, Imagens::Fechar).comDica("Fechar").naOrdem(49),
    rotulo("lblMsgBoxCaption", 60, 30, 3975, 285)
        .comTexto("Mensagem do Sistema")
        .com(Titulo)
        .comFundo(Azul)
        .comFrente(Branco)
        .comMarcas(Opaco),
    linha("Line10", 0, 330, 4335, 330, 2),
    linha("Line9", 0, 1380, 4335, 1380, 3),
    linha("Line8", 0, 0, 4335, 0, 3),
    linha("Line7", 4350, 0, 4350, 3045, 3),
    linha("Line6", 0, 0, 0, 3045, 3),
    rotulo("Label6", 30, 30, 4305, 285).comFundo(Azul).comMarcas(Opaco),
    rotulo("txtMsgBoxMensagem", 180, 420, 4065, 435).com(Rotulos).comFrente(0xFFFFFF00).comMarcas(Centro | Quebra),
};
// clang-format on

} // namespace

PainelMensagem::PainelMensagem(QWidget* janela, Construtor& construtor, Desdobramento& desdobramento)
    : Painel(janela)
    , m_desdobramento(desdobramento)
{
    construtor.aplicar(Desenho, this);
    construtor.criar(Tabela, this);
    m_okay = construtor.controle<QPushButton>(QStringLiteral("CmdMensagemOkay"));
    m_confirmar = construtor.controle<QPushButton>(QStringLiteral("CmdMensagemConfirmar"));
    m_cancelar = construtor.controle<QPushButton>(QStringLiteral("CmdMensagemCancelar"));
    m_texto = construtor.controle<Rotulo>(QStringLiteral("txtMsgBoxMensagem"));
    connect(m_okay, &QPushButton::clicked, this, [this] { responder(Negativa); });
    connect(m_cancelar, &QPushButton::clicked, this, [this] { responder(Negativa); });
    connect(m_confirmar, &QPushButton::clicked, this, [this] { responder(Positiva); });
    connect(construtor.controle<Imagem>(QStringLiteral("ImgMensagemSair")), &Imagem::clicado, this,
        [this] { responder(Negativa); });
}

bool PainelMensagem::mostrar(const QString& mensagem, uint8_t tipo)
{
    QApplication::beep();
    m_resposta = SemResposta;
    const bool informacao = tipo == Informacao;
    m_cancelar->setVisible(!informacao);
    m_confirmar->setVisible(!informacao);
    m_okay->setVisible(informacao);
    m_texto->setText(mensagem);
    m_desdobramento.desdobrar(this, Desenho);
    // An answer given while the panel unfolds counts as well. The thread sleeps until an event
    // comes; the answer quits this loop, and so does the end of the program, unanswered.
    if (m_resposta == SemResposta) {
        QEventLoop espera;
        QEventLoop* anterior = std::exchange(m_espera, &espera);
        espera.exec();
        m_espera = anterior;
    }
    return m_resposta == Positiva;
}

void PainelMensagem::responder(Resposta resposta)
{
    m_resposta = resposta;
    hide();
    if (m_espera)
        m_espera->quit();
}
