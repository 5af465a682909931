// Start-up and shutdown of the board, and the wiring of its events to their handlers.
#include "shell/Prancheta.h"

#include "data/Comandos.h"
#include "data/Modulo.h"
#include "groups/Grupos.h"
#include "shell/Bandeja.h"
#include "shell/FormMenu.h"
#include "shell/Plataforma.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QScreen>
#include <QWindow>

using namespace Modulo;

Prancheta::Prancheta(QWidget* pai, Montagem montagem)
    : QWidget(pai)
    , m_montagem(montagem)
{
    MontarControles();
    LigarEventosDaPrancheta();
    if (montagem == Montagem::Completa)
        MontarPaineis();
}

Prancheta::~Prancheta() = default;

void Prancheta::Protegido(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const FalhaBanco& falha) {
        emit FalhaNoBanco(falha.relatorio());
    }
}

bool Prancheta::GravarOuAvisar(const std::function<void()>& gravacao)
{
    try {
        gravacao();
        return true;
    } catch (const FalhaBanco& falha) {
        FecharConexao();
        emit FalhaAoGravar(falha.relatorio());
        return false;
    }
}

void Prancheta::LigarEventosDaPrancheta()
{
    Ao(CmdSair, &Imagem::Click, &Prancheta::CmdSair_Click);
    Ao(PicPrancheta, &CaixaImagem::MouseDown, &Prancheta::PicPrancheta_MouseDown);
    PicPrancheta->installEventFilter(this); // keeps the controls' presses from moving the window
    Ao(Vek1, &Rotulo::Click, &Prancheta::Vek1_Click);
    Ao(Image1, &Imagem::Click, &Prancheta::Image1_Click);
    Ao(Image2, &Imagem::Click, &Prancheta::Image2_Click);

    // The user's pick; the program's own selections raise the handler inside SelecionarNaLista.
    Ao(cmbGrupo, &QComboBox::activated, &Prancheta::cmbGrupo_Click);
    Ao(CmdNewGrupo, &Imagem::Click, &Prancheta::CmdNewGrupo_Click);
    Ao(CmdDelGrupo, &Imagem::Click, &Prancheta::CmdDelGrupo_Click);
    // The change event comes after each move and at the end of a drag; the scroll event while
    // the thumb is dragged.
    VscGrade->setTracking(false);
    Ao(VscGrade, &QScrollBar::valueChanged, &Prancheta::VscGrade_Change);
    Ao(VscGrade, &QScrollBar::sliderMoved, &Prancheta::VscGrade_Scroll);
    for (int i = 0; i < QtdLinhas; ++i) {
        connect(ImgLinha[i], &Imagem::Click, this, [this, i] { Protegido([&] { ImgLinha_Click(i); }); });
        connect(Linha[i], &Rotulo::DblClick, this, [this, i] { Protegido([&] { Linha_DblClick(i); }); });
    }

    Ao(CmdNewFazela, &Imagem::Click, &Prancheta::CmdNewFazela_Click);
}

void Prancheta::LigarEventosDosPaineis()
{
    Ao(CmdGrupoIncluir, &QPushButton::clicked, &Prancheta::CmdGrupoIncluir_Click);
    Ao(CmdGrupoCancel, &QPushButton::clicked, &Prancheta::CmdGrupoCancel_Click);
    Ao(ImgGrupoSair, &Imagem::Click, &Prancheta::ImgGrupoSair_Click);
    Ao(txtGrupoGrupo, &CaixaTexto::KeyPress, &Prancheta::txtGrupoGrupo_KeyPress);

    Ao(CmdFazelaIncluir, &QPushButton::clicked, &Prancheta::CmdFazelaIncluir_Click);
    Ao(CmdFazelaAlterar, &QPushButton::clicked, &Prancheta::CmdFazelaAlterar_Click);
    Ao(CmdFazelaExcluir, &QPushButton::clicked, &Prancheta::CmdFazelaExcluir_Click);
    Ao(CmdFazelaSair, &Imagem::Click, &Prancheta::CmdFazelaSair_Click);
    Ao(CmbFazelaPrior, &Lista::KeyPress, &Prancheta::CmbFazelaPrior_KeyPress);
    Ao(txtFazelaNome, &CaixaTexto::KeyPress, &Prancheta::txtFazelaNome_KeyPress);
    Ao(txtFazelaDescricao, &CaixaTextoMulti::KeyPress, &Prancheta::txtFazelaDescricao_KeyPress);

    Ao(CmdMensagemOkay, &QPushButton::clicked, &Prancheta::CmdMensagemOkay_Click);
    Ao(CmdMensagemCancelar, &QPushButton::clicked, &Prancheta::CmdMensagemCancelar_Click);
    Ao(CmdMensagemConfirmar, &QPushButton::clicked, &Prancheta::CmdMensagemConfirmar_Click);
    Ao(ImgMensagemSair, &Imagem::Click, &Prancheta::ImgMensagemSair_Click);
}

