// TOKRightDlgContracts: the modal dialog "Bir oyun şekli seç" in which the user chooses
// the contract of a hand. It offers exactly the contracts the user's seat may still
// choose, in contract order: the penalty contracts as "- <name>", then the trump contracts
// as "+ <name>". The OK button moves beside the selected item; the arrow keys move the
// selection.
//
// Use: Bind() the main window's record and seat once; open() for every choice (each
// opening rebuilds the items; a restore after minimising keeps the selection); once it
// is finished Result() is the chosen contract. Escape, or closing the dialog without OK, gives the
// highlighted contract, as OK would.
#pragma once

#include "gameinfo.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QComboBox;
class QPushButton;
class TSelectPanel;

class TOKRightDlgContracts : public QDialog {
    Q_OBJECT
public:
    explicit TOKRightDlgContracts(QWidget* parent = nullptr);

    // record: the client's game record; playerSeat: the user's seat. Both stay owned by
    // the caller.
    void Bind(const TGameInfo* record, const uint8_t* playerSeat);
    // ContractOfItem of the combo box's item index: the contract chosen; 255 when nothing
    // was offered.
    uint8_t Result() const;
    // Escape and the window's close button: the highlighted contract, not the first.
    void reject() override;

    // Builds the offer; run by every showing.
    void FormShow();

    // MarkContract selects the contract a hint names, if offered.
    void MarkContract(uint8_t contract);

    std::array<int32_t, 10> ContractOfItem{};  // contract number of each offered item
    QPushButton* OKBtn;                        // "=> OK     "
    QComboBox* ComboBoxContracts;              // invisible; holds the item index of the result
    TSelectPanel* SelectPanel;

signals:
    void hintAsked(); // the H key

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void SelectionChanged();
    void DialogKeyUp(int key);
    void OKBtnClick();
    void OKBtnEnter();

    const TGameInfo* game_ = nullptr;
    const uint8_t* playerSeat_ = nullptr;
    bool open_ = false; // shown and not closed since: a showing is only a restore
};
