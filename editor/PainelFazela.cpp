#include "editor/PainelFazela.h"

#include "assets/Imagens.h"
#include "message/PainelMensagem.h"
#include "shell/Desdobramento.h"
#include "shell/Inventario.h"

#include <QPushButton>

using namespace Inventario;

namespace {

constexpr Controle Desenho = painel("FrmFazela", 1230, 2828, 4365, 3345).comMarcas(Oculto);

// clang-format off
constexpr Controle Tabela[] = {
    Controle{"CmbFazelaPrior", Tipo::Lista, 3120, 390, 1125, 285}.com(Legenda).naOrdem(55),
    Controle{"txtFazelaDescricao", Tipo::TextoMulti, 90, 1350, 4155, 1320}.com(Caixas).naOrdem(57),
    botao("CmdFazelaAlterar", 1650, 2850, 1125, 315).comTexto("&Alterar").com(Botoes).naOrdem(59),
    botao("CmdFazelaExcluir", 3000, 2850, 1125, 315).comTexto("&Excluir").com(Botoes).naOrdem(60),
    botao("CmdFazelaIncluir", 270, 2850, 1125, 315).comTexto("&Incluir").com(Botoes).naOrdem(58),
    Controle{"txtFazelaNome", Tipo::Texto, 90, 690, 4155, 330}.com(Caixas).comMarcas(Limite50).naOrdem(56),
    rotulo("txtFazelaCodigo", 2460, 1080, 1605, 255).comMarcas(Oculto),
    rotulo("Label9", 2070, 450, 1065, 195).comTexto("Prioridade :").com({"Arial", 8.25, true, true}).comFrente(Vinho),
    rotulo("Label8", 120, 1080, 3105, 285).comTexto("Descrição da Fazela :").com(Rotulos).comFrente(Vinho),
    rotulo("Label5", 60, 30, 2505, 285).comTexto("Dados da Fazela").com(Titulo).comFrente(Branco),
    acao("CmdFazelaSair", 4080, 60, 240, 240, Imagens::Fechar).comDica("Fechar").naOrdem(61),
    linha("Line15", 0, 330, 4335, 330, 2),
    linha("Line14", 0, 3330, 4335, 3330, 3),
    linha("Line13", 0, 0, 4335, 0, 3),
    linha("Line12", 4350, 0, 4350, 3300, 3),
    linha("Line11", 0, 0, 0, 3330, 3),
    rotulo("Label7", 30, 30, 4305, 285).comFundo(Azul).comMarcas(Opaco),
    rotulo("Label4", 120, 420, 3105, 285).comTexto("Nome da Fazela :").com(Rotulos).comFrente(Vinho),
};
// clang-format on

// The priority stored is the position in the list plus one; none chosen stores 0.
constexpr int PosicaoMedia = 2;

} // namespace

PainelFazela::PainelFazela(QWidget* janela, Construtor& construtor, const BancoDeDados& banco,
    Desdobramento& desdobramento, PainelMensagem& mensagem)
    : Painel(janela)
    , m_banco(banco)
    , m_desdobramento(desdobramento)
    , m_mensagem(mensagem)
{
    construtor.aplicar(Desenho, this);
    construtor.criar(Tabela, this);
    m_prioridade = construtor.controle<Lista>(QStringLiteral("CmbFazelaPrior"));
    m_nome = construtor.controle<CaixaTexto>(QStringLiteral("txtFazelaNome"));
    m_descricao = construtor.controle<CaixaTextoMulti>(QStringLiteral("txtFazelaDescricao"));
    m_codigoMostrado = construtor.controle<Rotulo>(QStringLiteral("txtFazelaCodigo"));
    m_incluir = construtor.controle<QPushButton>(QStringLiteral("CmdFazelaIncluir"));
    m_alterar = construtor.controle<QPushButton>(QStringLiteral("CmdFazelaAlterar"));
    m_excluir = construtor.controle<QPushButton>(QStringLiteral("CmdFazelaExcluir"));
    m_prioridade->addItems({ QStringLiteral("Nenhuma"), QStringLiteral("Baixa"), QStringLiteral("Média"),
        QStringLiteral("Alta"), QStringLiteral("Urgente") });
    connect(m_incluir, &QPushButton::clicked, this, &PainelFazela::incluir);
    connect(m_alterar, &QPushButton::clicked, this, &PainelFazela::alterar);
    connect(m_excluir, &QPushButton::clicked, this, &PainelFazela::excluir);
    connect(
        construtor.controle<Imagem>(QStringLiteral("CmdFazelaSair")), &Imagem::clicado, this, &PainelFazela::fechar);
    connect(m_prioridade, &Lista::teclaDigitada, this, &PainelFazela::teclaNaPrioridade);
    connect(m_nome, &CaixaTexto::teclaDigitada, this, &PainelFazela::teclaNoNome);
    connect(m_descricao, &CaixaTextoMulti::teclaDigitada, this, &PainelFazela::teclaNaDescricao);
}

