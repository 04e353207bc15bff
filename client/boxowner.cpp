#include "boxowner.h"

#include <QApplication>
#include <QMainWindow>

QWidget* BoxOwner(QWidget* asking)
{
    QWidget* w = asking ? asking->window() : QApplication::activeWindow();
    while (w && w->windowType() == Qt::Tool && w->parentWidget())
        w = w->parentWidget()->window();
    if (w && w->windowType() != Qt::Tool && w->isVisible())
        return w;
    QWidget* main = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(top) && (!main || (top->isVisible() && !main->isVisible())))
            main = top;
    return main;
}
