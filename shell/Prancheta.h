#pragma once
// The board window. It owns every control and every event handler of the program; its members
// are defined in the folder of the subsystem they belong to:
//   shell/    start-up and shutdown, the control inventory, shape, dragging, stacking, unfolding, tray
//   groups/   the group list and group editing
//   grid/     the grid rows, scrolling and row actions
//   editor/   the task panel
//   message/  the message panel
#include "shell/Controles.h"

#include <QPushButton>
#include <QRegion>
#include <QScrollBar>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>

class FormMenu;
class QCursor;
class QEventLoop;
class QIcon;
class QMenu;
struct ItemGrade;
namespace Plataforma {
class Campainha;
}

inline constexpr int QtdLinhas = 23;
inline constexpr int LinhaDaMensagem = 10;
inline constexpr const char* SemFazelas = "Sem Fazelas Cadastradas !        ";
inline constexpr const char* SemGrupos = " Sem Grupos de Fazela Cadastrado !";

class Prancheta : public QWidget
{
    Q_OBJECT
public:
    // The program puts the board on the screen first (EmDuasEtapas): the hidden panels and the
    // notification-area icon follow in ConcluirMontagem, before any input is handled, so that
    // nothing they need delays the board.
    enum class Montagem { Completa, EmDuasEtapas };
    explicit Prancheta(QWidget* pai = nullptr, Montagem montagem = Montagem::Completa);
    void ConcluirMontagem();
    ~Prancheta() override;

    // --- start-up and shutdown
    // Runs the start-up sequence, once the program holds its data file's lock (Plataforma::Trava).
    void Form_Load();
    void CmdSair_Click();
    void Encerrar_Click();

    // --- single instance
    // The program was started again while this copy runs: the board comes back to the user.
    void TrazerDeVolta();

    // --- shape, density, dragging, stacking and web links
    static QRegion CriarRegiao(const QImage& figura);
    // Draws every picture anew for a screen of this density and fits the outline to them.
    void AjustarDensidade(qreal densidade);
    // The window's outline in the window system's pixels: the board picture's, drawn for the
    // screen, where the board is painted.
    QRegion ContornoNativo() const;
    static QCursor CursorDaMao(qreal densidade);
    // The window's icon at each size up to `ate` pixels.
    static QIcon IconeDaJanela(int ate = 256);
    // The board picture with its surroundings transparent, for a window nothing can cut.
    static QImage SemChave(const QImage& figura);
    void PicPrancheta_MouseDown(Qt::MouseButton botao, QPoint ponto);
    void ManterNoTopo(bool ligar);
    bool NoTopo = false; // the keep-above state last asked of the window manager
    void Vek1_Click();
    void Image1_Click();
    void Image2_Click();

    // --- panel unfolding
    void Mostrar(QWidget* frm, int Altura, int Largura);
    uint8_t EstiloAbertura = 0;
    int32_t Contador = 0;
    // Never seeded from the clock: the styles come in the same order on every run. Tests reseed it.
    std::minstd_rand GeradorDeEstilos;
    // k = floor(10 * r), r uniform in [0, 1) drawn from the generator.
    static uint8_t SortearEstilo(std::minstd_rand& gerador);

    // --- tray icon
    void Picture1_MouseMove(int mensagem);
    // FormMenu's menu; the form is made, hidden, the first time the menu is needed.
    QMenu* MenuDaBandeja();

    // --- group list and group editing
    bool AlimentarCombo();
    void cmbGrupo_Click();
    void CmdNewGrupo_Click();
    void CmdGrupoIncluir_Click();
    void CmdGrupoCancel_Click();
    void ImgGrupoSair_Click();
    void txtGrupoGrupo_KeyPress(int KeyAscii);
    void CmdDelGrupo_Click();

    // --- grid
    void LimparGrade();
    void AlimentarGrade(int64_t Codigo);
    // At start-up: only the rows on the screen, with the scroll bar's whole range; CompletarGrade
    // loads the rest.
    void AlimentarPrimeirasLinhas(int64_t Codigo);
    void CompletarGrade();
    void IncluirNaGrade(int64_t Codigo, const QString& Fazela, const QString& Descricao, uint8_t Prioridade,
                        const QString& Executado);
    static QString TraduzirCor(uint8_t Prioridade);
    void PintarLinha(int linha, const ItemGrade& e);
    // The buffer entry a row shows, or none for a row without a task.
    ItemGrade* FazelaDaLinha(int Index);
    void VscGrade_Change();
    void VscGrade_Scroll();
    void ImgLinha_Click(int Index);
    void Linha_DblClick(int Index);

