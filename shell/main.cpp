#include "data/BancoDeDados.h"
#include "shell/Controles.h"
#include "shell/Falhas.h"
#include "shell/PastaDoBanco.h"
#include "shell/Prancheta.h"
#include "shell/SistemaDeJanelas.h"
#include "shell/UmaCopia.h"

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

bool responderOpcao(int argc, char* argv[])
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
    if (responderOpcao(argc, argv))
        return 0;
    // On Wayland the board runs through XWayland, which lets it keep its shape and be dragged.
    SistemaDeJanelas::preferirX11();
    // Desktops find the board's entry, name and icon by its window's class (X11, from the
    // application's name) and app id (Wayland, the entry's name). X11 takes the instance from the
    // executable's name, which a copy may change, unless told: -name, or RESOURCE_NAME if set.
    std::vector<char*> argumentos(argv, argv + argc);
    char opcao[] = "-name", instancia[] = "fazelas";
    if (argc > 0 && qEnvironmentVariableIsEmpty("RESOURCE_NAME"))
        argumentos.insert(argumentos.begin() + 1, { opcao, instancia });
    int quantos = int(argumentos.size());
    argumentos.push_back(nullptr);
    QApplication app(quantos, argumentos.data());
    QApplication::setApplicationName(QStringLiteral("Fazelas"));
    QApplication::setDesktopFileName(QStringLiteral("fazelas"));
    // Hiding the board to its icon must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    substituirFontes();
    falarPortugues();

    QString pasta;
    try {
        pasta = pastaDoBanco(QCoreApplication::applicationDirPath(), QStringLiteral(FAZELAS_PASTA_INSTALADA));
    } catch (const FalhaBanco& falha) {
        reportarFalha(falha.relatorio());
        return 1;
    }
    const BancoDeDados banco(BancoDeDados::arquivoNaPasta(pasta));
    // One copy per data file: a second start ends here, before any window, icon or database access,
    // and the copy that runs brings its board back to the user who started the program again.
    UmaCopia copia(banco.arquivo());
    switch (copia.tomar()) {
    case UmaCopia::Resultado::OutraCopia:
        copia.tocar();
        return 0;
    case UmaCopia::Resultado::Falhou:
        reportarFalha(
            FalhaBanco(banco.arquivo(), QStringLiteral("ao abrir"), copia.problema(), copia.detalhe()).relatorio());
        return 1;
    case UmaCopia::Resultado::Tomada:
        break;
    }
    // A failure ends the program as a failure at work does: at once, with the lock let go.
    const auto falhaFinal = [&copia](const QString& relatorio) {
        reportarFalha(relatorio);
        copia.soltar();
        encerrarAposFalha();
    };

    Prancheta prancheta(banco, Prancheta::Montagem::EmDuasEtapas);
    QObject::connect(&prancheta, &Prancheta::falhaNoBanco, falhaFinal);
    QObject::connect(&prancheta, &Prancheta::falhaAoGravar, &reportarFalha);
    try {
        prancheta.iniciar();
    } catch (const FalhaBanco& falha) {
        falhaFinal(falha.relatorio());
    }
    const QRect tela = prancheta.screen()->availableGeometry();
    prancheta.move(tela.center() - prancheta.rect().center());
    prancheta.show();
    // The board goes to the screen first; the rest follows before any input is handled.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    prancheta.concluirMontagem();
    QObject::connect(&copia, &UmaCopia::tocada, &prancheta, &Prancheta::trazerDeVolta);
    copia.atender();
    return app.exec();
}
