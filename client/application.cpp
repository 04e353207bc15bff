#include "application.h"

#include <QMessageBox>

#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    ShowFault = [](const QString& text) {
        QMessageBox::critical(nullptr, QStringLiteral("Zorbela - RUVO Network"), text);
    };
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Fault(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Fault(QStringLiteral("Unknown exception"));
    }
    return false;
}

void TApplication::Fault(const QString& text)
{
    const bool first = !faulted_;
    faulted_ = true;
    if (first && ShowFault)
        ShowFault(text.isEmpty() ? QStringLiteral("Unknown exception") : text);
    QCoreApplication::exit(kFaultExitCode);
}
