#include "shapetext.h"

#include "ui_test_util.h"

#include <QApplication>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

int Width(const TShapeText& s, const QString& text)
{
    return QFontMetrics(s.Font()).horizontalAdvance(text);
}

// The fitted font is the first pixel height at which "XX" + text + "XX" reaches the width.
void ExpectFitted(TShapeText& s, const QString& text)
{
    const QString measured = QStringLiteral("XX") + text + QStringLiteral("XX");
    const int pixels = s.Font().pixelSize();
    EXPECT_GE(Width(s, measured), s.width()) << qPrintable(text);
    QFont smaller = s.Font();
    smaller.setPixelSize(pixels - 1);
    if (pixels > 1) {
        EXPECT_LT(QFontMetrics(smaller).horizontalAdvance(measured), s.width()) << qPrintable(text);
    }
}

TEST(ShapeText, FitsTheFontToTheWidth)
{
    TShapeText s;
    s.resize(100, 100);
    s.SetText(QStringLiteral("Ayşe"));
    ExpectFitted(s, QStringLiteral("Ayşe"));
    const int shortPixels = s.Font().pixelSize();
    const int fits = s.FitCount();

    s.SetText(QStringLiteral("Ayşe"));
    EXPECT_EQ(s.FitCount(), fits) << "the same text is not refitted";

    s.SetText(QStringLiteral("Mehmet Ali Şenkaya"));
    ExpectFitted(s, QStringLiteral("Mehmet Ali Şenkaya"));
    EXPECT_LT(s.Font().pixelSize(), shortPixels);
    EXPECT_EQ(s.Text(), QStringLiteral("Mehmet Ali Şenkaya")) << "stored without the added letters";

    s.SetText(QString());
    ExpectFitted(s, QString());
    EXPECT_GT(s.Font().pixelSize(), shortPixels);
}

TEST(ShapeText, PaintsAnEllipseOverItsParentAndMovesWithOneRepaint)
{
    QWidget parent;
    parent.resize(200, 200);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 0));
    parent.setPalette(pal);
    parent.setAutoFillBackground(true);
    auto* s = new TShapeText(&parent);
    s->resize(80, 80);
    s->SetBrushColor(QColor(0, 0, 255));
    s->SetPenColor(QColor(255, 255, 255));
    s->SetText(QStringLiteral("Bora"));
    s->SetPosition(20, 30);
    s->show();

    QImage img = Grab(parent);
    EXPECT_EQ(Pixel(img, 20 + 1, 30 + 1), QColor(0, 0, 0)) << "the corner shows the parent";
    EXPECT_EQ(Pixel(img, 20 + 40, 30 + 4), QColor(0, 0, 255)) << "inside the ellipse";
    EXPECT_EQ(Pixel(img, 20 + 40, 30 + 0), QColor(255, 255, 255)) << "the outline";

    const int paints = s->PaintCount();
    s->SetPosition(60, 70);
    QApplication::processEvents();
    EXPECT_EQ(s->pos(), QPoint(60, 70));
    EXPECT_EQ(s->PaintCount(), paints + 1);
    img = Grab(parent);
    EXPECT_EQ(Pixel(img, 20 + 40, 30 + 4), QColor(0, 0, 0)) << "the old place shows the parent again";
    EXPECT_EQ(Pixel(img, 60 + 40, 70 + 4), QColor(0, 0, 255));
}

} // namespace
