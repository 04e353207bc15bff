#include "windowplace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <limits>

#include "regeasy.h"
#include "tablelayout.h"

TWindowPlace::TWindowPlace(QWidget* window, const QString& name)
    : QObject(window), window_(window), name_(name), saver_(new QTimer(this))
{
    saver_->setSingleShot(true);
    saver_->setInterval(500);
    connect(saver_, &QTimer::timeout, this, [this] {
        WriteRegInteger(kRegKey, name_ + QStringLiteral("Left"), window_->pos().x());
        WriteRegInteger(kRegKey, name_ + QStringLiteral("Top"), window_->pos().y());
    });
    window->installEventFilter(this);
}

void TWindowPlace::Restore()
{
    constexpr int kAbsent = std::numeric_limits<int>::min();
    const QPoint place(ReadRegInteger(kRegKey, name_ + QStringLiteral("Left"), kAbsent),
                       ReadRegInteger(kRegKey, name_ + QStringLiteral("Top"), kAbsent));
    if (place.x() == kAbsent || place.y() == kAbsent)
        return;
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    if (table::ReachableOnScreens(QRect(place, window_->frameGeometry().size()), screens))
        window_->move(place);
}

bool TWindowPlace::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == window_) {
        if (e->type() == QEvent::Show && !restored_) {
            restored_ = true; // the first showing only; after that the window stays where it is
            Restore();
        } else if (e->type() == QEvent::Move && restored_ && window_->isVisible()) {
            saver_->start();
        }
    }
    return QObject::eventFilter(watched, e);
}