QPoint Prancheta::OrigemDaPrancheta() const { return PicPrancheta->pos(); }

void Prancheta::Form_Load()
{
    // 1. Single instance: the program took its data file's lock before it built the board (main).

    // 2. The board picture loses its border and takes its picture's size.
    PicPrancheta->resize(PicPrancheta->Image().deviceIndependentSize().toSize());

    // 3. The window ends where the board picture ends.
    const QRect quadro = PicPrancheta->geometry();
    setFixedSize(quadro.right() + 1, quadro.bottom() + 1);

    // 4. The window's outline is the picture's, placed where the picture lies in the window, in the
    // pixels of the screen the window is on; drawn anew when it goes to a screen of another density.
    winId();
    connect(windowHandle(), &QWindow::screenChanged, this,
            [this](QScreen* tela) { if (tela) AjustarDensidade(tela->devicePixelRatio()); });
    AplicarContorno();

    // 6. The remembered group.
    AbrirConexao();
    ComandoSql = Comandos::LerConfig();
    Registros = std::make_shared<RegistrosBd>();
    Registros->Open(ComandoSql, Conexao);
    // Only a whole number names a group: another program may have left a text or a fraction
    // there, which no group's code can equal.
    if (!Registros->Eof()) {
        const QVariant lembrado = Registros->Campo(QLatin1StringView("Ultimo_Grupo"));
        if (lembrado.typeId() == QMetaType::LongLong) {
            UltimoGrupo = lembrado.toLongLong();
            GrupoAtual = UltimoGrupo;
        }
    }
    Registros->Close();
    FecharConexao();

    // 7. The notification-area icon and the doorbell of a second start (with a board built in two
    // stages, in its second one).
    if (m_montagem == Montagem::Completa)
        AtenderODesktop();

    // 8. The group list; its selection handler does nothing while the board is hidden.
    AlimentarCombo();
    // A remembered group that is gone (the program ended between deleting it and writing the
    // settings row) gives way to the group the list shows; new tasks would otherwise go to a group
    // that no longer exists, never to be seen again.
    if (UltimoGrupo != 0)
        GrupoAtual = CodigoDoItem(cmbGrupo->currentText()).value_or(0);

    // 9. The task grid; a board built in two stages reads only the rows on the screen now, and
    // the rest of a large group in its second stage.
    if (GrupoAtual == 0)
        LimparGrade();
    else if (m_montagem == Montagem::EmDuasEtapas)
        AlimentarPrimeirasLinhas(GrupoAtual);
    else
        AlimentarGrade(GrupoAtual);

    // 10. Shown by the caller, centred, as an ordinary window, with the focus where the keyboard
    // order starts.
    PicFocus->setFocus();
}

void Prancheta::ConcluirMontagem()
{
    Protegido([this] { CompletarGrade(); });
    MontarPaineis();
    AtenderODesktop();
}

void Prancheta::AtenderODesktop()
{
    setWindowIcon(IconeDaJanela());
    IncluirNaBandeja(Picture1, QStringLiteral("Fazelas"), this);
    m_campainha = std::make_unique<Plataforma::Campainha>(
        ArquivoBanco(), [this] { Protegido([this] { TrazerDeVolta(); }); });
}

void Prancheta::CmdSair_Click()
{
    ManterNoTopo(false);
    // Without a notification area a hidden board could never come back: the task bar keeps it.
    // Where nothing keeps a minimized window either, the board stays where it is.
    if (BandejaPresente())
        hide();
    else if (Plataforma::PodeMinimizar())
        showMinimized();
}

void Prancheta::Encerrar_Click()
{
    ExcluirDaBandeja(Picture1);
    QCoreApplication::exit(0);
}
