#include "scoreform.h"
#include "stringgrid.h"
#include "ui_test_util.h"

#include <QFontMetrics>
#include <QLabel>

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

namespace {

struct ScoreTable {
    TGameInfo record = SampleRecord();
    uint8_t seat = 1;
    TScoreForm form;
    ScoreTable()
    {
        form.Bind(&record, &seat);
        form.Refresh();
    }
    // A cell's pixel, in the grabbed window's coordinates.
    QPoint At(int col, int row, int dx, int dy) const
    {
        const QRect r = form.ScoreGrid->CellRect(col, row);
        return form.ScoreGrid->pos() + r.topLeft() + QPoint(dx, dy);
    }
};

bool IsBlue(const QColor& c) { return c.blue() > 150 && c.red() < 90 && c.green() < 90; }
bool IsDark(const QColor& c) { return c.red() < 60 && c.green() < 60 && c.blue() < 60; }

// Whether any pixel of the cell's text is blue, and whether any is dark (black ink).
std::pair<bool, bool> InkOf(const QImage& shot, const ScoreTable& t, int col, int row)
{
    const QRect r = t.form.ScoreGrid->CellRect(col, row);
    bool blue = false, dark = false;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            const QPoint p = t.At(col, row, x, y);
            blue = blue || IsBlue(Pixel(shot, p.x(), p.y()));
            dark = dark || IsDark(Pixel(shot, p.x(), p.y()));
        }
    return {blue, dark};
}

TEST(ScoreTable, CellsAndNamesComeFromTheRecord)
{
    ScoreTable t;
    EXPECT_EQ(t.form.windowTitle(), "Puan Tablosu");
    const TScoreInfo& s = t.record.Score;
    for (int c = 0; c < 6; ++c)
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(t.form.ScoreGrid->Cell(p + 1, c + 1), QString::number(s.PenaltyScore[p][c]));
    EXPECT_EQ(t.form.ScoreGrid->Cell(3, 4), "-420");
    EXPECT_EQ(t.form.ScoreGrid->Cell(1, 7), "-250");
    EXPECT_EQ(t.form.ScoreGrid->Cell(2, 8), "400");
    EXPECT_EQ(t.form.ScoreGrid->Cell(2, 9), "250");
    EXPECT_EQ(t.form.ScoreGrid->Cell(4, 9), "190");
    EXPECT_EQ(t.form.ScoreGrid->Cell(0, 3), QStringLiteral("Kız Almaz (100)"));
    EXPECT_EQ(t.form.ScoreGrid->Cell(0, 6), QStringLiteral("Rıfkı Almaz (320)"));
    EXPECT_EQ(t.form.ScoreGrid->Cell(0, 9), QStringLiteral("Genel Toplam"));
    EXPECT_EQ(t.form.Labels[0]->text(), QStringLiteral("Ayşe"));
    EXPECT_EQ(t.form.Labels[3]->text(), QStringLiteral("Derya"));
    // Columns 112 and 4 x 45, rows 38 and 9 x 19.
    EXPECT_EQ(t.form.ScoreGrid->ColWidth(0), 112);
    EXPECT_EQ(t.form.ScoreGrid->ColWidth(4), 45);
    EXPECT_EQ(t.form.ScoreGrid->RowHeight(0), 38);
    EXPECT_EQ(t.form.ScoreGrid->RowHeight(9), 19);
}

TEST(ScoreTable, LabelsStandOverTheirColumnsWithFittedFonts)
{
    ScoreTable t;
    for (int p = 0; p < 4; ++p) {
        QLabel* label = t.form.Labels[size_t(p)];
        EXPECT_EQ(label->x(), t.At(p + 1, 0, 0, 0).x());
        EXPECT_EQ(label->width(), 45);
        // The first size at which "X" + name no longer fits the column or the panel.
        QFont font = label->font();
        const QString text = "X" + label->text();
        QFontMetrics at(font);
        EXPECT_TRUE(at.horizontalAdvance(text) >= 45 || at.height() >= 20) << p;
        font.setPointSize(font.pointSize() - 1);
        QFontMetrics below(font);
        EXPECT_TRUE(below.horizontalAdvance(text) < 45 && below.height() < 20) << p;
    }
    // An empty name keeps the label's font.
    const QFont before = t.form.Labels[2]->font();
    t.record.PlayerName[2][0] = 0;
    t.form.Refresh();
    EXPECT_EQ(t.form.Labels[2]->text(), "");
    EXPECT_EQ(t.form.Labels[2]->font(), before);
}

