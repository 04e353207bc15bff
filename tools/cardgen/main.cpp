// Draws the card pictures that the card component loads from the program's resources:
// cardset.png (923 x 384: 13 columns Ace..King, rows clubs, diamonds, hearts, spades),
// cardback.png (71 x 96) and cardmask.png (71 x 96, one bit per pixel).
//   QT_QPA_PLATFORM=offscreen cardgen OUTPUT_DIR
#include "faces.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);

    QImage sheet(13 * kCardW, 4 * kCardH, QImage::Format_RGB32);
    {
        QPainter p(&sheet);
        for (int suit = 0; suit < 4; ++suit)
            for (int value = 0; value < 13; ++value)
                p.drawImage(value * kCardW, suit * kCardH, DrawFace(suit, value));
    }
    const struct {
        const char* name;
        QImage image;
    } outputs[] = {{"cardset.png", sheet}, {"cardback.png", DrawBack()}, {"cardmask.png", DrawMask()}};
    for (const auto& out : outputs) {
        const QString path = dir + QLatin1Char('/') + QLatin1String(out.name);
        if (!out.image.save(path, "PNG")) {
            std::fprintf(stderr, "cardgen: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s %dx%d\n", qPrintable(path), out.image.width(), out.image.height());
    }
    return 0;
}
