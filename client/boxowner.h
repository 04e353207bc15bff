// The window a message box belongs to, so that the desktop stacks the box above the score
// table and the taken-cards window (tool windows of the main window, kept above it): the
// main window for a box asked for without a window, from a side window, or while no shown
// window of the program is active; otherwise the window asking (a dialog, say).
#pragma once

class QWidget;

QWidget* BoxOwner(QWidget* asking);