    // --- task editor
    void CmdNewFazela_Click();
    void CmdFazelaIncluir_Click();
    void CmdFazelaAlterar_Click();
    void CmdFazelaExcluir_Click();
    void CmdFazelaSair_Click();
    void CmbFazelaPrior_KeyPress(int KeyAscii);
    void txtFazelaNome_KeyPress(int KeyAscii);
    void txtFazelaDescricao_KeyPress(int KeyAscii);
    // Change mode, opened from a task row with the row's entry.
    void AbrirParaAlterar(const ItemGrade& e);

    // --- message panel
    bool MensageBox(const QString& Mensagem, uint8_t Tipo);
    void CmdMensagemOkay_Click();
    void CmdMensagemCancelar_Click();
    void CmdMensagemConfirmar_Click();
    void ImgMensagemSair_Click();
    QEventLoop* EsperaDaResposta = nullptr; // the wait of the message shown, quit by its answer

    // --- controls, by their design names
    Painel* FrmMensagem = nullptr;
    Painel* FrmFazela = nullptr;
    Painel* FrmGrupo = nullptr;
    CaixaImagem* PicPrancheta = nullptr;

    CaixaImagem* Picture1 = nullptr;
    CaixaImagem* PicFocus = nullptr;
    QScrollBar* VscGrade = nullptr;
    Lista* cmbGrupo = nullptr;
    Imagem* CmdDelGrupo = nullptr;
    Imagem* CmdNewGrupo = nullptr;
    Imagem* CmdNewFazela = nullptr;
    Imagem* CmdSair = nullptr;
    Rotulo* Vek1 = nullptr;
    Imagem* Image1 = nullptr;
    Imagem* Image2 = nullptr;
    Imagem* ImagemCheck = nullptr;
    std::array<Imagem*, QtdLinhas> ImgLinha{};
    std::array<Rotulo*, QtdLinhas> Linha{};

    CaixaTexto* txtGrupoGrupo = nullptr;
    QPushButton* CmdGrupoIncluir = nullptr;
    QPushButton* CmdGrupoCancel = nullptr;
    Imagem* ImgGrupoSair = nullptr;

    Lista* CmbFazelaPrior = nullptr;
    CaixaTextoMulti* txtFazelaDescricao = nullptr;
    QPushButton* CmdFazelaAlterar = nullptr;
    QPushButton* CmdFazelaExcluir = nullptr;
    QPushButton* CmdFazelaIncluir = nullptr;
    CaixaTexto* txtFazelaNome = nullptr;
    Rotulo* txtFazelaCodigo = nullptr;
    Imagem* CmdFazelaSair = nullptr;

    QPushButton* CmdMensagemOkay = nullptr;
    QPushButton* CmdMensagemCancelar = nullptr;
    QPushButton* CmdMensagemConfirmar = nullptr;
    Imagem* ImgMensagemSair = nullptr;
    Rotulo* txtMsgBoxMensagem = nullptr;

    FormMenu* FormularioMenu = nullptr; // created when the icon's menu is first needed

    // Where the board lies inside the window: the outline is the picture's, moved by this.
    QPoint OrigemDaPrancheta() const;

    // Runs a panel's write. When it fails, the file is as it was and so is the board, the panel
    // and what the user typed in it: the failure is reported (FalhaAoGravar) and the user may try
    // again or cancel. False then.
    bool GravarOuAvisar(const std::function<void()>& gravacao);

signals:
    // A database failure ended a handler; the report names the file and the failure.
    void FalhaNoBanco(const QString& relatorio);
    // A panel's write failed; the program goes on.
    void FalhaAoGravar(const QString& relatorio);

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* alvo, QEvent* e) override;

private:
    void MontarControles();
    void LigarEventosDaPrancheta();
    void LigarEventosDosPaineis();
    // Connects a control's event to its handler, through Protegido.
    template <class Origem, class Sinal, class... Args>
    void Ao(Origem* origem, Sinal sinal, void (Prancheta::*handler)(Args...))
    {
        connect(origem, sinal, this, [this, handler](Args... args) { Protegido([&] { (this->*handler)(args...); }); });
    }
    // Runs a handler; a database failure is reported instead of escaping into the toolkit.
    void Protegido(const std::function<void()>& handler);
    // Sets the group list's position and raises its selection event inside the call.
    void SelecionarNaLista(int posicao);

    void MontarPaineis();
    // The icon, and the doorbell that a second start rings.
    void AtenderODesktop();
    void AplicarContorno();

    Montagem m_montagem;
    qreal m_densidade = 1;
    QImage m_figura; // the board picture as drawn for the screen, surroundings in the key colour
    std::unique_ptr<Plataforma::Campainha> m_campainha; // rung by a second start
    // The button of the drag under way and, where the board follows the pointer itself, the
    // pointer's place on the window.
    Qt::MouseButton m_botaoDoArrasto = Qt::NoButton;
    std::optional<QPoint> m_pegada;
};
