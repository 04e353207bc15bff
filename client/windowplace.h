// Keeps where the user put a window: its place is written to the settings a moment after
// it moves ("<name>Left", "<name>Top"), and taken again when it is next shown, unless
// that place is on no screen any more.
#pragma once

#include <QObject>
#include <QString>

class QTimer;
class QWidget;

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
