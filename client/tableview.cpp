#include "tableview.h"

#include "tablenews.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "card.h"
#include "cheer.h"
#include "dealertext.h"
#include "drawnpicture.h"
#include "handmarker.h"
#include "language.h"
#include "recordtext.h"
#include "seatmodel.h"
#include "settings.h"

using namespace table;

namespace {

QString PlayerName(const TGameInfo& g, int seat)
{
    if (seat < 0 || seat >= kSeatCount)
        return {};
    return RecordText(g.PlayerName[seat], int(kNameSize));
}

const QColor kTableColour(0, 112, 40);

} // namespace

TTableView::TTableView(TSeatModel& model, const TSettings& settings, QWidget* parent)
    : QWidget(parent), model_(model), settings_(settings)
{
    setObjectName(QStringLiteral("Table"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kTableColour);
    setPalette(pal);
    Build();
    connect(&model_, &TSeatModel::changed, this, &TTableView::Draw);
    connect(&model_, &TSeatModel::moveSent, this, &TTableView::DrawCursors);
}

TTableView::~TTableView() = default;

void TTableView::Build()
{
    // Top panel: messages, chat button and the contract of the hand. Everything on the
    // table is placed by ApplyZoom, for the table's size.
    panel_ = new QWidget(this);
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
    bitBtn1_->setToolTip(tr("Yaz"));
    bitBtn1_->setAccessibleName(tr("Yaz"));
    bitBtn1_->setFocusPolicy(Qt::NoFocus); // the space bar belongs to the table
    connect(bitBtn1_, &QPushButton::clicked, this, &TTableView::chatClicked);
    panelCaption_ = new QLabel(tr("Oyun Şekli"), panel_);
    labelGameType_ = new QLabel(QStringLiteral("???????"), panel_);
    labelGameType_->setObjectName(QStringLiteral("LabelGameType"));
    tableFont_ = font();
    QFont bold = tableFont_;
    bold.setBold(true);
    labelGameType_->setFont(bold);
    handLabel_ = new QLabel(this);
    handLabel_->setObjectName(QStringLiteral("HandLabel"));
    handLabel_->setFont(bold);
    handLabel_->setStyleSheet(QStringLiteral("color: white;"));
    userMessages_->installEventFilter(this);
    bitBtn1_->installEventFilter(this);
    installEventFilter(this); // presses on the trick area

    for (int p = 0; p < kSeatCount; ++p)
        for (int k = 0; k < kSlotsPerHand; ++k) {
            auto* card = new TCard(this);
            card->SetShowCard(p == kBottom);
            card->hide();
            if (p == kBottom)
                connect(card, &TCard::clicked, this, [this, k] { CardClicked(k); });
            cardSlots_[p][k] = card;
        }
    static const char* const kMarkerNames[kSeatCount] = {"ImageHandSouth", "ImageHandEast", "ImageHandNorth",
                                                         "ImageHandWest"};
    for (int p = 0; p < kSeatCount; ++p) {
        auto* card = new TCard(this);
        card->hide();
        card->installEventFilter(this); // a press shows the last trick
        trickCards_[p] = card;

        auto* label = new QLabel(tr("'Ruvo'ci %1").arg(p + 1), this);
        label->setTextFormat(Qt::PlainText); // a name is never markup
        label->setFont(bold);
        label->setStyleSheet(QStringLiteral("color: white;"));
        label->hide();
        nameLabels_[p] = label;

        auto* marker = new QLabel(this);
        marker->setScaledContents(true);
        marker->setObjectName(QString::fromLatin1(kMarkerNames[p]));
        marker->hide();
        handMarkers_[p] = marker;
    }
}

int TTableView::RelativePosition(int seat) const
{
    return table::RelativePosition(seat, model_.Seat(), settings_.Clockwise());
}

QString TTableView::Messages() const { return userMessages_->toPlainText(); }

void TTableView::AddMessage(const QString& text)
{
    userMessages_->appendPlainText(DealerText(text));
    userMessages_->setPlainText(userMessages_->toPlainText().trimmed());
    userMessages_->moveCursor(QTextCursor::End);
    userMessages_->ensureCursorVisible();
}

void TTableView::ShowSeatName(int seat, const QString& name)
{
    seatNames_[seat & 3] = name;
    PlaceSeatNames();
}

// The names of the seats while players join, each where the seat sits for the user (who is
// at the bottom); until the user's seat is known nothing stands anywhere.
void TTableView::PlaceSeatNames()
{
    if (model_.Seat() < 0 || model_.Seat() >= kSeatCount)
        return;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const int p = RelativePosition(seat);
        SetNameLabel(p, seatNames_[seat], QString());
        nameLabels_[p]->setVisible(!seatNames_[seat].isEmpty());
    }
}

