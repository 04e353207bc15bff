// The rules on card masks. Every verdict mirrors the checks of the record's legality,
// trick and scoring functions; the differential test holds them to the same answers.
#include "maskengine.h"

#include <utility>

using namespace mask;

namespace {

constexpr bool IsTrump(uint8_t contract) { return contract >= KozSinek && contract <= KozMaca; }

// The cards of seat's hand that may follow the led suit (the seat holds some of it).
TCardMask LegalFollow(const TMaskHand& h, TCardMask inSuit, int lead)
{
    const uint8_t c = h.Contract;
    TCardMask trick = 0;
    for (int i = 0; i < h.TrickCount; ++i)
        trick |= Bit(h.Trick[i]);
    const int base = 13 * lead;
    TCardMask allowed = inSuit;
    if (c == RifkiAlmaz) {
        if (lead == Hearts && (trick & Bit(kAceOfHearts)) && (inSuit & Bit(kKingOfHearts)))
            allowed = Bit(kKingOfHearts);
    } else if (c == KizAlmaz) {
        const TCardMask queen = Bit(base + kQueenRank);
        if ((inSuit & queen) && (trick & (Bit(base + kAceRank) | Bit(base + kKingRank))))
            allowed = queen;
    } else if (c == ErkekAlmaz) {
        const TCardMask king = Bit(base + kKingRank), jack = Bit(base + kJackRank);
        if ((inSuit & king) && (trick & Bit(base + kAceRank)))
            allowed &= king | jack;
        if ((inSuit & jack) && (trick & (Bit(base + kAceRank) | king | Bit(base + kQueenRank))))
            allowed &= king | jack;
    } else if (IsTrump(c) && lead == c - KozSinek) {
        // Overtake the highest trump on the table when possible.
        const TCardMask above = inSuit & ~((Bit(Highest(trick & Suit(lead)) + 1)) - 1);
        if (above)
            allowed = above;
    }
    return allowed;
}

// The cards of a seat void in the led suit that it may discard.
TCardMask LegalDiscard(const TMaskHand& h, TCardMask hand)
{
    const uint8_t c = h.Contract;
    switch (c) {
    case KupaAlmaz:
        return (hand & kHearts) ? hand & kHearts : hand;
    case RifkiAlmaz:
        if (hand & Bit(kKingOfHearts))
            return Bit(kKingOfHearts);
        return (hand & kHearts) ? hand & kHearts : hand;
    case KizAlmaz:
        return (hand & kQueens) ? hand & kQueens : hand;
    case ErkekAlmaz:
        return (hand & kMales) ? hand & kMales : hand;
    default:
        if (IsTrump(c) && (hand & Suit(c - KozSinek)))
            return hand & Suit(c - KozSinek);
        return hand;
    }
}

void Book(TMaskHand& h, int winner, TCardMask trick)
{
    const uint8_t c = h.Contract;
    bool handOver = false;
    auto penalty = [&](int items) {
        h.Points[winner] = static_cast<int16_t>(h.Points[winner] - PenaltyPoints[c] * items);
    };
    // The contracts whose penalty cards go to the taker: the hand ends with the last one.
    auto collect = [&](TCardMask penaltyCards) {
        const int n = Count(trick & penaltyCards);
        penalty(n);
        h.Taken[winner] = static_cast<uint8_t>(h.Taken[winner] + n);
        return (~h.Out & penaltyCards) == 0;
    };
    switch (c) {
    case ElAlmaz:
        penalty(1);
        ++h.Taken[winner];
        break;
    case KupaAlmaz:
        handOver = collect(kHearts);
        break;
    case KizAlmaz:
        handOver = collect(kQueens);
        break;
    case ErkekAlmaz:
        handOver = collect(kMales);
        break;
    case SonikiAlmaz:
        if (h.TricksPlayed >= 11) {
            penalty(1);
            ++h.Taken[winner];
        }
        break;
    case RifkiAlmaz:
        if (trick & Bit(kKingOfHearts)) {
            penalty(1);
            handOver = true;
        }
        break;
    default:
        if (IsTrump(c)) {
            h.Points[winner] = static_cast<int16_t>(h.Points[winner] + PenaltyPoints[c]);
            ++h.Taken[winner];
        }
        break;
    }
    h.TricksPlayed = handOver ? 13 : static_cast<uint8_t>(h.TricksPlayed + 1);
}

} // namespace

