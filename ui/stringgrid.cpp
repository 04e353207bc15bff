#include "stringgrid.h"

#include <QPainter>

TStringGrid::TStringGrid(int cols, int rows, QWidget* parent)
    : QWidget(parent), colWidths_(size_t(cols), 64), rowHeights_(size_t(rows), 24),
      cells_(size_t(cols * rows))
{
}

void TStringGrid::SetColWidth(int col, int width)
{
    colWidths_[size_t(col)] = width;
    update();
}

void TStringGrid::SetRowHeight(int row, int height)
{
    rowHeights_[size_t(row)] = height;
    update();
}

void TStringGrid::SetDefaultRowHeight(int height)
{
    for (int& h : rowHeights_)
        h = height;
    update();
}

QString TStringGrid::Cell(int col, int row) const
{
    return cells_[size_t(row * ColCount() + col)];
}

void TStringGrid::SetCell(int col, int row, const QString& text)
{
    QString& cell = cells_[size_t(row * ColCount() + col)];
    if (cell == text)
        return;
    cell = text;
    update(CellRect(col, row));
}

QRect TStringGrid::CellRect(int col, int row) const
{
    int x = kBorder, y = kBorder;
    for (int c = 0; c < col; ++c)
        x += colWidths_[size_t(c)] + kLineWidth;
    for (int r = 0; r < row; ++r)
        y += rowHeights_[size_t(r)] + kLineWidth;
    return QRect(x, y, colWidths_[size_t(col)], rowHeights_[size_t(row)]);
}

void TStringGrid::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Color);
    p.setPen(QColor(64, 64, 64));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setFont(font());
    for (int row = 0; row < RowCount(); ++row)
        for (int col = 0; col < ColCount(); ++col) {
            const QRect r = CellRect(col, row);
            // Grid line to the right and below the cell.
            p.fillRect(QRect(r.right() + 1, r.top(), kLineWidth, r.height() + kLineWidth), QColor(128, 128, 128));
            p.fillRect(QRect(r.left(), r.bottom() + 1, r.width() + kLineWidth, kLineWidth), QColor(128, 128, 128));
            const bool fixed = row == 0 || col == 0;
            p.fillRect(r, fixed ? FixedColor : Color);
            const QString text = Cell(col, row);
            if (!text.isEmpty()) {
                p.save();
                p.setClipRect(r);
                p.setPen(TextColor);
                p.drawText(r.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
                p.restore();
            }
            if (painter_)
                painter_->PaintCell(p, col, row, r);
        }
}
