#include "penaltyform.h"

#include "card.h"
#include "recordtext.h"

#include <QLabel>
#include <QVBoxLayout>

const QColor TPenaltyForm::kLeftColor(0, 64, 128);
const QColor TPenaltyForm::kClientColor(255, 255, 128);
const QColor TPenaltyForm::kNameColor(128, 255, 255);

namespace {
QWidget* ColouredPanel(QWidget* parent, const QColor& colour)
{
    auto* panel = new QWidget(parent);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour);
    panel->setPalette(pal);
    panel->setAutoFillBackground(true);
    return panel;
}
} // namespace

TPenaltyForm::TPenaltyForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowDoesNotAcceptFocus)
{
    setWindowTitle(tr("Alınanlar"));
    setFont(ArialPixels(11));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kClientWidth, kClientHeight); // the main window alone sizes it

    auto* frame = new QHBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    PanelLeft = ColouredPanel(this, kLeftColor);
    PanelLeft->setFixedWidth(83);
    PanelClient = ColouredPanel(this, kClientColor);
    frame->addWidget(PanelLeft);
    frame->addWidget(PanelClient);

    // Rows stacked from the top: spacer, card row, for each player; a last spacer fills
    // the rest. Heights are fixed once from the designed client height.
    auto* stack = new QVBoxLayout(PanelClient);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    const int rowHeight = (kClientHeight - 75) / kSeatCount;
    int top = 0;
    for (int i = 0; i < kSeatCount; ++i) {
        QWidget* spacer = ColouredPanel(PanelClient, kLeftColor);
        spacer->setFixedHeight(kSpacerHeight);
        stack->addWidget(spacer);
        QWidget* row = ColouredPanel(PanelClient, kLeftColor);
        row->setFixedHeight(rowHeight);
        stack->addWidget(row);
        rows_[size_t(i)] = row;
        for (int k = 0; k < 13; ++k) {
            TCard* card = new TCard(row);
            card->move(k * kCardStep, 0);
            card->hide();
            cards_[size_t(i)][size_t(k)] = card;
        }

        QLabel* name = new QLabel(tr("'Ruvo'ci %1").arg(i + 1), PanelLeft);
        name->setFont(ArialPixels(11, true));
        name->setTextFormat(Qt::PlainText); // a player's name is never markup
        QPalette pal = name->palette();
        pal.setColor(QPalette::WindowText, kNameColor);
        name->setPalette(pal);
        name->hide();
        top += kSpacerHeight;
        const int labelHeight = name->sizeHint().height();
        name->setGeometry(5, top + rowHeight / 2 - labelHeight / 2, 83 - 5, labelHeight);
        top += rowHeight;
        names_[size_t(i)] = name;
    }
    stack->addWidget(ColouredPanel(PanelClient, kLeftColor), 1);
}

void TPenaltyForm::Bind(const TGameInfo* record) { game_ = record; }

bool TPenaltyForm::CountsTricks(uint8_t contract)
{
    return contract == ElAlmaz || contract == SonikiAlmaz || (contract >= KozSinek && contract <= KozMaca);
}

void TPenaltyForm::Refresh()
{
    if (!game_)
        return;
    // The finished game's record names no contract; its rows are those of the last hand,
    // shown by that hand's contract. Without it (the first record seen is the end of a
    // game) the rows are shown as backs: their bytes may be leftovers of earlier hands.
    if (game_->Contract != kNone)
        handContract_ = game_->Contract;
    else if (game_->Phase != psGameOver)
        handContract_ = kNone;
    const bool backs = handContract_ == kNone ? game_->Phase == psGameOver : CountsTricks(handContract_);
    for (int j = 0; j < kSeatCount; ++j) {
        const int n = game_->TakenCount[j];
        for (int k = 0; k < 13; ++k) {
            TCard* card = cards_[size_t(j)][size_t(k)];
            if (k < n) {
                card->SetShowCard(!backs);
                if (card->isHidden()) {
                    card->SetSuit(game_->TakenSuit[j][k]);
                    card->SetCard(game_->TakenValue[j][k]);
                    card->show();
                }
            } else {
                card->hide();
            }
        }
        // A name wider than the panel is cut with an ellipsis and shown whole in its tip.
        QLabel* label = names_[size_t(j)];
        const QString name = RecordText(game_->PlayerName[j], int(kNameSize));
        const QString shown = label->fontMetrics().elidedText(name, Qt::ElideRight, label->width());
        label->setText(shown);
        label->setToolTip(shown == name ? QString() : PlainTip(name));
        label->show();
    }
}
