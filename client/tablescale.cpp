// The table as large as its window: every component on it placed and sized from the
// 470 x 566 design, times the zoom that the window's size allows; and the window's own
// place and size kept in the settings.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "card.h"
#include "drawnpicture.h"
#include "handmarker.h"
#include "mainform.h"
#include "regeasy.h"
#include "windowplace.h"

using namespace table;

QPoint TMainForm::OnTable(QPoint design) const
{
    return QPoint(qRound(origin_.x() + design.x() * zoom_), qRound(origin_.y() + design.y() * zoom_));
}

QRect TMainForm::OnPanel(const QRect& design) const
{
    const QPoint topLeft(qRound(panelLeft_ + design.left() * zoom_), qRound(design.top() * zoom_));
    return QRect(topLeft, QSize(qRound(design.width() * zoom_), qRound(design.height() * zoom_)));
}

QFont TMainForm::Zoomed(const QFont& font) const
{
    QFont f = font;
    if (font.pointSizeF() > 0)
        f.setPointSizeF(font.pointSizeF() * zoom_);
    else
        f.setPixelSize(qRound(font.pixelSize() * zoom_));
    return f;
}

void TMainForm::ApplyZoom()
{
    // The table's design size: its size when the window has its designed size.
    const QSize design(WindowSize().width(), table_->height() - height() + WindowSize().height());
    const double before = zoom_;
    zoom_ = TableZoom(table_->size(), design);
    origin_ = QPointF(std::max(0.0, (table_->width() - design.width() * zoom_) / 2),
                      std::max(0.0, (table_->height() - design.height() * zoom_) / 2));
    panelLeft_ = origin_.x();

    panel_->setGeometry(0, 0, table_->width(), qRound(kTopPanelHeight * zoom_));
    userMessages_->setGeometry(OnPanel(QRect(2, 2, 330, 45)));
    bitBtn1_->setGeometry(OnPanel(QRect(336, 12, 40, 25)));
    bitBtn1_->setIconSize(QSize(qRound(24 * zoom_), qRound(18 * zoom_)));
    panelCaption_->setGeometry(OnPanel(QRect(382, 4, 86, 18)));
    labelGameType_->setGeometry(OnPanel(QRect(382, 24, 86, 20)));
    handLabel_->move(OnTable(QPoint(6, kTopPanelHeight + 6)));

    const QSize card(qRound(kCardWidth * zoom_), qRound(kCardHeight * zoom_));
    for (int p = 0; p < 4; ++p) {
        for (int k = 0; k < kSlotsPerHand; ++k) {
            cardSlots_[p][k]->setFixedSize(card);
            cardSlots_[p][k]->move(OnTable(SlotTopLeft(p, k)));
        }
        trickCards_[p]->setFixedSize(card);
        trickCards_[p]->move(OnTable(TrickCardTopLeft(p)));
        const int marker = qRound(kMarkerSize * zoom_);
        handMarkers_[p]->setGeometry(QRect(OnTable(HandMarkerTopLeft(p)), QSize(marker, marker)));
    }

    if (before != zoom_ || handMarkers_[0]->pixmap().isNull()) {
        const QFont plain = Zoomed(tableFont_);
        QFont bold = plain;
        bold.setBold(true);
        for (QWidget* w : {static_cast<QWidget*>(userMessages_), static_cast<QWidget*>(bitBtn1_),
                           static_cast<QWidget*>(panelCaption_)})
            w->setFont(plain);
        labelGameType_->setFont(bold);
        handLabel_->setFont(bold);
        handLabel_->adjustSize();
        for (int p = 0; p < 4; ++p) {
            nameLabels_[p]->setFont(bold);
            handMarkers_[p]->setPixmap(HandMarkerPixmap(p, PictureRatio(nullptr) * zoom_));
        }
    }
    for (int p = 0; p < 4; ++p)
        PlaceNameLabel(p);
}

// The inner area's place and size are kept (the desktop's frame goes around them), and the
// size it has when not maximised; a maximised window comes back maximised.
void TMainForm::RestoreGeometry()
{
    geometryRestored_ = true;
    const int width = ReadRegInteger(kRegKey, kRegMainWidth, 0);
    const int height = ReadRegInteger(kRegKey, kRegMainHeight, 0);
    const QSize size = width > 0 && height > 0 ? QSize(width, height).expandedTo(minimumSize()) : this->size();
    // "MainLeft" and "MainTop": not taken where no screen shows them any more.
    if (const std::optional<QPoint> place = StoredPlace(QStringLiteral("Main"), size))
        setGeometry(QRect(*place, size));
    else
        resize(size);
    maximiseAtShow_ = ReadRegBool(kRegKey, kRegMainMaximized, false);
}

void TMainForm::SaveGeometrySoon()
{
    if (firstActivation_ || closing_ || !isVisible())
        return;
    if (!geometrySaver_) {
        geometrySaver_ = new QTimer(this);
        geometrySaver_->setSingleShot(true);
        geometrySaver_->setInterval(500);
        connect(geometrySaver_, &QTimer::timeout, this, [this] {
            const bool maximised = isMaximized();
            const QRect normal = maximised && normalGeometry().isValid() ? normalGeometry() : geometry();
            StorePlace(QStringLiteral("Main"), normal.topLeft());
            WriteRegInteger(kRegKey, kRegMainWidth, normal.width());
            WriteRegInteger(kRegKey, kRegMainHeight, normal.height());
            WriteRegBool(kRegKey, kRegMainMaximized, maximised);
        });
    }
    geometrySaver_->start();
}

void TMainForm::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    FitStatus();
    // The score table and the taken-cards window follow the right edge.
    if (!firstActivation_)
        PlaceSideWindows();
    SaveGeometrySoon();
}
