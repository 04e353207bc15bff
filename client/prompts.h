// Every question and notice the main window puts to the user goes through this class, so
// that a test can answer in place of the user and see what was shown.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QMessageBox;
class QObject;
class QWidget;

class TUserPrompts {
public:
    virtual ~TUserPrompts() = default;

    // A notice with an OK button. Returns at once: the box is not modal, and while one
    // notice is open the next ones wait their turn (see Notice).
    virtual void Inform(QWidget* parent, const QString& text);
    // A notice with an OK button that waits until it is closed (what must be read before
    // the next window opens).
    virtual void Tell(QWidget* parent, const QString& text);
    // A question with the buttons Yes ("Evet") and No ("Hayır"); true for Yes.
    virtual bool Ask(QWidget* parent, const QString& text, bool warning = false);
    // The same question opened without a loop of its own: returns at once, and then(answer)
    // runs from the event loop once the box is closed, unless context is gone by then. For
    // questions that a message or a timer brings.
    virtual void AskThen(QWidget* parent, const QString& text, QObject* context, std::function<void(bool)> then);
    // A question with Yes ("Evet"), No ("Hayır") and a way back ("Oyuna dön", also Escape
    // and the window's close button).
    enum class TAnswer { Yes, No, Back };
    virtual TAnswer AskOrBack(QWidget* parent, const QString& text);
    // The box of AskOrBack before it is shown, and the answer its clicked button gives.
    static std::unique_ptr<QMessageBox> BackBox(QWidget* parent, const QString& text);
    static TAnswer AnswerOf(const QMessageBox& box);
    // A one-line input box; returns the text, or nothing when it was cancelled.
    virtual std::optional<QString> AskLine(QWidget* parent, const QString& caption);
    // A choice from a list (the first item proposed); nothing when it was cancelled.
    virtual std::optional<QString> AskChoice(QWidget* parent, const QString& caption,
                                             const QStringList& items);
    // The same choice opened without a loop of its own, as AskThen.
    virtual void AskChoiceThen(QWidget* parent, const QString& caption, const QStringList& items, QObject* context,
                               std::function<void(std::optional<QString>)> then);
    // File dialogs; an empty result means cancelled.
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& defaultSuffix);
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& defaultSuffix, const QString& proposedName);

    // The program's one line of notices, shown one at a time: beeps beeps a second apart
    // (timers, nothing waits), then a box with an OK button that is not modal; the next
    // notice follows once it is closed. Returns at once; a notice whose text is open or
    // already waiting is dropped, and at most kMaxWaitingNotices wait. Any thread: the
    // notice is shown from the user-interface thread's event loop, never inside the
    // caller. Without a parent (or once it is gone) the box belongs to the active window.
    static void Notice(QWidget* parent, const QString& text, int beeps = 0);
    // Notices waiting or open (tests).
    static int PendingNotices();
    static constexpr int kMaxWaitingNotices = 16;
    static constexpr int kBeepIntervalMs = 1000;
};
