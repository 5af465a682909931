#include "groups/PainelGrupo.h"

#include "assets/Imagens.h"
#include "shell/Desdobramento.h"
#include "shell/Inventario.h"

#include <QPushButton>

using namespace Inventario;

namespace {

constexpr Controle Desenho = painel("FrmGrupo", 1230, 3638, 4365, 1725).comMarcas(Oculto);

// clang-format off
constexpr Controle Tabela[] = {
    Controle{"txtGrupoGrupo", Tipo::Texto, 90, 720, 4155, 330}.com(Caixas).comMarcas(Limite50).naOrdem(41),
    botao("CmdGrupoIncluir", 420, 1250, 1335, 315).comTexto("&Incluir").com(Botoes).naOrdem(43),
    botao("CmdGrupoCancel", 2640, 1250, 1335, 315).comTexto("&Cancelar").com(Botoes).naOrdem(45),
    rotulo("Label3", 120, 450, 3105, 285).comTexto("Descrição do Grupo :").com(Rotulos).comFrente(Vinho),
    rotulo("lblGrupoCaption", 60, 30, 2505, 285).comTexto("Inclur Novo Grupo").com(Titulo).comFrente(Branco),
    acao("ImgGrupoSair", 4080, 60, 240, 240, Imagens::Fechar).comDica("Fechar").naOrdem(44),
    rotulo("Label2", 30, 30, 4305, 285).comFundo(Azul).comMarcas(Opaco),
    linha("Line1", 0, 0, 0, 3045, 3),
    linha("Line2", 4335, 0, 4335, 3045, 3),
    linha("Line3", 0, 0, 4335, 0, 3),
    linha("Line4", 0, 1710, 4335, 1710, 3),
    linha("Line5", 0, 330, 4335, 330, 2),
};
// clang-format on

} // namespace

PainelGrupo::PainelGrupo(
    QWidget* janela, Construtor& construtor, const BancoDeDados& banco, Desdobramento& desdobramento)
    : Painel(janela)
    , m_banco(banco)
    , m_desdobramento(desdobramento)
{
    construtor.aplicar(Desenho, this);
    construtor.criar(Tabela, this);
    m_nome = construtor.controle<CaixaTexto>(QStringLiteral("txtGrupoGrupo"));
    m_incluir = construtor.controle<QPushButton>(QStringLiteral("CmdGrupoIncluir"));
    connect(m_incluir, &QPushButton::clicked, this, &PainelGrupo::incluir);
    connect(construtor.controle<QPushButton>(QStringLiteral("CmdGrupoCancel")), &QPushButton::clicked, this,
        &PainelGrupo::fechar);
    connect(construtor.controle<Imagem>(QStringLiteral("ImgGrupoSair")), &Imagem::clicado, this, &PainelGrupo::fechar);
    connect(m_nome, &CaixaTexto::teclaDigitada, this, &PainelGrupo::teclaNoNome);
}

void PainelGrupo::abrir()
{
    m_nome->setText(QString());
    m_desdobramento.desdobrar(this, Desenho);
}

void PainelGrupo::incluir()
{
    int64_t codigo = 0;
    // A write that fails leaves the file as it was: the panel and the name stay.
    if (!protegido([&] { codigo = m_banco.incluirGrupo(m_nome->text()); },
            [this](const QString& relatorio) { emit falhaAoGravar(relatorio); }))
        return;
    emit grupoIncluido(codigo);
    hide();
}

void PainelGrupo::fechar() { hide(); }

void PainelGrupo::teclaNoNome(int caractere)
{
    if (caractere == 13)
        incluir();
    // A full box hands the next key on to the add button; after Enter has added the group the
    // panel is closed and the focus stays where it is.
    if (m_nome->text().length() == 50 && !isHidden())
        m_incluir->setFocus();
}
