// The seat model without any window: records in, the user's moves checked and sent, the
// trick cards new to the table, and advice that a later record or move makes stale.
#include <gtest/gtest.h>

#include <vector>

#include "client_test_util.h"
#include "movesource.h"
#include "seatmodel.h"
#include "session.h"
#include "tcplink.h"

namespace {

// Answers only when told to, as a slow level does.
class TLateAdvisor : public TMoveSource {
public:
    std::optional<TMove> Request(const TGameInfo&, int, TMoveReply reply) override
    {
        replies.push_back(std::move(reply));
        return std::nullopt;
    }
    std::vector<TMoveReply> replies;
};

void Deliver(TSession& s, TPacketType type, const QByteArray& payload)
{
    s.HandlePacket(type, payload);
}

} // namespace

TEST(SeatModel, MovesAreCheckedSentOnceAndAdviceGoesStaleWithTheNextRecord)
{
    TTcpLink link; // never opened
    TSession session(link);
    auto* advisor = new TLateAdvisor;
    TSeatModel model(session, std::unique_ptr<TMoveSource>(advisor));
    TSentLog sent;
    QStringList refusals;
    std::vector<quint64> advised;
    QObject::connect(&session, &TSession::sent, [&](TPacketType t) { sent.types.push_back(t); });
    QObject::connect(&model, &TSeatModel::refused, [&](const QString& why) { refusals << why; });
    QObject::connect(&model, &TSeatModel::advice, [&](quint64 ticket, const TMove&) { advised.push_back(ticket); });

    // Not seated: nothing is due and nothing goes out.
    TGameInfo g = DealtRecord(41);
    Deliver(session, GAME_RECORD, RecordPayload(g));
    model.ChooseContract(KozSinek);
    EXPECT_EQ(model.AskAdvice(), 0u);
    EXPECT_TRUE(sent.types.empty());

    // The chooser: a contract its seat may not choose any more is not sent; one it may is,
    // once.
    const int me = g.Chooser;
    Deliver(session, JOIN_ACCEPTED, JoinAcceptedPayload(uint8_t(me), QStringLiteral("x")));
    g.Score.TrumpsChosen[me] = 2;
    Deliver(session, GAME_RECORD, RecordPayload(g));
    ASSERT_TRUE(model.ContractDue());
    const quint64 first = model.AskAdvice();
    const quint64 second = model.AskAdvice();
    EXPECT_NE(first, second); // two askers (the hint, the computer) tell their answers apart
    model.ChooseContract(KozSinek);
    EXPECT_EQ(sent.Count(CONTRACT_CHOICE), 0);
    advisor->replies.at(0)(TMove::ChooseContract(ElAlmaz));
    EXPECT_EQ(advised, std::vector<quint64>{first});
    model.ChooseContract(ElAlmaz);
    model.ChooseContract(ElAlmaz);
    EXPECT_EQ(sent.Count(CONTRACT_CHOICE), 1);
    advisor->replies.at(1)(TMove::ChooseContract(ElAlmaz)); // the move was made meanwhile
    EXPECT_EQ(advised.size(), 1u);

    // Playing, until the user must follow suit while holding another suit too: the cards
    // of the trick are new to the table once, not again with the same record.
    ChooseContract(g, ElAlmaz);
    TRandom rnd(3);
    const auto holds = [&](bool lead) {
        for (int i = 0; i < g.CardCount[me]; ++i)
            if ((g.CardSuit[me][i] == g.TrickSuit[0]) == lead)
                return i;
        return -1;
    };
    while (!(g.Turn == me && g.TrickCount > 0 && g.TrickCount < 4 && holds(true) >= 0 && holds(false) >= 0)) {
        if (g.Phase == psTrickComplete)
            ResolveTrick(g, rnd);
        ASSERT_EQ(g.Phase, psPlaying);
        const int seat = g.Turn;
        for (int i = 0; i < g.CardCount[seat]; ++i)
            if (CanPlay(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i])) {
                PlayCard(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]);
                break;
            }
    }
    Deliver(session, GAME_RECORD, RecordPayload(g));
    EXPECT_EQ(model.NewTrickCards(), (1u << g.TrickCount) - 1);
    const quint64 late = model.AskAdvice();
    Deliver(session, GAME_RECORD, RecordPayload(g)); // the same record again, before the answer
    EXPECT_EQ(model.NewTrickCards(), 0u);
    advisor->replies.back()(TMove::PlayCard(g.CardSuit[me][holds(true)], g.CardValue[me][holds(true)]));
    EXPECT_EQ(std::count(advised.begin(), advised.end(), late), 0);

    const int off = holds(false), follow = holds(true);
    model.PlayCard(g.CardSuit[me][off], g.CardValue[me][off]);
    ASSERT_EQ(refusals.size(), 1);
    EXPECT_EQ(refusals[0], QStringLiteral("Elinde %1 varken niye %2 oynuyorsun?")
                               .arg(QString::fromUtf8(SuitName(g.TrickSuit[0])),
                                    QString::fromUtf8(SuitName(g.CardSuit[me][off]))));
    EXPECT_EQ(sent.Count(CARD_PLAY), 0);
    model.PlayCard(g.CardSuit[me][follow], g.CardValue[me][follow]);
    model.PlayCard(g.CardSuit[me][follow], g.CardValue[me][follow]);
    EXPECT_EQ(sent.Count(CARD_PLAY), 1);
    EXPECT_FALSE(model.CardDue());
}
