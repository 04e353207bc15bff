// "Masalar": the tables of a server of many tables, with their players, computer level,
// turn clock and state; a new table made, a table joined (a click, a double click or an
// invite code) or watched. The window only asks: what happens is up to its listeners.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>

#include "tablemessages.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

// One line of the list, as the window shows it.
struct TTableRow {
    QString Name, Players, Level, Clock, State;
    QByteArray Code;
    bool Full = false; // four players: there is nothing to join
};

class TTablesForm : public QDialog {
    Q_OBJECT
public:
    explicit TTablesForm(QWidget* parent = nullptr);

    // The lines of the list, the server's order kept.
    static QList<TTableRow> Rows(const QList<TTableListing>& tables);

    void SetTables(const QList<TTableListing>& tables);
    // A line under the list: a refusal of the server, say.
    void SetMessage(const QString& text);
    // The name a new table is proposed under.
    void ProposeName(const QString& name);
    // The selected table's code; empty: none.
    QByteArray Selected() const;

    // ---- Parts (tests and screenshots) ----
    QTreeWidget* List() const { return list_; }
    QLineEdit* CodeEdit() const { return code_; }
    QLineEdit* NameEdit() const { return name_; }
    QPushButton* CreateButton() const { return create_; }
    QPushButton* JoinButton() const { return join_; }
    QPushButton* JoinCodeButton() const { return joinCode_; }
    QPushButton* WatchButton() const { return watch_; }
    QPushButton* RefreshButton() const { return refresh_; }
    QLabel* Message() const { return message_; }

signals:
    void createTable(const TTableSettings& settings);
    void joinTable(const QByteArray& code);
    void watchTable(const QByteArray& code);
    void refresh();

private:
    static QString SecondsText(int s);
    void Build();
    void JoinSelected();
    void JoinByCode();
    void Create();
    void SelectionChanged();
    void FitList();

    QTreeWidget* list_;
    QLabel* message_;
    QPushButton* join_;
    QPushButton* watch_;
    QPushButton* refresh_;
    QLineEdit* code_;
    QPushButton* joinCode_;
    QLineEdit* name_;
    QComboBox* level_;
    QSpinBox* cardS_;
    QSpinBox* contractS_;
    QCheckBox* private_;
    QPushButton* create_;
    QList<TTableRow> rows_;
};
