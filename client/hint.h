// "İpucu" (H): the move Usta would make, marked in the user's hand or in the contract
// dialog until the next record. Nothing is sent.
#pragma once

#include <QObject>

#include "move.h"

class TOKRightDlgContracts;
class TSeatModel;
class TTableView;

class THint : public QObject {
    Q_OBJECT
public:
    THint(TSeatModel& model, TTableView& view, TOKRightDlgContracts* contracts, QObject* parent = nullptr);
    void Ask();

private:
    TSeatModel& model_;
    TTableView& view_;
    TOKRightDlgContracts* contracts_;
    quint64 ticket_ = 0;
};
