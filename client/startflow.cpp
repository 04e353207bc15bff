#include "startflow.h"

#include <QAction>
#include <QDialog>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>

#include "commands.h"
#include "helpform.h"
#include "highform.h"
#include "menus.h"
#include "owndealer.h"
#include "prompts.h"
#include "session.h"
#include "settings.h"
#include "sidedock.h"
#include "sounds.h"
#include "statusline.h"
#include "tcplink.h"
#include "windowplace.h"

TStartFlow::TStartFlow(QMainWindow* window, const TParts& parts) : QObject(window), window_(window), p_(parts)
{
    window->installEventFilter(this);
}

bool TStartFlow::eventFilter(QObject* watched, QEvent* e)
{
    // The first activation (or the first showing, where nothing activates windows).
    if (watched == window_ && (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) &&
        firstActivation_ && autoStart_)
        QTimer::singleShot(0, this, [this] {
            if (firstActivation_)
                FirstActivation();
        });
    return QObject::eventFilter(watched, e);
}

void TStartFlow::FirstActivation()
{
    if (!firstActivation_)
        return;
    firstActivation_ = false;
    window_->hide();
    p_.dock.Hide();
    p_.dock.Enable();
    p_.place.RestoreOnce();
    p_.place.SetSaving(true);
    p_.dock.Place();
    const TSideWindows& side = p_.dock.Windows();
    // The help and the lists stay where the user put them, also in the next run.
    if (side.Help)
        new TWindowPlace(side.Help, QStringLiteral("Help"));
    if (side.High)
        new TWindowPlace(side.High, QStringLiteral("Lists"));
    side.Bind(p_.session.Record(), p_.session.SeatByte());
    side.RefreshScore();
    side.FillWelcome(p_.settings.UserName(), TSettings::IamDealer());
    p_.session.UserName = p_.settings.UserName();
    if (autoStart_)
        Run();
}

void TStartFlow::Run()
{
    p_.sounds.Play(kSoundStart);
    const TSideWindows& side = p_.dock.Windows();
    QDialog* welcome = side.OpenWelcome();
    if (!welcome)
        return Welcomed(side.WelcomeAnswer(QDialog::Accepted));
    connect(welcome, &QDialog::finished, this, [this](int result) { Welcomed(p_.dock.Windows().WelcomeAnswer(result)); },
            Qt::SingleShotConnection);
}

void TStartFlow::Welcomed(const TSideWindows::TWelcomeAnswer& answer)
{
    if (answer.quit)
        window_->close();
    else if (answer.dealer)
        AsDealer(answer.name);
    else
        AsPlayer(answer.name, QString());
}

void TStartFlow::Prepare(const QString& name, bool dealer)
{
    p_.settings.SetUserName(name);
    p_.session.UserName = p_.settings.UserName();
    p_.session.IsDealer = dealer;
    // Maximised again where it was (the desktop forgets it while the window is hidden).
    if (p_.place.TakeMaximised())
        window_->showMaximized();
    else
        window_->show();
    p_.dock.Show();
    window_->activateWindow();
    p_.session.ForgetSeat();
    p_.menus.SetHost(dealer);
    p_.menus.Reconnect->setEnabled(!dealer);
}

void TStartFlow::AsDealer(const QString& name)
{
    Prepare(name, true);
    p_.session.NamedSeat = 0;
    p_.commands.SetDealerRecord(nullptr);
    if (!p_.ownDealer.Start()) {
        // Another program holds the port: connecting to "localhost" now would join its
        // table while this window believes it deals.
        p_.status.SetText(tr("Dağıtıcı başlatılamadı! %1 numaralı port kullanımda; \"Ayarlar\" menüsünden "
                             "başka bir port seçebilirsin.")
                              .arg(p_.ownDealer.PortTried()));
        return;
    }
    p_.commands.SetDealerRecord(&p_.ownDealer.Thread()->GameInfo());
    p_.status.SetText(TStatusLine::WaitingText());
    p_.link.SetAddress(QStringLiteral("localhost"), p_.ownDealer.Thread()->Port());
    p_.session.Open();
}

void TStartFlow::AsPlayer(const QString& name, const QString& host)
{
    Prepare(name, false);
    // Without a host given, the connection dialog asks for it (its address is used as it
    // stands when it closes).
    const TSideWindows& side = p_.dock.Windows();
    if (!host.isEmpty() || !side.Connect) {
        p_.commands.SetDealerAddress(host);
        p_.session.Open();
        return;
    }
    connect(side.OpenConnect(), &TPromptReply::finished, this, [this](TPromptAnswer, const QString& address) {
        p_.commands.SetDealerAddress(address);
        p_.session.Open();
    });
}

void TStartFlow::HowToPlay()
{
    connect(p_.commands.ConfirmLeaving(), &TPromptReply::finished, this, [this](TPromptAnswer leave) {
        if (leave == TPromptAnswer::Yes)
            Run();
    });
}

bool TStartFlow::MayClose()
{
    if (p_.commands.Leaving() || !p_.commands.LeavingLosesTheGame())
        return true;
    p_.commands.Quit(); // asks, and closes the window again once leaving is confirmed
    return false;
}
