#include "assets/Imagens.h"
#include "data/Banco.h"
#include "data/Modulo.h"
#include "shell/Falhas.h"
#include "shell/Prancheta.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("fazelas"));
    QApplication::setDesktopFileName(QStringLiteral("fazelas"));
    // Hiding the board to its icon must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QString::fromLatin1(Imagens::Icone)));
    SubstituirFontes();
    Modulo::PastaDoPrograma = QCoreApplication::applicationDirPath();

    Prancheta prancheta;
    QObject::connect(&prancheta, &Prancheta::FalhaNoBanco, [](const QString& relatorio) {
        ReportarFalha(relatorio);
        EncerrarAposFalha();
    });
    try {
        if (!prancheta.Form_Load())
            return 0;
    } catch (const FalhaBanco& falha) {
        ReportarFalha(falha.Relatorio());
        return 1;
    }
    const QRect tela = prancheta.screen()->availableGeometry();
    prancheta.move(tela.center() - prancheta.rect().center());
    prancheta.show();
    return app.exec();
}
