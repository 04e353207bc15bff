// The program's application object. An exception that escapes an event handler does not
// reach the message loop: it is shown to the user in a box, and the loop then ends with
// exit code 1 (later faults, for instance while that box is open, only end the loop).
#pragma once

#include <QApplication>
#include <QString>

#include <functional>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the text of the fault; a message box unless replaced (tests read the text).
    std::function<void(const QString& text)> ShowFault;
    static constexpr int kFaultExitCode = 1;

private:
    void Fault(const QString& text);

    bool faulted_ = false; // a fault has been shown; later ones only end the loop
};
