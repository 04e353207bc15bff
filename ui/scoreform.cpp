#include "scoreform.h"

#include "recordtext.h"
#include "stringgrid.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPolygon>

const QColor TScoreForm::kCellColor(197, 254, 245);
const QColor TScoreForm::kFixedColor(255, 206, 183);

namespace {
const char* const kRowTitles[10] = {"",
                                    "El Almaz (50)",
                                    "Kupa Almaz (30)",
                                    "Kız Almaz (100)",
                                    "Erkek Almaz (60)",
                                    "Soniki Almaz (180)",
                                    "Rıfkı Almaz (320)",
                                    "Ceza Toplam",
                                    "Koz Toplam (50)",
                                    "Genel Toplam"};
constexpr int kPanelHeight = 20;
constexpr int kTitleWidth = 112;
constexpr int kCellPixels = 13;   // 10 points
constexpr int kCornerPixels = 32; // 24 points
} // namespace

TScoreForm::TScoreForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Puan Tablosu"));
    setFont(ArialPixels(12));
    setFixedSize(kClientWidth, kClientHeight); // the main window alone sizes it

    PanelTop = new QWidget(this);
    PanelTop->setGeometry(0, 0, kClientWidth, kPanelHeight);
    for (int i = 0; i < 4; ++i) {
        QLabel* label = new QLabel(PanelTop);
        label->setObjectName(QStringLiteral("Label%1").arg(i));
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText); // a player's name is never markup
        label->setFont(ArialPixels(9, true));
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, Qt::blue);
        label->setPalette(pal);
        label->setGeometry(0, 0, 45, 19);
        Labels[size_t(i)] = label;
    }

    ScoreGrid = new TStringGrid(5, 10, this);
    ScoreGrid->setObjectName(QStringLiteral("ScoreGrid"));
    ScoreGrid->setGeometry(0, kPanelHeight, kClientWidth, kClientHeight - kPanelHeight);
    ScoreGrid->setFont(ArialPixels(12));
    ScoreGrid->Color = kCellColor;
    ScoreGrid->FixedColor = kFixedColor;
    // Sizes fixed once from the designed grid of 299 x 221: columns 112 and 4 x 45,
    // rows 38 and 9 x 19.
    const int gridW = ScoreGrid->width(), gridH = ScoreGrid->height();
    ScoreGrid->SetColWidth(0, kTitleWidth);
    for (int c = 1; c < 5; ++c)
        ScoreGrid->SetColWidth(c, (gridW - kTitleWidth - 6) / 4);
    ScoreGrid->SetDefaultRowHeight((gridH - 12) / 11);
    ScoreGrid->SetRowHeight(0, 2 * ((gridH - 12) / 11));
    for (int r = 0; r < 10; ++r)
        ScoreGrid->SetCell(0, r, QString::fromUtf8(kRowTitles[r]));
    ScoreGrid->OnDrawCell = [this](QPainter& p, int col, int row, const QRect& rect) {
        ScoreGridDrawCell(p, col, row, rect);
    };
}

void TScoreForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The panel and the grid fill the window; the cells keep their sizes.
    PanelTop->setGeometry(0, 0, width(), kPanelHeight);
    ScoreGrid->setGeometry(0, kPanelHeight, width(), height() - kPanelHeight);
}

void TScoreForm::Bind(const TGameInfo* record, const uint8_t* ownSeat)
{
    game_ = record;
    ownSeat_ = ownSeat;
    ScoreGrid->update();
}

void TScoreForm::Refresh()
{
    if (!game_)
        return;
    const TScoreInfo& s = game_->Score;
    for (int c = 0; c < 6; ++c)
        for (int p = 0; p < 4; ++p)
            ScoreGrid->SetCell(p + 1, c + 1, QString::number(s.PenaltyScore[p][c]));
    for (int p = 0; p < 4; ++p) {
        ScoreGrid->SetCell(p + 1, 7, QString::number(s.Totals[p].PenaltyTotal));
        ScoreGrid->SetCell(p + 1, 8, QString::number(s.Totals[p].TrumpTotal));
        ScoreGrid->SetCell(p + 1, 9, QString::number(s.Totals[p].Total));
    }
    for (int p = 0; p < 4; ++p)
        Labels[size_t(p)]->setText(RecordText(game_->PlayerName[p], int(kNameSize)));
    for (QLabel* label : Labels)
        FitLabel(label);
    // Each label stands over its player's column.
    for (int p = 0; p < 4; ++p) {
        const QRect cell = ScoreGrid->CellRect(p + 1, 0);
        Labels[size_t(p)]->setGeometry(ScoreGrid->x() + cell.left(), 0, cell.width(), 19);
    }
    ScoreGrid->update();
}

