// TScoreForm: the score table "Puan Tablosu". Per player (columns in seat order) the
// score of each penalty contract, the penalty, trump and grand totals; crossed titles for
// the penalty contracts chosen once (red) and twice (red and blue); three triangles and two
// ellipses per player, filled for each penalty and trump contract the player has chosen.
// The user's own column is drawn in blue.
//
// The window owns no game data: it draws from the main window's record. Call Bind() once
// with the record and the own seat (both stay owned by the caller and must outlive the
// window's use), then Refresh() whenever the record has changed.
#pragma once

#include "gameinfo.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QLabel;
class QPainter;
class TStringGrid;

class TScoreForm : public QWidget {
    Q_OBJECT
public:
    explicit TScoreForm(QWidget* parent = nullptr);

    // record: the client's game record; ownSeat: the user's seat 0..3, 255 while unseated.
    void Bind(const TGameInfo* record, const uint8_t* ownSeat);
    // Copies numbers and names from the record into the grid and the labels, fits the
    // labels' fonts and repaints.
    void Refresh();

    static constexpr int kClientWidth = 299;
    static constexpr int kClientHeight = 241;
    static const QColor kCellColor;      // RGB (197, 254, 245)
    static const QColor kFixedColor;     // RGB (255, 206, 183)

    QWidget* PanelTop;
    std::array<QLabel*, 4> Labels;       // Label0 .. Label3, one per seat
    TStringGrid* ScoreGrid;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitLabel(QLabel* label);
    void ScoreGridDrawCell(QPainter& p, int col, int row, const QRect& rect);
    void DrawChoiceMarks(QPainter& p, int player, const QRect& rect);

    const TGameInfo* game_ = nullptr;
    const uint8_t* ownSeat_ = nullptr;
};
