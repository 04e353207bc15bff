// Usta's decisions: sampled deals of the unseen cards, each played out for every move.
#include "usta.h"

#include <algorithm>

using namespace mask;

namespace {

// Simulated hands per millisecond of thinking time: a card choice plays a simulated
// deal to the end of the hand once per candidate card, so this counts hands played out.
// Set from the benchmark so that 100 ms stays under 100 ms on one slow core.
constexpr int kPlayoutsPerMs = 300;

// How a trump and a penalty hand compare on average for the seat that chooses: each seat
// chooses two trump hands and three penalty hands in a game, so a choice is judged
// against what its kind is worth to a chooser on average.
constexpr double kTrumpBaseline = 180.0;
constexpr double kPenaltyBaseline = 60.0;

constexpr int kSampleAttempts = 12;

// The places a card of a sampled deal can go: the seats, and one more for the cards played
// unseen.
constexpr int kUnseenPlace = kSeatCount;
constexpr int kPlaces = kSeatCount + 1;

// One attempt at dealing cards[0..n) to the places with room: the four seats that allow
// a card, and kUnseenPlace for the cards played unseen; false when some card found no place.
bool TryDeal(const uint8_t* cards, int n, const TCardMask allowedOf[kSeatCount], int room[kPlaces],
             TRandom& rnd, TCardMask hands[kSeatCount])
{
    auto fits = [&](int place, TCardMask bit) {
        return room[place] > 0 && (place == kUnseenPlace || (allowedOf[place] & bit));
    };
    TCardMask done = 0;
    // The most constrained cards first: those with one possible place, then two...
    for (int places = 1; places <= kPlaces; ++places) {
        for (int i = 0; i < n; ++i) {
            const TCardMask bit = Bit(cards[i]);
            if (done & bit)
                continue;
            int options = 0, total = 0;
            for (int p = 0; p < kPlaces; ++p)
                if (fits(p, bit)) {
                    ++options;
                    total += room[p];
                }
            if (options == 0)
                return false;
            if (options > places)
                continue;
            int r = rnd.Next(total);
            for (int p = 0; p < kPlaces; ++p) {
                if (!fits(p, bit))
                    continue;
                if (r < room[p]) {
                    if (p < kSeatCount)
                        hands[p] |= bit;
                    --room[p];
                    break;
                }
                r -= room[p];
            }
            done |= bit;
        }
    }
    return true;
}

} // namespace

int UstaPlayouts(const TUstaOptions& o)
{
    return std::max(1, o.Ms) * kPlayoutsPerMs;
}

void SampleHands(const TUstaView& v, TRandom& rnd, TCardMask hands[kSeatCount])
{
    uint8_t cards[52];
    int n = 0;
    for (TCardMask m = v.Unseen; m; m &= m - 1)
        cards[n++] = static_cast<uint8_t>(Lowest(m));
    int need = 0;
    for (int s = 0; s < kSeatCount; ++s)
        if (s != v.Seat)
            need += v.Held[s];
    for (int level = 0; level < 2; ++level) {
        for (int attempt = 0; attempt < kSampleAttempts; ++attempt) {
            // Each pass over the constrained cards happens in a fresh random order.
            for (int i = n - 1; i > 0; --i)
                std::swap(cards[i], cards[rnd.Next(i + 1)]);
            TCardMask allowedOf[kSeatCount];
            int room[kPlaces] = {};
            for (int s = 0; s < kSeatCount; ++s) {
                hands[s] = 0;
                allowedOf[s] = s == v.Seat ? 0 : (level == 0 ? ~v.Excluded[s] : kAll);
                room[s] = s == v.Seat ? 0 : v.Held[s];
            }
            room[kUnseenPlace] = std::max(0, n - need);
            if (TryDeal(cards, n, allowedOf, room, rnd, hands)) {
                hands[v.Seat] = v.Own;
                return;
            }
        }
    }
    // The counts cannot be met (a record that contradicts itself): deal what there is.
    for (int s = 0; s < kSeatCount; ++s)
        hands[s] = 0;
    int next = 0;
    for (int s = 0; s < kSeatCount; ++s)
        for (int k = 0; s != v.Seat && k < v.Held[s] && next < n; ++k)
            hands[s] |= Bit(cards[next++]);
    hands[v.Seat] = v.Own;
}

