// A bare Qt window of the board's size: the baseline the board's start-up is measured against.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget janela;
    janela.setFixedSize(454, 595);
    janela.show();
    return app.exec();
}
