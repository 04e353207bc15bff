// TShapeText: a filled ellipse filling its bounds with one line of text centred in it, the
// font sized so that the text fits the width. It paints onto its parent: the pixels outside
// the ellipse are the parent's. Created hidden, 65 x 65 pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

class TShapeText : public QWidget {
    Q_OBJECT
public:
    explicit TShapeText(QWidget* parent = nullptr);

    // A new text refits the font to the control's present width: the first pixel height
    // at which "XX" + text + "XX" is at least as wide as the control. The same text again
    // changes nothing.
    const QString& Text() const { return text_; }
    void SetText(const QString& text);
    // Copies the given font (its pixel height included).
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& colour);
    // Fill of the ellipse and background of the text.
    QColor BrushColor() const { return brushColor_; }
    void SetBrushColor(const QColor& colour);
    // Outline of the ellipse.
    QColor PenColor() const { return penColor_; }
    void SetPenColor(const QColor& colour);

    // Moves the control in one step and repaints it once.
    void SetPosition(int left, int top);

    // How often the font has been fitted to a text, and how often the control has painted.
    int FitCount() const { return fitCount_; }
    int PaintCount() const { return paintCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FitFont(const QString& text);

    QString text_;
    QFont font_;
    QColor fontColor_;
    QColor brushColor_;
    QColor penColor_;
    bool moving_ = false;
    int fitCount_ = 0;
    int paintCount_ = 0;
};