namespace {

// The hand in play as it stands in the view, on a sampled deal.
void WorldOf(const TUstaView& v, const TCardMask hands[kSeatCount], TMaskHand& h)
{
    h = TMaskHand{};
    TCardMask held = 0;
    for (int s = 0; s < kSeatCount; ++s)
        held |= h.Hand[s] = hands[s];
    h.Out = kAll & ~held;
    h.Contract = v.Contract;
    h.Turn = v.Seat;
    h.Leader = v.TrickCount ? v.Leader : kNoSeat;
    h.TrickCount = v.TrickCount;
    for (int i = 0; i < v.TrickCount; ++i)
        h.Trick[i] = v.Trick[i];
    h.TricksPlayed = v.TricksPlayed;
}

TMove ChooseCard(const TUstaView& v, const TUstaOptions& o, TRandom& rnd)
{
    uint8_t candidates[13];
    int n = 0;
    for (TCardMask m = v.Legal; m; m &= m - 1)
        candidates[n++] = static_cast<uint8_t>(Lowest(m));
    if (n == 0)
        return {};
    long total[13] = {};
    if (n > 1) {
        const int samples = std::max(1, UstaPlayouts(o) / n);
        TCardMask hands[kSeatCount];
        TMaskHand world, h;
        for (int k = 0; k < samples; ++k) {
            SampleHands(v, rnd, hands);
            WorldOf(v, hands, world);
            for (int i = 0; i < n; ++i) {
                h = world;
                PlayMaskCard(h, candidates[i]);
                PlayOut(h);
                total[i] += h.Points[v.Seat];
            }
        }
    }
    const int best = static_cast<int>(std::max_element(total, total + n) - total);
    return TMove::PlayCard(SuitOf(candidates[best]), ValueOf(candidates[best]));
}

// The value of each contract to the chooser: its points in the hand less the mean of the
// others' points, over sampled deals of the cards it does not hold.
TMove ChooseContract(const TUstaView& v, const TUstaOptions& o, TRandom& rnd)
{
    int available[kContractCount];
    int n = 0;
    for (int c = 0; c < kContractCount; ++c) {
        const bool ok = c <= RifkiAlmaz
                            ? TimesChosen(v.Score, c) < 2 && v.Score.PenaltiesChosen[v.Seat] < 3
                            : v.Score.TrumpsChosen[v.Seat] < 2;
        if (ok)
            available[n++] = c;
    }
    if (n == 0)
        return {};
    double value[kContractCount] = {};
    if (n > 1) {
        TUstaView deal = v;
        deal.Unseen = kAll & ~v.Own;
        for (int s = 0; s < kSeatCount; ++s) {
            deal.Held[s] = 13;
            deal.Excluded[s] = 0;
        }
        const int samples = std::max(1, UstaPlayouts(o) / n);
        TCardMask hands[kSeatCount];
        TMaskHand h;
        for (int k = 0; k < samples; ++k) {
            SampleHands(deal, rnd, hands);
            for (int i = 0; i < n; ++i) {
                StartMaskHand(h, hands, static_cast<uint8_t>(available[i]), v.Seat);
                PlayOut(h);
                const int others = h.Points[0] + h.Points[1] + h.Points[2] + h.Points[3] -
                                   h.Points[v.Seat];
                value[i] += h.Points[v.Seat] - others / 3.0;
            }
        }
        const bool both = available[0] <= RifkiAlmaz && available[n - 1] >= KozSinek;
        for (int i = 0; i < n; ++i) {
            value[i] /= samples;
            if (both)
                value[i] -= available[i] >= KozSinek ? kTrumpBaseline : kPenaltyBaseline;
        }
    }
    const int best = static_cast<int>(std::max_element(value, value + n) - value);
    return TMove::ChooseContract(static_cast<uint8_t>(available[best]));
}

} // namespace

TMove UstaDecide(const TUstaView& v, const TUstaOptions& o, TRandom& rnd)
{
    if (v.Seat >= kSeatCount)
        return {};
    if (v.Phase == psChoosing && v.Chooser == v.Seat)
        return ChooseContract(v, o, rnd);
    if (v.Phase == psPlaying && v.Turn == v.Seat && v.TrickCount < kTrickSize)
        return ChooseCard(v, o, rnd);
    return {};
}

TMove UstaMove(const TGameInfo& g, int seat, const THandHistory& history, const TUstaOptions& o,
               TRandom& rnd)
{
    return UstaDecide(MakeUstaView(g, seat, history), o, rnd);
}
