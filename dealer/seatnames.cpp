#include "seatnames.h"

QByteArray FitSeatName(QByteArray name)
{
    const qsizetype zero = name.indexOf('\0');
    if (zero >= 0)
        name.truncate(zero);
    name.truncate(kMaxNameBytes);
    return name;
}

QByteArray UniqueSeatName(const QByteArray& name, const QList<QByteArray>& taken)
{
    const QByteArray base = FitSeatName(name);
    // Candidates with 0, 1, 2 ... X appended; a long name gives up its tail for them.
    // Every candidate is tried once, so the search ends after at most 30 of them.
    for (int xs = 0; xs <= kMaxNameBytes; ++xs) {
        const QByteArray candidate = base.left(kMaxNameBytes - xs) + QByteArray(xs, 'X');
        if (!taken.contains(candidate))
            return candidate;
    }
    QByteArray candidate = base.left(kMaxNameBytes - 1) + '0';
    for (char digit = '0'; digit <= '9'; ++digit) {
        candidate[candidate.size() - 1] = digit;
        if (!taken.contains(candidate))
            break;
    }
    return candidate;
}

QByteArray SeatNameInRecord(const TGameInfo& g, int seat)
{
    return FitSeatName(QByteArray(g.PlayerName[seat], qsizetype(kNameSize)));
}