void TTableView::ClearSeatNames()
{
    for (int seat = 0; seat < kSeatCount; ++seat)
        if (seat != model_.Seat()) {
            seatNames_[seat].clear();
            SetNameLabel(RelativePosition(seat), QString(), QString());
        }
}

void TTableView::ShowTrickTaker(int seat) { handMarkers_[RelativePosition(seat)]->show(); }

void TTableView::ClearTrickTaker()
{
    for (QLabel* marker : handMarkers_)
        marker->hide();
}

void TTableView::Draw()
{
    const TGameInfo& g = model_.Record();
    EndLastTrick(); // the next card ends the look at the last trick
    StopCheer();
    for (TCard* card : cardSlots_[kBottom])
        card->SetSelectedCard(false);
    DrawHands();
    DrawTrick();
    DrawCursors();
    labelGameType_->setText(g.Contract >= kContractCount ? QStringLiteral("???????")
                                                         : ContractText(g.Contract));
    FitGameType();
    handLabel_->setText(HandNumberText(g));
    handLabel_->adjustSize();
    NoteHandEnd();
}

// A hand's line in the messages when it ends: known from the record in which its contract
// was chosen (a player who joins in the middle of a hand sees the next one's).
void TTableView::NoteHandEnd()
{
    const TGameInfo& g = model_.Record();
    if (g.Phase == psPlaying && g.TricksPlayed == 0 && g.TrickCount == 0 && g.Contract < kContractCount) {
        handStart_ = g;
        handStartKnown_ = true;
        return;
    }
    const bool ended = (g.Phase == psChoosing && ContractsPlayed(g) == ContractsPlayed(handStart_)) ||
                       g.Phase == psGameOver;
    if (!handStartKnown_ || !ended)
        return;
    handStartKnown_ = false;
    AddMessage(HandSummary(handStart_, g));
}

void TTableView::DrawHands()
{
    const TGameInfo& g = model_.Record();
    UpdateHandSlots(slots_, g, model_.Seat(), settings_.Clockwise());
    for (int p = 0; p < kSeatCount; ++p)
        for (int k = 0; k < kSlotsPerHand; ++k) {
            const Slot& s = slots_[p][k];
            TCard* card = cardSlots_[p][k];
            if (s.visible) {
                card->SetSuit(s.suit);
                card->SetCard(s.value);
            }
            card->setVisible(s.visible);
        }
    // The one whose move it is has a frame round the name.
    const int due = g.Phase == psPlaying ? g.Turn : g.Phase == psChoosing ? g.Chooser : kNoSeat;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const int p = RelativePosition(seat);
        QLabel* label = nameLabels_[p];
        QString style = seat == g.HandChooser ? QStringLiteral("color: yellow;") : QStringLiteral("color: white;");
        if (seat == due)
            style += QStringLiteral(" border: 2px solid white; border-radius: 4px; padding: 0px 3px;"
                                    " background: rgba(0, 0, 0, 70);");
        label->setStyleSheet(style);
        SetNameLabel(p, PlayerName(g, seat),
                     tr("Sarı isim: bu elin oyununu seçen. Çerçeveli isim: sıra onda."));
        label->show();
    }
}

