#include "card.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

namespace {

// Pictures shared by every card; loaded by the first card, freed by the last.
struct SharedPictures {
    int count = 0;
    QImage* sheet = nullptr; // 13 columns (Ace..King) by 4 rows (Clubs..Spades)
    QImage* mask = nullptr;  // black where the card is, white where the parent shows
    QImage* back = nullptr;
    QImage* work = nullptr;  // off-screen buffer of every paint
    QRegion* cardArea = nullptr; // the black pixels of the mask
};

SharedPictures shared;

QImage* LoadPicture(const char* path)
{
    QImage image(QString::fromLatin1(path));
    if (image.isNull())
        qWarning("TCard: the picture %s is missing from the resources", path);
    // Raster operations need 32-bit pixels on both sides.
    return new QImage(image.convertToFormat(QImage::Format_RGB32));
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
    shared.sheet = LoadPicture(":/cards/cardset.png");
    shared.mask = LoadPicture(":/cards/cardmask.png");
    shared.back = LoadPicture(":/cards/cardback.png");
    shared.work = new QImage(TCard::kWidth, TCard::kHeight, QImage::Format_RGB32);
    shared.cardArea = BlackPixels(*shared.mask);
}

void FreeShared()
{
    delete shared.sheet;
    delete shared.mask;
    delete shared.back;
    delete shared.work;
    delete shared.cardArea;
    shared.sheet = shared.mask = shared.back = shared.work = nullptr;
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
bool TCard::PicturesLoaded() { return shared.sheet != nullptr; }

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

// Builds the card in the work image over the given background:
// unselected: background AND mask, then OR picture (the corners keep the background);
// selected: mask AND NOT background, then NOT (picture OR that): the picture inverted,
// the corners back to the background.
void TCard::Compose(const QColor& background)
{
    QImage& work = *shared.work;
    work.fill(background);
    QPainter p(&work);
    p.setCompositionMode(selected_ ? QPainter::RasterOp_SourceAndNotDestination
                                   : QPainter::RasterOp_SourceAndDestination);
    p.drawImage(0, 0, *shared.mask);

    const bool face = showCard_ && value_ <= 12 && suit_ <= 3;
    const QRect source = face ? QRect(value_ * kWidth, suit_ * kHeight, kWidth, kHeight)
                              : QRect(0, 0, kWidth, kHeight);
    p.setCompositionMode(selected_ ? QPainter::RasterOp_NotSourceAndNotDestination
                                   : QPainter::RasterOp_SourceOrDestination);
    p.drawImage(QPoint(0, 0), face ? *shared.sheet : *shared.back, source);
}

void TCard::paintEvent(QPaintEvent*)
{
    const QWidget* under = parentWidget() ? parentWidget() : this;
    Compose(under->palette().color(under->backgroundRole()));
    // One copy to the screen. Only the card's own pixels are copied, so whatever the
    // parent has drawn under the corner pixels stays as it is.
    QPainter p(this);
    p.setClipRegion(*shared.cardArea);
    p.drawImage(0, 0, *shared.work);
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
