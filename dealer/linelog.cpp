#include "linelog.h"

#include <atomic>

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace {

std::atomic<std::FILE*> logOut{stdout};

void WriteLine(QtMsgType, const QMessageLogContext&, const QString& line)
{
    const QByteArray text =
        (QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")) + QLatin1Char(' ') + line + QLatin1Char('\n'))
            .toUtf8();
    std::FILE* out = logOut.load();
    std::fwrite(text.constData(), 1, std::size_t(text.size()), out);
    std::fflush(out);
}

} // namespace

QtMessageHandler InstallLineLog(std::FILE* out)
{
    logOut = out;
    return qInstallMessageHandler(WriteLine);
}
