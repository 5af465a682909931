#include "shell/FormMenu.h"

#include "shell/Controles.h"

#include <QAction>
#include <QMenu>

FormMenu::FormMenu(QWidget* pai)
    : QWidget(pai, Qt::Window)
{
    setObjectName(QStringLiteral("FormMenu"));
    setWindowTitle(QStringLiteral("Fazelas"));
    resize(RetanguloTwips(0, 0, 1560, 360).size());
    mnu0 = new QMenu(QStringLiteral("mnu0"), this);
    mnu0->setObjectName(QStringLiteral("mnu0"));
    Encerrar = mnu0->addAction(QStringLiteral("&Encerrar"));
    Encerrar->setObjectName(QStringLiteral("Encerrar"));
}
