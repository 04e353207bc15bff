#include "hint.h"

#include "contractsdlg.h"
#include "seatmodel.h"
#include "tableview.h"

THint::THint(TSeatModel& model, TTableView& view, TOKRightDlgContracts* contracts, QObject* parent)
    : QObject(parent), model_(model), view_(view), contracts_(contracts)
{
    connect(&model_, &TSeatModel::advice, this, [this](quint64 ticket, const TMove& move) {
        if (ticket != ticket_)
            return;
        if (move.Kind == TMove::TKind::Card)
            view_.MarkHint(move);
        else if (contracts_)
            contracts_->MarkContract(move.Contract);
    });
    if (contracts_)
        connect(contracts_, &TOKRightDlgContracts::hintAsked, this, &THint::Ask);
}

void THint::Ask() { ticket_ = model_.AskAdvice(); }
