// Small pictures drawn by code (icons, markers) at the resolution of the screen: a picture
// of w x h pixels on a screen scaled to 200 % is drawn on 2w x 2h device pixels, so its
// edges are as sharp as the text beside it.
#pragma once

#include <QIcon>
#include <QPixmap>

#include <functional>

class QPainter;
class QWidget;

// Draws the picture in its own pixels (the painter is already scaled).
using PictureDrawer = std::function<void(QPainter&)>;

// A transparent pixmap of `size` pixels holding `ratio` device pixels per pixel.
QPixmap DrawnPixmap(QSize size, qreal ratio, const PictureDrawer& draw);

// The ratio of device pixels to pixels where `widget` is shown (the primary screen's
// when it is not shown yet), rounded up to a whole number, at most 3.
qreal PictureRatio(const QWidget* widget);

// An icon holding the picture at 1, 2 and 3 device pixels per pixel.
QIcon DrawnIcon(QSize size, const PictureDrawer& draw);
