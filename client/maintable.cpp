// The table of the main window: its components, UpdateTable, card clicks and the computer
// acting for the user.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <cstring>

#include "card.h"
#include "computerplayer.h"
#include "handmarker.h"
#include "cheer.h"
#include "mainform.h"
#include "prompts.h"
#include "recordtext.h"
#include "sounds.h"

using namespace table;

namespace {

QString PlayerName(const TGameInfo& g, int seat)
{
    if (seat < 0 || seat > 3)
        return {};
    return RecordText(g.PlayerName[seat], int(kNameSize));
}

const QColor kTableColour(0, 112, 40);

} // namespace

void TMainForm::LayoutTable()
{
    table_ = new QWidget(this);
    table_->setObjectName(QStringLiteral("Table"));
    table_->setAutoFillBackground(true);
    QPalette pal = table_->palette();
    pal.setColor(QPalette::Window, kTableColour);
    table_->setPalette(pal);
    setCentralWidget(table_);

    // Top panel: messages, chat button and the contract of the hand. Everything on the
    // table is placed by ApplyZoom, for the table's size.
    panel_ = new QWidget(table_);
    panel_->setAutoFillBackground(true);
    QPalette panelColours = panel_->palette();
    panelColours.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    panel_->setPalette(panelColours);
    userMessages_ = new QPlainTextEdit(panel_);
    userMessages_->setObjectName(QStringLiteral("UserMessages"));
    userMessages_->setReadOnly(true);
    userMessages_->setStyleSheet(QStringLiteral("QPlainTextEdit { color: rgb(0,255,0); background: black; }"));
    userMessages_->setFocusPolicy(Qt::ClickFocus);
    // The chat button shows a speech balloon; its caption "Yaz" is the tooltip.
    bitBtn1_ = new QPushButton(panel_);
    bitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
    bitBtn1_->setIcon(ChatBalloonIcon());
    bitBtn1_->setToolTip(QStringLiteral("Yaz"));
    bitBtn1_->setAccessibleName(QStringLiteral("Yaz"));
    bitBtn1_->setFocusPolicy(Qt::NoFocus); // the space bar belongs to the table
    connect(bitBtn1_, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    panelCaption_ = new QLabel(QStringLiteral("Oyun Şekli"), panel_);
    labelGameType_ = new QLabel(QStringLiteral("???????"), panel_);
    labelGameType_->setObjectName(QStringLiteral("LabelGameType"));
    tableFont_ = table_->font();
    QFont bold = tableFont_;
    bold.setBold(true);
    labelGameType_->setFont(bold);
    userMessages_->installEventFilter(this);
    bitBtn1_->installEventFilter(this);

    for (int p = 0; p < 4; ++p) {
        for (int k = 0; k < kSlotsPerHand; ++k) {
            auto* card = new TCard(table_);
            card->SetShowCard(p == kBottom);
            card->hide();
            if (p == kBottom)
                connect(card, &TCard::clicked, this, [this, k] { CardSlotClick(k); });
            cardSlots_[p][k] = card;
        }
    }
    for (int p = 0; p < 4; ++p) {
        auto* card = new TCard(table_);
        card->hide();
        card->installEventFilter(this); // a press shows the last trick
        trickCards_[p] = card;

        auto* label = new QLabel(QStringLiteral("'Ruvo'ci %1").arg(p + 1), table_);
        label->setTextFormat(Qt::PlainText); // a name is never markup
        label->setFont(bold);
        label->setStyleSheet(QStringLiteral("color: white;"));
        label->hide();
        nameLabels_[p] = label;

        auto* marker = new QLabel(table_);
        marker->setScaledContents(true);
        marker->hide();
        handMarkers_[p] = marker;
    }
    static const char* const kMarkerNames[4] = {"ImageHandSouth", "ImageHandEast",
                                                "ImageHandNorth", "ImageHandWest"};
    for (int p = 0; p < 4; ++p)
        handMarkers_[p]->setObjectName(QString::fromLatin1(kMarkerNames[p]));

    timerComputerPlayerWait_ = new QTimer(this);
    timerComputerPlayerWait_->setObjectName(QStringLiteral("TimerComputerPlayerWait"));
    timerComputerPlayerWait_->setInterval(kComputerWaitMs);
    connect(timerComputerPlayerWait_, &QTimer::timeout, this, [this] { TimerComputerPlayerWaitTimer(); });

    // The designed size is the smallest; the table grows with the window.
    table_->installEventFilter(this);
    setMinimumSize(WindowSize());
    resize(WindowSize());
    ApplyZoom();
}

int TMainForm::RelativePosition(int seat) const
{
    return table::RelativePosition(seat, session_.MySeat, Clockwise());
}

void TMainForm::PlaceNameLabel(int position)
{
    QLabel* label = nameLabels_[position];
    label->adjustSize();
    const QSize design(qRound(label->width() / zoom_), qRound(label->height() / zoom_));
    label->move(OnTable(NameLabelTopLeft(position, design)));
}

void TMainForm::ShowTrickTaker(int seat) { handMarkers_[RelativePosition(seat)]->show(); }

void TMainForm::ClearTrickTaker()
{
    for (QLabel* marker : handMarkers_)
        marker->hide();
}

void TMainForm::UpdateTable()
{
    const TGameInfo& g = session_.Record();
    // The next card ends the look at the last trick.
    EndLastTrick();
    // 1.
    session_.CardSent = false;
    ++recordsShown_;
    StopCheer();
    // 2.
    QString status;
    switch (g.Phase) {
    case psPlaying:
        status = QStringLiteral("%1 bir kağıt oynayacak...").arg(PlayerName(g, g.Turn));
        break;
    case psChoosing:
        status = QStringLiteral("%1 bir oyun şekli seçecek...").arg(PlayerName(g, g.HandChooser));
        break;
    case psGameOver:
        status = QStringLiteral("Oyun bitti");
        break;
    default:
        break;
    }
    SetStatus(status);
    if (g.Phase == psGameOver)
        GameOverSteps();
    // 3.
    if (g.TrickCount == 0)
        side_.RefreshScore();
    if (g.TricksPlayed == 0) {
        side_.RepaintScoreGrid();
        if (IsChecked("Sesli1") && newHandSoundSwitch_)
            sounds_->Play(kSoundNewHand);
        newHandSoundSwitch_ = !newHandSoundSwitch_;
    }
    // 4.
    side_.RefreshPenalty();
    // 5. - 8.
    UpdateHands();
    RememberTrick();
    UpdateTrick();
    UpdateCursors();
    labelGameType_->setText(g.Contract >= kContractCount ? QStringLiteral("???????")
                                                         : QString::fromUtf8(ContractNames[g.Contract]));
    // 9.
    if (IsChecked("Yerimebilgisayaroynasn1")) {
        timerComputerPlayerWait_->start();
        return;
    }
    HelpWithTurn();
    // 10. The dialog is opened from the event loop, not from inside the network handler.
    if (Awaited(g, session_.MySeat) == TMove::TKind::Contract && !side_.ContractDialogVisible())
        Later([this] { AskContract(); });
}

void TMainForm::UpdateHands()
{
    const TGameInfo& g = session_.Record();
    UpdateHandSlots(slots_, g, session_.MySeat, Clockwise());
    for (int p = 0; p < 4; ++p) {
        for (int k = 0; k < kSlotsPerHand; ++k) {
            const Slot& s = slots_[p][k];
            TCard* card = cardSlots_[p][k];
            if (s.visible) {
                card->SetSuit(s.suit);
                card->SetCard(s.value);
            }
            card->setVisible(s.visible);
        }
    }
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const int p = RelativePosition(seat);
        QLabel* label = nameLabels_[p];
        label->setText(PlayerName(g, seat));
        PlaceNameLabel(p);
        label->setStyleSheet(seat == g.HandChooser ? QStringLiteral("color: yellow;")
                                                   : QStringLiteral("color: white;"));
        label->show();
    }
}

