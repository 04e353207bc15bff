#include "prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <deque>

#include "boxowner.h"

namespace {

QString Title() { return QStringLiteral("Zorbela - RUVO Network"); }

QString Text(const char* source) { return QCoreApplication::translate("TUserPrompts", source); }

// "Evet" and "Hayır" in the program's language, "Evet" the default.
void NameYesNo(QMessageBox& box)
{
    box.button(QMessageBox::Yes)->setText(Text(QT_TRANSLATE_NOOP("TUserPrompts", "Evet")));
    box.button(QMessageBox::No)->setText(Text(QT_TRANSLATE_NOOP("TUserPrompts", "Hayır")));
    box.setDefaultButton(QMessageBox::Yes);
}

// The notices of the whole program, on the user-interface thread: the one open (or
// beeping before it opens) and those waiting behind it.
class TNoticeLine : public QObject {
public:
    static TNoticeLine& Instance()
    {
        static auto* line = new TNoticeLine(QCoreApplication::instance());
        return *line;
    }

    void Add(QWidget* parent, const QString& text, int beeps)
    {
        if (text == currentText_ && busy_)
            return;
        for (const TNotice& n : waiting_)
            if (n.text == text)
                return;
        if (int(waiting_.size()) >= TUserPrompts::kMaxWaitingNotices)
            return;
        waiting_.push_back({parent, text, beeps});
        if (!busy_)
            Next();
    }

    int Pending() const { return int(waiting_.size()) + (busy_ ? 1 : 0); }

private:
    struct TNotice {
        QPointer<QWidget> parent;
        QString text;
        int beeps;
    };

    explicit TNoticeLine(QObject* owner) : QObject(owner) {}

    void Next()
    {
        busy_ = !waiting_.empty();
        if (!busy_) {
            currentText_.clear();
            return;
        }
        current_ = waiting_.front();
        waiting_.pop_front();
        currentText_ = current_.text;
        Beep(current_.beeps);
    }

    // One beep, then the next a second later; the box after the last one.
    void Beep(int left)
    {
        if (left <= 0)
            return Show();
        QApplication::beep();
        QTimer::singleShot(left > 1 ? TUserPrompts::kBeepIntervalMs : 0, this, [this, left] { Beep(left - 1); });
    }

    void Show()
    {
        auto* box = new QMessageBox(QMessageBox::Information, Title(), current_.text, QMessageBox::Ok,
                                    BoxOwner(current_.parent.data()));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        connect(box, &QMessageBox::finished, this, [this] { Next(); });
        box->show();
    }

    std::deque<TNotice> waiting_;
    TNotice current_;
    QString currentText_;
    bool busy_ = false;
};

} // namespace

void TUserPrompts::Notice(QWidget* parent, const QString& text, int beeps)
{
    QPointer<QWidget> guarded(parent);
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || text.isEmpty())
        return;
    // Always through the event loop, so that no box (and no beep) happens inside the
    // handler that found the reason.
    QMetaObject::invokeMethod(
        app, [guarded, text, beeps] { TNoticeLine::Instance().Add(guarded.data(), text, beeps); },
        Qt::QueuedConnection);
}

int TUserPrompts::PendingNotices()
{
    return TNoticeLine::Instance().Pending();
}

void TUserPrompts::Inform(QWidget* parent, const QString& text)
{
    Notice(parent, text);
}

void TPromptReply::Finish(TPromptAnswer answer, const QString& text)
{
    emit finished(answer, text);
    deleteLater();
}

void TPromptReply::FinishLater(TPromptAnswer answer, const QString& text)
{
    QMetaObject::invokeMethod(this, [this, answer, text] { Finish(answer, text); }, Qt::QueuedConnection);
}

TPromptReply* TPromptReply::Given(TPromptAnswer answer, const QString& text)
{
    auto* reply = new TPromptReply(QCoreApplication::instance());
    reply->FinishLater(answer, text);
    return reply;
}

