// TCheer: the game-over animation. Over an area of its owner window, which turns black, one
// round balloon per player, named and sized by the player's final total, flies around,
// bounces off the edges and off the other balloons and leaves ring-shaped trails. The
// winner's balloon is red and fast. It runs on a periodic 100 ms threaded timer until it is
// destroyed; destroying it removes everything it put on the owner.
//
// The motion is plain arithmetic on TBalloonState, in window coordinates (y grows
// downwards); headings are degrees counter-clockwise from the positive x axis with y up.
#pragma once

#include "cards.h"
#include "gameinfo.h"
#include "shapetext.h"

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

class QWidget;
class TThreadedTimer;
class TCheerCanvas;

// The rectangle the balloons move in; right and bottom lie just outside it.
struct TCheerArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct TBalloonState {
    double x = 0, y = 0;         // centre
    double prevX = 0, prevY = 0; // centre before the last step
    double speed = 0;            // pixels per step
    double radius = 0;
    double mass = 0;             // pi * radius^2
    double heading = 0;          // degrees
};

// Balloon sizes for the four final totals: 50 pixels for the lowest total, 100 for the
// highest, linear in between on totals moved 200 away from zero; 75 each when all four are
// equal. Returns the winner's seat (the last one on a tie for the highest).
int CheerSizes(const int totals[kSeatCount], int sizes[kSeatCount]);

// A random diagonal heading: ±(20.1 .. 69.1) or ±(200.1 .. 249.1) degrees.
double RandomHeading(TRandom& random);

// One step along the heading; returns the distance moved, truncated.
int Advance(TBalloonState& b);
// The centres of the trail rings of the last step: every 5 pixels short of `distance`.
std::vector<QPoint> TrailCentres(const TBalloonState& b, int distance);
// Turns the heading away from any edge the balloon has crossed while moving towards it.
void Bounce(TBalloonState& b, const TCheerArea& area);
// An elastic collision of a and b when they touch and come closer than `previousDistance`;
// the total speed is kept. `previousDistance` becomes the present distance in any case.
// Returns whether they collided.
bool Collide(TBalloonState& a, TBalloonState& b, double& previousDistance);

class TCheer : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxBalloons = 10;
    static constexpr int kInterval = 100; // milliseconds per step

    // `area` is in the owner's coordinates. Nothing shows until balloons are added.
    TCheer(QWidget* owner, const QRect& area);
    ~TCheer() override;
    TCheer(const TCheer&) = delete;
    TCheer& operator=(const TCheer&) = delete;

    // The four balloons of a finished game: sizes and winner from the final totals, names
    // from the record.
    void Start(const TGameInfo& g);
    // One more balloon in the next corner (at most kMaxBalloons); starts the timer.
    void AddBalloon(const QString& name, int size, bool winner);

    // One timer tick: each balloon steps, followed by a collision pass; then one more pass.
    void Tick();

    // The source of headings and speeds; by default reseeded from the clock.
    TRandom& Random() { return random_; }
    int BalloonCount() const { return static_cast<int>(balloons_.size()); }
    const TBalloonState& State(int i) const { return balloons_[size_t(i)].state; }
    TShapeText* Control(int i) const { return balloons_[size_t(i)].control; }
    bool TimerEnabled() const;

signals:
    void collided(); // two balloons hit each other

private:
    struct Balloon {
        QPointer<TShapeText> control;
        TBalloonState state;
        QColor fill;
        QColor outline;
    };

    void Step(Balloon& b);
    void CollisionPass();
    void DrawTrail(const Balloon& b, int distance);

    QWidget* owner_;
    TCheerArea area_;
    QPointer<TCheerCanvas> canvas_;
    std::unique_ptr<TThreadedTimer> timer_;
    std::vector<Balloon> balloons_;
    double previous_[kMaxBalloons][kMaxBalloons] = {};
    TRandom random_ = TRandom::System();
};
