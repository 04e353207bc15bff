// Helpers of the client tests: a user who answers every question from a script, waiting
// for conditions while the event loop runs, and records built by the rules.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "gameinfo.h"
#include "packet.h"
#include "eventwait.h"
#include "prompts.h"

#include <QTimer>

class TScriptedUser : public TUserPrompts {
public:
    void Inform(QWidget*, const QString& text) override { notices.append(text); }
    void Tell(QWidget*, const QString& text) override { notices.append(text); }
    bool Ask(QWidget*, const QString& text, bool) override
    {
        questions.append(text);
        if (answers.empty())
            return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    // Answered from the event loop, as a box the user closes.
    void AskThen(QWidget* parent, const QString& text, QObject* context, std::function<void(bool)> then) override
    {
        const bool a = Ask(parent, text, false);
        QTimer::singleShot(0, context, [then = std::move(then), a] { then(a); });
    }
    void AskChoiceThen(QWidget* parent, const QString& caption, const QStringList& items, QObject* context,
                       std::function<void(std::optional<QString>)> then) override
    {
        const std::optional<QString> a = AskChoice(parent, caption, items);
        QTimer::singleShot(0, context, [then = std::move(then), a] { then(a); });
    }
    TAnswer AskOrBack(QWidget*, const QString& text) override
    {
        questions.append(text);
        if (threeWay.empty())
            return TAnswer::Back;
        const TAnswer a = threeWay.front();
        threeWay.pop_front();
        return a;
    }
    std::optional<QString> AskLine(QWidget*, const QString& caption) override
    {
        lineCaptions.append(caption);
        return line;
    }
    std::optional<QString> AskChoice(QWidget*, const QString& caption, const QStringList& items) override
    {
        lineCaptions.append(caption);
        choices = items;
        return choice;
    }
    QString SaveFileName(QWidget*, const QString& title, const QString& filter,
                         const QString&) override
    {
        dialogTitles.append(title + QStringLiteral(" | ") + filter);
        return saveName;
    }
    QString OpenFileName(QWidget*, const QString& title, const QString& filter, const QString&,
                         const QString&) override
    {
        dialogTitles.append(title + QStringLiteral(" | ") + filter);
        return openName;
    }

    QStringList notices, questions, lineCaptions, dialogTitles;
    std::deque<bool> answers; // empty: Yes
    std::optional<QString> line; // nothing: the box is cancelled
    QStringList choices;           // the items of the last list offered
    std::optional<QString> choice; // nothing: the list is cancelled
    QString saveName, openName;
    std::deque<TAnswer> threeWay; // empty: back to the game
};


// Messages the session handed to its socket, by type.
struct TSentLog {
    std::vector<TPacketType> types;
    int Count(TPacketType t) const;
};

// A record after NewGame with a fixed seed.
TGameInfo DealtRecord(uint32_t seed);
// Payloads as the dealer would send them.
QByteArray JoinAcceptedPayload(uint8_t seat, const QString& text);
QByteArray RecordPayload(const TGameInfo& g);
bool SameRecord(const TGameInfo& a, const TGameInfo& b);
// Clears every stored setting.
void ClearSettings();
// A port on which a server could listen on every address now, below the range the system
// gives outgoing connections, so that no connection of a test running beside this one takes
// it before the caller listens there; 0 when none was found.
quint16 ListenablePort();
