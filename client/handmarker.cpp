#include "handmarker.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include "drawnpicture.h"
#include "tablelayout.h"

namespace {

void DrawOpenHand(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 14, 17, 15), 5, 5); // palm
    const qreal fingerX[4] = {8.5, 12.5, 16.5, 20.5};
    const qreal fingerTop[4] = {6, 3, 4, 7};
    for (int i = 0; i < 4; ++i)
        hand.addRoundedRect(QRectF(fingerX[i], fingerTop[i], 4, 14), 2, 2);
    QTransform thumb;
    thumb.translate(24, 20);
    thumb.rotate(-40);
    QPainterPath t;
    t.addRoundedRect(QRectF(-2, -2, 4, 11), 2, 2);
    hand.addPath(thumb.map(t));
    hand.setFillRule(Qt::WindingFill);
    p.setPen(QPen(QColor(90, 50, 20), 1.2));
    p.setBrush(QColor(250, 205, 150));
    p.drawPath(hand.simplified());
}

} // namespace

QIcon ChatBalloonIcon()
{
    return DrawnIcon(QSize(24, 18), [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath balloon;
        balloon.addEllipse(QRectF(1.5, 0.5, 21, 13));
        QPainterPath tail;
        tail.moveTo(6, 10);
        tail.lineTo(4, 17.5);
        tail.lineTo(11, 12);
        tail.closeSubpath();
        p.setPen(QPen(QColor(40, 40, 40), 1.2));
        p.setBrush(Qt::white);
        p.drawPath(balloon.united(tail));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        for (const double x : {7.5, 12.0, 16.5})
            p.drawEllipse(QPointF(x, 7), 1.5, 1.5);
    });
}

QPixmap HandMarkerPixmap(int position, qreal ratio)
{
    // Fingers up by default: the bottom marker points up at its trick card.
    const int angles[4] = {0, 270, 180, 90}; // bottom, right, top, left
    const qreal half = table::kMarkerSize / 2.0;
    return DrawnPixmap(QSize(table::kMarkerSize, table::kMarkerSize), ratio, [&](QPainter& p) {
        p.translate(half, half);
        p.rotate(angles[position & 3]);
        p.translate(-half, -half);
        DrawOpenHand(p);
    });
}
