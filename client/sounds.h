// The game's wave sounds, played by number. Silent when switched off or when the machine has
// no sound output; never an error.
#pragma once

#include <QObject>

#include <map>

class QSoundEffect;

enum TSoundNumber : int {
    kSoundCardIntoTrick = 1001,
    kSoundClosing = 1002,
    kSoundStart = 1003,
    kSoundNewHand = 1006,
    kSoundTrickCleared = 1007,
    kSoundBalloonCollision = 1010,
    kSoundYourTurn = 1011, // the user's turn while the window is in the background
};

class TSoundBox : public QObject {
    Q_OBJECT
public:
    explicit TSoundBox(QObject* parent = nullptr);
    ~TSoundBox() override;

    // Follows the "Sesli" check mark.
    void SetEnabled(bool on) { enabled_ = on; }
    bool Enabled() const { return enabled_; }

    // Starts the sound and returns at once. Returns whether it was started.
    bool Play(int number);
    // Starts the sound whatever the "Sesli" check mark says, unless that same sound is still
    // playing (it is not started again over itself). Returns whether it was started.
    bool PlayUnlessPlaying(int number);
    // Starts the sound and returns at once; played follows once it has ended, failed or
    // maxWaitMs have passed (from the event loop, also when it does not play at all).
    void PlayToEnd(int number, int maxWaitMs = 3000);

    // The resource path of a sound number ("" for a number the program does not have).
    static QString ResourcePath(int number);
    // Whether a sound output exists at all.
    static bool HasOutput();

    // Count of sounds requested, by number (what tests look at); a sound that follows the
    // check mark counts only while enabled.
    int Requests(int number) const;

signals:
    void played(); // the sound of PlayToEnd is over

private:
    QSoundEffect* Effect(int number);

    bool enabled_ = true;
    std::map<int, QSoundEffect*> effects_;
    std::map<int, int> requests_;
};
