// TCard: one playing card on a window, 71 x 96 pixels, face up, face down or selected.
//
// A card paints onto its parent: the parent's pixels under its four corner pixels stay
// visible, and a selected card shows the colour negative of its face or back. The control
// knows nothing of the game; it shows whatever suit and value it is given. The value and
// suit are the bytes of the game record (value 0 Ace .. 12 King, suit 0 Clubs .. 3 Spades)
// and may be passed unchanged; a byte outside those ranges shows the back.
//
// The card pictures (the sheet of all 52 faces, the back, the mask) are shared by every
// card of the process: the first card created loads them, the last one destroyed frees them.
// The sheet and the back also exist at twice and three times the size: a card on a screen
// scaled to 200 % (or a card drawn larger than 71 x 96) paints from the larger pictures,
// so it is as sharp as the text beside it. The 71 x 96 mask decides which pixels are the
// card's at every scale, and a selected card is the negative of its picture at every scale.
#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>

class TCard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 71;
    static constexpr int kHeight = 96;

    explicit TCard(QWidget* parent = nullptr);
    ~TCard() override;

    // Value shown when face up (TCardValue, 0 Ace .. 12 King). Repaints only when face up.
    uint8_t Card() const { return value_; }
    void SetCard(uint8_t value);
    // Suit shown when face up (TCardSuit, 0 Clubs .. 3 Spades). Repaints only when face up.
    uint8_t Suit() const { return suit_; }
    void SetSuit(uint8_t suit);
    // true: face up; false: the back. Repaints when the value changes.
    bool ShowCard() const { return showCard_; }
    void SetShowCard(bool show);
    // true: drawn as the colour negative. Repaints when the value changes.
    bool SelectedCard() const { return selected_; }
    void SetSelectedCard(bool selected);

    // Number of live cards, and whether the shared pictures are loaded (for tests).
    static int InstanceCount();
    static bool PicturesLoaded();
    // The picture set (1, 2 or 3 times 71 x 96) drawn for the given number of device
    // pixels per card pixel: the smallest at least as large, 3 at most.
    static int PictureScale(qreal devicePixelsPerCardPixel);

signals:
    // A left-button press and release inside the card.
    void clicked();
    void doubleClicked();
    void mousePressed(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Compose(const QColor& background, int scale);

    uint8_t value_ = 0;
    uint8_t suit_ = 0;
    bool showCard_ = true;
    bool selected_ = false;
    bool pressed_ = false;
};
