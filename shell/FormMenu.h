#pragma once
// The second form: never shown, it only carries the icon's pop-up menu.
#include <QWidget>

class QMenu;
class QAction;

class FormMenu : public QWidget
{
    Q_OBJECT
public:
    explicit FormMenu(QWidget* pai = nullptr);
    QMenu* mnu0 = nullptr;
    QAction* Encerrar = nullptr;
};