void TTableView::DrawTrick()
{
    const TGameInfo& g = model_.Record();
    const unsigned fresh = model_.NewTrickCards();
    for (int i = 0; i < kSeatCount; ++i) {
        TCard* card = trickCards_[TrickPosition(g, i, model_.Seat(), settings_.Clockwise())];
        if (i < g.TrickCount) {
            // A card new to the table is brought to the front; one already there stays.
            if ((fresh & (1u << i)) || !card->isVisible()) {
                card->SetSuit(g.TrickSuit[i]);
                card->SetCard(g.TrickValue[i]);
                card->raise();
                card->show();
            }
        } else {
            card->hide();
        }
    }
    // A hand marker stands only beside the taker of the complete trick on the table.
    const int taker = g.TrickCount == kSeatCount && g.Leader < kSeatCount ? RelativePosition(WhoBiggest(g)) : -1;
    for (int p = 0; p < kSeatCount; ++p)
        if (p != taker)
            handMarkers_[p]->hide();
}

void TTableView::DrawCursors()
{
    for (TCard* card : cardSlots_[kBottom])
        card->setCursor(model_.MayPlay(card->Suit(), card->Card()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TTableView::CardClicked(int slot)
{
    const Slot& s = slots_[kBottom][slot];
    if (s.visible)
        model_.PlayCard(s.suit, s.value);
}

void TTableView::MarkHint(const TMove& move)
{
    for (TCard* card : cardSlots_[kBottom])
        if (card->isVisible())
            card->SetSelectedCard(move.Kind == TMove::TKind::Card && card->Suit() == move.Suit &&
                                  card->Card() == move.Value);
}

void TTableView::StartCheer()
{
    StopCheer();
    cheer_ = std::make_unique<TCheer>(this, QRect(0, kTopPanelHeight, width(), height() - kTopPanelHeight));
    connect(cheer_.get(), &TCheer::collided, this, &TTableView::balloonsCollided);
    cheer_->Start(model_.Record());
}

void TTableView::StopCheer()
{
    if (!cheer_)
        return;
    cheer_.reset();
    update();
}

void TTableView::mousePressEvent(QMouseEvent* e)
{
    StopCheer();
    QWidget::mousePressEvent(e);
}

// ---- The last trick ----

QRect TTableView::TrickArea() const
{
    QRect area;
    for (const TCard* card : trickCards_)
        area |= card->geometry();
    return area;
}

void TTableView::ShowLastTrick()
{
    const TSeatModel::TTakenTrick& last = model_.LastTrick();
    // Not while the trick itself still lies on the table.
    if (!last.valid || showingLastTrick_ || model_.Record().TrickCount == kSeatCount)
        return;
    showingLastTrick_ = true;
    // The release may reach any widget (the pressed card is hidden and shown again, and
    // the pointer may have moved): the whole program is watched until it comes.
    qApp->installEventFilter(this);
    for (int p = 0; p < kSeatCount; ++p) {
        markerWasVisible_[p] = handMarkers_[p]->isVisible();
        handMarkers_[p]->hide();
        trickCards_[p]->hide();
    }
    for (int i = 0; i < kSeatCount; ++i) {
        TCard* card = trickCards_[RelativePosition(last.seat[i])];
        card->SetSuit(last.suit[i]);
        card->SetCard(last.value[i]);
        card->raise();
        card->show();
    }
    handMarkers_[RelativePosition(last.taker)]->show();
}

void TTableView::EndLastTrick()
{
    if (!showingLastTrick_)
        return;
    showingLastTrick_ = false;
    qApp->removeEventFilter(this);
    const TGameInfo& g = model_.Record();
    for (int p = 0; p < kSeatCount; ++p) {
        handMarkers_[p]->setVisible(markerWasVisible_[p]);
        trickCards_[p]->hide();
    }
    // The trick in play as it was.
    for (int i = 0; i < g.TrickCount && i < kSeatCount; ++i) {
        TCard* card = trickCards_[TrickPosition(g, i, model_.Seat(), settings_.Clockwise())];
        card->SetSuit(g.TrickSuit[i]);
        card->SetCard(g.TrickValue[i]);
        card->raise();
        card->show();
    }
}

// Presses on the trick area and the trick cards; the space bar wherever the focus is in
// the window (the main window hands its own keys here); F1 and F2 on the panel.
bool TTableView::eventFilter(QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationDeactivate:
        if (watched == window() || watched == qApp)
            EndLastTrick(); // the release would go to another program
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (e->type() == QEvent::MouseButtonRelease) {
            EndLastTrick();
            return false;
        }
        const bool onTrickCard = std::find(trickCards_.begin(), trickCards_.end(), watched) != trickCards_.end();
        if (onTrickCard || (watched == this && TrickArea().contains(mouse->position().toPoint())))
            ShowLastTrick();
        return false;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Space) {
            if (!key->isAutoRepeat())
                e->type() == QEvent::KeyPress ? ShowLastTrick() : EndLastTrick();
            return true; // the space bar presses no button here
        }
        // (While the last trick shows, the whole program is watched: a key seen twice then
        // is not a command twice.)
        if (e->type() == QEvent::KeyRelease && watched != this && !showingLastTrick_ &&
            (key->key() == Qt::Key_F1 || key->key() == Qt::Key_F2)) {
            emit functionKey(key->key());
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

// ---- Size ----

QPoint TTableView::OnTable(QPoint design) const
{
    return QPoint(qRound(origin_.x() + design.x() * zoom_), qRound(origin_.y() + design.y() * zoom_));
}

QRect TTableView::OnPanel(const QRect& design) const
{
    const QPoint topLeft(qRound(panelLeft_ + design.left() * zoom_), qRound(design.top() * zoom_));
    return QRect(topLeft, QSize(qRound(design.width() * zoom_), qRound(design.height() * zoom_)));
}

QFont TTableView::Zoomed(const QFont& font) const
{
    QFont f = font;
    if (font.pointSizeF() > 0)
        f.setPointSizeF(font.pointSizeF() * zoom_);
    else
        f.setPixelSize(qRound(font.pixelSize() * zoom_));
    return f;
}

QRect TTableView::Inside() const
{
    return QRect(mapToGlobal(QPoint(0, panel_->height())), QSize(width(), height() - panel_->height()));
}

QRect TTableView::CardArea() const
{
    const QPoint topLeft = OnTable(QPoint(0, kTopPanelHeight));
    return QRect(mapToGlobal(topLeft), mapToGlobal(OnTable(QPoint(design_.width(), design_.height()))) - QPoint(1, 1));
}

void TTableView::KeepFree(int left, int right)
{
    if (left == freeLeft_ && right == freeRight_)
        return;
    freeLeft_ = left;
    freeRight_ = right;
    ApplyZoom();
}

QPoint TTableView::DialogPlace(QSize size, const QMargins& frame) const
{
    // Over the middle of the table, between the top and bottom hands, its frame included;
    // a dialog taller than that gap keeps the user's own hand in sight and covers the top
    // hand instead.
    const int gapTop = OnTable(QPoint(0, PositionRect(kTop).bottom)).y();
    const int gapBottom = OnTable(QPoint(0, PositionRect(kBottom).top)).y();
    const int tableWidth = qRound(design_.width() * zoom_);
    return mapToGlobal(QPoint(qRound(origin_.x()), 0) +
                       ContractDialogPlace(tableWidth, panel_->height(), gapTop, gapBottom, size, frame));
}

QRect TTableView::UserHand() const
{
    const Rect r = PositionRect(kBottom);
    const QPoint topLeft = OnTable(QPoint(r.left, r.top));
    return QRect(mapToGlobal(topLeft), mapToGlobal(OnTable(QPoint(r.right, r.bottom))) - QPoint(1, 1));
}

void TTableView::SetNameLabel(int position, const QString& name, const QString& tip)
{
    shownNames_[position] = name;
    nameTips_[position] = tip;
    PlaceNameLabel(position);
}

void TTableView::PlaceNameLabel(int position)
{
    // A name longer than the room beside its hand is cut with an ellipsis and shown whole
    // in the tip.
    QLabel* label = nameLabels_[position];
    const QString& name = shownNames_[position];
    label->setText(name);
    label->adjustSize();
    const int room = qRound(NameLabelRoom(position) * zoom_);
    if (label->width() > room) {
        const int frame = label->width() - label->fontMetrics().horizontalAdvance(name);
        label->setText(label->fontMetrics().elidedText(name, Qt::ElideRight, room - frame));
        label->adjustSize();
    }
    const bool cut = label->text() != name;
    label->setToolTip(PlainTip(cut ? (nameTips_[position].isEmpty() ? name : name + QLatin1Char('\n') + nameTips_[position])
                                   : nameTips_[position]));
    const QSize design(qRound(label->width() / zoom_), qRound(label->height() / zoom_));
    label->move(OnTable(NameLabelTopLeft(position, design)));
}

void TTableView::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    ApplyZoom();
}

void TTableView::ApplyZoom()
{
    // The table's design size: its size when the window has its designed size.
    const QSize design(WindowSize().width(), height() - window()->height() + WindowSize().height());
    design_ = design;
    const double before = zoom_;
    const Placement placed = TablePlacement(size(), design, freeLeft_, freeRight_);
    zoom_ = placed.zoom;
    origin_ = placed.origin;
    panelLeft_ = origin_.x();

    panel_->setGeometry(0, 0, width(), qRound(kTopPanelHeight * zoom_));
    userMessages_->setGeometry(OnPanel(QRect(2, 2, 330, 45)));
    bitBtn1_->setGeometry(OnPanel(QRect(336, 12, 40, 25)));
    bitBtn1_->setIconSize(QSize(qRound(24 * zoom_), qRound(18 * zoom_)));
    panelCaption_->setGeometry(OnPanel(QRect(382, 4, 86, 18)));
    labelGameType_->setGeometry(OnPanel(QRect(382, 24, 86, 20)));
    handLabel_->move(OnTable(QPoint(6, kTopPanelHeight + 6)));

    const QSize card(qRound(kCardWidth * zoom_), qRound(kCardHeight * zoom_));
    for (int p = 0; p < kSeatCount; ++p) {
        for (int k = 0; k < kSlotsPerHand; ++k) {
            cardSlots_[p][k]->setFixedSize(card);
            cardSlots_[p][k]->move(OnTable(SlotTopLeft(p, k)));
        }
        trickCards_[p]->setFixedSize(card);
        trickCards_[p]->move(OnTable(TrickCardTopLeft(p)));
        const int marker = qRound(kMarkerSize * zoom_);
        handMarkers_[p]->setGeometry(QRect(OnTable(HandMarkerTopLeft(p)), QSize(marker, marker)));
    }
    if (before != zoom_ || handMarkers_[0]->pixmap().isNull()) {
        const QFont plain = Zoomed(tableFont_);
        QFont bold = plain;
        bold.setBold(true);
        for (QWidget* w : {static_cast<QWidget*>(userMessages_), static_cast<QWidget*>(bitBtn1_),
                           static_cast<QWidget*>(panelCaption_)})
            w->setFont(plain);
        handLabel_->setFont(bold);
        handLabel_->adjustSize();
        for (int p = 0; p < kSeatCount; ++p) {
            nameLabels_[p]->setFont(bold);
            handMarkers_[p]->setPixmap(HandMarkerPixmap(p, PictureRatio(nullptr) * zoom_));
        }
    }
    for (int p = 0; p < kSeatCount; ++p)
        PlaceNameLabel(p);
    FitGameType();
}

void TTableView::FitGameType()
{
    // The panel's bold font, smaller where a long name (as in English) would not fit.
    QFont font = Zoomed(tableFont_);
    font.setBold(true);
    const int wide = QFontMetrics(font).horizontalAdvance(labelGameType_->text());
    const int room = labelGameType_->width() - 4;
    if (wide > room) {
        const double shrink = 0.95 * room / wide; // hinting at the smaller size may widen it
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * shrink);
        else
            font.setPixelSize(std::max(1, int(font.pixelSize() * shrink)));
    }
    labelGameType_->setFont(font);
}
