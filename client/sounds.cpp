#include "sounds.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <utility>

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
    if (!Play(number)) {
        QMetaObject::invokeMethod(this, &TSoundBox::played, Qt::QueuedConnection);
        return;
    }
    QSoundEffect* effect = Effect(number);
    // The effect loads asynchronously: it is over once it has started and stopped again,
    // or failed, or the time ran out. The watch goes with the first of them.
    auto* watch = new QObject(this);
    struct TState {
        bool started = false;
        bool over = false;
    };
    const auto state = std::make_shared<TState>(TState{effect->isPlaying()});
    const auto over = [this, watch, state] {
        if (std::exchange(state->over, true))
            return;
        watch->deleteLater();
        emit played();
    };
    const auto check = [effect, state, over] {
        if (effect->status() == QSoundEffect::Error)
            over();
        else if (effect->isPlaying())
            state->started = true;
        else if (state->started)
            over();
    };
    connect(effect, &QSoundEffect::playingChanged, watch, check);
    connect(effect, &QSoundEffect::statusChanged, watch, check);
    QTimer::singleShot(maxWaitMs, watch, over);
    QMetaObject::invokeMethod(watch, check, Qt::QueuedConnection);
}
