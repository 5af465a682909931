// The window's outline, dragging, stacking, web links and the single instance.
#include "shell/Prancheta.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLockFile>
#include <QUrl>
#include <QWindow>

QRegion Prancheta::CriarRegiao(const QImage& figura)
{
    const QImage img = figura.convertToFormat(QImage::Format_RGB32);
    const int largura = img.width();
    const QRgb transparente = img.pixel(0, 0);
    QRegion regiao;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* linha = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        int inicio = -1;
        for (int x = 0; x < largura; ++x) {
            const bool fora = linha[x] == transparente;
            if (fora && inicio >= 0) {
                regiao += QRect(inicio, y, x - inicio, 1);
                inicio = -1;
            } else if (!fora && inicio < 0) {
                inicio = x;
            }
        }
        if (inicio >= 0)
            regiao += QRect(inicio, y, largura - inicio, 1);
    }
    return regiao;
}

void Prancheta::PicPrancheta_MouseDown()
{
    if (QWindow* w = windowHandle())
        w->startSystemMove();
}

void Prancheta::ManterNoTopo(bool ligar)
{
    Q_UNUSED(ligar);
}

void Prancheta::Vek1_Click() { QDesktopServices::openUrl(QUrl(QStringLiteral(FAZELAS_ENDERECO_FABRICANTE))); }
void Prancheta::Image1_Click() { Vek1_Click(); }
void Prancheta::Image2_Click() { Vek1_Click(); }

bool Prancheta::AdquirirInstancia() { return true; }

void Prancheta::Picture1_MouseMove(int mensagem) { Q_UNUSED(mensagem); }

void Prancheta::closeEvent(QCloseEvent* e)
{
    e->accept();
    QCoreApplication::quit();
}
