#include "data/Banco.h"
#include "data/Modulo.h"
#include "shell/Controles.h"
#include "shell/Falhas.h"
#include "shell/Plataforma.h"
#include "shell/Prancheta.h"

#include <QApplication>
#include <QScreen>
#include <vector>

int main(int argc, char* argv[])
{
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
    Modulo::PastaDoPrograma = QCoreApplication::applicationDirPath();

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
        encerrar(FalhaBanco(banco, trava.Problema(), trava.Detalhe()).Relatorio());

    Prancheta prancheta(nullptr, Prancheta::Montagem::EmDuasEtapas);
    QObject::connect(&prancheta, &Prancheta::FalhaNoBanco, encerrar);
    try {
        prancheta.Form_Load();
    } catch (const FalhaBanco& falha) {
        // Ends as a failure at work does: returning would run the destructors of module-wide Qt
        // objects (the tray icon's among them) after the application they belong to is gone.
        encerrar(falha.Relatorio());
    }
    const QRect tela = prancheta.screen()->availableGeometry();
    prancheta.move(tela.center() - prancheta.rect().center());
    prancheta.show();
    // The board goes to the screen first; its panels and its icon follow before any input is handled.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    prancheta.ConcluirMontagem();
    return app.exec();
}