void PainelFazela::abrirNova(int64_t grupo)
{
    if (grupo == 0)
        return;
    m_grupo = grupo;
    m_alterar->setEnabled(false);
    m_excluir->setEnabled(false);
    m_incluir->setEnabled(true);
    m_prioridade->setCurrentIndex(PosicaoMedia);
    m_descricao->setText(QString());
    m_nome->setText(QString());
    m_desdobramento.desdobrar(this, Desenho);
}

void PainelFazela::abrirParaAlterar(const Fazela& fazela)
{
    m_alterar->setEnabled(true);
    m_excluir->setEnabled(true);
    m_incluir->setEnabled(false);
    m_prioridade->setCurrentIndex(fazela.prioridade - 1);
    m_descricao->setText(fazela.descricao);
    m_nome->setText(fazela.nome);
    m_codigo = fazela.codigo;
    m_codigoMostrado->setText(QString::number(fazela.codigo));
    m_desdobramento.desdobrar(this, Desenho);
}

// A task needs a name; blanks count as one. Says so and keeps the panel as it is otherwise.
bool PainelFazela::nomeInformado()
{
    if (!m_nome->text().isEmpty())
        return true;
    setEnabled(false);
    m_mensagem.informar(QStringLiteral("Informe o Nome da Fazela !"));
    setEnabled(true);
    m_nome->setFocus();
    return false;
}

void PainelFazela::gravar(const std::function<void()>& gravacao)
{
    // A write that fails leaves the file as it was: the panel and what the user typed stay.
    if (!protegido(gravacao, [this](const QString& relatorio) { emit falhaAoGravar(relatorio); }))
        return;
    hide();
    emit gravada();
}

void PainelFazela::incluir()
{
    if (nomeInformado())
        gravar([this] {
            m_banco.incluirFazela(m_grupo, m_nome->text(), m_descricao->text(), m_prioridade->currentIndex() + 1);
        });
}

void PainelFazela::alterar()
{
    if (nomeInformado())
        gravar([this] {
            m_banco.alterarFazela(m_codigo, m_nome->text(), m_descricao->text(), m_prioridade->currentIndex() + 1);
        });
}

void PainelFazela::excluir()
{
    gravar([this] { m_banco.excluirFazela(m_codigo); });
}

void PainelFazela::fechar() { hide(); }

void PainelFazela::teclaNaPrioridade(int caractere)
{
    if (caractere == 13)
        m_nome->setFocus();
}

void PainelFazela::teclaNoNome(int caractere)
{
    // The count is taken before the key has its effect: a full box hands the next key on.
    if (caractere == 13 || m_nome->text().length() == 50)
        m_descricao->setFocus();
}

void PainelFazela::teclaNaDescricao(int caractere)
{
    if (caractere != 13)
        return;
    if (m_incluir->isEnabled())
        incluir();
    else
        alterar();
}
