// Draws the program's icon: two cards fanned on a round green table, the ace of spades in
// front of a heart. Written once per size into OUTPUT_DIR/hicolor/<n>x<n>/apps/zorbela.png.
//   QT_QPA_PLATFORM=offscreen icongen OUTPUT_DIR
#include "suitshapes.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

// One card of the icon in a 100 x 100 box, turned by `angle` degrees about the box's
// bottom centre.
void DrawCard(QPainter& p, double angle, int suit)
{
    p.save();
    p.translate(50, 84);
    p.rotate(angle);
    const QRectF card(-19, -66, 38, 54);
    p.setPen(QPen(QColor(20, 20, 20), 1.6));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 4, 4);
    DrawSuit(p, suit, card.center(), 26);
    p.restore();
}

QImage DrawIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    p.setPen(QPen(QColor(10, 70, 25), 2.5));
    p.setBrush(QColor(0, 120, 45));
    p.drawEllipse(QRectF(3, 3, 94, 94));
    DrawCard(p, -17, 2);
    DrawCard(p, 14, 3);
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(size);
        const QString path = dir + QStringLiteral("/zorbela.png");
        if (!QDir().mkpath(dir) || !DrawIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "icongen: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
