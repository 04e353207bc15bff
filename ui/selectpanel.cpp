#include "selectpanel.h"

#include "recordtext.h"

#include <QKeyEvent>
#include <QMouseEvent>

TSelectItem::TSelectItem(TSelectPanel* owner, const QString& caption) : QLabel(caption, owner), owner_(owner)
{
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void TSelectItem::SetLook(bool lowered, const QColor& colour)
{
    setFrameShadow(lowered ? QFrame::Sunken : QFrame::Raised);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
}

void TSelectItem::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    owner_->PanelMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TSelectItem::keyReleaseEvent(QKeyEvent* event) { emit keyReleased(event->key()); }

TSelectPanel::TSelectPanel(QWidget* owner, int n) : QFrame(owner)
{
    setFocusPolicy(Qt::StrongFocus);
    resize(125, 22);
    for (int i = 0; i < n; ++i)
        AddPanel();
    SetItemIndex(0);
}

TSelectPanel::~TSelectPanel()
{
    for (TSelectItem* panel : panels_)
        delete panel;
    panels_.clear();
}

int TSelectPanel::AddPanel()
{
    const int count = Count();
    auto* panel = new TSelectItem(this, QStringLiteral("Panel%1").arg(count + 1));
    panel->setGeometry(0, count * PanelHeight, PanelWidth, PanelHeight);
    panel->setFrameShape(QFrame::Panel);
    panel->setLineWidth(PanelBevelWidth);
    panel->SetLook(false, PanelColor);
    QFont font = ArialPixels(12, true); // 9 points
    panel->setFont(font);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::WindowText, PanelFontColor);
    panel->setPalette(pal);
    connect(panel, &TSelectItem::keyReleased, this, &TSelectPanel::keyReleased);
    panel->show();
    resize(width(), (count + 1) * PanelHeight);
    panels_.push_back(panel);
    return Count();
}

void TSelectPanel::Clear()
{
    while (!panels_.empty()) {
        delete panels_.front();
        panels_.erase(panels_.begin());
    }
    itemIndex_ = -1;
}

QFrame* TSelectPanel::GetPanel(int i)
{
    if (i < 0 || i >= Count())
        return this;
    return panels_[size_t(i)];
}

void TSelectPanel::SetItemIndex(int i)
{
    if (i == itemIndex_ || i < 0 || i > Count() - 1)
        return;
    PanelMouseDown(panels_.at(size_t(i)), Qt::LeftButton, {}, 0, 0);
    itemIndex_ = i;
}

void TSelectPanel::PanelMouseDown(QWidget* sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    for (int i = 0; i < Count(); ++i) {
        TSelectItem* panel = panels_[size_t(i)];
        if (panel->y() == sender->y()) {
            panel->SetLook(true, SelectedColor);
            if (i != itemIndex_) {
                itemIndex_ = i;
                emit changed();
            }
            itemIndex_ = i;
        } else {
            panel->SetLook(false, PanelColor);
        }
    }
}

void TSelectPanel::keyReleaseEvent(QKeyEvent* event) { emit keyReleased(event->key()); }
