#include "contractprompt.h"

#include "contractsdlg.h"
#include "seatmodel.h"
#include "settings.h"
#include "tableview.h"

TContractPrompt::TContractPrompt(TSeatModel& model, const TSettings& settings, TTableView& view,
                                 TOKRightDlgContracts* dialog, QObject* parent)
    : QObject(parent), model_(model), settings_(settings), view_(view), dialog_(dialog)
{
    if (!dialog_)
        return;
    connect(&model_, &TSeatModel::changed, this, &TContractPrompt::RecordArrived);
    connect(dialog_, &QDialog::finished, this, &TContractPrompt::Closed);
}

void TContractPrompt::RecordArrived()
{
    if (open_) {
        // The offer was made for an older record: the dealer would drop its answer.
        cancelled_ = true;
        static_cast<QDialog*>(dialog_)->done(QDialog::Rejected);
    }
    if (!model_.ContractDue() || settings_.ComputerPlayer())
        return;
    dialog_->FormShow(); // the offer decides the dialog's height
    dialog_->adjustSize();
    // The place is the inner area's: the desktop's title bar goes above it. A dialog not
    // yet shown has no frame of its own; the main window's is the likeliest.
    const QWidget* main = view_.window();
    const QRect frame = main->frameGeometry(), inner = main->geometry();
    const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                           frame.bottom() - inner.bottom());
    dialog_->setGeometry(QRect(view_.DialogPlace(dialog_->size(), margins), dialog_->size()));
    open_ = true;
    dialog_->open();
}

void TContractPrompt::Closed()
{
    if (!open_)
        return;
    open_ = false;
    if (cancelled_) {
        cancelled_ = false;
        return;
    }
    // Closed in any way by the user: the highlighted contract.
    model_.ChooseContract(dialog_->Result());
}