TCardMask mask::HandMask(const TGameInfo& g, int seat)
{
    TCardMask m = 0;
    const int n = g.CardCount[seat] > 13 ? 13 : g.CardCount[seat];
    for (int i = 0; i < n; ++i)
        if (g.CardSuit[seat][i] <= Spades && g.CardValue[seat][i] <= King)
            m |= Card(g.CardSuit[seat][i], g.CardValue[seat][i]);
    return m;
}

void StartMaskHand(TMaskHand& h, const TCardMask hands[kSeatCount], uint8_t contract, int chooser)
{
    h = TMaskHand{};
    for (int s = 0; s < kSeatCount; ++s)
        h.Hand[s] = hands[s];
    h.Out = kAll & ~(hands[0] | hands[1] | hands[2] | hands[3]);
    h.Contract = contract;
    h.Turn = static_cast<uint8_t>(chooser);
}

void MaskHandFromRecord(TMaskHand& h, const TGameInfo& g)
{
    h = TMaskHand{};
    TCardMask held = 0;
    for (int s = 0; s < kSeatCount; ++s)
        held |= h.Hand[s] = HandMask(g, s);
    h.Out = kAll & ~held;
    h.Contract = g.Contract;
    h.Turn = g.Turn;
    h.Leader = g.Leader;
    h.TricksPlayed = g.TricksPlayed;
    const int n = g.TrickCount > kTrickSize ? kTrickSize : g.TrickCount;
    for (int i = 0; i < n; ++i) {
        if (g.TrickSuit[i] > Spades || g.TrickValue[i] > King)
            break;
        h.Trick[h.TrickCount++] = static_cast<uint8_t>(Index(g.TrickSuit[i], g.TrickValue[i]));
    }
}

TCardMask LegalCards(const TMaskHand& h, int seat)
{
    const TCardMask hand = h.Hand[seat];
    if (h.TrickCount == 0) {
        // No heart may lead a heart contract until a heart has left the hands, unless the
        // hand holds nothing else.
        if ((h.Contract == KupaAlmaz || h.Contract == RifkiAlmaz) && (h.Out & kHearts) == 0 &&
            (hand & ~kHearts))
            return hand & ~kHearts;
        return hand;
    }
    const int lead = SuitOf(h.Trick[0]);
    const TCardMask inSuit = hand & Suit(lead);
    return inSuit ? LegalFollow(h, inSuit, lead) : LegalDiscard(h, hand);
}

uint8_t TrickWinner(const TMaskHand& h)
{
    if (h.TrickCount == 0)
        return kNoSeat;
    TCardMask trick = 0;
    for (int i = 0; i < h.TrickCount; ++i)
        trick |= Bit(h.Trick[i]);
    TCardMask pool = IsTrump(h.Contract) ? trick & Suit(h.Contract - KozSinek) : 0;
    if (!pool)
        pool = trick & Suit(SuitOf(h.Trick[0]));
    const int best = Highest(pool);
    int pos = 0;
    while (h.Trick[pos] != best)
        ++pos;
    return static_cast<uint8_t>((h.Leader + pos) % kSeatCount);
}

void PlayMaskCard(TMaskHand& h, int card)
{
    const int seat = h.Turn;
    const TCardMask bit = Bit(card);
    h.Hand[seat] &= ~bit;
    h.Out |= bit;
    if (h.TrickCount == 0)
        h.Leader = static_cast<uint8_t>(seat);
    h.Trick[h.TrickCount++] = static_cast<uint8_t>(card);
    h.Turn = static_cast<uint8_t>((seat + 1) % kSeatCount);
    if (h.TrickCount < kTrickSize)
        return;
    const uint8_t winner = TrickWinner(h);
    Book(h, winner, Bit(h.Trick[0]) | Bit(h.Trick[1]) | Bit(h.Trick[2]) | Bit(h.Trick[3]));
    h.TrickCount = 0;
    h.Leader = kNoSeat;
    h.Turn = winner;
}

