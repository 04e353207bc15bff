#include "statusline.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <QLabel>
#include <QStatusBar>

#include "dealertext.h"
#include "recordtext.h"
#include "seatmodel.h"
#include "session.h"

TStatusLine::TStatusLine(QStatusBar* bar, TSession& session, TSeatModel& model)
    : QObject(bar), bar_(bar), label_(new QLabel(bar)), session_(session), model_(model)
{
    bar_->setSizeGripEnabled(true); // the table grows with the window
    // One simple text that menu hints do not wipe out.
    label_->setObjectName(QStringLiteral("StatusBar"));
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label_->setTextFormat(Qt::PlainText); // it shows players' names
    bar_->addWidget(label_, 1);
    bar_->installEventFilter(this); // broken into lines again when the window's width changes

    // The dealer's own window says nothing of its connection to itself.
    connect(&session_, &TSession::connecting, this, [this] {
        if (!session_.IsDealer)
            SetText(session_.Host() + tr(" : bağlanmaya çalışılıyor..."));
    });
    connect(&session_, &TSession::connected, this, [this] {
        if (!session_.IsDealer)
            SetText(tr("Bağlandı"));
    });
    // Nor of the lobby's connection at a server of many tables, which it closes itself.
    connect(&session_, &TSession::disconnected, this, [this] {
        if (!session_.IsDealer && !session_.InLobby())
            SetText(session_.Host() + tr(" : Bağlantı kesildi!"));
    });
    connect(&session_, &TSession::joinAccepted, this, [this](int seat, const QString& text) {
        if (seat != 0)
            SetText(DealerText(text));
    });
    connect(&session_, &TSession::statusText, this, [this](const QString& text) {
        // Once the table is full, the count of missing players is over.
        if (!(session_.IsHost() && session_.NamedSeat >= kSeatCount - 1))
            SetText(DealerText(text));
    });
    connect(&session_, &TSession::seatName, this, [this](int seat, const QString& name) {
        // A seat given up before the game comes with an empty name: the table is not complete.
        if (session_.IsHost() && seat == kSeatCount - 1 && !name.isEmpty())
            SetText(tr("Masa tamamlandı."));
    });
    connect(&model_, &TSeatModel::changed, this, &TStatusLine::RecordArrived);
}

void TStatusLine::RecordArrived()
{
    const TGameInfo& g = model_.Record();
    auto name = [&g](int seat) {
        return seat < kSeatCount ? RecordText(g.PlayerName[seat], int(kNameSize)) : QString();
    };
    switch (g.Phase) {
    case psPlaying:
        return SetText(tr("%1 bir kağıt oynayacak...").arg(name(g.Turn)));
    case psChoosing:
        return SetText(tr("%1 bir oyun şekli seçecek...").arg(name(g.HandChooser)));
    case psGameOver:
        return SetText(tr("Oyun bitti"));
    default:
        return SetText(QString());
    }
}

void TStatusLine::SetText(const QString& text)
{
    text_ = text;
    Fit();
}

bool TStatusLine::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == bar_ && e->type() == QEvent::Resize &&
        static_cast<QResizeEvent*>(e)->size().width() != static_cast<QResizeEvent*>(e)->oldSize().width())
        Fit();
    return QObject::eventFilter(watched, e);
}

void TStatusLine::Fit()
{
    const QFontMetrics metrics(label_->font());
    const int width = std::max(100, bar_->width() - 24); // margins and the size grip
    QStringList lines;
    QString line;
    for (const QString& word : text_.split(QLatin1Char(' '))) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + QLatin1Char(' ') + word) > width) {
            lines << line;
            line = word;
        } else {
            line = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        }
    }
    lines << line;
    label_->setText(lines.join(QLatin1Char('\n')));
}
