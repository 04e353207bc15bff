#include "tablenews.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <array>

#include "language.h"
#include "recordtext.h"

namespace {

QString Text(const char* source) { return QCoreApplication::translate("TableNews", source); }

QString Name(const TGameInfo& g, int seat) { return RecordText(g.PlayerName[seat], int(kNameSize)); }

// Points with their sign, the minus as the typographic one.
QString Points(int n)
{
    return n > 0 ? QStringLiteral("+%1").arg(n) : n < 0 ? QStringLiteral("−%1").arg(-n) : QStringLiteral("0");
}

} // namespace

int HandNumber(const TGameInfo& g)
{
    const int played = ContractsPlayed(g);
    if (g.Phase == psChoosing)
        return std::min(played + 1, kHandsPerGame);
    if ((g.Phase == psPlaying || g.Phase == psTrickComplete || g.Phase == psGameOver) && played > 0)
        return std::min(played, kHandsPerGame);
    return 0;
}

QString HandNumberText(const TGameInfo& g)
{
    const int hand = HandNumber(g);
    return hand == 0 ? QString() : Text(QT_TRANSLATE_NOOP("TableNews", "El %1 / %2")).arg(hand).arg(kHandsPerGame);
}

QString HandSummary(const TGameInfo& start, const TGameInfo& after)
{
    QStringList parts;
    for (int seat = 0; seat < kSeatCount; ++seat)
        parts << Name(after, seat) + QLatin1Char(' ') +
                     Points(after.Score.Totals[seat].Total - start.Score.Totals[seat].Total);
    const QString contract = start.Contract < kContractCount ? ContractText(start.Contract) : QStringLiteral("?");
    return Text(QT_TRANSLATE_NOOP("TableNews", "El %1 (%2) bitti: %3."))
        .arg(HandNumber(start))
        .arg(contract, parts.join(QStringLiteral(", ")));
}

QString GameResultText(const TGameInfo& g)
{
    std::array<int, kSeatCount> order{0, 1, 2, 3};
    std::stable_sort(order.begin(), order.end(),
                     [&g](int a, int b) { return g.Score.Totals[a].Total > g.Score.Totals[b].Total; });
    const int best = g.Score.Totals[order[0]].Total;
    QStringList winners, lines;
    for (int seat : order) {
        const int total = g.Score.Totals[seat].Total;
        if (total == best)
            winners << Name(g, seat);
        lines << QStringLiteral("%1: %2").arg(Name(g, seat), Points(total));
    }
    const QString head = winners.size() == 1
                             ? Text(QT_TRANSLATE_NOOP("TableNews", "Oyun bitti. Kazanan: %1 (%2 puan)."))
                                   .arg(winners[0], Points(best))
                             : Text(QT_TRANSLATE_NOOP("TableNews", "Oyun bitti. Kazananlar: %1 (%2 puan)."))
                                   .arg(winners.join(QStringLiteral(", ")), Points(best));
    return head + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'));
}
