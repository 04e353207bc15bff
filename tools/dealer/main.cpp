// zorbela-dealer: one table's dealer without a window. Players join with the game on the
// port given; the first one to join is the dealer's own user (seat 0), who starts games
// and may fill the free seats with computer players. One line per event on stdout; with
// --port 0 a free port is chosen, and the line "dealer listening on port P" names it.
#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QLoggingCategory>
#include <QTextStream>

#include "dealerthread.h"
#include "notify.h"
#include "ustasource.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorbela-dealer"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs one Zorbela dealer without a window."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("TCP port to listen on (default 33471)."),
                                        QStringLiteral("P"), QString::number(kGamePort));
    const QCommandLineOption quickOption(QStringLiteral("quick"), QStringLiteral("Short pacing (\"Hızlı\")."));
    const QCommandLineOption lastHandOption(QStringLiteral("lasthand-folder"),
                                            QStringLiteral("Folder of LastHand.rvo (default: the executable's)."),
                                            QStringLiteral("DIR"));
    const QCommandLineOption levelOption(QStringLiteral("level"),
                                         QStringLiteral("Level of the computer seats: acemi (default) or usta."),
                                         QStringLiteral("L"), QStringLiteral("acemi"));
    parser.addOption(portOption);
    parser.addOption(quickOption);
    parser.addOption(lastHandOption);
    parser.addOption(levelOption);
    parser.process(app);

    TComputerLevel level = TComputerLevel::Acemi;
    if (!ParseComputerLevel(qPrintable(parser.value(levelOption)), level)) {
        std::fprintf(stderr, "zorbela-dealer: bad level '%s'\n", qPrintable(parser.value(levelOption)));
        return 2;
    }

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535) {
        std::fprintf(stderr, "zorbela-dealer: bad port '%s'\n", qPrintable(parser.value(portOption)));
        return 2;
    }

    // Every log line, the dealer's own (category zorbela.dealer, whose information lines
    // are switched on here) and those of the layers below, goes to standard output with the
    // time it was written.
    QLoggingCategory::setFilterRules(QStringLiteral("zorbela.dealer.info=true"));
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& line) {
        static QTextStream out(stdout);
        out << QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")) << ' ' << line << Qt::endl;
    });
    auto print = [](const QString& line) { qInfo().noquote() << line; };
    SetNotifier([&print](const std::string& text, int) { print(QString::fromStdString(text)); });

    TDealerOptions options;
    options.Port = quint16(port);
    options.Quick = parser.isSet(quickOption);
    options.LastHandFolder = parser.value(lastHandOption);
    SetComputerLevel(options, level);
    TDealerThread dealer(options);
    if (!dealer.Listening()) {
        std::fprintf(stderr, "zorbela-dealer: cannot listen on port %u\n", port);
        return 1;
    }
    print(QStringLiteral("dealer listening on port %1%2; LastHand.rvo in %3")
              .arg(dealer.Port())
              .arg(options.Quick ? QStringLiteral(" (quick)") : QString(), dealer.LastHandFolder())
          + QStringLiteral("; computer level %1").arg(QString::fromLatin1(options.ComputerName)));
    return app.exec();
}
