#include "application.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

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
    QCoreApplication::exit(kFaultExitCode);
    if (!faultText_.isEmpty())
        return;
    faultText_ = text.isEmpty() ? QStringLiteral("Unknown exception") : text;
    emit faulted(faultText_);
}
