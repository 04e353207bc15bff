// Keeps where the user put a window: its place is written to the settings a moment after
// it moves ("<name>Left", "<name>Top"), and taken again when it is next shown, unless
// that place is on no screen any more.
#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>
#include <utility>

class QTimer;
class QWidget;

// The place stored under "<name>Left" and "<name>Top", if there is one and a window of
// that frame size put there could be seen and grabbed on one of the screens.
std::optional<QPoint> StoredPlace(const QString& name, QSize frame);
void StorePlace(const QString& name, QPoint place);
// The main window's size ("MainWidth", "MainHeight", never below its minimum) and place
// ("MainLeft", "MainTop", unless on no screen) from the settings, and back into them.
// The main window's inner area and size from the settings ("MainLeft", "MainTop",
// "MainWidth", "MainHeight"); true when it was maximised ("MainMaximized").
bool RestoreMainWindow(QWidget* window);
void StoreMainWindow(const QWidget* window);

class TWindowPlace : public QObject {
public:
    // Watches `window` (and is owned by it); `name` begins the names of its settings.
    TWindowPlace(QWidget* window, const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Restore();

    QWidget* window_;
    QString name_;
    QTimer* saver_;
    bool restored_ = false;
};

// The main window's place, size and maximised state (RestoreMainWindow): taken back before
// it first shows, written a moment after it moves or changes size while saving is on.
class TMainWindowPlace : public QObject {
public:
    explicit TMainWindowPlace(QWidget* window); // owned by window
    void RestoreOnce();
    // Whether the window was maximised when the program last ran; true once only.
    bool TakeMaximised() { return std::exchange(maximised_, false); }
    void SetSaving(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget* window_;
    QTimer* saver_;
    bool restored_ = false;
    bool maximised_ = false;
    bool saving_ = false;
};
