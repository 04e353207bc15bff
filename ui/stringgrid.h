// TStringGrid: a fixed grid of text cells with one fixed row and one fixed column, grid
// lines, no scrolling, no editing and no selection. Each cell is filled with its colour
// and its text written in TextColor 2 pixels from its left and top; then the cell painter,
// if one is set, may draw over it. The area beyond the cells shows the grid's colour. One painter
// serves a whole paint, so a font set by the painter stays for the cells drawn after it
// (cells are drawn row by row, left to right).
#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <vector>

// Draws over a cell after its default drawing (a window that shows more than text).
class TCellPainter {
public:
    virtual void PaintCell(QPainter& p, int col, int row, const QRect& rect) = 0;

protected:
    ~TCellPainter() = default;
};

class TStringGrid : public QWidget {
    Q_OBJECT
public:
    TStringGrid(int cols, int rows, QWidget* parent = nullptr);

    int ColCount() const { return int(colWidths_.size()); }
    int RowCount() const { return int(rowHeights_.size()); }
    int ColWidth(int col) const { return colWidths_[size_t(col)]; }
    int RowHeight(int row) const { return rowHeights_[size_t(row)]; }
    void SetColWidth(int col, int width);
    void SetRowHeight(int row, int height);
    void SetDefaultRowHeight(int height); // every row

    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);

    // The cell's rectangle inside the grid (grid lines and border excluded).
    QRect CellRect(int col, int row) const;

    QColor Color = QColor(Qt::white);            // normal cells
    QColor FixedColor = QColor(Qt::lightGray);   // fixed row 0 and fixed column 0
    QColor TextColor = QColor(Qt::black);        // cell texts, whatever the desktop theme
    static constexpr int kBorder = 1;            // frame around the grid
    static constexpr int kLineWidth = 1;         // grid line after every cell

    // Draws over every cell after its default drawing; it outlives the grid (its window).
    void SetCellPainter(TCellPainter* painter) { painter_ = painter; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    std::vector<QString> cells_;
    TCellPainter* painter_ = nullptr;
};
