#include "shapetext.h"

#include "recordtext.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
constexpr int kInitialSize = 65;
// A font never grows past this while fitting, whatever the width.
constexpr int kLargestFit = 1000;
} // namespace

TShapeText::TShapeText(QWidget* parent)
    : QWidget(parent), text_(QStringLiteral("Shape1")), fontColor_(Qt::red), brushColor_(Qt::white),
      penColor_(Qt::black)
{
    resize(kInitialSize, kInitialSize);
    font_ = ArialPixels(height() / 4, true);
    hide();
}

void TShapeText::SetText(const QString& text)
{
    if (text == text_)
        return;
    FitFont(text);
    text_ = text;
    update();
}

void TShapeText::FitFont(const QString& text)
{
    const QString measured = QStringLiteral("XX") + text + QStringLiteral("XX");
    int pixels = 1;
    for (; pixels < kLargestFit; ++pixels) {
        font_.setPixelSize(pixels);
        if (QFontMetrics(font_).horizontalAdvance(measured) >= width())
            break;
    }
    font_.setPixelSize(pixels);
    ++fitCount_;
}

void TShapeText::SetFont(const QFont& font)
{
    font_ = font;
    update();
}

void TShapeText::SetFontColor(const QColor& colour)
{
    if (colour == fontColor_)
        return;
    fontColor_ = colour;
    update();
}

void TShapeText::SetBrushColor(const QColor& colour)
{
    if (colour == brushColor_)
        return;
    brushColor_ = colour;
    update();
}

void TShapeText::SetPenColor(const QColor& colour)
{
    if (colour == penColor_)
        return;
    penColor_ = colour;
    update();
}

void TShapeText::SetPosition(int left, int top)
{
    moving_ = true;
    move(left, top);
    moving_ = false;
    update();
}

void TShapeText::paintEvent(QPaintEvent*)
{
    if (moving_)
        return;
    ++paintCount_;
    QPainter p(this);
    p.setPen(QPen(penColor_, 1));
    p.setBrush(brushColor_);
    p.drawEllipse(QRect(0, 0, width() - 1, height() - 1));

    const QFontMetrics metrics(font_);
    const int left = width() / 2 - metrics.horizontalAdvance(text_) / 2;
    const int top = height() / 2 - metrics.height() / 2;
    p.setFont(font_);
    p.setPen(fontColor_);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(brushColor_);
    p.drawText(left, top + metrics.ascent(), text_);
}
