// Helpers of the window tests: a sample record and pixel access to grabbed widgets.
#pragma once

#include "gameinfo.h"

#include <QColor>
#include <QImage>

class QWidget;

// A record in the middle of a game: names "Ayşe", "Bora", "Cem", "Derya"; seat 2 to
// choose; some penalty scores, contracts chosen once and twice.
TGameInfo SampleRecord();

// The widget (shown if needed) rendered with its children.
QImage Grab(QWidget& w);

// The colour of a pixel, without alpha.
QColor Pixel(const QImage& img, int x, int y);
QColor Negative(const QColor& c);

// What a tooltip shows as the user reads it (markup rendered, as Qt renders the tip).
QString ShownTip(const QString& tip);

// Clears the program's settings store.
void ClearSettings();
