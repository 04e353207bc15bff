#include "tablesounds.h"

#include <QApplication>
#include <QWidget>

#include "seatmodel.h"
#include "session.h"
#include "settings.h"
#include "sounds.h"
#include "tableview.h"

TTableSounds::TTableSounds(TSoundBox& box, TSeatModel& model, TSession& session, const TSettings& settings,
                           TTableView& view, QWidget* window)
    : QObject(window), box_(box), model_(model), settings_(settings), window_(window)
{
    box_.SetEnabled(settings_.Sound());
    connect(&settings_, &TSettings::changed, this, [this] { box_.SetEnabled(settings_.Sound()); });
    connect(&model_, &TSeatModel::changed, this, &TTableSounds::RecordArrived);
    connect(&model_, &TSeatModel::turnBegins, this, &TTableSounds::TurnBegins);
    connect(&session, &TSession::trickClear, this, [this] { box_.Play(kSoundTrickCleared); });
    // Every bump is heard, whatever "Sesli" says.
    connect(&view, &TTableView::balloonsCollided, this,
            [this] { box_.PlayUnlessPlaying(kSoundBalloonCollision); });
}

void TTableSounds::RecordArrived()
{
    // A new hand is heard at every other record that begins one (the program-wide switch).
    if (model_.HandBegins()) {
        if (settings_.Sound() && newHandSwitch_)
            box_.Play(kSoundNewHand);
        newHandSwitch_ = !newHandSwitch_;
    }
    for (unsigned fresh = model_.NewTrickCards(); fresh != 0; fresh &= fresh - 1)
        box_.Play(kSoundCardIntoTrick);
}

void TTableSounds::TurnBegins()
{
    if (window_->isActiveWindow() || settings_.ComputerPlayer())
        return;
    QApplication::alert(window_);
    if (settings_.Sound())
        box_.Play(kSoundYourTurn);
}
