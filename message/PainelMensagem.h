#pragma once
// The message panel: the board's only way to inform the user or to ask for a confirmation. It
// unfolds over the board and over any other panel, and its caller waits for the answer while the
// window goes on working.
#include "shell/Controles.h"

class Construtor;
class Desdobramento;
class QEventLoop;
class QPushButton;

class PainelMensagem : public Painel
{
    Q_OBJECT
public:
    PainelMensagem(QWidget* janela, Construtor& construtor, Desdobramento& desdobramento);

    enum Tipo : uint8_t { Informacao = 1, Confirmacao = 2 };
    // Beeps, shows the message with "&Okay" (information) or with "&Confirmar" and "&Cancelar" (any
    // other type), and returns once it is answered: true only for "&Confirmar". A wait the end of the
    // program cuts short confirms nothing.
    bool mostrar(const QString& mensagem, uint8_t tipo);
    bool informar(const QString& mensagem) { return mostrar(mensagem, Informacao); }
    bool confirmar(const QString& mensagem) { return mostrar(mensagem, Confirmacao); }
    // Whether the message shown waits for its answer.
    bool esperando() const { return m_espera != nullptr; }

private:
    enum Resposta : uint8_t { SemResposta = 0, Negativa = 1, Positiva = 2 };
    void responder(Resposta resposta);

    Desdobramento& m_desdobramento;
    QPushButton* m_okay;
    QPushButton* m_confirmar;
    QPushButton* m_cancelar;
    Rotulo* m_texto;
    Resposta m_resposta = SemResposta;
    QEventLoop* m_espera = nullptr;
};
