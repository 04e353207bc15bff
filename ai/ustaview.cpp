// Building Usta's view: only the seat's own hand is read card by card.
#include "ustaview.h"

using namespace mask;

TUstaView MakeUstaView(const TGameInfo& g, int seat, const THandHistory& history)
{
    TUstaView v;
    if (seat < 0 || seat >= kSeatCount)
        return v;
    v.Seat = static_cast<uint8_t>(seat);
    v.Phase = g.Phase;
    v.Contract = g.Contract;
    v.Chooser = g.Chooser;
    v.Turn = g.Turn;
    v.Leader = g.Leader;
    v.TricksPlayed = g.TricksPlayed;
    v.Score = g.Score;
    for (int s = 0; s < kSeatCount; ++s)
        v.Held[s] = g.CardCount[s] > 13 ? 13 : g.CardCount[s];
    v.Own = HandMask(g, seat);
    TCardMask trick = 0;
    for (int i = 0; i < g.TrickCount && i < kTrickSize; ++i) {
        if (g.TrickSuit[i] > Spades || g.TrickValue[i] > King)
            break;
        v.Trick[v.TrickCount++] = static_cast<uint8_t>(Index(g.TrickSuit[i], g.TrickValue[i]));
        trick |= Bit(v.Trick[v.TrickCount - 1]);
    }
    const bool choosing = g.Phase == psChoosing;
    v.Out = choosing ? 0 : (history.Played() | history.Gone() | trick) & ~v.Own;
    v.Unseen = kAll & ~v.Own & ~v.Out;
    for (int s = 0; s < kSeatCount; ++s)
        v.Excluded[s] = choosing || s == seat ? 0 : history.Excluded(s);
    // The cards the rules let the seat play, as its window offers them.
    if (g.Phase == psPlaying && g.Turn == seat) {
        for (int i = 0; i < v.Held[seat]; ++i)
            if (CanPlay(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]))
                v.Legal |= Card(g.CardSuit[seat][i], g.CardValue[seat][i]);
    }
    return v;
}
