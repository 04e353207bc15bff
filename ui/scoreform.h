// TScoreForm: the score table "Puan Tablosu". Per player (columns in seat order) the
// score of each penalty contract, the penalty, trump and grand totals; crossed titles for
// the penalty contracts chosen once (red) and twice (red and blue); three triangles and two
// ellipses per player, filled for each penalty and trump contract the player has chosen.
// The user's own column is drawn in blue. Titles stay legible over their crossing lines,
// a name too long for its column is cut short (its label's tooltip shows it whole), and
// the cells' tooltips explain the marks.
//
// The window owns no game data: it draws from the main window's record. Call Bind() once
// with the record and the own seat (both stay owned by the caller and must outlive the
// window's use), then Refresh() whenever the record has changed.
#pragma once

#include "gameinfo.h"
#include "stringgrid.h"

#include <QFont>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>

class QLabel;
class QPainter;
class TStringGrid;

// A player's name over a column `width` wide in a panel `height` high: the first font size
// at which "X" and the name no longer fit, as large as the column allows; never smaller
// than kMinNamePoints, where a longer name is cut with an ellipsis instead.
struct TFittedName {
    QFont font;
    QString text;
    bool cut = false;
};
inline constexpr int kMinNamePoints = 7;
TFittedName FitName(const QFont& base, const QString& name, int width, int height);

// What a cell of the score table means, as its tooltip says it (empty: no tooltip).
// ownSeat is the user's seat, or kNoSeat.
QString ScoreCellTip(const TGameInfo& g, int ownSeat, int col, int row);
// Every mark of the score table and of the table's names explained, one line each.
QString ScoreLegend();

class TScoreForm : public QWidget, private TCellPainter {
    Q_OBJECT
public:
    explicit TScoreForm(QWidget* parent = nullptr);

    // record: the client's game record; ownSeat: the user's seat 0..3, kNoSeat while unseated.
    void Bind(const TGameInfo* record, const uint8_t* ownSeat);
    // Copies numbers and names from the record into the grid and the labels, fits the
    // labels' fonts and repaints.
    void Refresh();

    static constexpr int kClientWidth = 299;
    static constexpr int kClientHeight = 241;
    static const QColor kCellColor;      // RGB (197, 254, 245)
    static const QColor kFixedColor;     // RGB (255, 206, 183)

    QWidget* PanelTop;
    std::array<QLabel*, kSeatCount> Labels; // Label0 .. Label3, one per seat
    TStringGrid* ScoreGrid;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitLabel(QLabel* label, const QString& name);
    void PaintCell(QPainter& p, int col, int row, const QRect& rect) override;
    void DrawCrossedTitle(QPainter& p, int row, const QRect& rect);
    void DrawChoiceMarks(QPainter& p, int player, const QRect& rect);

    const TGameInfo* game_ = nullptr;
    const uint8_t* ownSeat_ = nullptr;
};