// The largest font at which "X" and the caption are narrower than a player column and
// lower than the top panel, plus one size; an empty caption keeps the font.
void TScoreForm::FitLabel(QLabel* label)
{
    if (label->text().isEmpty())
        return;
    const QString text = QStringLiteral("X") + label->text();
    QFont font = label->font();
    font.setPointSize(1);
    for (int size = 1; size < 200; ++size) {
        font.setPointSize(size);
        const QFontMetrics m(font);
        if (m.horizontalAdvance(text) >= ScoreGrid->ColWidth(1) || m.height() >= PanelTop->height())
            break;
    }
    label->setFont(font);
}

void TScoreForm::ScoreGridDrawCell(QPainter& p, int col, int row, const QRect& rect)
{
    const int own = ownSeat_ ? static_cast<int8_t>(*ownSeat_) : -1;
    const QColor ink = (col >= 1 && col <= 4 && col - 1 == own) ? QColor(Qt::blue) : QColor(Qt::black);
    QFont font = p.font();

    if (row == 0 && col == 0) {
        font.setBold(true);
        font.setPixelSize(kCornerPixels);
        p.setFont(font);
        p.setPen(ink);
        p.save();
        p.setClipRect(rect);
        const int w = QFontMetrics(font).horizontalAdvance(QStringLiteral("RUVO"));
        p.drawText(QRect(rect.left() + rect.width() / 2 - w / 2, rect.top() + 2, w + 1, rect.height()),
                   Qt::AlignLeft | Qt::AlignTop, QStringLiteral("RUVO"));
        p.restore();
        font.setBold(false);
        font.setPixelSize(kCellPixels);
        p.setFont(font);
    }

    if (row >= 1 && col >= 1) {
        font.setBold(row == 7 || row == 9);
        p.setFont(font);
        p.fillRect(rect, row == 0 ? ScoreGrid->FixedColor : ScoreGrid->Color);
        p.setPen(ink);
        p.save();
        p.setClipRect(rect);
        p.drawText(rect.adjusted(0, 2, -2, 0), Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
                   ScoreGrid->Cell(col, row));
        p.restore();
        font.setBold(false);
        p.setFont(font);
    }

    if (!game_)
        return;
    if (col == 0 && row >= 1 && row <= 6) {
        const int times = TimesChosen(game_->Score, row - 1);
        p.save();
        p.setClipRect(rect);
        if (times >= 1) {
            p.setPen(QPen(Qt::red, 3));
            p.drawLine(rect.topLeft(), rect.bottomRight());
        }
        if (times == 2) {
            p.setPen(QPen(Qt::blue, 3));
            p.drawLine(rect.bottomLeft(), rect.topRight());
        }
        p.restore();
    }
    if (row == 0 && col >= 1)
        DrawChoiceMarks(p, col - 1, rect);
}

// Three triangles (penalty contracts chosen) over two ellipses (trump contracts chosen),
// filled black for each one chosen.
void TScoreForm::DrawChoiceMarks(QPainter& p, int player, const QRect& rect)
{
    const int W = rect.width(), H = rect.height();
    const int w3 = W / 3, w2 = W / 2, h2 = H / 2;
    const int L = rect.left(), T = rect.top();
    const QColor background = ScoreGrid->FixedColor;
    p.setPen(QPen(Qt::black, 1));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(i < game_->Score.PenaltiesChosen[player] ? QColor(Qt::black) : background);
        const QPolygon triangle({QPoint(L + i * w3 + w3 / 2, T + h2 / 5),
                                 QPoint(L + i * w3 + w3 / 16, T + 4 * h2 / 5),
                                 QPoint(L + i * w3 + 15 * w3 / 16, T + 4 * h2 / 5)});
        p.drawPolygon(triangle);
    }
    for (int i = 0; i < 2; ++i) {
        p.setBrush(i < game_->Score.TrumpsChosen[player] ? QColor(Qt::black) : background);
        const int left = L + i * w2 + (w2 / 5) / (i + 1);
        const int right = L + (i + 1) * w2 - (w2 / 5) / (2 - i);
        const int top = T + h2;
        const int bottom = T + H - h2 / 5;
        p.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    }
    p.setBrush(Qt::NoBrush);
}
