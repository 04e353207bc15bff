// TAboutBox: the program's name, version and contact line ("Program hakkında").
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    static QString ProgramName();   // "Zorbela"
    static QString Version();       // "1.0"

    QLabel* ProductName;
    QLabel* VersionLabel;
    QLabel* Comments;
    QLabel* Contact;
    QPushButton* OKButton;
};
