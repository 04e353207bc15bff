#include "sideplace.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

qint64 Area(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

enum class TArrangement { Stacked, SideBySide, Squeezed };

struct TCandidate {
    QRect score, penalty;
};

} // namespace

TSidePlaces PlaceSideWindows(const QRect& available, const QRect& mainFrame, const QRect& inside, const QRect& cards,
                             const QRect& keepClear, QSize scoreFrame, QSize penaltyFrame)
{
    // The two windows at `left`, `top` in one arrangement, moved wholly onto the screen.
    const auto arrange = [&](TArrangement how, int left, int top, bool fromRight) {
        const bool stacked = how != TArrangement::SideBySide;
        const int width = stacked ? std::max(scoreFrame.width(), penaltyFrame.width())
                                  : scoreFrame.width() + penaltyFrame.width();
        int height = stacked ? scoreFrame.height() + penaltyFrame.height()
                             : std::max(scoreFrame.height(), penaltyFrame.height());
        if (how == TArrangement::Squeezed)
            height = available.height();
        if (fromRight)
            left -= width;
        left = Clamp(left, available.left(), available.right() + 1 - width);
        top = Clamp(top, available.top(), available.bottom() + 1 - height);
        TCandidate c;
        c.score = QRect(QPoint(left, top), scoreFrame);
        const QPoint below = how == TArrangement::Squeezed
                                 ? QPoint(left, top + height - penaltyFrame.height())
                                 : QPoint(left, top + scoreFrame.height());
        c.penalty = QRect(stacked ? below : QPoint(left + scoreFrame.width(), top), penaltyFrame);
        return c;
    };
    const bool stackFits = scoreFrame.height() + penaltyFrame.height() <= available.height();
    const bool rowFits = scoreFrame.width() + penaltyFrame.width() <= available.width();
    // The stack where it fits the screen's height, the row where it fits its width, the
    // squeezed stack where the stack does not fit.
    std::vector<TArrangement> ways;
    if (stackFits)
        ways.push_back(TArrangement::Stacked);
    if (rowFits)
        ways.push_back(TArrangement::SideBySide);
    if (!stackFits)
        ways.push_back(TArrangement::Squeezed);

    // What a place costs: covering the user's hand most, then the table's cards, then the
    // main window's menu and top panel, then the rest of it, then one window the other; the
    // first cheapest wins.
    const auto cost = [&](const TCandidate& c) {
        const QRect top = inside.isEmpty() ? mainFrame : QRect(mainFrame.topLeft(), QPoint(mainFrame.right(), inside.top() - 1));
        qint64 total = 0;
        for (const QRect& r : {c.score, c.penalty}) {
            total += 1000 * Area(r, keepClear);
            total += 8 * Area(r, cards);
            total += 4 * Area(r, top);
            total += Area(r, mainFrame) - Area(r, top);
        }
        return total + Area(c.score, c.penalty);
    };
    TCandidate best;
    qint64 bestCost = std::numeric_limits<qint64>::max();
    for (const TArrangement how : ways) {
        // Beside the main window (right, left), then at the edges of its table; level
        // with its top, then with the table's.
        for (const int top : {mainFrame.top(), inside.top()})
            for (const TCandidate& c : {arrange(how, mainFrame.right() + 1, top, false),
                                        arrange(how, mainFrame.left(), top, true),
                                        arrange(how, inside.right() + 1, top, true),
                                        arrange(how, inside.left(), top, false)}) {
                const qint64 now = cost(c);
                if (now < bestCost) {
                    bestCost = now;
                    best = c;
                }
            }
    }
    return {best.score.topLeft(), best.penalty.topLeft()};
}

TSideStrips CoveredStrips(const QRect& available, const QRect& mainFrame, QSize scoreFrame, QSize penaltyFrame)
{
    const int width = std::max(scoreFrame.width(), penaltyFrame.width());
    const int roomRight = std::max(0, available.right() - mainFrame.right());
    const int roomLeft = std::max(0, mainFrame.left() - available.left());
    TSideStrips strips;
    if (roomRight >= width || roomLeft >= width)
        return strips;
    if (roomRight >= roomLeft)
        strips.right = std::min(width - roomRight, mainFrame.width());
    else
        strips.left = std::min(width - roomLeft, mainFrame.width());
    return strips;
}
