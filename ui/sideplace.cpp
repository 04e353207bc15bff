#include "sideplace.h"

#include <algorithm>

namespace {

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

} // namespace

TSidePlaces PlaceSideWindows(const QRect& available, const QRect& mainFrame, const QRect& inside,
                             QSize scoreFrame, QSize penaltyFrame)
{
    const bool stacked = scoreFrame.height() + penaltyFrame.height() <= available.height();
    const int width = stacked ? std::max(scoreFrame.width(), penaltyFrame.width())
                              : scoreFrame.width() + penaltyFrame.width();
    const int height = stacked ? scoreFrame.height() + penaltyFrame.height()
                               : std::max(scoreFrame.height(), penaltyFrame.height());
    const int lastLeft = available.right() + 1 - width;
    int left = mainFrame.right() + 1;
    int top = mainFrame.top();
    if (left > lastLeft) {
        left = mainFrame.left() - width;
        if (left < available.left()) {
            left = inside.right() + 1 - width;
            top = inside.top();
        }
    }
    left = Clamp(left, available.left(), lastLeft);
    top = Clamp(top, available.top(), available.bottom() + 1 - height);
    TSidePlaces places;
    places.score = QPoint(left, top);
    places.penalty = stacked ? QPoint(left, top + scoreFrame.height()) : QPoint(left + scoreFrame.width(), top);
    return places;
}