TEST(ScoreTable, ChosenContractsAreCrossedOutOnceRedTwiceRedAndBlue)
{
    ScoreTable t;
    const QImage shot = Grab(t.form);
    const QColor fixed = TScoreForm::kFixedColor;
    // Near the bottom-right corner the red line passes, near the top-right the blue one.
    auto red = [&](int row) { QPoint p = t.At(0, row, 105, 17); return Pixel(shot, p.x(), p.y()); };
    auto blue = [&](int row) { QPoint p = t.At(0, row, 105, 1); return Pixel(shot, p.x(), p.y()); };
    EXPECT_EQ(red(1), QColor(Qt::red));   // no tricks: once
    EXPECT_EQ(blue(1), fixed);
    EXPECT_EQ(red(4), QColor(Qt::red));   // jacks and kings: twice
    EXPECT_EQ(blue(4), QColor(Qt::blue));
    for (int row : {2, 3, 5, 6}) {
        EXPECT_EQ(red(row), fixed) << row;
        EXPECT_EQ(blue(row), fixed) << row;
    }
}

TEST(ScoreTable, CrossingLinesLeaveEveryLetterWholeAndTheTipsExplainTheMarks)
{
    // The title of a contract chosen twice, drawn with and without its lines: every pixel
    // of ink in the plain title is ink in the crossed one too.
    ScoreTable t;
    const QImage crossed = Grab(t.form);
    TGameInfo plain = t.record;
    std::memset(&plain.Score.UsedOnce, 0, sizeof plain.Score.UsedOnce);
    std::memset(&plain.Score.UsedTwice, 0, sizeof plain.Score.UsedTwice);
    ASSERT_EQ(TimesChosen(plain.Score, 3), 0);
    t.form.Bind(&plain, &t.seat);
    const QImage clean = Grab(t.form);
    int ink = 0, red = 0, blue = 0;
    const QRect r = t.form.ScoreGrid->CellRect(0, 4);
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            const QPoint at = t.At(0, 4, x, y);
            const QColor before = Pixel(clean, at.x(), at.y()), after = Pixel(crossed, at.x(), at.y());
            if (IsDark(before)) {
                ++ink;
                EXPECT_TRUE(IsDark(after)) << x << "," << y;
            }
            red += after == QColor(Qt::red);
            blue += after == QColor(Qt::blue);
        }
    EXPECT_GT(ink, 50);
    EXPECT_GT(red, 10);
    EXPECT_GT(blue, 10);
    // The lines are solid: no step along them shows the cell's colour (letters lie on top).
    const auto bare = [](const QColor& c) {
        const QColor cell = TScoreForm::kFixedColor;
        return std::abs(c.red() - cell.red()) + std::abs(c.green() - cell.green()) + std::abs(c.blue() - cell.blue()) < 60;
    };
    for (int x = 1; x < r.width() - 1; ++x) {
        const int down = x * (r.height() - 1) / (r.width() - 1), up = r.height() - 1 - down;
        EXPECT_FALSE(bare(Pixel(crossed, t.At(0, 4, x, down).x(), t.At(0, 4, x, down).y()))) << "red line at " << x;
        EXPECT_FALSE(bare(Pixel(crossed, t.At(0, 4, x, up).x(), t.At(0, 4, x, up).y()))) << "blue line at " << x;
    }

    EXPECT_EQ(ScoreCellTip(t.record, 1, 0, 0), ScoreLegend());
    for (const char* mark : {"▲", "△", "●", "○", "Kırmızı", "Mavi sütun", "sarı isim"})
        EXPECT_TRUE(ScoreLegend().contains(QString::fromUtf8(mark))) << mark;
    EXPECT_TRUE(ScoreCellTip(t.record, 1, 0, 1).startsWith(QStringLiteral("Bir kez")));
    EXPECT_TRUE(ScoreCellTip(t.record, 1, 0, 4).startsWith(QStringLiteral("İki kez")));
    EXPECT_TRUE(ScoreCellTip(t.record, 1, 0, 2).startsWith(QStringLiteral("Henüz")));
    EXPECT_EQ(ScoreCellTip(t.record, 1, 2, 0),
              QStringLiteral("Bora: 1 ceza oyunu (▲) ve 2 koz (●) seçti; 2 ceza oyunu (△) ve 0 koz (○) seçecek."));
    EXPECT_EQ(ScoreCellTip(t.record, 1, 2, 9), QStringLiteral("Mavi sütun: senin puanların."));
    EXPECT_TRUE(ScoreCellTip(t.record, 1, 3, 9).isEmpty());
}

