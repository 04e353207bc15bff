#include "settings.h"

#include "regeasy.h"

TSettings::TSettings(QObject* parent)
    : QObject(parent), sound_(ReadRegBool(kRegKey, kRegSound, kDefSound)),
      quick_(ReadRegBool(kRegKey, kRegQuick, kDefQuick)),
      clockwise_(ReadRegBool(kRegKey, kRegClockwise, kDefClockwise)),
      computerPlayer_(ReadRegBool(kRegKey, kRegComputerPlayer, kDefComputerPlayer)),
      playSingleCard_(ReadRegBool(kRegKey, kRegPlaySingleCard, kDefPlaySingleCard)),
      openHands_(ReadRegBool(kRegKey, kRegOpenHands, kDefOpenHands)),
      level_(ReadRegInteger(kRegKey, kRegComputerLevel, kDefComputerLevel) == int(TComputerLevel::Usta)
                 ? TComputerLevel::Usta
                 : TComputerLevel::Acemi),
      language_(StartLanguage()), userName_(ReadRegString(kRegKey, kRegUserName, LoginName()))
{
}

bool TSettings::IamDealer() { return ReadRegBool(kRegKey, kRegIamDealer, kDefIamDealer); }

void TSettings::Set(bool& field, bool on, TKey key)
{
    if (field == on)
        return;
    field = on;
    Write(key);
    emit changed(key);
}

void TSettings::SetComputerLevel(TComputerLevel level)
{
    if (level_ == level)
        return;
    level_ = level;
    Write(TKey::ComputerLevel);
    emit changed(TKey::ComputerLevel);
}

void TSettings::SetLanguage(TLanguage language)
{
    const bool differs = language != language_;
    language_ = language;
    Write(TKey::Language);
    if (differs)
        emit changed(TKey::Language);
}

void TSettings::SetUserName(const QString& name)
{
    // A name given is stored even when it is the one in use (the login name, say).
    if (name.isEmpty())
        return;
    const bool differs = name != userName_;
    userName_ = name;
    Write(TKey::UserName);
    if (differs)
        emit changed(TKey::UserName);
}

void TSettings::Write(TKey key) const
{
    switch (key) {
    case TKey::Sound: return WriteRegBool(kRegKey, kRegSound, sound_);
    case TKey::Quick: return WriteRegBool(kRegKey, kRegQuick, quick_);
    case TKey::Clockwise: return WriteRegBool(kRegKey, kRegClockwise, clockwise_);
    case TKey::ComputerPlayer: return WriteRegBool(kRegKey, kRegComputerPlayer, computerPlayer_);
    case TKey::PlaySingleCard: return WriteRegBool(kRegKey, kRegPlaySingleCard, playSingleCard_);
    case TKey::OpenHands: return WriteRegBool(kRegKey, kRegOpenHands, openHands_);
    case TKey::ComputerLevel: return WriteRegInteger(kRegKey, kRegComputerLevel, int(level_));
    case TKey::UserName: return WriteRegString(kRegKey, kRegUserName, userName_);
    case TKey::Language: return StoreLanguage(language_);
    }
}
