#pragma once
// A panel is never simply switched on: it unfolds over the board from size zero to its designed
// size, downwards, to the right, or both, in one of three styles drawn at random, step by step, a
// step every few milliseconds whatever the machine's speed.
#include <QList>
#include <QObject>
#include <QSize>
#include <random>

class QWidget;
namespace Inventario {
struct Controle;
}

class Desdobramento : public QObject
{
    Q_OBJECT
public:
    enum class Estilo { Vertical, Horizontal, Diagonal };
    static constexpr int MsPorPasso = 4;

    explicit Desdobramento(QObject* pai = nullptr);

    // Shows the panel at size zero in the drawn style and unfolds it to the size its row of the
    // board's inventory gives; returns at once, the steps follow. A panel hidden meanwhile goes on
    // to its final size without showing again; one unfolded again starts over.
    void desdobrar(QWidget* painel, const Inventario::Controle& desenho);

    // The next style: four draws in ten vertical, three horizontal, three diagonal. The generator
    // is never seeded from the clock: the styles come in the same order on every run.
    Estilo sortear();
    // The sizes (in the inventory's unit) a panel of `final` size goes through in a style, from its
    // first to its final one.
    static QList<QSize> passos(Estilo estilo, QSize final);

signals:
    void desdobrado(QWidget* painel);

private:
    std::minstd_rand m_gerador;
};
