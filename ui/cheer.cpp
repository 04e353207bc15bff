#include "cheer.h"

#include "recordtext.h"
#include "shapetext.h"
#include "thdtimer.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kTrailStep = 5;
constexpr int kCornerGap = 10;
constexpr int kWinnerSpeed = 20;

double Radians(double degrees) { return degrees * kPi / 180.0; }
double Degrees(double radians) { return radians * 180.0 / kPi; }
int Trunc(double v) { return static_cast<int>(v); }

struct Vec {
    double x, y;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double Length(Vec a) { return std::hypot(a.x, a.y); }

// Reflection about the vertical: the heading becomes a whole number of degrees; the
// remainder keeps the sign of its dividend.
double ReflectVertical(double heading) { return -static_cast<double>(Trunc(heading + 180) % 360); }

} // namespace

// The black surface under the balloons that keeps their trails.
class TCheerCanvas : public QWidget {
public:
    TCheerCanvas(QWidget* owner, const QRect& area) : QWidget(owner), image_(area.size(), QImage::Format_RGB32)
    {
        setGeometry(area);
        image_.fill(Qt::black);
    }
    QImage& Image() { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        p.drawImage(event->rect(), image_, event->rect());
    }

private:
    QImage image_;
};

int CheerSizes(const int totals[kSeatCount], int sizes[kSeatCount])
{
    int moved[kSeatCount];
    for (int p = 0; p < kSeatCount; ++p)
        moved[p] = totals[p] >= 0 ? totals[p] + 200 : totals[p] - 200;
    const int max = *std::max_element(moved, moved + kSeatCount);
    const int min = *std::min_element(moved, moved + kSeatCount);
    int winner = 0;
    for (int p = 0; p < kSeatCount; ++p) {
        if (moved[p] == max)
            winner = p;
        sizes[p] = max == min ? 75 : (50 * max + 50 * moved[p] - 100 * min) / (max - min);
    }
    return winner;
}

double RandomHeading(TRandom& random)
{
    double heading = random.Next(50) + 20 + 0.1;
    if (random.Next(2) == 1)
        heading += 180;
    if (random.Next(2) == 1)
        heading = -heading;
    return heading;
}

int Advance(TBalloonState& b)
{
    b.prevX = b.x;
    b.prevY = b.y;
    b.x += std::cos(Radians(b.heading)) * b.speed;
    b.y -= std::sin(Radians(b.heading)) * b.speed;
    return Trunc(std::hypot(b.x - b.prevX, b.y - b.prevY));
}

std::vector<QPoint> TrailCentres(const TBalloonState& b, int distance)
{
    std::vector<QPoint> centres;
    const double c = std::cos(Radians(b.heading));
    const double s = std::sin(Radians(b.heading));
    for (int g = kTrailStep; g < distance; g += kTrailStep)
        centres.emplace_back(Trunc(b.prevX + c * g), Trunc(b.prevY - s * g));
    return centres;
}

void Bounce(TBalloonState& b, const TCheerArea& area)
{
    if (area.left > b.x - b.radius && b.x < b.prevX)
        b.heading = ReflectVertical(b.heading);
    if (b.x + b.radius > area.right && b.x > b.prevX)
        b.heading = ReflectVertical(b.heading);
    if (area.top > b.y - b.radius && b.y < b.prevY)
        b.heading = -b.heading;
    if (b.y + b.radius > area.bottom && b.y > b.prevY)
        b.heading = -b.heading;
}

bool Collide(TBalloonState& a, TBalloonState& b, double& previousDistance)
{
    // In a frame whose y axis points up.
    const Vec between{b.x - a.x, a.y - b.y};
    const double d = Length(between);
    const bool collide = a.radius + b.radius >= d && d < previousDistance && d > 0;
    previousDistance = d;
    if (!collide)
        return false;

    const Vec e = (1.0 / d) * between;
    const Vec va = a.speed * Vec{std::cos(Radians(a.heading)), std::sin(Radians(a.heading))};
    const Vec vb = b.speed * Vec{std::cos(Radians(b.heading)), std::sin(Radians(b.heading))};
    // The parts along the line of centres, as lengths: a's towards b, b's towards a.
    const Vec ca = std::fabs(Dot(va, e)) * e;
    const Vec cb = std::fabs(Dot(vb, e)) * (-1.0 * e);
    const Vec ra = va - ca;
    const Vec rb = vb - cb;
    const double total = a.mass + b.mass;
    const Vec p = a.mass * ca + b.mass * cb;
    const Vec ca2 = (1.0 / total) * (p + b.mass * (cb - ca));
    const Vec cb2 = (1.0 / total) * (p - a.mass * (cb - ca));
    const Vec va2 = ra + ca2;
    const Vec vb2 = rb + cb2;

    const double lengths = Length(va2) + Length(vb2);
    if (lengths > 0) {
        const double speeds = a.speed + b.speed;
        a.speed = speeds * Length(va2) / lengths;
        b.speed = speeds * Length(vb2) / lengths;
    }
    a.heading = Degrees(std::atan2(va2.y, va2.x));
    b.heading = Degrees(std::atan2(vb2.y, vb2.x));
    return true;
}

