#include "faces.h"

#include "suitshapes.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>
#include <vector>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

// A picture of one card at `scale` device pixels per card pixel, white, with a painter
// that draws in card pixels.
QImage Blank(int scale)
{
    QImage img(kCardW * scale, kCardH * scale, QImage::Format_RGB32);
    img.fill(kWhite);
    return img;
}

// A black frame one card pixel wide with the pixel inside each corner black too, so the
// card looks rounded once the corner pixels show the table. Filled rectangles, so the
// frame covers whole card pixels at every scale.
void DrawFrame(QImage& img, int scale)
{
    QPainter p(&img);
    p.scale(scale, scale);
    const QRect black[] = {{0, 0, kCardW, 1}, {0, kCardH - 1, kCardW, 1}, {0, 0, 1, kCardH},
                           {kCardW - 1, 0, 1, kCardH}, {1, 1, 1, 1}, {kCardW - 2, 1, 1, 1},
                           {1, kCardH - 2, 1, 1}, {kCardW - 2, kCardH - 2, 1, 1}};
    for (const QRect& r : black)
        p.fillRect(r, kBlack);
}

QString ValueText(int value)
{
    static const char* const texts[13] = {"A", "2", "3", "4", "5", "6", "7",
                                          "8", "9", "10", "J", "Q", "K"};
    return QString::fromLatin1(texts[value]);
}

// Value and small suit in the top-left corner; the same turned round in the bottom-right.
void DrawIndex(QPainter& p, int suit, int value)
{
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(12);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, value == 9 ? -1.0 : 0.0);
    p.setFont(font);
    for (int turn = 0; turn < 2; ++turn) {
        p.save();
        if (turn == 1) {
            p.translate(kCardW, kCardH);
            p.rotate(180);
        }
        p.setPen(SuitColor(suit));
        p.drawText(QRectF(1, 2, 14, 13), Qt::AlignHCenter | Qt::AlignVCenter, ValueText(value));
        DrawSuit(p, suit, QPointF(8, 21), 9);
        p.restore();
    }
}

// Centres of the pips of the number cards, in card pixels (x, y); pips below the middle
// are drawn upside down.
std::vector<QPointF> PipPlaces(int value)
{
    const double l = 24, m = 35.5, r = 47;
    const double top = 18, bottom = 78, mid = 48;
    const double q1 = top + (bottom - top) / 3, q2 = top + 2 * (bottom - top) / 3;
    switch (value) {
    case 1: return {{m, top}, {m, bottom}};
    case 2: return {{m, top}, {m, mid}, {m, bottom}};
    case 3: return {{l, top}, {r, top}, {l, bottom}, {r, bottom}};
    case 4: return {{l, top}, {r, top}, {m, mid}, {l, bottom}, {r, bottom}};
    case 5: return {{l, top}, {r, top}, {l, mid}, {r, mid}, {l, bottom}, {r, bottom}};
    case 6: return {{l, top}, {r, top}, {m, 33}, {l, mid}, {r, mid}, {l, bottom}, {r, bottom}};
    case 7:
        return {{l, top}, {r, top}, {m, 33}, {l, mid}, {r, mid}, {m, 63}, {l, bottom}, {r, bottom}};
    case 8:
        return {{l, top}, {r, top}, {l, q1}, {r, q1}, {m, mid},
                {l, q2}, {r, q2}, {l, bottom}, {r, bottom}};
    default:
        return {{l, top}, {r, top}, {m, 28}, {l, q1}, {r, q1},
                {l, q2}, {r, q2}, {m, 68}, {l, bottom}, {r, bottom}};
    }
}

void DrawPips(QPainter& p, int suit, int value)
{
    if (value == 0) {
        DrawSuit(p, suit, QPointF(35.5, 48), 30);
        return;
    }
    for (const QPointF& c : PipPlaces(value))
        DrawSuit(p, suit, c, 13, c.y() > 49);
}

// Headgear of a court card above a head centred at (x, y): a crown for the King,
// a tiara for the Queen, a cap with a feather for the Jack.
void DrawHeadgear(QPainter& p, int value, double x, double y)
{
    const QColor gold(232, 182, 30);
    p.setPen(QPen(kBlack, 0.8));
    p.setBrush(gold);
    if (value == 12) {
        QPolygonF crown({{x - 8, y - 5}, {x - 8, y - 14}, {x - 4, y - 9}, {x, y - 15},
                         {x + 4, y - 9}, {x + 8, y - 14}, {x + 8, y - 5}});
        p.drawPolygon(crown);
    } else if (value == 11) {
        QPainterPath tiara;
        tiara.moveTo(x - 8, y - 5);
        tiara.quadTo(x, y - 17, x + 8, y - 5);
        tiara.closeSubpath();
        p.drawPath(tiara);
        p.setBrush(QColor(40, 120, 220));
        p.drawEllipse(QPointF(x, y - 9), 2, 2);
    } else {
        p.setBrush(QColor(40, 120, 60));
        p.drawRect(QRectF(x - 8, y - 10, 16, 5));
        p.setBrush(gold);
        QPainterPath feather;
        feather.moveTo(x + 5, y - 10);
        feather.quadTo(x + 14, y - 18, x + 10, y - 8);
        feather.closeSubpath();
        p.drawPath(feather);
    }
}

