#include "tabletext.h"

#include <QStringList>

QString CardName(uint8_t suit, uint8_t value)
{
    static const char* const kFaces[] = {"As", "Vale", "Kız", "Papaz"};
    QString face;
    if (value == Ace)
        face = QString::fromUtf8(kFaces[0]);
    else if (value >= Jack && value <= King)
        face = QString::fromUtf8(kFaces[value - Jack + 1]);
    else if (value <= Ten)
        face = QString::number(value + 1);
    else
        face = QStringLiteral("?%1").arg(int(value));
    return QString::fromUtf8(SuitName(suit)) + QLatin1Char(' ') + face;
}

QString PhaseText(const TGameInfo& g)
{
    switch (g.Phase) {
    case psTrickComplete: return QStringLiteral("trick complete");
    case psPlaying: return QStringLiteral("seat %1 to play").arg(int(g.Turn));
    case psChoosing: return QStringLiteral("seat %1 to choose").arg(int(g.Chooser));
    case psWaiting: return QStringLiteral("waiting for players");
    case psGameOver: return QStringLiteral("game over");
    default: return QStringLiteral("phase %1").arg(int(g.Phase));
    }
}

QString TotalsText(const TGameInfo& g)
{
    QStringList totals;
    for (int s = 0; s < kSeatCount; ++s)
        totals << QString::number(g.Score.Totals[s].Total);
    return totals.join(QLatin1Char(' '));
}

QString SeatText(int seat)
{
    return seat == kNoSeat ? QStringLiteral("a connection without a seat") : QStringLiteral("seat %1").arg(seat);
}

QString ChatLine(const QString& name, const QString& asked, const QString& text, int maxLength)
{
    const QString prefix = name + QStringLiteral("> ");
    QString line;
    if (text.startsWith(prefix))
        line = text;
    else if (!asked.isEmpty() && text.startsWith(asked + QStringLiteral("> ")))
        line = prefix + text.mid(asked.size() + 2);
    else
        line = prefix + text;
    line.truncate(maxLength);
    return line;
}
