#include "shell/Falhas.h"

#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

void reportarFalha(const QString& relatorio)
{
    std::fprintf(stderr, "fazelas: %s\n", relatorio.toLocal8Bit().constData());
    std::fflush(stderr);
    QMessageBox caixa(QMessageBox::Critical, QStringLiteral("Fazelas"), relatorio, QMessageBox::Ok);
    caixa.setObjectName(QStringLiteral("RelatorioDeFalha"));
    // Answered as the board's own messages are.
    caixa.button(QMessageBox::Ok)->setText(QStringLiteral("&Okay"));
    caixa.exec();
}

void encerrarAposFalha()
{
    // The handlers that were running stop here: none of them may go on to write after a failure.
    std::_Exit(1);
}
