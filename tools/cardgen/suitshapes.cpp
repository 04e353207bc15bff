#include "suitshapes.h"

#include <QPainter>
#include <QPolygonF>

namespace {

QPainterPath Circle(double x, double y, double r)
{
    QPainterPath p;
    p.addEllipse(QPointF(x, y), r, r);
    return p;
}

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath p;
    p.addPolygon(QPolygonF(QList<QPointF>(points)));
    p.closeSubpath();
    return p;
}

QPainterPath Heart()
{
    QPainterPath left;
    left.moveTo(0, 0.5);
    left.cubicTo(-0.2, 0.25, -0.5, 0.05, -0.5, -0.2);
    left.cubicTo(-0.5, -0.42, -0.34, -0.5, -0.25, -0.5);
    left.cubicTo(-0.1, -0.5, -0.02, -0.4, 0, -0.3);
    left.cubicTo(0.02, -0.4, 0.1, -0.5, 0.25, -0.5);
    left.cubicTo(0.34, -0.5, 0.5, -0.42, 0.5, -0.2);
    left.cubicTo(0.5, 0.05, 0.2, 0.25, 0, 0.5);
    left.closeSubpath();
    return left;
}

QPainterPath Spade()
{
    QPainterPath body;
    body.moveTo(0, -0.5);
    body.cubicTo(-0.18, -0.25, -0.48, -0.1, -0.48, 0.12);
    body.cubicTo(-0.48, 0.3, -0.34, 0.36, -0.24, 0.36);
    body.cubicTo(-0.12, 0.36, -0.04, 0.3, 0, 0.22);
    body.cubicTo(0.04, 0.3, 0.12, 0.36, 0.24, 0.36);
    body.cubicTo(0.34, 0.36, 0.48, 0.3, 0.48, 0.12);
    body.cubicTo(0.48, -0.1, 0.18, -0.25, 0, -0.5);
    body.closeSubpath();
    return body.united(Polygon({{0, 0.12}, {-0.17, 0.5}, {0.17, 0.5}}));
}

QPainterPath Club()
{
    QPainterPath p = Circle(0, -0.24, 0.22);
    p = p.united(Circle(-0.25, 0.1, 0.22));
    p = p.united(Circle(0.25, 0.1, 0.22));
    p = p.united(Circle(0, 0.04, 0.12));
    return p.united(Polygon({{0, 0.0}, {-0.17, 0.5}, {0.17, 0.5}}));
}

} // namespace

QPainterPath SuitPath(int suit)
{
    switch (suit) {
    case 0: return Club();
    case 1: return Polygon({{0, -0.5}, {0.38, 0}, {0, 0.5}, {-0.38, 0}});
    case 2: return Heart();
    default: return Spade();
    }
}

QColor SuitColor(int suit)
{
    return (suit == 1 || suit == 2) ? QColor(205, 0, 0) : QColor(0, 0, 0);
}

void DrawSuit(QPainter& p, int suit, QPointF c, double size, bool flipped)
{
    p.save();
    p.translate(c);
    p.scale(size, flipped ? -size : size);
    p.setPen(Qt::NoPen);
    p.setBrush(SuitColor(suit));
    p.drawPath(SuitPath(suit));
    p.restore();
}