int TMaskGame::ContractsPlayed() const
{
    int n = 0;
    for (int s = 0; s < kSeatCount; ++s)
        n += Score.TrumpsChosen[s] + Score.PenaltiesChosen[s];
    return n;
}

bool TMaskGame::Available(int seat, int contract) const
{
    if (contract >= ElAlmaz && contract <= RifkiAlmaz)
        return TimesChosen(Score, contract) < 2 && Score.PenaltiesChosen[seat] < 3;
    return contract >= KozSinek && contract <= KozMaca && Score.TrumpsChosen[seat] < 2;
}

void DealMasks(TCardMask hands[kSeatCount], TRandom& rnd)
{
    uint8_t deck[52];
    for (int i = 0; i < 52; ++i)
        deck[i] = static_cast<uint8_t>(i);
    for (int i = 51; i > 0; --i)
        std::swap(deck[i], deck[rnd.Next(i + 1)]);
    for (int s = 0; s < kSeatCount; ++s) {
        hands[s] = 0;
        for (int i = 13 * s; i < 13 * s + 13; ++i)
            hands[s] |= Bit(deck[i]);
    }
}

namespace {

void StartChoosing(TMaskGame& game, const TCardMask hands[kSeatCount], int chooser)
{
    game.Hand = TMaskHand{};
    for (int s = 0; s < kSeatCount; ++s)
        game.Hand.Hand[s] = hands[s];
    game.HandChooser = game.Chooser = static_cast<uint8_t>(chooser);
}

} // namespace

void NewMaskGame(TMaskGame& game, const TCardMask hands[kSeatCount])
{
    game = TMaskGame{};
    int chooser = 0;
    while (chooser < kSeatCount - 1 && !(hands[chooser] & Card(Diamonds, Deuce)))
        ++chooser;
    StartChoosing(game, hands, chooser);
}

void ChooseMaskContract(TMaskGame& game, uint8_t contract)
{
    const int seat = game.Chooser;
    TCardMask hands[kSeatCount];
    for (int s = 0; s < kSeatCount; ++s)
        hands[s] = game.Hand.Hand[s];
    StartMaskHand(game.Hand, hands, contract, seat);
    if (contract <= RifkiAlmaz) {
        MarkChosen(game.Score, contract);
        ++game.Score.PenaltiesChosen[seat];
    } else if (contract <= KozMaca) {
        ++game.Score.TrumpsChosen[seat];
    }
    game.Chooser = kNoSeat;
}

void FinishMaskHand(TMaskGame& game, const TCardMask nextHands[kSeatCount])
{
    const uint8_t c = game.Hand.Contract;
    for (int s = 0; s < kSeatCount; ++s) {
        TSeatTotals& t = game.Score.Totals[s];
        if (c <= RifkiAlmaz) {
            int16_t& cell = game.Score.PenaltyScore[s][c];
            cell = static_cast<int16_t>(cell + game.Hand.Points[s]);
            t.PenaltyTotal = static_cast<int16_t>(t.PenaltyTotal + game.Hand.Points[s]);
        } else {
            t.TrumpTotal = static_cast<int16_t>(t.TrumpTotal + game.Hand.Points[s]);
        }
        t.Total = static_cast<int16_t>(t.PenaltyTotal + t.TrumpTotal);
    }
    if (game.ContractsPlayed() >= 20) {
        game.Over = true;
        return;
    }
    StartChoosing(game, nextHands, (game.HandChooser + 1) % kSeatCount);
}

void PlayRandomMaskGame(TMaskGame& game, TRandom& rnd)
{
    TCardMask hands[kSeatCount];
    DealMasks(hands, rnd);
    NewMaskGame(game, hands);
    while (!game.Over) {
        int available[kContractCount];
        int n = 0;
        for (int c = 0; c < kContractCount; ++c)
            if (game.Available(game.Chooser, c))
                available[n++] = c;
        ChooseMaskContract(game, static_cast<uint8_t>(available[rnd.Next(n)]));
        TMaskHand& h = game.Hand;
        while (!h.Over()) {
            const TCardMask legal = LegalCards(h, h.Turn);
            PlayMaskCard(h, Nth(legal, rnd.Next(Count(legal))));
        }
        DealMasks(hands, rnd);
        FinishMaskHand(game, hands);
    }
}