// A double-ended court figure inside a frame: head, headgear and robe in the upper half,
// the same turned round in the lower half, a suit symbol beside each head.
void DrawCourt(QPainter& p, int suit, int value)
{
    const QRectF frame(16.5, 9.5, 38, 77); // right of the 15-pixel strip a fan shows
    p.setPen(QPen(SuitColor(suit), 1));
    p.setBrush(QColor(255, 246, 214));
    p.drawRect(frame);
    const QColor robe = (suit == 1 || suit == 2) ? QColor(200, 30, 40) : QColor(30, 60, 170);
    for (int turn = 0; turn < 2; ++turn) {
        p.save();
        if (turn == 1) {
            p.translate(kCardW, kCardH);
            p.rotate(180);
        }
        p.setClipRect(QRectF(frame.left(), frame.top(), frame.width(), 48 - frame.top()));
        const double x = 35.5, y = 30;
        p.setPen(QPen(kBlack, 0.8));
        p.setBrush(robe);
        p.drawPolygon(QPolygonF({{x - 7, y + 6}, {x + 7, y + 6}, {x + 16, y + 20}, {x - 16, y + 20}}));
        p.setBrush(QColor(250, 214, 170));
        p.drawEllipse(QPointF(x, y), 6, 6.5);
        p.setPen(QPen(kBlack, 1));
        p.drawPoint(QPointF(x - 2, y - 1));
        p.drawPoint(QPointF(x + 2, y - 1));
        if (value == 12) {
            p.setBrush(QColor(120, 80, 40));
            p.drawPolygon(QPolygonF({{x - 4, y + 3}, {x + 4, y + 3}, {x, y + 9}}));
        }
        DrawHeadgear(p, value, x, y);
        p.setClipping(false);
        DrawSuit(p, suit, QPointF(22, 16), 8);
        p.restore();
    }
    p.setPen(QPen(SuitColor(suit), 1));
    p.drawLine(QPointF(frame.left(), 48), QPointF(frame.right(), 48));
}

} // namespace

QImage DrawFace(int suit, int value, int scale)
{
    QImage img = Blank(scale);
    {
        QPainter p(&img);
        p.scale(scale, scale);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        if (value >= 10)
            DrawCourt(p, suit, value);
        else
            DrawPips(p, suit, value);
        DrawIndex(p, suit, value);
    }
    DrawFrame(img, scale);
    return img;
}

QImage DrawBack(int scale)
{
    QImage img = Blank(scale);
    {
        QPainter p(&img);
        p.scale(scale, scale);
        const QRect inner(4, 4, kCardW - 8, kCardH - 8);
        p.fillRect(inner, QColor(24, 58, 150));
        p.setClipRect(inner);
        // Smooth lattice lines where there are pixels enough for it.
        p.setRenderHint(QPainter::Antialiasing, scale > 1);
        p.setPen(QPen(QColor(110, 150, 235), 1));
        for (int d = -kCardH; d < kCardW + kCardH; d += 6) {
            p.drawLine(d, 0, d + kCardH, kCardH);
            p.drawLine(d, 0, d - kCardH, kCardH);
        }
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kWhite, 1.5));
        p.setBrush(QColor(190, 30, 40));
        p.drawEllipse(QPointF(35.5, 48), 14, 18);
        p.setPen(Qt::NoPen);
        p.setBrush(kWhite);
        QPainterPath star;
        for (int i = 0; i < 8; ++i) {
            const double a = i * 3.14159265358979 / 4;
            const double r = (i % 2 == 0) ? 9 : 3.5;
            const QPointF pt(35.5 + r * std::sin(a), 48 - r * 1.25 * std::cos(a));
            if (i == 0)
                star.moveTo(pt);
            else
                star.lineTo(pt);
        }
        star.closeSubpath();
        p.drawPath(star);
        p.setClipping(false);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QColor(24, 58, 150));
        p.setBrush(Qt::NoBrush);
        p.drawRect(2, 2, kCardW - 5, kCardH - 5);
    }
    DrawFrame(img, scale);
    return img;
}

QImage DrawMask()
{
    QImage img(kCardW, kCardH, QImage::Format_Mono);
    img.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    img.fill(0);
    for (const QPoint c : {QPoint(0, 0), QPoint(kCardW - 1, 0), QPoint(0, kCardH - 1),
                           QPoint(kCardW - 1, kCardH - 1)})
        img.setPixel(c, 1);
    return img;
}
