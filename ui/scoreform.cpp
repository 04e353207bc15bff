#include "scoreform.h"

#include "recordtext.h"
#include "stringgrid.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPolygon>
#include <QToolTip>

#include <algorithm>

const QColor TScoreForm::kCellColor(197, 254, 245);
const QColor TScoreForm::kFixedColor(255, 206, 183);

namespace {
const char* const kRowTitles[10] = {"",
                                    QT_TRANSLATE_NOOP("TScoreForm", "El Almaz (50)"),
                                    QT_TRANSLATE_NOOP("TScoreForm", "Kupa Almaz (30)"),
                                    QT_TRANSLATE_NOOP("TScoreForm", "Kız Almaz (100)"),
                                    QT_TRANSLATE_NOOP("TScoreForm", "Erkek Almaz (60)"),
                                    QT_TRANSLATE_NOOP("TScoreForm", "Soniki Almaz (180)"),
                                    QT_TRANSLATE_NOOP("TScoreForm", "Rıfkı Almaz (320)"),
                                    QT_TRANSLATE_NOOP("TScoreForm", "Ceza Toplam"),
                                    QT_TRANSLATE_NOOP("TScoreForm", "Koz Toplam (50)"),
                                    QT_TRANSLATE_NOOP("TScoreForm", "Genel Toplam")};
constexpr int kPanelHeight = 20;
constexpr int kTitleWidth = 112;
constexpr int kCellPixels = 13;   // 10 points
constexpr int kCornerPixels = 32; // 24 points
} // namespace

QString ScoreLegend()
{
    return TScoreForm::tr("▲ seçilmiş, △ seçilecek ceza oyunu (her oyuncu 3 tane seçer)\n"
                          "● seçilmiş, ○ seçilecek koz (her oyuncu 2 tane seçer)\n"
                          "Kırmızı çizgi: bu ceza oyunu bir kez seçildi\n"
                          "Kırmızı ve mavi çarpı: iki kez seçildi, artık seçilemez\n"
                          "Mavi sütun: senin puanların\n"
                          "Masada sarı isim: bu elin oyununu seçen");
}

TFittedName FitName(const QFont& base, const QString& name, int width, int height)
{
    TFittedName fitted{base, name, false};
    if (name.isEmpty())
        return fitted;
    const QString text = QStringLiteral("X") + name;
    QFont font = base;
    int size = 1;
    for (; size < 200; ++size) {
        font.setPointSize(size);
        const QFontMetrics m(font);
        if (m.horizontalAdvance(text) >= width || m.height() >= height)
            break;
    }
    if (size < kMinNamePoints) {
        font.setPointSize(kMinNamePoints);
        fitted.text = QFontMetrics(font).elidedText(name, Qt::ElideRight, width - 2);
        fitted.cut = fitted.text != name;
    }
    fitted.font = font;
    return fitted;
}

QString ScoreCellTip(const TGameInfo& g, int ownSeat, int col, int row)
{
    if (col < 0 || col > kSeatCount || row < 0 || row > 9)
        return {};
    if (col == 0 && row == 0)
        return ScoreLegend();
    if (col == 0) {
        if (row > 6)
            return {};
        switch (TimesChosen(g.Score, row - 1)) {
        case 0: return TScoreForm::tr("Henüz seçilmedi; iki kez seçilebilir.");
        case 1: return TScoreForm::tr("Bir kez seçildi (kırmızı çizgi); bir kez daha seçilebilir.");
        default: return TScoreForm::tr("İki kez seçildi (kırmızı ve mavi çizgi); artık seçilemez.");
        }
    }
    const int p = col - 1;
    if (row == 0) {
        const int penalties = g.Score.PenaltiesChosen[p], trumps = g.Score.TrumpsChosen[p];
        return TScoreForm::tr("%1: %2 ceza oyunu (▲) ve %3 koz (●) seçti; %4 ceza oyunu (△) ve %5 koz (○) "
                              "seçecek.")
            .arg(RecordText(g.PlayerName[p], int(kNameSize)))
            .arg(penalties)
            .arg(trumps)
            .arg(std::max(0, 3 - penalties))
            .arg(std::max(0, 2 - trumps));
    }
    return p == ownSeat ? TScoreForm::tr("Mavi sütun: senin puanların.") : QString();
}

