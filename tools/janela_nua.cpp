// A bare Qt window of the board's size: the baseline the board's start-up is measured against.
//   fazelas-janela-nua            the window alone
//   fazelas-janela-nua --rotulo   the window showing one label of text: any window with text pays
//                                 for the font machinery, so this is the floor for the board
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget janela;
    janela.setFixedSize(454, 595);
    if (app.arguments().contains(QStringLiteral("--rotulo")))
        (new QLabel(QStringLiteral("Fazelas"), &janela))->move(20, 20);
    janela.show();
    return app.exec();
}