namespace {

// Opens a dialog that goes when it is closed; the reply, which goes with it, tells how it
// was closed.
template <typename Dialog, typename Answer>
TPromptReply* OpenDialog(Dialog* dialog, Answer answer)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* reply = new TPromptReply(dialog);
    QObject::connect(dialog, &QDialog::finished, reply, [dialog, reply, answer](int result) {
        const auto [given, text] = answer(*dialog, result);
        reply->Finish(given, text);
    });
    dialog->open();
    return reply;
}

using TGiven = std::pair<TPromptAnswer, QString>;

TGiven Accepted(int result, const QString& text)
{
    if (result == QDialog::Accepted && !text.isEmpty())
        return {TPromptAnswer::Yes, text};
    return {TPromptAnswer::Back, QString()};
}

TPromptReply* OpenBox(QMessageBox* box)
{
    return OpenDialog(box, [](QMessageBox& b, int) { return TGiven{TUserPrompts::AnswerOf(b), QString()}; });
}

TPromptReply* OpenFileDialog(QFileDialog* dialog)
{
    return OpenDialog(dialog, [](QFileDialog& d, int result) {
        return Accepted(result, d.selectedFiles().isEmpty() ? QString() : d.selectedFiles().first());
    });
}

} // namespace

TPromptReply* TUserPrompts::Tell(QWidget* parent, const QString& text)
{
    return OpenBox(new QMessageBox(QMessageBox::Information, Title(), text, QMessageBox::Ok, parent));
}

TPromptReply* TUserPrompts::Ask(QWidget* parent, const QString& text, bool warning)
{
    auto* box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Question, Title(), text,
                                QMessageBox::Yes | QMessageBox::No, parent);
    NameYesNo(*box);
    return OpenBox(box);
}

std::unique_ptr<QMessageBox> TUserPrompts::BackBox(QWidget* parent, const QString& text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, Title(), text,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    NameYesNo(*box);
    QPushButton* back = box->addButton(Text(QT_TRANSLATE_NOOP("TUserPrompts", "Oyuna dön")), QMessageBox::RejectRole);
    box->setEscapeButton(back);
    box->setDefaultButton(back);
    return box;
}

TPromptAnswer TUserPrompts::AnswerOf(const QMessageBox& box)
{
    if (box.clickedButton() == box.button(QMessageBox::Yes))
        return TPromptAnswer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No))
        return TPromptAnswer::No;
    // "Oyuna dön", Escape, the close button; the OK of a notice counts as Yes.
    return box.clickedButton() == box.button(QMessageBox::Ok) ? TPromptAnswer::Yes : TPromptAnswer::Back;
}

TPromptReply* TUserPrompts::AskOrBack(QWidget* parent, const QString& text)
{
    return OpenBox(BackBox(parent, text).release());
}

TPromptReply* TUserPrompts::AskLine(QWidget* parent, const QString& caption)
{
    auto* dialog = new QInputDialog(parent);
    dialog->setWindowTitle(caption);
    dialog->setInputMode(QInputDialog::TextInput);
    // An empty line is an answer too: only a cancelled box gives Back.
    return OpenDialog(dialog, [](QInputDialog& d, int result) {
        return result == QDialog::Accepted ? TGiven{TPromptAnswer::Yes, d.textValue()}
                                           : TGiven{TPromptAnswer::Back, QString()};
    });
}

TPromptReply* TUserPrompts::AskChoice(QWidget* parent, const QString& caption, const QStringList& items)
{
    auto* dialog = new QInputDialog(parent);
    dialog->setWindowTitle(Title());
    dialog->setLabelText(caption);
    dialog->setComboBoxItems(items);
    dialog->setComboBoxEditable(false);
    return OpenDialog(dialog, [](QInputDialog& d, int result) { return Accepted(result, d.textValue()); });
}

TPromptReply* TUserPrompts::SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                         const QString& defaultSuffix)
{
    auto* dialog = new QFileDialog(parent, title, QString(), filter);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(defaultSuffix);
    // The overwrite question is the window's own, asked after the dialog closes.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    return OpenFileDialog(dialog);
}

TPromptReply* TUserPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                         const QString& defaultSuffix, const QString& proposedName)
{
    auto* dialog = new QFileDialog(parent, title, QString(), filter);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(defaultSuffix);
    dialog->selectFile(proposedName);
    return OpenFileDialog(dialog);
}
