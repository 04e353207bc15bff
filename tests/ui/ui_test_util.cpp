#include "ui_test_util.h"

#include <QApplication>
#include <QSettings>
#include <QTextDocument>
#include <QWidget>

#include <cstring>

namespace {
void SetName(TGameInfo& g, int seat, const char* cp1254)
{
    std::memset(g.PlayerName[seat], 0, kNameSize);
    std::strncpy(g.PlayerName[seat], cp1254, kNameSize - 1);
}
} // namespace

TGameInfo SampleRecord()
{
    TGameInfo g;
    std::memset(&g, 0, sizeof g);
    TRandom rnd(7);
    NewGame(g, rnd);
    SetName(g, 0, "Ay\xFE" "e"); // "Ayşe" in code page 1254
    SetName(g, 1, "Bora");
    SetName(g, 2, "Cem");
    SetName(g, 3, "Derya");
    StartHand(g, 2);
    TScoreInfo& s = g.Score;
    MarkChosen(s, 0); // no tricks: once
    MarkChosen(s, 3); // jacks and kings: twice
    MarkChosen(s, 3);
    s.PenaltiesChosen[0] = 2;
    s.PenaltiesChosen[1] = 1;
    s.TrumpsChosen[1] = 2;
    s.TrumpsChosen[3] = 1;
    s.PenaltyScore[0][0] = -250;
    s.PenaltyScore[1][0] = -150;
    s.PenaltyScore[2][3] = -420;
    s.PenaltyScore[3][3] = -60;
    for (int p = 0; p < 4; ++p) {
        int sum = 0;
        for (int c = 0; c < 6; ++c)
            sum += s.PenaltyScore[p][c];
        s.Totals[p].PenaltyTotal = static_cast<int16_t>(sum);
    }
    s.Totals[1].TrumpTotal = 400;
    s.Totals[3].TrumpTotal = 250;
    for (int p = 0; p < 4; ++p)
        s.Totals[p].Total = static_cast<int16_t>(s.Totals[p].PenaltyTotal + s.Totals[p].TrumpTotal);
    return g;
}

QImage Grab(QWidget& w)
{
    if (!w.isVisible())
        w.show();
    QApplication::processEvents();
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor Pixel(const QImage& img, int x, int y)
{
    return QColor(img.pixel(x, y) | 0xff000000u);
}

QColor Negative(const QColor& c)
{
    return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
}

void ClearSettings()
{
    QSettings(QStringLiteral("Fendral"), QStringLiteral("Zorbela")).clear();
}

QString ShownTip(const QString& tip)
{
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}