TEST(ScoreTable, TrianglesAndEllipsesCountTheContractsEachPlayerChose)
{
    ScoreTable t;
    t.record.Score.PenaltiesChosen[2] = 3;
    t.record.Score.TrumpsChosen[2] = 2;
    t.form.Refresh();
    const QImage shot = Grab(t.form);
    const QRect r = t.form.ScoreGrid->CellRect(1, 0);
    const int w3 = r.width() / 3, w2 = r.width() / 2, h2 = r.height() / 2;
    for (int p = 0; p < 4; ++p) {
        for (int i = 0; i < 3; ++i) {
            const QPoint c = t.At(p + 1, 0, i * w3 + w3 / 2, (h2 / 5 + 8 * h2 / 5) / 3);
            const bool filled = i < t.record.Score.PenaltiesChosen[p];
            EXPECT_EQ(Pixel(shot, c.x(), c.y()), filled ? QColor(Qt::black) : TScoreForm::kFixedColor)
                << "player " << p << " triangle " << i;
        }
        for (int i = 0; i < 2; ++i) {
            const int left = i * w2 + (w2 / 5) / (i + 1), right = (i + 1) * w2 - (w2 / 5) / (2 - i);
            const QPoint c = t.At(p + 1, 0, (left + right) / 2, (h2 + r.height() - h2 / 5) / 2);
            const bool filled = i < t.record.Score.TrumpsChosen[p];
            EXPECT_EQ(Pixel(shot, c.x(), c.y()), filled ? QColor(Qt::black) : TScoreForm::kFixedColor)
                << "player " << p << " ellipse " << i;
        }
    }
}

TEST(ScoreTable, OwnColumnIsBlueAndTheOthersBlack)
{
    ScoreTable t;
    QImage shot = Grab(t.form);
    for (int row : {1, 7, 9}) {
        for (int col = 1; col <= 4; ++col) {
            const auto [blue, dark] = InkOf(shot, t, col, row);
            EXPECT_EQ(blue, col == 2) << col << "," << row;
            EXPECT_EQ(dark, col != 2) << col << "," << row;
        }
    }
    // Numbers are right-aligned: the leftmost pixels of the cell carry no ink.
    const QPoint left = t.At(1, 1, 3, 9);
    EXPECT_EQ(Pixel(shot, left.x(), left.y()), TScoreForm::kCellColor);

    t.seat = 255; // not seated: no blue column
    t.form.ScoreGrid->repaint();
    shot = Grab(t.form);
    for (int col = 1; col <= 4; ++col)
        EXPECT_FALSE(InkOf(shot, t, col, 9).first) << col;
}

} // namespace

namespace {

TEST(ScoreTable, NamesArePlainTextAndTheGridFillsItsFixedWindow)
{
    ScoreTable t;
    std::strcpy(t.record.PlayerName[2], "<font size=7>Cem</font>");
    t.form.Refresh();
    EXPECT_EQ(t.form.Labels[2]->textFormat(), Qt::PlainText);
    // Too long for its column: cut, never below a readable size, whole in the tooltip.
    EXPECT_TRUE(t.form.Labels[2]->text().startsWith(QStringLiteral("<font")));
    EXPECT_TRUE(t.form.Labels[2]->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(t.form.Labels[2]->font().pointSize(), kMinNamePoints);
    EXPECT_LE(QFontMetrics(t.form.Labels[2]->font()).horizontalAdvance(t.form.Labels[2]->text()), 45);
    EXPECT_EQ(ShownTip(t.form.Labels[2]->toolTip()), QStringLiteral("<font size=7>Cem</font>"));
    EXPECT_TRUE(t.form.Labels[0]->toolTip().isEmpty());
    // The user cannot resize it; the main window gives it its size, and the grid fills it
    // in the cells' colour beyond the cells.
    EXPECT_EQ(t.form.minimumSize(), t.form.maximumSize());
    t.form.setFixedSize(330, 283);
    const QImage shot = Grab(t.form);
    EXPECT_EQ(t.form.ScoreGrid->geometry(), QRect(0, 20, 330, 263));
    EXPECT_EQ(Pixel(shot, 325, 278), TScoreForm::kCellColor);
    EXPECT_EQ(Pixel(shot, 310, 100), TScoreForm::kCellColor);
}

} // namespace
