// TSelectPanel: a vertical column of coloured item panels, one of which is selected
// (pink, lowered bevel) while the others are blue and raised. A mouse press on any item,
// with any button, selects it; SetItemIndex() selects by number. `changed` is emitted when
// the selection moves to another item, `keyReleased` for the key releases of the column
// and of its items.
#pragma once

#include <QColor>
#include <QFrame>
#include <QLabel>

#include <vector>

class TSelectPanel;

// One item of a TSelectPanel: a bevelled panel with a centred caption.
class TSelectItem : public QLabel {
    Q_OBJECT
public:
    TSelectItem(TSelectPanel* owner, const QString& caption);
    // Raised or lowered bevel, and the panel's colour.
    void SetLook(bool lowered, const QColor& colour);
    bool Lowered() const { return frameShadow() == QFrame::Sunken; }
    QColor Colour() const { return palette().color(QPalette::Window); }

signals:
    void keyReleased(int key); // Qt key code

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    TSelectPanel* owner_;
};

class TSelectPanel : public QFrame {
    Q_OBJECT
public:
    // Builds n items and selects the first.
    explicit TSelectPanel(QWidget* owner, int n = 0);
    ~TSelectPanel() override;

    // Appends an item captioned "Panel<number>"; returns the new Count.
    int AddPanel();
    // Removes every item; ItemIndex becomes -1. The height stays as it was.
    void Clear();
    // The i-th item, or the column itself for an index outside the items.
    QFrame* GetPanel(int i);
    // Selects item i as a press on it would, unless i is the current index or outside
    // 0 .. Count-1 (then nothing happens and no handler is called).
    void SetItemIndex(int i);
    // Mouse-down handler of every item: selects the item standing where sender stands.
    void PanelMouseDown(QWidget* sender, Qt::MouseButton button = Qt::LeftButton,
                        Qt::KeyboardModifiers shift = {}, int x = 0, int y = 0);

    int ItemIndex() const { return itemIndex_; }
    int Count() const { return int(panels_.size()); }

    int PanelWidth = 125;
    int PanelHeight = 22;
    int PanelBevelWidth = 3;
    QColor PanelColor = QColor(10, 222, 245);
    QColor SelectedColor = QColor(255, 179, 217);
    QColor PanelFontColor = QColor(Qt::black);
    int Tag = 0;

signals:
    // A press or SetItemIndex selected another item.
    void changed();
    // A key was released over the column or one of its items (Qt key code).
    void keyReleased(int key);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    int itemIndex_ = -1;
    std::vector<TSelectItem*> panels_;
};
