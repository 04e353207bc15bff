#include "sounds.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

TSoundBox::TSoundBox(QObject* parent) : QObject(parent) {}

TSoundBox::~TSoundBox() = default; // the effects are children of this object

QString TSoundBox::ResourcePath(int number)
{
    switch (number) {
    case kSoundCardIntoTrick:
    case kSoundClosing:
    case kSoundStart:
    case kSoundNewHand:
    case kSoundTrickCleared:
    case kSoundBalloonCollision:
    case kSoundYourTurn:
        return QStringLiteral(":/sounds/%1.wav").arg(number);
    default:
        return {};
    }
}

bool TSoundBox::HasOutput()
{
    if (qEnvironmentVariableIsSet("ZORBELA_NO_SOUND"))
        return false;
    return !QMediaDevices::defaultAudioOutput().isNull();
}

int TSoundBox::Requests(int number) const
{
    const auto it = requests_.find(number);
    return it == requests_.end() ? 0 : it->second;
}

QSoundEffect* TSoundBox::Effect(int number)
{
    const auto it = effects_.find(number);
    if (it != effects_.end())
        return it->second;
    QSoundEffect* effect = nullptr;
    const QString path = ResourcePath(number);
    if (!path.isEmpty() && QFile::exists(path) && HasOutput()) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl(QStringLiteral("qrc") + path));
        effect->setVolume(0.8f);
    }
    effects_[number] = effect;
    return effect;
}

bool TSoundBox::Play(int number)
{
    if (!enabled_)
        return false;
    ++requests_[number];
    QSoundEffect* effect = Effect(number);
    if (!effect)
        return false;
    effect->play();
    return true;
}

bool TSoundBox::PlayUnlessPlaying(int number)
{
    ++requests_[number];
    QSoundEffect* effect = Effect(number);
    if (!effect || effect->isPlaying())
        return false;
    effect->play();
    return true;
}

void TSoundBox::PlayToEnd(int number, int maxWaitMs)
{
    if (!Play(number))
        return;
    QSoundEffect* effect = Effect(number);
    // The effect loads asynchronously: wait, without user input, for it to start and then
    // to stop, or to fail, or for the time to run out. Nothing polls; the loop sleeps in
    // the event dispatcher until one of them happens.
    QEventLoop loop;
    bool started = effect->isPlaying();
    auto check = [&] {
        if (effect->status() == QSoundEffect::Error)
            loop.quit();
        else if (effect->isPlaying())
            started = true;
        else if (started)
            loop.quit();
    };
    QObject::connect(effect, &QSoundEffect::playingChanged, &loop, check);
    QObject::connect(effect, &QSoundEffect::statusChanged, &loop, check);
    QTimer::singleShot(maxWaitMs, &loop, &QEventLoop::quit);
    check();
    if (effect->status() != QSoundEffect::Error && (!started || effect->isPlaying()))
        loop.exec(QEventLoop::ExcludeUserInputEvents);
}