void TMainForm::UpdateTrick()
{
    const TGameInfo& g = session_.Record();
    for (int i = 0; i < 4; ++i) {
        TCard* card = trickCards_[TrickPosition(g, i, session_.MySeat, Clockwise())];
        if (i < g.TrickCount) {
            // A card of another trick at this place (a game loaded or joined again in the
            // middle of a trick) gives way to the record's card.
            if (!card->isVisible() || card->Suit() != g.TrickSuit[i] || card->Card() != g.TrickValue[i]) {
                card->SetSuit(g.TrickSuit[i]);
                card->SetCard(g.TrickValue[i]);
                card->raise();
                sounds_->Play(kSoundCardIntoTrick);
                card->show();
            }
        } else {
            card->hide();
        }
    }
    // A hand marker stands only beside the taker of the complete trick on the table.
    const int taker = g.TrickCount == 4 && g.Leader < kSeatCount ? RelativePosition(WhoBiggest(g)) : -1;
    for (int p = 0; p < 4; ++p)
        if (p != taker)
            handMarkers_[p]->hide();
}

bool TMainForm::MyCardDue() const
{
    const TGameInfo& g = session_.Record();
    return Awaited(g, session_.MySeat) == TMove::TKind::Card && !session_.CardSent;
}

void TMainForm::UpdateCursors()
{
    const TGameInfo& g = session_.Record();
    const bool myTurn = MyCardDue();
    for (int k = 0; k < kSlotsPerHand; ++k) {
        TCard* card = cardSlots_[kBottom][k];
        const bool playable = myTurn && CanPlay(g, session_.MySeat, card->Suit(), card->Card());
        card->setCursor(playable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
}

void TMainForm::GameOverSteps()
{
    side_.RefreshScore();
    // The lists window waits for the user, so it opens once this record has been handled
    // and drawn; the balloons fly after it is closed, unless another record came meanwhile.
    const int shown = recordsShown_;
    const TGameInfo over = session_.Record();
    Later([this, shown, over] {
        // The same finished game sent again (a player who joins again after the end, a
        // finished game loaded twice) does not enter the lists twice.
        const QByteArray finished(reinterpret_cast<const char*>(&over), sizeof over);
        if (finished != listedGame_) {
            listedGame_ = finished;
            side_.OfferFinishedGame(over);
        }
        if (!closing_ && shown == recordsShown_)
            StartCheer();
    });
}

void TMainForm::StartCheer()
{
    StopCheer();
    const QRect area(0, kTopPanelHeight, table_->width(), table_->height() - kTopPanelHeight);
    cheer_ = std::make_unique<TCheer>(table_, area);
    // Every bump is heard, whatever "Sesli" says.
    cheer_->OnCollision = [this] { sounds_->PlayUnlessPlaying(kSoundBalloonCollision); };
    cheer_->Start(session_.Record());
}

void TMainForm::StopCheer()
{
    if (!cheer_)
        return;
    cheer_.reset();
    table_->update();
}

void TMainForm::AskContract()
{
    const TGameInfo& g = session_.Record();
    if (Awaited(g, session_.MySeat) != TMove::TKind::Contract || session_.ContractSent ||
        side_.ContractDialogVisible() || !side_.Contracts)
        return;
    const TGameInfo offered = g;
    // Over the middle of the table, between the top and bottom hands; a dialog taller than
    // that gap keeps the user's own hand in sight and covers the top hand instead.
    const uint8_t contract = side_.RunContractDialog([this](QSize size) {
        const int gapTop = OnTable(QPoint(0, PositionRect(kTop).bottom)).y();
        const int gapBottom = OnTable(QPoint(0, PositionRect(kBottom).top)).y();
        int top = (gapTop + gapBottom) / 2 - size.height() / 2;
        top = std::max(panel_->height(), std::min(top, gapBottom - size.height()));
        const int left = (table_->width() - size.width()) / 2;
        return table_->mapToGlobal(QPoint(left, top));
    });
    // A record that came while the dialog was open (a game loaded, say) makes the choice
    // stale: the dealer would drop it. The dialog opens again if that record still asks
    // this seat to choose.
    if (std::memcmp(&offered, &session_.Record(), sizeof offered) != 0) {
        Later([this] { AskContract(); });
        return;
    }
    if (contract < kContractCount)
        session_.SendContractChoice(contract);
}

void TMainForm::CardSlotClick(int slot)
{
    const TGameInfo& g = session_.Record();
    if (slot < 0 || slot >= kSlotsPerHand || !MyCardDue())
        return;
    const TCard* card = cardSlots_[kBottom][slot];
    const TMove move = TMove::PlayCard(card->Suit(), card->Card());
    const TRefusal refusal = CheckMove(g, session_.MySeat, move);
    if (refusal == TRefusal::None) {
        session_.SendCardPlay(move.Suit, move.Value);
        UpdateCursors();
    } else {
        Inform(QString::fromStdString(RefusalText(refusal, g, move)));
    }
}

void TMainForm::ComputerPlaysForMe()
{
    // Where the other hands are not the real ones, only a level that never looks at them
    // can play for the user.
    if (ComputerLevel() == TComputerLevel::Usta || session_.PrivateHands())
        return UstaPlaysForMe();
    const TGameInfo& g = session_.Record();
    const int seat = session_.MySeat;
    const TMove::TKind due = Awaited(g, seat);
    if (due == TMove::TKind::Card && !session_.CardSent) {
        TComputerPlayer player;
        const TMove move = ComputerChoice(player, seat, g, GameRandom());
        if (CheckMove(g, seat, move) == TRefusal::None) {
            session_.SendCardPlay(move.Suit, move.Value);
            UpdateCursors();
            return;
        }
        Inform(QStringLiteral("Bilgisayar oynayamadı!"));
    } else if (due == TMove::TKind::Contract && !session_.ContractSent) {
        TComputerPlayer player;
        const TMove move = ComputerChoice(player, seat, g, GameRandom());
        if (CheckMove(g, seat, move) == TRefusal::None)
            session_.SendContractChoice(move.Contract);
    }
}

void TMainForm::TimerComputerPlayerWaitTimer()
{
    timerComputerPlayerWait_->stop();
    ComputerPlaysForMe();
}
