// The table as the user sits at it: the own hand face up at the bottom, the other hands
// face down, the trick in the middle, the names, the marker beside the taker of the last
// trick, and the top panel with the messages, the chat button and the contract. It draws
// what the seat model holds and reports what the user does; it decides nothing.
#pragma once

#include <QFont>
#include <QPointF>
#include <QMargins>
#include <QWidget>

#include <array>
#include <memory>

#include "move.h"
#include "tablelayout.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TCard;
class TCheer;
class TSeatModel;
class TSettings;

class TTableView : public QWidget {
    Q_OBJECT
public:
    TTableView(TSeatModel& model, const TSettings& settings, QWidget* parent = nullptr);
    ~TTableView() override;

    // Everything from the model's record.
    void Draw();
    // A seat's name while players join (by seat number: 0 bottom, 1 right, 2 top, 3 left).
    void ShowSeatName(int seat, const QString& name);
    void ClearSeatNames();
    // Once the user's seat is known, the names received so far stand in their places.
    void PlaceSeatNames();
    QLabel* HandLabel() const { return handLabel_; }
    void ShowTrickTaker(int seat);
    void ClearTrickTaker();
    void AddMessage(const QString& text);
    // Marks the card of the move (a card move) in the user's hand until the next Draw.
    void MarkHint(const TMove& move);
    // The game-over balloons over the table, until StopCheer (or the next Draw).
    void StartCheer();
    void StopCheer();
    TCheer* Cheer() const { return cheer_.get(); }

    // The last trick again, while the trick area is pressed or the space bar held.
    void ShowLastTrick();
    void EndLastTrick();
    bool ShowingLastTrick() const { return showingLastTrick_; }
    QRect TrickArea() const;
    // The table below its top panel, the part of it that holds the cards and names, and the
    // user's own hand, in screen coordinates.
    QRect Inside() const;
    QRect CardArea() const;
    QRect UserHand() const;
    // Keeps strips at the table's left and right edges free (where side windows lie over the
    // window): the cards are drawn between them where they fit.
    void KeepFree(int left, int right);

    // Where the seat sits on the table, for the user's seat and direction.
    int RelativePosition(int seat) const;
    // How many times larger than its 470 x 566 design the table is drawn; a point of the
    // design as it lies on the table now; where the contract dialog's inner area goes
    // (screen), with `frame` the desktop's frame around it.
    double Zoom() const { return zoom_; }
    QPoint OnTable(QPoint design) const;
    QPoint DialogPlace(QSize size, const QMargins& frame = QMargins()) const;

    // What tests look at.
    TCard* CardSlot(int position, int slot) const { return cardSlots_[position][slot]; }
    TCard* TrickCard(int position) const { return trickCards_[position]; }
    QLabel* NameLabel(int position) const { return nameLabels_[position]; }
    QLabel* HandMarker(int position) const { return handMarkers_[position]; }
    QLabel* LabelGameType() const { return labelGameType_; }
    QString Messages() const;

signals:
    void chatClicked();
    // F1 and F2 released on the window, the messages or the chat button.
    void functionKey(int key);
    void balloonsCollided();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Build();
    void DrawHands();
    void DrawTrick();
    void DrawCursors();
    void PlaceNameLabel(int position);
    void ApplyZoom();
    void FitGameType();
    QRect OnPanel(const QRect& design) const;
    QFont Zoomed(const QFont& font) const;
    void CardClicked(int slot);

    TSeatModel& model_;
    const TSettings& settings_;
    std::unique_ptr<TCheer> cheer_;
    QWidget* panel_ = nullptr;
    QPlainTextEdit* userMessages_ = nullptr;
    QPushButton* bitBtn1_ = nullptr;
    QLabel* panelCaption_ = nullptr;
    QLabel* labelGameType_ = nullptr;
    QFont tableFont_;
    double zoom_ = 1;
    QPointF origin_; // where the design's (0, 0) lies on the table
    QSize design_;   // the table's design size (the top panel included)
    int freeLeft_ = 0, freeRight_ = 0;
    double panelLeft_ = 0;
    bool showingLastTrick_ = false;
    std::array<bool, kSeatCount> markerWasVisible_{};
    std::array<std::array<TCard*, table::kSlotsPerHand>, kSeatCount> cardSlots_{};
    table::HandSlots slots_{};
    std::array<TCard*, kSeatCount> trickCards_{};
    std::array<QLabel*, kSeatCount> nameLabels_{};
    std::array<QLabel*, kSeatCount> handMarkers_{};
    std::array<QString, kSeatCount> seatNames_; // by seat, as the joining messages name them
    std::array<QString, kSeatCount> shownNames_; // by position, whole (the label may cut it)
    std::array<QString, kSeatCount> nameTips_;   // by position, what the label's tip explains
    void SetNameLabel(int position, const QString& name, const QString& tip);
    QLabel* handLabel_ = nullptr; // "El 7 / 20"
    // The record at the start of the hand in play, for the line that sums it up at its end.
    TGameInfo handStart_{};
    bool handStartKnown_ = false;
    void NoteHandEnd();
};
