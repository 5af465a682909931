#include "data/BancoDeDados.h"
#include "shell/Controles.h"
#include "shell/Falhas.h"
#include "shell/Prancheta.h"
#include "shell/SistemaDeJanelas.h"
#include "shell/UmaCopia.h"

#include <QApplication>
#include <QScreen>
#include <vector>

int main(int argc, char* argv[])
{
    // On Wayland the board runs through XWayland, which lets it keep its shape and be dragged.
    SistemaDeJanelas::preferirX11();
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
    substituirFontes();
    falarPortugues();

    const BancoDeDados banco(BancoDeDados::arquivoNaPasta(QCoreApplication::applicationDirPath()));
    // One copy per data file: a second start ends here, before any window, icon or database access,
    // and the copy that runs brings its board back to the user who started the program again.
    UmaCopia copia(banco.arquivo());
    switch (copia.tomar()) {
    case UmaCopia::Resultado::OutraCopia:
        copia.tocar();
        return 0;
    case UmaCopia::Resultado::Falhou:
        reportarFalha(FalhaBanco(banco.arquivo(), QStringLiteral("ao abrir"), copia.problema(), copia.detalhe()).relatorio());
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
