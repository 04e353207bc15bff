// The program's application object. An exception that escapes an event handler does not
// reach the message loop: the loop ends with exit code 1 and `faulted` tells the fault's
// text once (later faults only end the loop); the program shows it once the loop is over.
#pragma once

#include <QApplication>
#include <QString>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The text of the first fault; empty while there was none.
    const QString& FaultText() const { return faultText_; }
    static constexpr int kFaultExitCode = 1;

signals:
    void faulted(const QString& text);

private:
    void Fault(const QString& text);

    QString faultText_;
};
