// The contract dialog for the user's seat: opened (not run in a loop of its own) when a
// record asks the user to choose, and the choice made through the seat model when it
// closes. A record that arrives while it is open cancels it; the dialog opens again if
// that record still asks the user to choose.
#pragma once

#include <QObject>

class TOKRightDlgContracts;
class TSeatModel;
class TSettings;
class TTableView;

class TContractPrompt : public QObject {
    Q_OBJECT
public:
    TContractPrompt(TSeatModel& model, const TSettings& settings, TTableView& view, TOKRightDlgContracts* dialog,
                    QObject* parent = nullptr);

private:
    void RecordArrived();
    void Closed();

    TSeatModel& model_;
    const TSettings& settings_;
    TTableView& view_;
    TOKRightDlgContracts* dialog_;
    bool open_ = false;
    bool cancelled_ = false;
};
