// Panels unfold over the board in small steps instead of simply appearing.
#include "shell/Prancheta.h"

#include <QCoreApplication>
#include <cmath>

namespace {

// A panel's height in twips. Pixels would round the diagonal steps away, so the twips set last
// travel with the panel and are trusted while its pixel height still matches them.
int AlturaEmTwips(const QWidget* frm)
{
    const QVariant guardada = frm->property("AlturaTwips");
    if (guardada.isValid() && Px(guardada.toInt()) == frm->height())
        return guardada.toInt();
    return frm->height() * 15;
}

void DefinirAltura(QWidget* frm, int twips)
{
    frm->setProperty("AlturaTwips", twips);
    frm->resize(frm->width(), Px(twips));
}

void DefinirLargura(QWidget* frm, int twips) { frm->resize(Px(twips), frm->height()); }

// Each step is painted before the next one.
void Passo() { QCoreApplication::processEvents(); }

} // namespace

uint8_t Prancheta::SortearEstilo(std::minstd_rand& gerador)
{
    const double r = double(gerador() - gerador.min()) / (double(gerador.max() - gerador.min()) + 1.0);
    return uint8_t(std::floor(10.0 * r));
}

void Prancheta::Mostrar(QWidget* frm, int Altura, int Largura)
{
    frm->setEnabled(true);
    EstiloAbertura = SortearEstilo(GeradorDeEstilos);

    if (EstiloAbertura <= 3) {
        DefinirAltura(frm, 0);
        frm->setVisible(true);
        const int limite = Altura;
        for (Contador = 50; Contador <= limite; Contador += 50) {
            DefinirAltura(frm, Contador);
            Passo();
        }
        DefinirAltura(frm, Altura);
    } else if (EstiloAbertura <= 6) {
        DefinirLargura(frm, 0);
        frm->setVisible(true);
        const int limite = Largura;
        for (Contador = 50; Contador <= limite; Contador += 75) {
            DefinirLargura(frm, Contador);
            Passo();
        }
        DefinirLargura(frm, Largura);
    } else {
        DefinirLargura(frm, 0);
        DefinirAltura(frm, 0);
        frm->setVisible(true);
        const int limite = Largura;
        // The height step is needed, and finite, only when there is a step to take.
        if (limite >= 50) {
            const int d = int(std::floor(100.0 / (double(Largura) / double(Altura))));
            for (Contador = 50; Contador <= limite; Contador += 100) {
                DefinirLargura(frm, Contador);
                const int h = AlturaEmTwips(frm);
                if (h < Altura)
                    DefinirAltura(frm, h + d);
                Passo();
            }
        }
        DefinirAltura(frm, Altura);
        DefinirLargura(frm, Largura);
    }

    frm->setEnabled(true);
}
