#include "card.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace {

// Pictures shared by every card; loaded by the first card, freed by the last. The sheet
// and the back exist at 1, 2 and 3 device pixels per card pixel; the larger ones are loaded
// when a card is first painted at that scale. The 71 x 96 mask decides at every scale
// which pixels are the card's.
constexpr int kScales = 3;

struct SharedPictures {
    int count = 0;
    QImage* sheet[kScales] = {}; // 13 columns (Ace..King) by 4 rows (Clubs..Spades)
    QImage* back[kScales] = {};
    QImage* mask[kScales] = {};  // black where the card is, white where the parent shows
    QImage* work = nullptr;      // off-screen buffer of every paint
    QRegion* cardArea = nullptr; // the black pixels of the mask
};

SharedPictures shared;

QImage* LoadPicture(const QString& path)
{
    QImage image(path);
    if (image.isNull())
        qWarning("TCard: the picture %s is missing from the resources", qPrintable(path));
    // Raster operations need 32-bit pixels on both sides; the pictures are combined pixel
    // for pixel (the reader takes "@2x" in a name for a device pixel ratio).
    auto* picture = new QImage(image.convertToFormat(QImage::Format_RGB32));
    picture->setDevicePixelRatio(1);
    return picture;
}

QString PicturePath(const char* name, int scale)
{
    return scale == 1 ? QStringLiteral(":/cards/%1.png").arg(QLatin1String(name))
                      : QStringLiteral(":/cards/%1@%2x.png").arg(QLatin1String(name)).arg(scale);
}

// Loads the pictures of one scale once; the mask is the 1x mask with every pixel enlarged.
void LoadScale(int scale)
{
    const int i = scale - 1;
    if (shared.sheet[i])
        return;
    shared.sheet[i] = LoadPicture(PicturePath("cardset", scale));
    shared.back[i] = LoadPicture(PicturePath("cardback", scale));
    if (scale > 1)
        shared.mask[i] = new QImage(shared.mask[0]->scaled(TCard::kWidth * scale, TCard::kHeight * scale,
                                                           Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

QRegion* BlackPixels(const QImage& mask)
{
    auto* region = new QRegion;
    for (int y = 0; y < mask.height(); ++y) {
        int x = 0;
        while (x < mask.width()) {
            while (x < mask.width() && (mask.pixel(x, y) & 0xffffff) != 0)
                ++x;
            const int start = x;
            while (x < mask.width() && (mask.pixel(x, y) & 0xffffff) == 0)
                ++x;
            if (x > start)
                *region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

void LoadShared()
{
    shared.mask[0] = LoadPicture(QStringLiteral(":/cards/cardmask.png"));
    LoadScale(1);
    shared.work = new QImage(TCard::kWidth, TCard::kHeight, QImage::Format_RGB32);
    shared.cardArea = BlackPixels(*shared.mask[0]);
}

void FreeShared()
{
    for (int i = 0; i < kScales; ++i) {
        delete shared.sheet[i];
        delete shared.back[i];
        delete shared.mask[i];
        shared.sheet[i] = shared.back[i] = shared.mask[i] = nullptr;
    }
    delete shared.work;
    delete shared.cardArea;
    shared.work = nullptr;
    shared.cardArea = nullptr;
}

} // namespace

TCard::TCard(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kWidth, kHeight);
    // The parent shows through the corner pixels: never fill the background.
    setAutoFillBackground(false);
    if (shared.count < 1)
        LoadShared();
    ++shared.count;
}

TCard::~TCard()
{
    --shared.count;
    if (shared.count < 1)
        FreeShared();
}

int TCard::InstanceCount() { return shared.count; }
bool TCard::PicturesLoaded() { return shared.sheet[0] != nullptr; }

int TCard::PictureScale(qreal devicePixelsPerCardPixel)
{
    // A little below a whole number still takes that scale (rounding in window systems).
    return std::clamp(int(std::ceil(devicePixelsPerCardPixel - 0.05)), 1, kScales);
}

void TCard::SetCard(uint8_t value)
{
    value_ = value;
    if (showCard_)
        update();
}

void TCard::SetSuit(uint8_t suit)
{
    suit_ = suit;
    if (showCard_)
        update();
}

void TCard::SetShowCard(bool show)
{
    if (show == showCard_)
        return;
    showCard_ = show;
    update();
}

void TCard::SetSelectedCard(bool selected)
{
    if (selected == selected_)
        return;
    selected_ = selected;
    update();
}

// Builds the card in the work image, at `scale` pixels per card pixel, over the given
// background:
// unselected: background AND mask, then OR picture (the corners keep the background);
// selected: mask AND NOT background, then NOT (picture OR that): the picture inverted,
// the corners back to the background.
void TCard::Compose(const QColor& background, int scale)
{
    LoadScale(scale);
    const int i = scale - 1;
    const QSize size(kWidth * scale, kHeight * scale);
    if (shared.work->size() != size)
        *shared.work = QImage(size, QImage::Format_RGB32);
    QImage& work = *shared.work;
    work.setDevicePixelRatio(1);
    work.fill(background);
    QPainter p(&work);
    p.setCompositionMode(selected_ ? QPainter::RasterOp_SourceAndNotDestination
                                   : QPainter::RasterOp_SourceAndDestination);
    p.drawImage(0, 0, *shared.mask[i]);

    const bool face = showCard_ && value_ <= 12 && suit_ <= 3;
    const QRect source = face ? QRect(value_ * size.width(), suit_ * size.height(), size.width(), size.height())
                              : QRect(QPoint(0, 0), size);
    p.setCompositionMode(selected_ ? QPainter::RasterOp_NotSourceAndNotDestination
                                   : QPainter::RasterOp_SourceOrDestination);
    p.drawImage(QPoint(0, 0), face ? *shared.sheet[i] : *shared.back[i], source);
}

void TCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // Device pixels per card pixel: the screen's scale times the card's own size.
    const qreal zoom = qreal(width()) / kWidth;
    const qreal devicePixels = p.deviceTransform().m11() * zoom;
    const int scale = PictureScale(devicePixels);
    const QWidget* under = parentWidget() ? parentWidget() : this;
    Compose(under->palette().color(under->backgroundRole()), scale);
    // One copy to the screen. Only the card's own pixels are copied, so whatever the
    // parent has drawn under the corner pixels stays as it is.
    p.setClipRegion(QTransform::fromScale(zoom, qreal(height()) / kHeight).map(*shared.cardArea));
    if (!qFuzzyCompare(devicePixels, qreal(scale)))
        p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(rect()), *shared.work);
}

void TCard::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    emit mousePressed(event);
}

void TCard::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(event);
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit clicked();
}

void TCard::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}
