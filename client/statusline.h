// The status bar's one text: the connection, the join, the dealer's status texts and, once
// the game runs, whose move is awaited. The text is broken into lines at spaces where it
// is wider than the window.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;
class TSession;
class TSeatModel;

class TStatusLine : public QObject {
    Q_OBJECT
public:
    TStatusLine(QStatusBar* bar, TSession& session, TSeatModel& model);

    void SetText(const QString& text);
    QString Text() const { return text_; }
    // Breaks the text again for the bar's present width.
    void Fit();

    static QString WaitingText() { return tr("Diğerlerinin bağlanması bekleniyor..."); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void RecordArrived();

    QStatusBar* bar_;
    QLabel* label_;
    TSession& session_;
    TSeatModel& model_;
    QString text_; // whole, before it is broken into lines
};
