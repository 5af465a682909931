#pragma once
// What a screen reader is told of the grid: a list named "Fazelas" whose rows read their task's
// name, with its priority and description as the description, each beside its mark, a check box
// named after the task and checked when it is done. Rows and marks are read from the grid itself,
// so what is told is always what is shown; the grid says when that changes.
#include <QString>

class QAccessibleInterface;
class QObject;
class QWidget;

namespace AcessoGrade {

enum Mudanca : unsigned {
    Texto = 1 << 0, // the row's task, name, description or priority
    Marca = 1 << 1, // done or not
    Tudo = Texto | Marca
};

// Tells assistive technology that a row and its mark now read otherwise.
void anunciar(QWidget* linha, QWidget* marca, unsigned mudancas);

// For QAccessible::installFactory: the grid, its rows and their marks.
QAccessibleInterface* interfaceDaGrade(const QString& classe, QObject* objeto);

// "Prioridade Alta, feita. <description>": what a row says besides its task's name.
QString descricaoDaLinha(int prioridade, bool executada, const QString& descricao);

} // namespace AcessoGrade
