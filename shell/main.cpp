#include "data/Banco.h"
#include "data/Modulo.h"
#include "shell/Controles.h"
#include "shell/Falhas.h"
#include "shell/PastaDoBanco.h"
#include "shell/Plataforma.h"
#include "shell/Prancheta.h"

#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// --help and --version are answered before the toolkit looks for a display; the manual page is
// made from them.
constexpr const char* Ajuda = R"(Uso: fazelas [--help | --version]
Quadro de tarefas para uma pessoa: as tarefas ("fazelas") de um grupo numa
prancheta, coloridas pela prioridade, com a marca das feitas, e um ícone na área
de notificação, cujo menu encerra o programa. Iniciado de novo, o programa traz
para a frente o quadro que já está aberto.

O quadro é um só arquivo, fzldados.mdb (SQLite 3). O programa em %s, a
pasta em que o pacote o instala, guarda o quadro de cada usuário na pasta de
dados dele, $XDG_DATA_HOME/fazelas/ (~/.local/share/fazelas/ se a variável não
estiver definida), e o cria ali na primeira vez que o usuário o inicia. Uma
cópia do programa em qualquer outra pasta usa o fzldados.mdb ao lado dela, que
o comando fazelas-criar-banco cria; sem ele, a cópia informa que o arquivo não
foi encontrado.

Opções:
      --help     mostra esta ajuda e termina
      --version  mostra a versão e termina
)";

bool ResponderOpcao(int argc, char* argv[])
{
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--help") == 0)
        std::printf(Ajuda, FAZELAS_PASTA_INSTALADA);
    else if (std::strcmp(argv[1], "--version") == 0)
        std::printf("fazelas %s\nCopyright © 2026 Oficina das Fazelas.\n", FAZELAS_VERSAO);
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (ResponderOpcao(argc, argv))
        return 0;
    // On Wayland the board runs through XWayland, which lets it keep its shape and be dragged.
    Plataforma::PreferirX11();
    // Desktops find the board's entry, name and icon by its window's class (X11, from the
    // application's name) and app id (Wayland, the entry's name). X11 takes the instance from the
    // executable's name, which a copy may change, unless told: -name, or RESOURCE_NAME if set.
    std::vector<char*> argumentos(argv, argv + argc);
    char opcao[] = "-name", instancia[] = "fazelas";
    if (argc > 0 && qEnvironmentVariableIsEmpty("RESOURCE_NAME"))
        argumentos.insert(argumentos.begin() + 1, {opcao, instancia});
    int quantos = int(argumentos.size());
    argumentos.push_back(nullptr);
    QApplication app(quantos, argumentos.data());
    QApplication::setApplicationName(QStringLiteral("Fazelas"));
    QApplication::setDesktopFileName(QStringLiteral("fazelas"));
    // Hiding the board to its icon must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    SubstituirFontes();
    FalarPortugues();
    try {
        Modulo::PastaDoPrograma =
            PastaDoBanco(QCoreApplication::applicationDirPath(), QStringLiteral(FAZELAS_PASTA_INSTALADA));
    } catch (const FalhaBanco& falha) {
        ReportarFalha(falha.relatorio());
        EncerrarAposFalha();
    }

    // One copy runs per data file: a second start, before any window, icon or database access,
    // brings the running copy's board back to the user who started the program again, and ends.
    const QString banco = Modulo::ArquivoBanco();
    Plataforma::Trava trava(banco);
    // A failure ends the program without unwinding, so the lock is let go here.
    const auto encerrar = [&trava](const QString& relatorio) {
        ReportarFalha(relatorio);
        trava.Soltar();
        EncerrarAposFalha();
    };
    const Plataforma::Trava::Resultado trancada = trava.Tomar();
    if (trancada == Plataforma::Trava::OutraCopia) {
        Plataforma::Campainha::Tocar(banco);
        return 0;
    }
    if (trancada == Plataforma::Trava::Falhou)
        encerrar(FalhaBanco(banco, QStringLiteral("ao abrir"), trava.Problema(), trava.Detalhe()).relatorio());

    Prancheta prancheta(nullptr, Prancheta::Montagem::EmDuasEtapas);
    QObject::connect(&prancheta, &Prancheta::FalhaNoBanco, encerrar);
    QObject::connect(&prancheta, &Prancheta::FalhaAoGravar, &ReportarFalha);
    try {
        prancheta.Form_Load();
    } catch (const FalhaBanco& falha) {
        // Ends as a failure at work does: returning would run the destructors of module-wide Qt
        // objects (the tray icon's among them) after the application they belong to is gone.
        encerrar(falha.relatorio());
    }
    const QRect tela = prancheta.screen()->availableGeometry();
    prancheta.move(tela.center() - prancheta.rect().center());
    prancheta.show();
    // The board goes to the screen first; its panels and its icon follow before any input is handled.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    prancheta.ConcluirMontagem();
    return app.exec();
}
