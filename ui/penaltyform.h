// TPenaltyForm: the window "Alınanlar" (the taken ones). One row per player: the name on
// the left, and the cards the player has taken in this hand as a fan of overlapping cards,
// 15 pixels apart, of which the row shows the top 43 pixels.
//
// In the contracts that count tricks (no tricks, no last two, the trump contracts) every
// entry is shown as a card back; otherwise the card's face. A card that is already shown
// keeps its face until it has been hidden once (a new hand hides every card).
//
// Bind() the main window's record once; call Refresh() whenever the record has changed.
#pragma once

#include "gameinfo.h"

#include <QWidget>

#include <array>

class QLabel;
class TCard;

class TPenaltyForm : public QWidget {
    Q_OBJECT
public:
    explicit TPenaltyForm(QWidget* parent = nullptr);

    // The client's game record; stays owned by the caller.
    void Bind(const TGameInfo* record);
    void Refresh();

    static constexpr int kClientWidth = 299;
    static constexpr int kClientHeight = 249;
    static constexpr int kSpacerHeight = 15;
    static constexpr int kCardStep = 15;
    static const QColor kLeftColor;      // RGB (0, 64, 128)
    static const QColor kClientColor;    // RGB (255, 255, 128)
    static const QColor kNameColor;      // RGB (128, 255, 255)

    // Whether the taken rows of this contract count tricks (shown as backs).
    static bool CountsTricks(uint8_t contract);

    TCard* Card(int player, int slot) const { return cards_[size_t(player)][size_t(slot)]; }
    QLabel* NameLabel(int player) const { return names_[size_t(player)]; }
    QWidget* RowPanel(int player) const { return rows_[size_t(player)]; }

    QWidget* PanelLeft;
    QWidget* PanelClient;

private:
    const TGameInfo* game_ = nullptr;
    uint8_t handContract_ = kNone; // the contract of the hand the rows belong to
    std::array<QWidget*, kSeatCount> rows_{}; // one per seat
    std::array<QLabel*, kSeatCount> names_{};
    std::array<std::array<TCard*, 13>, kSeatCount> cards_{};
};
