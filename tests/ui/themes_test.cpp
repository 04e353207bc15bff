// Windows that paint a fixed background colour keep their text readable on a dark desktop
// theme: the text colour is fixed with the background.
#include "helpform.h"
#include "scoreform.h"
#include "stringgrid.h"
#include "ui_test_util.h"

#include <QApplication>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace {

int DarkPixels(const QImage& img, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = Pixel(img, x, y);
            n += c.red() < 80 && c.green() < 80 && c.blue() < 80;
        }
    return n;
}

TEST(DarkTheme, HelpTextAndScoreRowTitlesStayDarkOnTheirLightBackgrounds)
{
    const QPalette saved = QApplication::palette();
    QPalette dark = saved;
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        dark.setColor(role, QColor(35, 35, 40));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(235, 235, 235));
    QApplication::setPalette(dark);
    {
        TGameInfo g = SampleRecord();
        uint8_t seat = 0;
        TScoreForm score;
        score.Bind(&g, &seat);
        score.Refresh();
        const QImage shot = Grab(score);
        for (int row : {1, 7, 9}) {
            const QRect cell = score.ScoreGrid->CellRect(0, row).translated(score.ScoreGrid->pos());
            EXPECT_GT(DarkPixels(shot, cell), 10) << "row " << row;
        }

        THelpForm help;
        const QImage text = Grab(*help.MemoTopic->viewport());
        EXPECT_GT(DarkPixels(text, text.rect()), 100);
    }
    QApplication::setPalette(saved);
}

} // namespace
