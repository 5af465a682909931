#include "shell/Desdobramento.h"

#include "shell/Inventario.h"

#include <QVariantAnimation>
#include <QWidget>
#include <cmath>

Desdobramento::Desdobramento(QObject* pai)
    : QObject(pai)
{
}

Desdobramento::Estilo Desdobramento::sortear()
{
    // k = floor(10 r), r uniform in [0, 1).
    const double r = double(m_gerador() - m_gerador.min()) / (double(m_gerador.max() - m_gerador.min()) + 1.0);
    const int k = int(std::floor(10.0 * r));
    return k <= 3 ? Estilo::Vertical : k <= 6 ? Estilo::Horizontal : Estilo::Diagonal;
}

QList<QSize> Desdobramento::passos(Estilo estilo, QSize final)
{
    // The steps are fixed amounts, not fractions of the size: 50 down, 75 across, or 100 across
    // with as much down as keeps the panel's proportions.
    const int largura = final.width(), altura = final.height();
    QList<QSize> passos;
    switch (estilo) {
    case Estilo::Vertical:
        passos << QSize(largura, 0);
        for (int h = 50; h <= altura; h += 50)
            passos << QSize(largura, h);
        break;
    case Estilo::Horizontal:
        passos << QSize(0, altura);
        for (int w = 50; w <= largura; w += 75)
            passos << QSize(w, altura);
        break;
    case Estilo::Diagonal: {
        passos << QSize(0, 0);
        // Needed, and finite, only when there is a step to take.
        const int d = largura >= 50 ? int(std::floor(100.0 / (double(largura) / double(altura)))) : 0;
        int h = 0;
        for (int w = 50; w <= largura; w += 100) {
            if (h < altura)
                h += d;
            passos << QSize(w, h);
        }
        break;
    }
    }
    passos << final;
    return passos;
}

void Desdobramento::desdobrar(QWidget* painel, const Inventario::Controle& desenho)
{
    for (auto* anterior : painel->findChildren<QVariantAnimation*>(Qt::FindDirectChildrenOnly))
        anterior->stop();
    const QList<QSize> passos = Desdobramento::passos(sortear(), QSize(desenho.w, desenho.h));
    const auto aplicar
        = [painel](QSize twips) { painel->resize(Inventario::px(twips.width()), Inventario::px(twips.height())); };
    painel->setEnabled(true);
    aplicar(passos.first());
    painel->setVisible(true);

    auto* animacao = new QVariantAnimation(painel);
    animacao->setStartValue(0);
    animacao->setEndValue(int(passos.size()) - 1);
    animacao->setDuration(int(passos.size() - 1) * MsPorPasso);
    // Every step is taken, in order, however the frames fall.
    connect(animacao, &QVariantAnimation::valueChanged, painel,
        [=, this, dado = qsizetype(0)](const QVariant& valor) mutable {
            const qsizetype ultimo = passos.size() - 1;
            const qsizetype ate = std::min<qsizetype>(valor.toInt(), ultimo);
            while (dado < ate)
                aplicar(passos[++dado]);
            if (dado == ultimo && animacao->state() == QAbstractAnimation::Running) {
                animacao->stop();
                painel->setEnabled(true);
                emit desdobrado(painel);
            }
        });
    animacao->start(QAbstractAnimation::DeleteWhenStopped);
}
