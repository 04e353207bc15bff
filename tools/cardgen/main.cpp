// Draws the card pictures that the card component loads from the program's resources:
// cardset.png (923 x 384: 13 columns Ace..King, rows clubs, diamonds, hearts, spades),
// cardback.png (71 x 96) and cardmask.png (71 x 96, one bit per pixel), and the sheet and
// the back again at two and three times the size (cardset@2x.png, cardback@3x.png, ...)
// for screens scaled to 200 % and 300 %.
//   QT_QPA_PLATFORM=offscreen cardgen OUTPUT_DIR
#include "faces.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

namespace {

QImage Sheet(int scale)
{
    QImage sheet(13 * kCardW * scale, 4 * kCardH * scale, QImage::Format_RGB32);
    QPainter p(&sheet);
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value)
            p.drawImage(value * kCardW * scale, suit * kCardH * scale, DrawFace(suit, value, scale));
    return sheet;
}

bool Write(const QString& dir, const QString& name, const QImage& image)
{
    const QString path = dir + QLatin1Char('/') + name;
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cardgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), image.width(), image.height());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);

    bool ok = Write(dir, QStringLiteral("cardmask.png"), DrawMask());
    for (int scale = 1; scale <= 3; ++scale) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
        ok = ok && Write(dir, QStringLiteral("cardset%1.png").arg(suffix), Sheet(scale));
        ok = ok && Write(dir, QStringLiteral("cardback%1.png").arg(suffix), DrawBack(scale));
    }
    return ok ? 0 : 1;
}
