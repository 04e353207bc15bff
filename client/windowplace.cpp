#include "windowplace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <limits>

#include "regeasy.h"
#include "tablelayout.h"

std::optional<QPoint> StoredPlace(const QString& name, QSize frame)
{
    constexpr int kAbsent = std::numeric_limits<int>::min();
    const QPoint place(ReadRegInteger(kRegKey, name + QStringLiteral("Left"), kAbsent),
                       ReadRegInteger(kRegKey, name + QStringLiteral("Top"), kAbsent));
    if (place.x() == kAbsent || place.y() == kAbsent)
        return std::nullopt;
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    if (!table::ReachableOnScreens(QRect(place, frame), screens))
        return std::nullopt;
    return place;
}

void StorePlace(const QString& name, QPoint place)
{
    WriteRegInteger(kRegKey, name + QStringLiteral("Left"), place.x());
    WriteRegInteger(kRegKey, name + QStringLiteral("Top"), place.y());
}

// The inner area's place and size are kept (the desktop's frame goes around them), and the
// size it has when not maximised; true when it was maximised.
bool RestoreMainWindow(QWidget* window)
{
    const int width = ReadRegInteger(kRegKey, kRegMainWidth, 0);
    const int height = ReadRegInteger(kRegKey, kRegMainHeight, 0);
    const QSize size =
        width > 0 && height > 0 ? QSize(width, height).expandedTo(window->minimumSize()) : window->size();
    if (const std::optional<QPoint> place = StoredPlace(QStringLiteral("Main"), size))
        window->setGeometry(QRect(*place, size));
    else
        window->resize(size);
    return ReadRegBool(kRegKey, kRegMainMaximized, false);
}

void StoreMainWindow(const QWidget* window)
{
    const bool maximised = window->isMaximized();
    const QRect normal = maximised && window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry();
    StorePlace(QStringLiteral("Main"), normal.topLeft());
    WriteRegInteger(kRegKey, kRegMainWidth, normal.width());
    WriteRegInteger(kRegKey, kRegMainHeight, normal.height());
    WriteRegBool(kRegKey, kRegMainMaximized, maximised);
}

TWindowPlace::TWindowPlace(QWidget* window, const QString& name)
    : QObject(window), window_(window), name_(name), saver_(new QTimer(this))
{
    saver_->setSingleShot(true);
    saver_->setInterval(500);
    connect(saver_, &QTimer::timeout, this, [this] { StorePlace(name_, window_->pos()); });
    window->installEventFilter(this);
}

void TWindowPlace::Restore()
{
    if (const std::optional<QPoint> place = StoredPlace(name_, window_->frameGeometry().size()))
        window_->move(*place);
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

TMainWindowPlace::TMainWindowPlace(QWidget* window) : QObject(window), window_(window), saver_(new QTimer(this))
{
    saver_->setSingleShot(true);
    saver_->setInterval(500);
    connect(saver_, &QTimer::timeout, this, [this] { StoreMainWindow(window_); });
    window->installEventFilter(this);
}

void TMainWindowPlace::RestoreOnce()
{
    if (std::exchange(restored_, true))
        return;
    maximised_ = RestoreMainWindow(window_);
    if (maximised_)
        window_->setWindowState(window_->windowState() | Qt::WindowMaximized);
}

void TMainWindowPlace::SetSaving(bool on)
{
    saving_ = on;
    if (!on)
        saver_->stop();
}

bool TMainWindowPlace::eventFilter(QObject* watched, QEvent* e)
{
    // The stored place and size before the window first appears (the Show event comes
    // before the desktop maps it), so that nothing races to the designed size.
    if (watched == window_ && e->type() == QEvent::Show)
        RestoreOnce();
    else if (watched == window_ && (e->type() == QEvent::Move || e->type() == QEvent::Resize) && saving_ &&
             window_->isVisible())
        saver_->start();
    return QObject::eventFilter(watched, e);
}
