// The player's settings as one typed object: every value is read from the settings store
// once, when the object is made, and written back the moment it changes; `changed` tells
// which one changed. Nothing else reads or writes these values, and nothing reads them
// from a menu.
#pragma once

#include <QObject>
#include <QString>

#include "language.h"
#include "levelgame.h"

class TSettings : public QObject {
    Q_OBJECT
public:
    enum class TKey { Sound, Quick, Clockwise, ComputerPlayer, PlaySingleCard, OpenHands, ComputerLevel, UserName, Language };
    Q_ENUM(TKey)

    // Reads every value (the default for each one absent).
    explicit TSettings(QObject* parent = nullptr);

    // "Sesli": sounds are played.
    bool Sound() const { return sound_; }
    void SetSound(bool on) { Set(sound_, on, TKey::Sound); }
    // "Hızlı": the short intervals.
    bool Quick() const { return quick_; }
    void SetQuick(bool on) { Set(quick_, on, TKey::Quick); }
    // "Oyun saat yönünde döner": seats drawn clockwise.
    bool Clockwise() const { return clockwise_; }
    void SetClockwise(bool on) { Set(clockwise_, on, TKey::Clockwise); }
    // "Yerime daima bilgisayar oynasın": the computer makes every move of the user.
    bool ComputerPlayer() const { return computerPlayer_; }
    void SetComputerPlayer(bool on) { Set(computerPlayer_, on, TKey::ComputerPlayer); }
    // "Tek kartı kendisi oynasın": the user's only legal card is played after a pause.
    bool PlaySingleCard() const { return playSingleCard_; }
    void SetPlaySingleCard(bool on) { Set(playSingleCard_, on, TKey::PlaySingleCard); }
    // A dealer made here sends every hand to every player.
    bool OpenHands() const { return openHands_; }
    void SetOpenHands(bool on) { Set(openHands_, on, TKey::OpenHands); }
    // "Bilgisayar seviyesi".
    TComputerLevel ComputerLevel() const { return level_; }
    void SetComputerLevel(TComputerLevel level);
    // The player's name; an empty name is not taken (the previous one stays).
    QString UserName() const { return userName_; }
    void SetUserName(const QString& name);
    // "Dil": the language chosen for the next start (the one the program started in until
    // one is chosen); it is stored even when it is the one in use.
    TLanguage Language() const { return language_; }
    void SetLanguage(TLanguage language);
    // Read only here: the welcome and connection windows write them themselves.
    static bool IamDealer();

signals:
    void changed(TSettings::TKey key);

private:
    void Set(bool& field, bool on, TKey key);
    void Write(TKey key) const;

    bool sound_, quick_, clockwise_, computerPlayer_, playSingleCard_, openHands_;
    TComputerLevel level_;
    TLanguage language_;
    QString userName_;
};
