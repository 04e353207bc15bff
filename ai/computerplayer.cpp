// The computer player's entry, its list of legal cards and the queries it bases its
// choices on.
#include "computerplayer.h"

#include <algorithm>
#include <cstring>

namespace {

// Cards of a hand that may be read: never past the rows, whatever CardCount says.
int HandSize(const TGameInfo& g, int seat)
{
    return std::min<int>(g.CardCount[seat], 13);
}

bool ValidSeat(int seat) { return seat >= 0 && seat < kSeatCount; }

} // namespace

TMove ComputerChoice(TComputerPlayer& p, int seat, const TGameInfo& g, TRandom& rnd)
{
    // The choice is made on a copy, so the caller's record is never touched, not even by a
    // rule the choice applies on the way.
    TGameInfo work = g;
    p.Game = &work;
    TMove move;
    if (ValidSeat(seat) && g.Chooser == seat) {
        move = TMove::ChooseContract(SelectContract(p, seat, rnd));
    } else if (ValidSeat(seat) && g.Turn == seat && g.TrickCount < kSeatCount) {
        uint8_t suit = kNone;
        uint8_t value = kNone;
        SelectCard(p, seat, suit, value);
        move = TMove::PlayCard(suit, value);
    }
    p.Game = nullptr;
    return move;
}

int ComputerMove(TComputerPlayer& p, int seat, TGameInfo& g, TRandom& rnd)
{
    const TMove move = ComputerChoice(p, seat, g, rnd);
    p.Game = &g;
    if (ApplyMove(g, seat, move) != TRefusal::None)
        return 0;
    return move.Kind == TMove::TKind::Contract ? 2 : 1;
}

void FindPlayableCards(TComputerPlayer& p, int seat)
{
    const TGameInfo& g = *p.Game;
    p.PlayableCount = 0;
    const int n = HandSize(g, seat);
    // A seat that can follow suit may play nothing else, whatever the contract: the rules
    // refuse every other card first of all, so those are not even asked about.
    bool followsSuit = false;
    for (int i = 0; i < n && g.LeadSuit != kNone; ++i)
        followsSuit = followsSuit || g.CardSuit[seat][i] == g.LeadSuit;
    for (int i = 0; i < n; ++i) {
        const uint8_t suit = g.CardSuit[seat][i];
        const uint8_t value = g.CardValue[seat][i];
        if (followsSuit && suit != g.LeadSuit)
            continue;
        if (CanPlay(g, seat, suit, value)) {
            p.PlayableValue[p.PlayableCount] = value;
            p.PlayableSuit[p.PlayableCount] = suit;
            ++p.PlayableCount;
        }
    }
    if (p.PlayableCount == 0) {
        std::string name(g.PlayerName[seat], ::strnlen(g.PlayerName[seat], kNameSize));
        ReportAIError(p, NameToUtf8(name) + " oynayacak kağıt bulamadı!");
    }
}

uint8_t LowestAbove(const TComputerPlayer& p, uint8_t suit, uint8_t bound)
{
    const int floor = bound == kNone ? 0 : Rank(bound);
    uint8_t best = kNone;
    int bestRank = 99;
    for (int i = 0; i < p.PlayableCount; ++i) {
        if (p.PlayableSuit[i] != suit)
            continue;
        const int r = Rank(p.PlayableValue[i]);
        if (r > floor && r < bestRank) {
            bestRank = r;
            best = p.PlayableValue[i];
        }
    }
    return best;
}

uint8_t HighestBelow(const TComputerPlayer& p, uint8_t suit, uint8_t bound)
{
    const int ceiling = Rank(bound);
    uint8_t best = kNone;
    int bestRank = -1;
    for (int i = 0; i < p.PlayableCount; ++i) {
        if (p.PlayableSuit[i] != suit)
            continue;
        const int r = Rank(p.PlayableValue[i]);
        if (r < ceiling && r > bestRank) {
            bestRank = r;
            best = p.PlayableValue[i];
        }
    }
    return best;
}

namespace {

// Trick position of the card now winning, -1 while the trick is empty.
int WinningPosition(const TGameInfo& g)
{
    if (g.TrickCount == 0 || g.TrickCount > kTrickSize)
        return -1;
    const uint8_t winner = WhoBiggest(g);
    if (winner == kNoSeat)
        return -1;
    return (winner - g.Leader + kSeatCount) % kSeatCount;
}

} // namespace

uint8_t WinningValue(const TComputerPlayer& p)
{
    const int i = WinningPosition(*p.Game);
    return i < 0 ? kNone : p.Game->TrickValue[i];
}

uint8_t WinningSuit(const TComputerPlayer& p)
{
    const int i = WinningPosition(*p.Game);
    return i < 0 ? kNone : p.Game->TrickSuit[i];
}

bool HeldByOther(const TComputerPlayer& p, int seat, uint8_t suit, uint8_t value)
{
    const TGameInfo& g = *p.Game;
    for (int other = 0; other < kSeatCount; ++other) {
        if (other == seat)
            continue;
        const int n = HandSize(g, other);
        for (int i = 0; i < n; ++i)
            if (g.CardValue[other][i] == value && g.CardSuit[other][i] == suit)
                return true;
    }
    return false;
}

float PlayableWeight(const TComputerPlayer& p, uint8_t suit)
{
    int sum = 0;
    int count = 0;
    for (int i = 0; i < p.PlayableCount; ++i) {
        if (p.PlayableSuit[i] == suit) {
            sum += CardWeight(p.PlayableValue[i]);
            ++count;
        }
    }
    return PlayableWeight(sum, count, p.Game->Contract);
}

float HandWeight(const TComputerPlayer& p, int seat, uint8_t suit)
{
    const TGameInfo& g = *p.Game;
    int sum = 0;
    int count = 0;
    const int n = HandSize(g, seat);
    for (int i = 0; i < n; ++i) {
        if (suit == kNone || g.CardSuit[seat][i] == suit) {
            sum += CardWeight(g.CardValue[seat][i]);
            ++count;
        }
    }
    return count == 0 ? 0.0f : static_cast<float>(sum) / static_cast<float>(count);
}

int CountBelow(const TComputerPlayer& p, int seat, uint8_t suit, uint8_t value)
{
    const TGameInfo& g = *p.Game;
    int count = 0;
    const int n = HandSize(g, seat);
    for (int i = 0; i < n; ++i)
        if (g.CardSuit[seat][i] == suit && Rank(g.CardValue[seat][i]) < Rank(value))
            ++count;
    return count;
}

int CountAbove(const TComputerPlayer& p, int seat, uint8_t suit, uint8_t value)
{
    const TGameInfo& g = *p.Game;
    int count = 0;
    const int n = HandSize(g, seat);
    for (int i = 0; i < n; ++i)
        if (g.CardSuit[seat][i] == suit && Rank(g.CardValue[seat][i]) > Rank(value))
            ++count;
    return count;
}

uint8_t HighestInHand(const TComputerPlayer& p, int seat, uint8_t suit)
{
    const TGameInfo& g = *p.Game;
    uint8_t best = kNone;
    int bestRank = -1;
    const int n = HandSize(g, seat);
    for (int i = 0; i < n; ++i) {
        if (g.CardSuit[seat][i] == suit && Rank(g.CardValue[seat][i]) > bestRank) {
            bestRank = Rank(g.CardValue[seat][i]);
            best = g.CardValue[seat][i];
        }
    }
    return best;
}
