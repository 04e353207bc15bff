// Helpers of the client tests: a user who answers every question from a script, waiting
// for conditions while the event loop runs, and records built by the rules.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "gameinfo.h"
#include "packet.h"
#include "eventwait.h"
#include "prompts.h"


// Every answer comes from the event loop, as from a window the user closes.
class TScriptedUser : public TUserPrompts {
public:
    using A = TPromptAnswer;
    void Inform(QWidget*, const QString& text) override { notices.append(text); }
    TPromptReply* Tell(QWidget*, const QString& text) override
    {
        notices.append(text);
        return TPromptReply::Given(A::Yes);
    }
    TPromptReply* Ask(QWidget*, const QString& text, bool) override
    {
        questions.append(text);
        const bool a = answers.empty() || answers.front();
        if (!answers.empty())
            answers.pop_front();
        return TPromptReply::Given(a ? A::Yes : A::No);
    }
    TPromptReply* AskOrBack(QWidget*, const QString& text) override
    {
        questions.append(text);
        const A a = threeWay.empty() ? A::Back : threeWay.front();
        if (!threeWay.empty())
            threeWay.pop_front();
        return TPromptReply::Given(a);
    }
    TPromptReply* AskLine(QWidget*, const QString& caption) override
    {
        lineCaptions.append(caption);
        return Given(line);
    }
    TPromptReply* AskChoice(QWidget*, const QString& caption, const QStringList& items) override
    {
        lineCaptions.append(caption);
        choices = items;
        return Given(choice && !choice->isEmpty() ? choice : std::nullopt);
    }
    TPromptReply* SaveFileName(QWidget*, const QString& title, const QString& filter, const QString&) override
    {
        dialogTitles.append(title + QStringLiteral(" | ") + filter);
        return Given(saveName.isEmpty() ? std::nullopt : std::optional(saveName));
    }
    TPromptReply* OpenFileName(QWidget*, const QString& title, const QString& filter, const QString&,
                               const QString&) override
    {
        dialogTitles.append(title + QStringLiteral(" | ") + filter);
        return Given(openName.isEmpty() ? std::nullopt : std::optional(openName));
    }

    QStringList notices, questions, lineCaptions, dialogTitles;
    std::deque<bool> answers; // empty: Yes
    std::optional<QString> line; // nothing: the box is cancelled
    QStringList choices;           // the items of the last list offered
    std::optional<QString> choice; // nothing: the list is cancelled
    QString saveName, openName;    // empty: the dialog is cancelled
    std::deque<A> threeWay;        // empty: back to the game

private:
    static TPromptReply* Given(const std::optional<QString>& text)
    {
        return text ? TPromptReply::Given(A::Yes, *text) : TPromptReply::Given(A::Back);
    }
};


// Lets the scripted user's answers, and whatever they set off, arrive.
inline void Answered()
{
    for (int i = 0; i < 8; ++i)
        QCoreApplication::sendPostedEvents();
}

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
