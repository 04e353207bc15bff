// Every question and notice the main window puts to the user goes through this class, so
// that a test can answer in place of the user and see what was shown. No question runs a
// loop of its own: each opens its window and returns a reply at once; the reply's
// `finished` signal comes from the event loop when the window closes (connect to it with
// a context object that the answer concerns, so that an answer for an object gone is
// dropped).
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QMessageBox;
class QWidget;

// Yes ("Evet", OK, a confirmed dialog: the text holds what was entered or chosen), No
// ("Hayır") and Back ("Oyuna dön", Escape, the close button of a three-way question, a
// cancelled dialog).
enum class TPromptAnswer { Yes, No, Back };

// The answer to one question: emitted once, then the reply goes.
class TPromptReply : public QObject {
    Q_OBJECT
public:
    explicit TPromptReply(QObject* parent = nullptr) : QObject(parent) {}
    // Emits finished now (the window of the question has closed).
    void Finish(TPromptAnswer answer, const QString& text = {});
    // Emits finished from the event loop, never inside the caller.
    void FinishLater(TPromptAnswer answer, const QString& text = {});
    // A reply already given (nothing needed asking), finished from the event loop.
    static TPromptReply* Given(TPromptAnswer answer, const QString& text = {});

signals:
    void finished(TPromptAnswer answer, const QString& text);
};

class TUserPrompts {
public:
    virtual ~TUserPrompts() = default;

    // A notice with an OK button, in the program's line of notices (see Notice).
    virtual void Inform(QWidget* parent, const QString& text);
    // A notice with an OK button; the reply comes when it is closed (what must be read
    // before the next window opens).
    virtual TPromptReply* Tell(QWidget* parent, const QString& text);
    // A question with the buttons Yes ("Evet") and No ("Hayır").
    virtual TPromptReply* Ask(QWidget* parent, const QString& text, bool warning = false);
    // A question with Yes ("Evet"), No ("Hayır") and a way back ("Oyuna dön", also Escape
    // and the window's close button).
    virtual TPromptReply* AskOrBack(QWidget* parent, const QString& text);
    // The box of AskOrBack before it is shown, and the answer its clicked button gives.
    static std::unique_ptr<QMessageBox> BackBox(QWidget* parent, const QString& text);
    static TPromptAnswer AnswerOf(const QMessageBox& box);
    // A one-line input box: Yes with the text, or Back when it was cancelled.
    virtual TPromptReply* AskLine(QWidget* parent, const QString& caption);
    // A choice from a list (the first item proposed): Yes with the item, or Back.
    virtual TPromptReply* AskChoice(QWidget* parent, const QString& caption, const QStringList& items);
    // File dialogs: Yes with the file's path, or Back when cancelled.
    virtual TPromptReply* SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                       const QString& defaultSuffix);
    virtual TPromptReply* OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                       const QString& defaultSuffix, const QString& proposedName);

    // The program's one line of notices, shown one at a time: beeps beeps a second apart
    // (timers, nothing waits), then a box with an OK button that is not modal; the next
    // notice follows once it is closed. Returns at once; a notice whose text is open or
    // already waiting is dropped, and at most kMaxWaitingNotices wait. Any thread: the
    // notice is shown from the user-interface thread's event loop, never inside the
    // caller. Without a parent (or once it is gone) the box belongs to the active window, or
    // the main window (BoxOwner).
    static void Notice(QWidget* parent, const QString& text, int beeps = 0);
    // Notices waiting or open (tests).
    static int PendingNotices();
    static constexpr int kMaxWaitingNotices = 16;
    static constexpr int kBeepIntervalMs = 1000;
};