TCheer::TCheer(QWidget* owner, const QRect& area)
    : owner_(owner), area_{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()},
      canvas_(new TCheerCanvas(owner, area)), timer_(std::make_unique<TThreadedTimer>())
{
    canvas_->hide();
    timer_->SetPeriodic(true);
    timer_->SetInterval(kInterval);
    connect(timer_.get(), &TThreadedTimer::timeout, this, &TCheer::Tick);
}

TCheer::~TCheer()
{
    timer_.reset();
    for (Balloon& b : balloons_)
        delete b.control.data();
    delete canvas_.data();
}

bool TCheer::TimerEnabled() const { return timer_->Enabled(); }

void TCheer::Start(const TGameInfo& g)
{
    int totals[kSeatCount];
    int sizes[kSeatCount];
    for (int p = 0; p < kSeatCount; ++p)
        totals[p] = g.Score.Totals[p].Total;
    const int winner = CheerSizes(totals, sizes);
    for (int p = 0; p < kSeatCount; ++p)
        AddBalloon(RecordText(g.PlayerName[p], int(kNameSize)), sizes[p], p == winner);
}

void TCheer::AddBalloon(const QString& name, int size, bool winner)
{
    const int n = BalloonCount();
    if (n >= kMaxBalloons)
        return;
    const int row = n / 4;
    const int inset = row * size + kCornerGap;      // from the left or top edge
    const int outset = (row + 1) * size + kCornerGap; // from the right or bottom edge
    struct Corner {
        int left, top;
        QColor fill;
    };
    const Corner corners[4] = {
        {area_.left + inset, area_.top + inset, QColor(0, 128, 0)},
        {area_.right - outset, area_.top + inset, QColor(0, 0, 255)},
        {area_.right - outset, area_.bottom - outset, QColor(255, 0, 255)},
        {area_.left + inset, area_.bottom - outset, QColor(128, 0, 0)},
    };
    const Corner& corner = corners[n % 4];

    Balloon b;
    b.control = new TShapeText(owner_);
    b.control->resize(size, size);
    b.control->move(corner.left, corner.top);
    b.fill = winner ? QColor(255, 0, 0) : corner.fill;
    b.outline = Qt::white;
    b.control->SetBrushColor(b.fill);
    b.control->SetPenColor(b.outline);
    b.control->SetFontColor(winner ? QColor(255, 255, 0) : QColor(Qt::white));
    b.control->SetText(name);

    TBalloonState& s = b.state;
    s.radius = size * 0.5;
    s.mass = kPi * s.radius * s.radius;
    s.x = s.prevX = corner.left + s.radius;
    s.y = s.prevY = corner.top + s.radius;
    s.heading = RandomHeading(random_);
    s.speed = winner ? kWinnerSpeed : random_.Next(5) + 5;

    canvas_->Image().fill(Qt::black);
    canvas_->show();
    canvas_->raise();
    for (Balloon& other : balloons_)
        other.control->raise();
    b.control->show();
    b.control->raise();
    canvas_->update();
    balloons_.push_back(b);
    timer_->SetEnabled(true);
}

void TCheer::Tick()
{
    for (Balloon& b : balloons_) {
        Step(b);
        CollisionPass();
    }
    CollisionPass();
}

void TCheer::Step(Balloon& b)
{
    TBalloonState& s = b.state;
    DrawTrail(b, Advance(s));
    if (b.control)
        b.control->SetPosition(Trunc(s.x - s.radius), Trunc(s.y - s.radius));
    Bounce(s, area_);
}

void TCheer::DrawTrail(const Balloon& b, int distance)
{
    const std::vector<QPoint> centres = TrailCentres(b.state, distance);
    if (centres.empty() || !canvas_ || !b.control)
        return;
    const int size = b.control->width();
    const QPoint origin(area_.left, area_.top);
    QPainter p(&canvas_->Image());
    p.setBrush(Qt::NoBrush);
    QRect dirty;
    for (const QPoint& centre : centres) {
        const QRect square(centre - origin - QPoint(size / 2, size / 2), QSize(size, size));
        p.setPen(QPen(b.fill, 6));
        p.drawEllipse(QRectF(square).adjusted(3, 3, -3, -3));
        p.setPen(QPen(b.outline, 1));
        p.drawEllipse(square.adjusted(0, 0, -1, -1));
        dirty |= square;
    }
    canvas_->update(dirty.adjusted(-4, -4, 4, 4));
}

void TCheer::CollisionPass()
{
    const int n = BalloonCount();
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (Collide(balloons_[size_t(i)].state, balloons_[size_t(j)].state, previous_[i][j]))
                emit collided();
}