TScoreForm::TScoreForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(tr("Puan Tablosu"));
    setFont(ArialPixels(12));
    setFixedSize(kClientWidth, kClientHeight); // the main window alone sizes it

    PanelTop = new QWidget(this);
    PanelTop->setGeometry(0, 0, kClientWidth, kPanelHeight);
    for (int i = 0; i < kSeatCount; ++i) {
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
        ScoreGrid->SetCell(0, r, *kRowTitles[r] ? tr(kRowTitles[r]) : QString());
    ScoreGrid->SetCellPainter(this);
    ScoreGrid->installEventFilter(this);
}

bool TScoreForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != ScoreGrid || event->type() != QEvent::ToolTip || !game_)
        return QWidget::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    QString tip;
    for (int row = 0; row < ScoreGrid->RowCount(); ++row)
        for (int col = 0; col < ScoreGrid->ColCount(); ++col)
            if (ScoreGrid->CellRect(col, row).contains(help->pos()))
                tip = ScoreCellTip(*game_, ownSeat_ ? int(*ownSeat_) : int(kNoSeat), col, row);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, ScoreGrid);
    return true;
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
        for (int p = 0; p < kSeatCount; ++p)
            ScoreGrid->SetCell(p + 1, c + 1, QString::number(s.PenaltyScore[p][c]));
    for (int p = 0; p < kSeatCount; ++p) {
        ScoreGrid->SetCell(p + 1, 7, QString::number(s.Totals[p].PenaltyTotal));
        ScoreGrid->SetCell(p + 1, 8, QString::number(s.Totals[p].TrumpTotal));
        ScoreGrid->SetCell(p + 1, 9, QString::number(s.Totals[p].Total));
    }
    for (int p = 0; p < kSeatCount; ++p)
        FitLabel(Labels[size_t(p)], RecordText(game_->PlayerName[p], int(kNameSize)));
    // Each label stands over its player's column.
    for (int p = 0; p < kSeatCount; ++p) {
        const QRect cell = ScoreGrid->CellRect(p + 1, 0);
        Labels[size_t(p)]->setGeometry(ScoreGrid->x() + cell.left(), 0, cell.width(), 19);
    }
    ScoreGrid->update();
}

// The name in the largest font its column allows (an empty one keeps the font); a name
// cut short shows whole in the label's tooltip.
void TScoreForm::FitLabel(QLabel* label, const QString& name)
{
    const TFittedName fitted = FitName(label->font(), name, ScoreGrid->ColWidth(1), PanelTop->height());
    label->setFont(fitted.font);
    label->setText(fitted.text);
    label->setToolTip(fitted.cut ? PlainTip(name) : QString());
}

void TScoreForm::PaintCell(QPainter& p, int col, int row, const QRect& rect)
{
    const int own = ownSeat_ ? int(*ownSeat_) : int(kNoSeat);
    const QColor ink = (col >= 1 && col <= kSeatCount && col - 1 == own) ? QColor(Qt::blue) : QColor(Qt::black);
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
    if (col == 0 && row >= 1 && row <= 6)
        DrawCrossedTitle(p, row, rect);
    if (row == 0 && col >= 1)
        DrawChoiceMarks(p, col - 1, rect);
}

// A penalty contract chosen once is crossed by a red line from top left to bottom right,
// twice by a blue one as well; both are drawn whole, and the title is written again over
// them, so every letter stays whole on top of the lines.
void TScoreForm::DrawCrossedTitle(QPainter& p, int row, const QRect& rect)
{
    const int times = TimesChosen(game_->Score, row - 1);
    if (times == 0)
        return;
    p.save();
    p.setClipRect(rect);
    p.fillRect(rect, ScoreGrid->FixedColor);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::red, 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(rect.topLeft(), rect.bottomRight() + QPoint(1, 1));
    if (times == 2) {
        p.setPen(QPen(Qt::blue, 3, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(rect.bottomLeft() + QPoint(0, 1), rect.topRight() + QPoint(1, 0));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(ScoreGrid->TextColor);
    p.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ScoreGrid->Cell(0, row));
    p.restore();
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
