#include "contractsdlg.h"

#include "language.h"
#include "recordtext.h"
#include "selectpanel.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

TOKRightDlgContracts::TOKRightDlgContracts(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OKRightDlgContracts"));
    setWindowTitle(tr("Bir oyun şekli seç"));
    setFont(ArialPixels(11));
    setFixedSize(278, 122);
    move(327, 194);

    OKBtn = new QPushButton(QStringLiteral("=> OK     "), this);
    OKBtn->setGeometry(168, 16, 83, 23);
    OKBtn->setDefault(true);
    OKBtn->setFont(ArialPixels(13, true));
    QPalette red = OKBtn->palette();
    red.setColor(QPalette::ButtonText, Qt::red);
    OKBtn->setPalette(red);
    OKBtn->installEventFilter(this);
    connect(OKBtn, &QPushButton::clicked, this, &TOKRightDlgContracts::OKBtnClick);

    ComboBoxContracts = new QComboBox(this);
    ComboBoxContracts->setGeometry(15, 15, 125, 23);
    ComboBoxContracts->setFont(ArialPixels(12, true));
    QPalette pal = ComboBoxContracts->palette();
    pal.setColor(QPalette::Base, QColor(230, 230, 255));
    ComboBoxContracts->setPalette(pal);
    ComboBoxContracts->addItem(QStringLiteral("soniki almaz"));
    ComboBoxContracts->hide();

    SelectPanel = new TSelectPanel(this, 0);
    SelectPanel->move(ComboBoxContracts->pos());
    connect(SelectPanel, &TSelectPanel::changed, this, &TOKRightDlgContracts::SelectionChanged);
    connect(SelectPanel, &TSelectPanel::keyReleased, this, &TOKRightDlgContracts::DialogKeyUp);
}

void TOKRightDlgContracts::Bind(const TGameInfo* record, const uint8_t* playerSeat)
{
    game_ = record;
    playerSeat_ = playerSeat;
}

uint8_t TOKRightDlgContracts::Result() const
{
    const int item = ComboBoxContracts->currentIndex();
    if (item < 0 || item >= ComboBoxContracts->count() || item >= int(ContractOfItem.size()))
        return kNone;
    return static_cast<uint8_t>(ContractOfItem[size_t(item)]);
}

void TOKRightDlgContracts::showEvent(QShowEvent* event)
{
    if (!open_) {
        open_ = true;
        FormShow();
    }
    QDialog::showEvent(event);
}

void TOKRightDlgContracts::done(int result)
{
    open_ = false;
    QDialog::done(result);
}

void TOKRightDlgContracts::FormShow()
{
    ComboBoxContracts->clear();
    SelectPanel->Clear();
    if (game_ && playerSeat_) {
        for (int c = 0; c < kContractCount; ++c) {
            if (!ContractAvailable(*game_, *playerSeat_, c))
                continue;
            const QString name = ContractText(c);
            ComboBoxContracts->addItem(name);
            SelectPanel->AddPanel();
            auto* item = static_cast<QLabel*>(SelectPanel->GetPanel(SelectPanel->Count() - 1));
            item->setText((c <= RifkiAlmaz ? QStringLiteral("- ") : QStringLiteral("+ ")) + name);
            ContractOfItem[size_t(ComboBoxContracts->count() - 1)] = c;
        }
    }
    ComboBoxContracts->setMaxVisibleItems(qMax(1, ComboBoxContracts->count()));
    ComboBoxContracts->setCurrentIndex(ComboBoxContracts->count() > 0 ? 0 : -1);
    SelectPanel->SetItemIndex(0);
    setFixedSize(width(), SelectPanel->height() + 2 * ComboBoxContracts->height());
}

// The OK button stands beside the selected item.
void TOKRightDlgContracts::SelectionChanged()
{
    const int count = SelectPanel->Count();
    if (count > 0)
        OKBtn->move(OKBtn->x(), (SelectPanel->height() / count) * SelectPanel->ItemIndex() + SelectPanel->y());
    SelectPanel->setFocus();
}

void TOKRightDlgContracts::DialogKeyUp(int key)
{
    if (key == Qt::Key_Down) {
        if (SelectPanel->ItemIndex() < SelectPanel->Count() - 1) {
            SelectPanel->SetItemIndex(SelectPanel->ItemIndex() + 1);
            SelectPanel->Tag = -1;
        }
    } else if (key == Qt::Key_Up) {
        if (SelectPanel->ItemIndex() > 0) {
            SelectPanel->SetItemIndex(SelectPanel->ItemIndex() - 1);
            SelectPanel->Tag = -1;
        }
    } else if (key == Qt::Key_H) {
        emit hintAsked();
    }
}

void TOKRightDlgContracts::MarkContract(uint8_t contract)
{
    for (int i = 0; i < SelectPanel->Count(); ++i)
        if (ContractOfItem[static_cast<std::size_t>(i)] == contract)
            SelectPanel->SetItemIndex(i);
}

// The arrow keys may carry the focus to the button; it goes back to the items.
void TOKRightDlgContracts::OKBtnEnter()
{
    if (SelectPanel->Tag == -1) {
        SelectPanel->Tag = 0;
        SelectPanel->setFocus();
    }
}

void TOKRightDlgContracts::OKBtnClick()
{
    ComboBoxContracts->setCurrentIndex(SelectPanel->ItemIndex());
    accept();
}

// Escape and the window's close button: the highlighted contract, not the first.
void TOKRightDlgContracts::reject()
{
    ComboBoxContracts->setCurrentIndex(SelectPanel->ItemIndex());
    QDialog::reject();
}

bool TOKRightDlgContracts::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == OKBtn && event->type() == QEvent::FocusIn)
        OKBtnEnter();
    return QDialog::eventFilter(watched, event);
}

// Key releases that no child took (the button passes the arrow keys on).
void TOKRightDlgContracts::keyReleaseEvent(QKeyEvent* event)
{
    DialogKeyUp(event->key());
    QDialog::keyReleaseEvent(event);
}
