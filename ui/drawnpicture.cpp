#include "drawnpicture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

QPixmap DrawnPixmap(QSize size, qreal ratio, const PictureDrawer& draw)
{
    QPixmap pm(size * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    draw(p);
    return pm;
}

qreal PictureRatio(const QWidget* widget)
{
    const qreal ratio = widget ? widget->devicePixelRatioF() : qGuiApp->devicePixelRatio();
    return std::clamp(std::ceil(ratio - 0.05), 1.0, 3.0);
}

QIcon DrawnIcon(QSize size, const PictureDrawer& draw)
{
    QIcon icon;
    for (int ratio = 1; ratio <= 3; ++ratio)
        icon.addPixmap(DrawnPixmap(size, ratio, draw));
    return icon;
}
