// The sounds of the table, each following what it belongs to: a card brought into the
// trick, a new hand (every other one), the trick cleared, the balloons bumping, and the
// user's turn while the window is in the background (with the desktop's attention).
#pragma once

#include <QObject>

class QWidget;
class TSession;
class TSeatModel;
class TSettings;
class TSoundBox;
class TTableView;

class TTableSounds : public QObject {
    Q_OBJECT
public:
    TTableSounds(TSoundBox& box, TSeatModel& model, TSession& session, const TSettings& settings,
                 TTableView& view, QWidget* window);

private:
    void RecordArrived();
    void TurnBegins();

    TSoundBox& box_;
    TSeatModel& model_;
    const TSettings& settings_;
    QWidget* window_;
    bool newHandSwitch_ = true;
};
